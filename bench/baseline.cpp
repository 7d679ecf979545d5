#include "bench/benchprobe.h"

#include <QApplication>
#include <QLabel>
#include <chrono>
#include <memory>

// The least a Qt Widgets program of the drill's size does before its first
// paint: a window as large as the drill's with one label in the Japanese
// face the drill is drawn in. The face is named as installed (IPAPGothic),
// so the baseline does none of the font lookup the drill's design names
// would cost. make bench measures the drill against it and runs it with
// the same probe: OHM_BENCH_EXIT_AFTER_QUESTION set prints the first paint's
// time, the processor time and the peak memory, then quits.
namespace {

class FirstPaintProbe final : public QObject {
public:
    explicit FirstPaintProbe(QWidget &window) : window_(window) { window.installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &window_ && event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // As in the drill: once the label is painted and the window flushed.
            QMetaObject::invokeMethod(this, &FirstPaintProbe::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        const auto painted = std::chrono::steady_clock::now();
        printBenchReport(painted, 1);
        QCoreApplication::exit(0);
    }

    QWidget &window_;
    bool seen_ = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ohm-bench-baseline"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("オームの法則（並列）"));
    window.setFixedSize(792, 573);
    QLabel label(QStringLiteral("電流・電圧・抵抗の練習"), &window);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(19);
    font.setWeight(QFont::Bold);
    label.setFont(font);
    label.setGeometry(8, 0, 345, 41);

    std::unique_ptr<FirstPaintProbe> probe;
    if (qEnvironmentVariableIsSet("OHM_BENCH_EXIT_AFTER_QUESTION"))
        probe = std::make_unique<FirstPaintProbe>(window);
    window.show();
    return QApplication::exec();
}
