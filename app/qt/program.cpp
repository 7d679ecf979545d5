#include "app/qt/program.h"

#include "app/qt/fonts.h"
#include "app/qt/form1window.h"
#include "app/qt/services.h"

#include <QApplication>

int runProgram(int argc, char *argv[], const std::function<void(Form1Window &)> &beforeShow)
{
    installFatalMessageHandler();
    FontConfigurationPreload fonts;
    QApplication app(argc, argv);
    fonts.finish();
    QApplication::setApplicationName(QStringLiteral("ohm-parallel"));
    QApplication::setApplicationDisplayName(QStringLiteral("オームの法則（並列）"));
    // Ties the window to its menu entry, for the task bar and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ohmdrill.OhmParallel"));

    SystemClock clock;
    SeededRandom random;
    ApplicationEnding ending;
    Form1Window window(clock, random, ending);
    if (beforeShow)
        beforeShow(window);
    window.show();
    return QApplication::exec();
}
