#include "app/benchprobe.h"
#include "app/fonts.h"
#include "app/form1window.h"
#include "app/services.h"

#include <QApplication>

int main(int argc, char *argv[])
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
    const std::unique_ptr<BenchProbe> probe = BenchProbe::fromEnvironment(window);
    window.show();
    return QApplication::exec();
}
