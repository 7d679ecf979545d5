#include "xscreen.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

// Starts the program on the current X display, answers the first question
// with the keypad so that the mark and the correct answer show, and saves
// the window as a PNG.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: take-screenshot OUTPUT.png\n");
        return 2;
    }
    QProcess program;
    program.start(QStringLiteral(OHM_PROGRAM));
    if (!program.waitForStarted(10000))
        return 1;

    auto waitUntil = [](auto ready) {
        QElapsedTimer timer;
        timer.start();
        while (!ready() && timer.elapsed() < 15000)
            QThread::msleep(100);
        return ready();
    };
    ProgramWindow window;
    if (!waitUntil([&] { return (window = findProgramWindow()).isValid(); }))
        return 1;
    // The first question is on screen once the task text is drawn.
    auto taskShown = [&] {
        const QImage task = grabScreen(window.rect).copy(376, 16, 281, 25);
        for (int y = 0; y < task.height(); ++y)
            for (int x = 0; x < task.width(); ++x)
                if (qGray(task.pixel(x, y)) > 128)
                    return true;
        return false;
    };
    if (!waitUntil(taskShown))
        return 1;

    const QPoint origin = window.rect.topLeft();
    for (QPoint key : {QPoint(608, 376), QPoint(656, 408), QPoint(704, 344), QPoint(656, 440)}) {
        clickScreen(origin + key); // 1, point, 6, then 入力
        QThread::msleep(150);
    }
    QThread::msleep(300);
    const bool saved = grabScreen(window.rect).save(QString::fromLocal8Bit(argv[1]));
    program.kill();
    program.waitForFinished(5000);
    return saved ? 0 : 1;
}
