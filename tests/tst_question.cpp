#include "app/qt/services.h"
#include "drill/numbertext.h"
#include "drill/question.h"
#include "support.h"

#include <QTest>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr float BelowOne = 0.99999994f; // the largest float under 1

// The float nearest p/q, decided with integers only so that no rounding of our
// own can hide a wrong value. Distances are scaled by q * 2^40, which is exact
// in 64 bits for values between 0.1 and 360. No ties arise: every ideal value
// here is either a float or not a binary fraction at all.
float nearestFloat(std::int64_t p, std::int64_t q)
{
    auto distance = [&](float f) {
        int exponent = 0;
        const auto m = static_cast<std::int64_t>(std::ldexp(std::frexp(f, &exponent), 24));
        return std::llabs((p << 40) - q * (m << (exponent - 24 + 40)));
    };
    float best = static_cast<float>(double(p) / double(q));
    for (float f : {std::nextafter(best, 0.0f), std::nextafter(best, 1000.0f)})
        if (distance(f) < distance(best))
            best = f;
    return best;
}

// The ideal value as seven significant digits, rounded from its exact value.
QString idealText(std::int64_t p, std::int64_t q)
{
    return QString::number(double(p) / double(q), 'g', 7);
}

QString text(float value)
{
    return QString::fromStdString(plainNumberText(value));
}

DrillState circuit(int a, int b, int k)
{
    DrillState s;
    storeCircuit(s, {a, b}, k);
    return s;
}

// Runs check on every circuit the drill can draw, stopping at the first
// failure so one fault does not flood the log.
template <typename Check> void forEachCircuit(Check check)
{
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 4; ++b)
            for (int k = 1; k <= 10; ++k) {
                check(a, b, k, circuit(a, b, k));
                if (QTest::currentTestFailed())
                    return;
            }
}

int code(int a, int b, int k)
{
    return a * 100 + b * 10 + k;
}

// One draw of the given kind, as the numbers it yields.
QList<double> draw(const QString &kind, RandomSource &random)
{
    if (kind == "task type")
        return {drawTaskType(random)};
    if (kind == "factors") {
        const ResistorFactors f = drawResistorFactors(random);
        return {double(f.a), double(f.b)};
    }
    if (kind == "tenths")
        return {double(drawCurrentTenths(random))};
    return {double(drawCaseNo(random))};
}

// The share of each value from 1 up must lie within six standard deviations
// of the expected one, and no value beyond them may appear.
void checkShares(const char *what, const std::map<int, int> &counts,
                 const std::vector<double> &shares, int n)
{
    for (const auto &[value, count] : counts)
        QVERIFY2(value >= 1 && value <= int(shares.size()),
                 qPrintable(QStringLiteral("%1 %2 drawn").arg(what).arg(value)));
    for (std::size_t i = 0; i < shares.size(); ++i) {
        const auto found = counts.find(int(i) + 1);
        const double share = found == counts.end() ? 0 : double(found->second) / n;
        const double tolerance = 6 * std::sqrt(shares[i] * (1 - shares[i]) / n);
        QVERIFY2(std::fabs(share - shares[i]) <= tolerance,
                 qPrintable(QStringLiteral("%1 %2: share %3, expected %4")
                                .arg(what)
                                .arg(i + 1)
                                .arg(share)
                                .arg(shares[i])));
    }
}

} // namespace

class TestQuestion : public QObject {
    Q_OBJECT

private slots:
    void everyStepIsRoundedToFloat();
    void storedValuesAgainstNearestFloats();
    void shownValuesAgainstIdealDigits();
    void spotValues();
    void clockSeconds_data();
    void clockSeconds();
    void draws_data();
    void draws();
    void seededRandomRangeAndRepeat();
    void drawsFollowTheirShares();
};

void TestQuestion::everyStepIsRoundedToFloat()
{
    // A product or sum of two floats is exact in double, and a quotient rounded
    // to double and then to float is still the correctly rounded float, so
    // these are single float operations on the stored operands.
    auto f = [](double x) { return static_cast<float>(x); };
    forEachCircuit([&](int a, int b, int k, const DrillState &s) {
        const QByteArray where = QStringLiteral("a=%1 b=%2 k=%3").arg(a).arg(b).arg(k).toUtf8();
        QVERIFY2(s.ValR1 == float(10 * a) && s.ValR2 == float(10 * a * b), where.constData());
        QVERIFY2(s.ValI2 == nearestFloat(k, 10), where.constData());
        QVERIFY2(s.ValE == f(double(s.ValR2) * double(s.ValI2)), where.constData());
        QVERIFY2(s.ValI1 == f(double(s.ValE) / double(s.ValR1)), where.constData());
        QVERIFY2(s.ValI == f(double(s.ValI1) + double(s.ValI2)), where.constData());
        QVERIFY2(s.ValR == f(double(s.ValE) / double(s.ValI)), where.constData());
    });
}

