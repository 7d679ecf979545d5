#include "drill/numbertext.h"
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
    QTest::addRow("0.3 as a float, slightly above 0.3") << 0.3f << "0.3";
    QTest::addRow("20/3") << 20.0f / 3.0f << "6.666667";
    QTest::addRow("72.00001") << 72.00001f << "72.00001";
    QTest::addRow("0.90000004, one ulp above 0.9") << std::nextafter(0.9f, 1.0f) << "0.9";
    QTest::addRow("27.000002 reads as 27") << std::nextafter(27.0f, 28.0f) << "27";
    QTest::addRow("ten without point or zeros") << 10.0f << "10";
    QTest::addRow("22.5") << 22.5f << "22.5";
    QTest::addRow("360") << 360.0f << "360";
    QTest::addRow("the smallest current") << 0.1f << "0.1";
    QTest::addRow("33.33334 where 33.33333 is ideal") << 33.33334f << "33.33334";
    QTest::addRow("46.66666") << 46.66666f << "46.66666";
    QTest::addRow("rounds up into a new digit") << 9.9999999f << "10";
    QTest::addRow("zero") << 0.0f << "0";
    QTest::addRow("negative below one") << -0.5f << "-0.5";
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
    QTest::addRow("score at start") << 0 << "0";
    QTest::addRow("first right answer") << 10 << "10";
    QTest::addRow("question ten") << 10 << "10";
    QTest::addRow("largest 16-bit score") << 32767 << "32767";
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
    QTest::addRow("a half, no zero before the point") << 0.5f << " .5";
    QTest::addRow("twelve") << 12.0f << " 12";
    QTest::addRow("20/3") << 20.0f / 3.0f << " 6.666667";
    QTest::addRow("0.90000004") << std::nextafter(0.9f, 1.0f) << " .9";
    QTest::addRow("27.000002") << std::nextafter(27.0f, 28.0f) << " 27";
    QTest::addRow("negative") << -0.25f << "-.25";
    QTest::addRow("zero") << 0.0f << " 0";
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
    QTest::addRow("digit 0") << 0 << " 0";
    QTest::addRow("digit 7") << 7 << " 7";
    QTest::addRow("negative") << -3 << "-3";
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
