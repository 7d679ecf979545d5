#include "app/qt/services.h"

#include <QApplication>
#include <QTime>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

std::string SystemClock::timeOfDay() const
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
}

void ApplicationEnding::end()
{
    // Hide at once, so the window is gone before the event loop notices.
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

namespace {
void printMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray text = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::_Exit(EXIT_FAILURE);
}
} // namespace

void installFatalMessageHandler()
{
    qInstallMessageHandler(printMessage);
}