void TestQuestion::storedValuesAgainstNearestFloats()
{
    QList<int> offE;
    int offI1 = 0, offI = 0, offR = 0;
    forEachCircuit([&](int a, int b, int k, const DrillState &s) {
        if (s.ValE != nearestFloat(a * b * k, 1)) {
            offE << code(a, b, k);
            QCOMPARE(s.ValE, std::nextafter(float(a * b * k), 1000.0f));
        }
        offI1 += s.ValI1 != nearestFloat(b * k, 10);
        offI += s.ValI != nearestFloat((b + 1) * k, 10);
        offR += s.ValR != nearestFloat(10 * a * b, b + 1);
    });
    const QList<int> expectedE = {333, 336, 513, 516, 523, 526, 543, 546, 633,
                                  636, 733, 736, 913, 916, 923, 926, 943, 946};
    QCOMPARE(offE, expectedE);
    QCOMPARE(offI1, 6);
    QCOMPARE(offI, 27);
    QCOMPARE(offR, 43);
}

void TestQuestion::shownValuesAgainstIdealDigits()
{
    QMap<int, QString> offR;
    forEachCircuit([&](int a, int b, int k, const DrillState &s) {
        QCOMPARE(text(s.ValE), idealText(a * b * k, 1));
        QCOMPARE(text(s.ValI1), idealText(b * k, 10));
        QCOMPARE(text(s.ValI), idealText((b + 1) * k, 10));
        if (text(s.ValR) != idealText(10 * a * b, b + 1))
            offR.insert(code(a, b, k), text(s.ValR));
    });
    QMap<int, QString> expected;
    for (int k : {3, 6, 7, 9})
        expected.insert(code(5, 2, k), "33.33334");
    for (int k : {1, 2, 3, 4, 6, 8})
        expected.insert(code(7, 2, k), "46.66666");
    for (int k : {7, 9})
        expected.insert(code(8, 2, k), "53.33334");
    for (int k : {3, 6})
        expected.insert(code(9, 4, k), "72.00001");
    QCOMPARE(offR, expected);
}

void TestQuestion::spotValues()
{
    // 20 * 0.3f is 6.0000001192... and gives 6 only once rounded to float.
    QVERIFY(20.0 * double(0.3f) != 6.0);
    const DrillState small = circuit(1, 2, 3);
    QCOMPARE(small.ValE, 6.0f);
    QCOMPARE(text(small.ValI1), QStringLiteral("0.6"));
    QCOMPARE(text(small.ValI), QStringLiteral("0.9"));
    QCOMPARE(small.ValI, std::nextafter(0.9f, 1.0f));
    QCOMPARE(text(small.ValR), QStringLiteral("6.666667"));

    const DrillState middle = circuit(3, 3, 3);
    QCOMPARE(middle.ValE, std::nextafter(27.0f, 28.0f));
    QCOMPARE(middle.ValR, 22.5f);

    // Double intermediates would read 72 here; the pupil is marked against
    // the float result.
    const double i2 = double(0.3f), e = 360.0 * i2, i = e / 90.0 + i2;
    QCOMPARE(text(static_cast<float>(e / i)), QStringLiteral("72"));
    QCOMPARE(text(circuit(9, 4, 3).ValR), QStringLiteral("72.00001"));
}

void TestQuestion::clockSeconds_data()
{
    QTest::addColumn<QString>("reading");
    QTest::addColumn<int>("seconds");
    QTest::addRow("seven past") << "12:34:07" << 7;
    QTest::addRow("on the minute") << "08:15:00" << 0;
    QTest::addRow("last second of the day") << "23:59:59" << 59;
    QTest::addRow("half a minute") << "00:00:30" << 30;
}

void TestQuestion::clockSeconds()
{
    QFETCH(QString, reading);
    QFETCH(int, seconds);
    QCOMPARE(::clockSeconds(reading.toStdString()), seconds);
    ScriptedRandom random;
    seedFromClock(random, FixedClock(reading.toStdString()));
    QCOMPARE(random.events, QStringList{QStringLiteral("seed %1").arg(seconds)});
}

