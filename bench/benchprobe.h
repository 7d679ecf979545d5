#pragma once

#include <QObject>
#include <chrono>

class Form1Window;

// Prints the line make bench reads: when the first question (or, for the
// bare window it is compared with, the first paint) was on screen, the
// processor time and the peak memory so far.
void printBenchReport(std::chrono::steady_clock::time_point firstPainted, int questions);
class QLabel;
class QPushButton;

// For make bench: OHM_BENCH_EXIT_AFTER_QUESTION=N presses 次 as soon as each
// question is on screen until question N is, then prints when the first
// question was on screen, the processor time and the peak memory, and quits.
// Without the variable none of this is installed. The probe is a child of
// the window.
class BenchProbe final : public QObject {
public:
    static void install(Form1Window &window);
    BenchProbe(Form1Window &window, int lastQuestion);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void questionPainted(int question);

    Form1Window &window_;
    const int lastQuestion_;
    QLabel *const task_;
    QPushButton *const next_;
    int painted_ = 0;
    std::chrono::steady_clock::time_point firstPainted_;
};
