#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

// Starts the drill and the baseline program in turn on the current display
// and reports how long each takes to its first paint and how much memory it
// peaks at. The runs alternate so that drift of the machine hits both alike.
//
//   bench-startup RUNS MEMORY_RUNS PROGRAM BASELINE
namespace {

// Start-up to the first question, as the median of the paired ratios, and
// peak memory, each against the bare window.
constexpr double StartTarget = 1.15;
constexpr double MemoryTarget = 1.10;

struct Run {
    double startMs;
    double cpuMs;
    long peakKb;
};

std::optional<Run> runOnce(const QString &program, int questions)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OHM_BENCH_EXIT_AFTER_QUESTION"), QString::number(questions));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto started = std::chrono::steady_clock::now();
    process.start(program, {});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(5000);
        std::fprintf(stderr, "bench-startup: %s did not finish its run\n", qPrintable(program));
        return std::nullopt;
    }
    static const QRegularExpression report(QStringLiteral(
        R"(ohm-bench first-paint-ns=(\d+) cpu-us=(\d+) peak-rss-kb=(\d+) questions=(\d+))"));
    const auto m = report.match(QString::fromUtf8(process.readAllStandardOutput()));
    if (!m.hasMatch() || m.captured(4).toInt() != questions) {
        std::fprintf(stderr, "bench-startup: %s did not report %d questions\n", qPrintable(program),
                     questions);
        return std::nullopt;
    }
    const auto painted =
        std::chrono::steady_clock::time_point(std::chrono::nanoseconds(m.captured(1).toLongLong()));
    return Run{std::chrono::duration<double, std::milli>(painted - started).count(),
               m.captured(2).toDouble() / 1000, m.captured(3).toLong()};
}

struct Spread {
    double min, q1, median, q3, max;
};

// Quartiles by linear interpolation between the order statistics.
Spread spread(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    auto at = [&v](double p) {
        const double pos = p * static_cast<double>(v.size() - 1);
        const auto lo = static_cast<std::size_t>(pos);
        const std::size_t hi = std::min(lo + 1, v.size() - 1);
        return v[lo] + (pos - static_cast<double>(lo)) * (v[hi] - v[lo]);
    };
    return {v.front(), at(0.25), at(0.5), at(0.75), v.back()};
}

// A target of 0 is printed as none.
void printRow(const char *measure, double program, double baseline, const char *unit,
              double target = 0)
{
    const double ratio = program / baseline;
    if (target > 0)
        std::printf("%-38s %8.1f %9.1f  %-4s %6.3f  <= %.2f  %s\n", measure, program, baseline,
                    unit, ratio, target, ratio <= target ? "met" : "missed");
    else
        std::printf("%-38s %8.1f %9.1f  %-4s %6.3f  (no target)\n", measure, program, baseline,
                    unit, ratio);
}

void printSpread(const char *who, const Spread &s, double scale = 1)
{
    std::printf("  %-9s min %6.1f  q1 %6.1f  median %6.1f  q3 %6.1f  max %6.1f\n", who,
                s.min / scale, s.q1 / scale, s.median / scale, s.q3 / scale, s.max / scale);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench-startup RUNS MEMORY_RUNS PROGRAM BASELINE\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const int memoryRuns = std::max(1, std::atoi(argv[2]));
    const QString program = QString::fromLocal8Bit(argv[3]);
    const QString baseline = QString::fromLocal8Bit(argv[4]);

    // The first start of each fills the font and shader caches; a pupil's
    // machine has them warm.
    for (const QString &p : {program, baseline})
        if (!runOnce(p, 1))
            return 1;

    std::vector<double> programMs, baselineMs, programCpuMs, baselineCpuMs;
    std::vector<double> programFirstKb, baselineFirstKb;
    for (int i = 0; i < runs; ++i) {
        const auto p = runOnce(program, 1);
        const auto b = runOnce(baseline, 1);
        if (!p || !b)
            return 1;
        programMs.push_back(p->startMs);
        baselineMs.push_back(b->startMs);
        programCpuMs.push_back(p->cpuMs);
        baselineCpuMs.push_back(b->cpuMs);
        // These runs stop at the first question: their peaks are the peaks
        // at the first question.
        programFirstKb.push_back(static_cast<double>(p->peakKb));
        baselineFirstKb.push_back(static_cast<double>(b->peakKb));
    }

    std::vector<double> programKb, baselineKb;
    for (int i = 0; i < memoryRuns; ++i) {
        const auto p = runOnce(program, 10);
        const auto b = runOnce(baseline, 1);
        if (!p || !b)
            return 1;
        programKb.push_back(static_cast<double>(p->peakKb));
        baselineKb.push_back(static_cast<double>(b->peakKb));
    }

    const Spread ps = spread(programMs), bs = spread(baselineMs);
    std::printf("%-38s %8s %9s  %-4s %6s  %s\n", "", "drill", "baseline", "", "ratio", "target");
    printRow("start-up to first question, median", ps.median, bs.median, "ms");
    printSpread("drill", ps);
    printSpread("baseline", bs);
    // Each drill run against the baseline run right after it: drift that
    // spans a pair cancels out, so the target is held to these.
    std::vector<double> pairRatios;
    for (std::size_t i = 0; i < programMs.size(); ++i)
        pairRatios.push_back(programMs[i] / baselineMs[i]);
    const double pairMedian = spread(pairRatios).median;
    std::printf("%-38s %8s %9s  %-4s %6.3f  <= %.2f  %s\n", "  median of the paired ratios", "", "",
                "", pairMedian, StartTarget, pairMedian <= StartTarget ? "met" : "missed");
    std::printf("  (%d runs each, alternated)\n", runs);
    // Processor time counts only the program's own work, so it moves less
    // than wall time when other work shares the machine.
    const Spread pc = spread(programCpuMs), bc = spread(baselineCpuMs);
    printRow("  CPU time to first question, median", pc.median, bc.median, "ms");
    printSpread("drill", pc);
    printSpread("baseline", bc);
    const Spread pf = spread(programFirstKb), bf = spread(baselineFirstKb);
    printRow("peak RSS at first question, median", pf.median / 1024, bf.median / 1024, "MiB",
             MemoryTarget);
    printSpread("drill", pf, 1024);
    printSpread("baseline", bf, 1024);
    const Spread pk = spread(programKb), bk = spread(baselineKb);
    printRow("peak RSS after ten questions, median", pk.median / 1024, bk.median / 1024, "MiB",
             MemoryTarget);
    printSpread("drill", pk, 1024);
    printSpread("baseline", bk, 1024);
    std::printf("  (%d runs each after ten questions, alternated; the baseline after its first "
                "paint)\n",
                memoryRuns);
    return 0;
}