void TestQuestion::draws_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<float>>("script");
    QTest::addColumn<QList<double>>("result");
    auto row = [](const char *name, const char *kind, const QList<float> &script,
                  const QList<double> &result) {
        QTest::addRow("%s: %s", kind, name) << QString(kind) << script << result;
    };
    // r < 1 keeps 3r + 0.5 below 3.5, so 0 is the only type out of range.
    row("r = 0 rounds to 0 and is drawn again", "task type", {0.0f, 0.5f}, {2});
    row("0.16 rounds to 0", "task type", {0.16f, 0.9f}, {3});
    row("0.17 rounds to 1", "task type", {0.17f}, {1});
    row("0.49 rounds to 1", "task type", {0.49f}, {1});
    row("0.83 rounds to 2", "task type", {0.83f}, {2});
    row("0.84 rounds to 3", "task type", {0.84f}, {3});
    row("just below 1 is 3, never 4", "task type", {BelowOne}, {3});
    row("three zeros in a row", "task type", {0.0f, 0.1f, 0.05f, 0.3f}, {1});
    // Rows named "in double" hold floats r whose product, were it rounded to
    // float before the floor, would reach the next whole number.
    row("0.16666666f is 0 in double", "task type", {0x1.555554p-3f, 0.5f}, {2});
    row("0.8333333f is 2 in double", "task type", {0x1.aaaaaap-1f}, {2});
    // a is drawn before b, and a zero in either makes both be drawn again.
    row("both fine at once", "factors", {0.45f, 0.5f}, {4, 2});
    row("a zero, then b zero, then both fine", "factors", {0.05f, 0.7f, 0.25f, 0.1f, 0.45f, 0.5f},
        {4, 2});
    row("a zero draws b again too", "factors", {0.0f, 0.9f, 0.15f, 0.25f}, {1, 1});
    row("b zero draws a again too", "factors", {0.95f, 0.1f, 0.35f, 0.3f}, {3, 1});
    row("just below 1 gives the largest", "factors", {BelowOne, BelowOne}, {9, 4});
    row("0.1f and 0.2f reach 1", "factors", {0.1f, 0.2f}, {1, 1});
    row("just below 0.1 is a zero", "factors", {0x1.999998p-4f, 0.5f, 0.15f, 0.25f}, {1, 1});
    row("0.7f is 6 in double", "factors", {0.7f, 0.9f}, {6, 4});
    row("r = 0 is drawn again", "tenths", {0.0f, 0.5f}, {5});
    row("just below 1/11 is a zero", "tenths", {0.09f, 0.095f}, {1});
    row("just below 1 gives 10", "tenths", {BelowOne}, {10});
    row("three zeros in a row", "tenths", {0.0f, 0.01f, 0.05f, 0.5f}, {5});
    row("0.45454544f is 4 in double", "tenths", {0x1.d1745cp-2f}, {4});
    // Every case number is usable, so one draw always settles it.
    row("r = 0 is accepted", "case", {0.0f}, {1});
    row("floor 1", "case", {0.07f}, {2});
    row("floor 4", "case", {0.3f}, {5});
    row("floor 5 wraps round", "case", {0.34f}, {1});
    row("floor 9", "case", {0.62f}, {5});
    row("floor 10 wraps round", "case", {0.7f}, {1});
    row("just below 1 is floor 14", "case", {BelowOne}, {5});
}

void TestQuestion::draws()
{
    QFETCH(QString, kind);
    QFETCH(QList<float>, script);
    QFETCH(QList<double>, result);
    ScriptedRandom random;
    random.values.assign(script.begin(), script.end());
    QCOMPARE(draw(kind, random), result);
    // Every scripted value used, and not one more.
    QVERIFY(!random.ranDry);
    QCOMPARE(random.values.size(), std::size_t(0));
}

void TestQuestion::seededRandomRangeAndRepeat()
{
    SeededRandom random;
    random.seed(7);
    std::vector<float> first;
    for (int n = 0; n < 100000; ++n) {
        first.push_back(random.next());
        QVERIFY(first.back() >= 0.0f && first.back() < 1.0f);
    }
    random.seed(7);
    for (float v : first)
        QCOMPARE(random.next(), v);
    random.seed(8);
    QVERIFY(random.next() != first.front() || random.next() != first[1]);
}

void TestQuestion::drawsFollowTheirShares()
{
    constexpr int N = 100000;
    SeededRandom random;
    random.seed(41);
    std::map<int, int> types, cases, as, bs, ks;
    for (int n = 0; n < N; ++n) {
        const double t = drawTaskType(random);
        QCOMPARE(t, std::floor(t));
        ++types[int(t)];
        ++cases[drawCaseNo(random)];
        const ResistorFactors f = drawResistorFactors(random);
        ++as[f.a];
        ++bs[f.b];
        ++ks[drawCurrentTenths(random)];
    }
    // Task type 3 needs r in [5/6, 1), half the width of the others.
    checkShares("task type", types, {0.4, 0.4, 0.2}, N);
    checkShares("case", cases, std::vector<double>(5, 1.0 / 5), N);
    checkShares("a", as, std::vector<double>(9, 1.0 / 9), N);
    checkShares("b", bs, std::vector<double>(4, 1.0 / 4), N);
    checkShares("tenths", ks, std::vector<double>(10, 1.0 / 10), N);
}

QTEST_GUILESS_MAIN(TestQuestion)
#include "tst_question.moc"
