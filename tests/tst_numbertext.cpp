#include "drill/numbertext.h"
#include "rulecases.h"
#include "support.h"

#include <QTest>
#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void plainFloat_data();
    void plainFloat();
    void plainInteger_data();
    void plainInteger();
    void signedFloat_data();
    void signedFloat();
    void signedInteger_data();
    void signedInteger();
    void neverAnExponent();
    void sameDigitsAsToChars();

private:
    CommaLocale commaLocale;
};

void TestNumberText::initTestCase()
{
    const QString failure = commaLocale.build();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void TestNumberText::plainFloat_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    for (const FloatTextCase &c : plainFloatCases())
        QTest::addRow("%s", c.name) << c.value << QString::fromUtf8(c.text);
}

void TestNumberText::plainFloat()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(plainNumberText(value)), text);
}

void TestNumberText::plainInteger_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    for (const IntTextCase &c : plainIntegerCases())
        QTest::addRow("%s", c.name) << c.value << QString::fromUtf8(c.text);
}

void TestNumberText::plainInteger()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(plainNumberText(value)), text);
}

void TestNumberText::signedFloat_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    for (const FloatTextCase &c : signedFloatCases())
        QTest::addRow("%s", c.name) << c.value << QString::fromUtf8(c.text);
}

void TestNumberText::signedFloat()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(signedNumberText(value)), text);
}

void TestNumberText::signedInteger_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    for (const IntTextCase &c : signedIntegerCases())
        QTest::addRow("%s", c.name) << c.value << QString::fromUtf8(c.text);
}

void TestNumberText::signedInteger()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(signedNumberText(value)), text);
}

// The values of a question lie between 0.1 and 360, but the text must stay
// positional outside that range too.
void TestNumberText::neverAnExponent()
{
    for (float v : {1e-5f, 0.000123f, 1234567.0f, 98765432.0f, 1e12f}) {
        const QString text = QString::fromStdString(plainNumberText(v));
        QVERIFY2(!text.contains(u'e') && !text.contains(u'E'), qPrintable(text));
        QCOMPARE(text.toDouble(), double(QString::number(double(v), 'g', 7).toDouble()));
    }
}

// The digits read from printf's text under a locale with a decimal comma
// are those of to_chars, over the whole float range by a stride through the
// bit patterns and more closely from 0.01 to 10000, where a drill's values
// lie.
void TestNumberText::sameDigitsAsToChars()
{
    const struct {
        float from, to;
        std::uint32_t stride;
    } sweeps[] = {{0.0f, FLT_MAX, 1021}, {0.01f, 10000.0f, 61}};
    qint64 compared = 0;
    const QString failure = commaLocale.under([&] {
        for (const auto &sweep : sweeps) {
            for (std::uint64_t bits = std::bit_cast<std::uint32_t>(sweep.from);
                 bits <= std::bit_cast<std::uint32_t>(sweep.to); bits += sweep.stride) {
                const float v = std::bit_cast<float>(std::uint32_t(bits));
                char buffer[32];
                const auto end = std::to_chars(buffer, buffer + sizeof buffer, v,
                                               std::chars_format::scientific, 6);
                const std::string text(buffer, end.ptr); // d.dddddde±xx
                std::string digits = text.substr(0, 1) + text.substr(2, 6);
                digits.erase(std::max<std::size_t>(digits.find_last_not_of('0') + 1, 1));
                const SignificantDigits d = sevenSignificantDigits(v);
                if (d.digits != digits || d.exponent != std::stoi(text.substr(9)))
                    return QString::fromStdString(text + " from to_chars, " + d.digits + " e" +
                                                  std::to_string(d.exponent) + " from printf");
                ++compared;
            }
        }
        return QString();
    });
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY2(compared > 4'000'000, qPrintable(QString::number(compared)));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
