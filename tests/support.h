#pragma once

#include "drill/outside.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <clocale>
#include <deque>
#include <string>
#include <utility>
#include <vector>

// Stand-ins for the outside world, so tests decide the time, the random
// numbers and what ending the program does.

class FixedClock final : public Clock {
public:
    explicit FixedClock(std::string reading = "12:34:07") : reading(std::move(reading)) {}
    std::string timeOfDay() const override { return reading; }
    std::string reading;
};

// Hands out the scripted values in order, then zeros are never handed out by
// accident: running dry is recorded and answered with 0.5.
class ScriptedRandom final : public RandomSource {
public:
    void seed(int value) override { events << QStringLiteral("seed %1").arg(value); }
    float next() override
    {
        if (values.empty()) {
            ranDry = true;
            events << QStringLiteral("draw (dry)");
            return 0.5f;
        }
        const float v = values.front();
        values.pop_front();
        events << QStringLiteral("draw");
        return v;
    }
    void script(std::initializer_list<float> more) { values.insert(values.end(), more); }

    std::deque<float> values;
    QStringList events;
    bool ranDry = false;
};

class RecordingEnding final : public Ending {
public:
    void end() override { ++count; }
    int count = 0;
};

// Random values that make the question generator draw exactly the given
// task type, factors, current tenths and case number.
inline std::vector<float> questionScript(int taskType, int a, int b, int k, int caseNo)
{
    return {
        static_cast<float>((taskType - 0.25) / 3), // floor(3r + 0.5) = taskType
        static_cast<float>((a + 0.5) / 10),        // floor(10r) = a
        static_cast<float>((b + 0.5) / 5),         // floor(5r) = b
        static_cast<float>((k + 0.5) / 11),        // floor(11r) = k
        static_cast<float>((caseNo - 0.5) / 15),   // floor(15r) mod 5 + 1 = caseNo
    };
}

// A locale whose decimal point is a comma, as a German pupil's is: built by
// localedef into a directory of the test's own that LOCPATH shows the C
// library, leaving the machine's locales alone. The program calls setlocale,
// so what it reads and writes must not change with the locale.
class CommaLocale {
public:
    // What f returns under the locale, with the C locale back afterwards.
    template <typename F> auto under(F f) const
    {
        std::setlocale(LC_ALL, Name);
        auto result = f();
        std::setlocale(LC_ALL, "C");
        return result;
    }

    // What went wrong, or nothing once the locale is there with its comma.
    QString build()
    {
        QProcess localedef;
        localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", dir.filePath(Name)});
        // Exit code 1: built, with warnings.
        if (!localedef.waitForFinished(120000) || localedef.exitStatus() != QProcess::NormalExit ||
            localedef.exitCode() > 1)
            return "localedef: " + QString::fromLocal8Bit(localedef.readAllStandardError());
        qputenv("LOCPATH", QFile::encodeName(dir.path()));
        const QString point = under([] { return QString(std::localeconv()->decimal_point); });
        return point == "," ? QString() : "the decimal point of " + QString(Name) + " is " + point;
    }

private:
    static constexpr const char *Name = "de_DE.UTF-8";
    QTemporaryDir dir;
};
