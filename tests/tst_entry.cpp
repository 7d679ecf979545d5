#include "drill/numbertext.h"
#include "drill/question.h"
#include "marking/answer.h"
#include "marking/keypad.h"
#include "marking/marking.h"
#include "rulecases.h"
#include "support.h"

#include <QTest>
#include <algorithm>
#include <cmath>

// The keypad, the reading of the answer box and the marking rules, without
// a window.
class TestEntry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void keypad_data();
    void keypad();
    void reading_data();
    void reading();
    void everyInvisibleCharacterIsSkipped();
    void skippedAsQtCategorises();
    void readingHugeNumbers();
    void expectedAnswer_data();
    void expectedAnswer();
    void decimalAnswersAreRightOverAllCircuits();
    void nearMissesAndNonsenseAreWrong_data();
    void nearMissesAndNonsenseAreWrong();
    void scoreCountsEachQuestionOnce_data();
    void scoreCountsEachQuestionOnce();
    void correctAnswerCaption_data();
    void correctAnswerCaption();

private:
    CommaLocale commaLocale;
};

void TestEntry::initTestCase()
{
    const QString failure = commaLocale.build();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void TestEntry::keypad_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("after");
    const int point = PointKey, clear = ClearKey;
    QTest::addRow("1 2 point 5") << "" << QList<int>{1, 2, point, 5} << " 1 2. 5";
    QTest::addRow("0 point 5") << "" << QList<int>{0, point, 5} << " 0. 5";
    QTest::addRow("3 point 2") << "" << QList<int>{3, point, 2} << " 3. 2";
    QTest::addRow("three zeros") << "" << QList<int>{0, 0, 0} << " 0 0 0";
    QTest::addRow("two points") << "" << QList<int>{1, point, point} << " 1..";
    QTest::addRow("clear on empty") << "" << QList<int>{clear} << "";
    QTest::addRow("clear then digit") << " 4 2" << QList<int>{clear, 9} << " 9";
    QTest::addRow("digit after typed text") << "12" << QList<int>{7} << "12 7";
    QTest::addRow("every digit") << "" << QList<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}
                                 << " 9 8 7 6 5 4 3 2 1 0";
}

void TestEntry::keypad()
{
    QFETCH(QString, before);
    QFETCH(QList<int>, keys);
    QFETCH(QString, after);
    std::u16string text = before.toStdU16String();
    for (int key : keys)
        text = keypadEdit(text, key);
    QCOMPARE(QString::fromStdU16String(text), after);
}

void TestEntry::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    // Through a view: fromStdU16String would drop a leading U+FEFF.
    for (const ReadingCase &c : readingCases())
        QTest::addRow("%s", c.name.c_str())
            << QStringView(c.text.data(), qsizetype(c.text.size())).toString() << c.value;
}

void TestEntry::reading()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readAnswer(text.toStdU16String()), value);
    QCOMPARE(commaLocale.under([&] { return readAnswer(text.toStdU16String()); }), value);
}

// Whatever a new Unicode version counts as a space, control or format
// character is skipped too, also beyond the first plane.
void TestEntry::everyInvisibleCharacterIsSkipped()
{
    int skipped = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const QChar::Category category = QChar::category(c);
        if (category != QChar::Separator_Space && category != QChar::Other_Control &&
            category != QChar::Other_Format)
            continue;
        const QString blank = QString::fromUcs4(&c, 1);
        if (readAnswer((blank + "2" + blank + ".5").toStdU16String()) != 2.5)
            QFAIL(qPrintable(QStringLiteral("U+%1 is not skipped").arg(unsigned(c), 4, 16)));
        ++skipped;
    }
    QVERIFY2(skipped > 200, qPrintable(QString::number(skipped)));
}

// The table of skipped characters, generated from Unicode 15.0, against Qt's
// categories, which are of Unicode 14.0 in Qt 6.4: the Egyptian hieroglyph
// controls U+13439 to U+1343F became format characters in 15.0.
void TestEntry::skippedAsQtCategorises()
{
    constexpr char32_t FormatSince15[] = {0x13439, 0x1343A, 0x1343B, 0x1343C,
                                          0x1343D, 0x1343E, 0x1343F};
    QStringList differing;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const QChar::Category category = QChar::category(c);
        const bool qtSkips = category == QChar::Separator_Space ||
                             category == QChar::Separator_Line ||
                             category == QChar::Separator_Paragraph ||
                             category == QChar::Other_Control || category == QChar::Other_Format;
        if (isSkippedInAnswer(c) != qtSkips &&
            std::count(FormatSince15, std::end(FormatSince15), c) == 0)
            differing << QStringLiteral("U+%1").arg(unsigned(c), 4, 16, QChar(u'0')).toUpper();
    }
    QVERIFY2(differing.isEmpty(), qPrintable("Qt categorises otherwise: " + differing.join(' ')));
}

void TestEntry::readingHugeNumbers()
{
    const double sixty = readAnswer(QString(60, u'9').toStdU16String());
    QVERIFY(std::isfinite(sixty) && sixty > 9e59);
    QCOMPARE(readAnswer(QString(400, u'7').toStdU16String()), HUGE_VAL);
    QCOMPARE(readAnswer(("-" + QString(400, u'7')).toStdU16String()), -HUGE_VAL);
    QCOMPARE(readAnswer(QString(100000, u' ').toStdU16String() + u"3"), 3.0);
    QCOMPARE(readAnswer(QString(50000, u'１').toStdU16String()), HUGE_VAL);
}

void TestEntry::expectedAnswer_data()
{
    QTest::addColumn<int>("taskType");
    QTest::addColumn<int>("caseNo");
    QTest::addColumn<QString>("quantity");
    for (int c = 1; c <= 5; ++c) {
        QTest::addRow("current %d", c) << 1 << c << (c == 4 ? "I1" : "I");
        QTest::addRow("voltage %d", c) << 2 << c << "E";
        QTest::addRow("resistance %d", c) << 3 << c << (c >= 4 ? "R1" : "R");
    }
}

void TestEntry::expectedAnswer()
{
    QFETCH(int, taskType);
    QFETCH(int, caseNo);
    QFETCH(QString, quantity);
    // Every value different, so the wrong one cannot match by accident.
    DrillState s;
    s.ValR = 1, s.ValR1 = 2, s.ValR2 = 3, s.ValE = 4, s.ValI = 5, s.ValI1 = 6, s.ValI2 = 7;
    s.TaskType = taskType;
    s.CaseNo = caseNo;
    const QMap<QString, float> values{{"R", 1}, {"R1", 2}, {"E", 4}, {"I", 5}, {"I1", 6}};
    QCOMPARE(::expectedAnswer(s), values[quantity]);
}

// Whatever the rounding of the stored floats, the decimal answer a pupil
// works out, written to seven significant digits, is marked right, and an
// answer one unit off in the fifth digit is not.
void TestEntry::decimalAnswersAreRightOverAllCircuits()
{
    int checked = 0;
    for (int a = 1; a <= 9; ++a) {
        for (int b = 1; b <= 4; ++b) {
            for (int k = 1; k <= 10; ++k) {
                DrillState s;
                storeCircuit(s, {a, b}, k);
                const struct {
                    const char *name;
                    double ideal;
                    float stored;
                } asked[] = {{"I", (b + 1) * k / 10.0, s.ValI},
                             {"I1", b * k / 10.0, s.ValI1},
                             {"E", double(a * b * k), s.ValE},
                             {"R1", 10.0 * a, s.ValR1},
                             {"R", 10.0 * a * b / (b + 1), s.ValR}};
                for (const auto &q : asked) {
                    const QString typed = QString::number(q.ideal, 'g', 7);
                    const double entry = readAnswer(typed.toStdU16String());
                    const QString where = QStringLiteral("%1 of a=%2 b=%3 k=%4, typed %5")
                                              .arg(q.name)
                                              .arg(a)
                                              .arg(b)
                                              .arg(k)
                                              .arg(typed);
                    QVERIFY2(isRightAnswer(entry, q.stored), qPrintable(where));
                    const double unit = std::pow(10.0, std::floor(std::log10(q.ideal)) - 4);
                    QVERIFY2(!isRightAnswer(entry + unit, q.stored), qPrintable(where));
                    QVERIFY2(!isRightAnswer(entry - unit, q.stored), qPrintable(where));
                    ++checked;
                }
            }
        }
    }
    QCOMPARE(checked, 360 * 5);
}

void TestEntry::nearMissesAndNonsenseAreWrong_data()
{
    QTest::addColumn<double>("entry");
    QTest::addColumn<float>("expected");
    QTest::addColumn<bool>("right");
    QTest::addRow("exact float") << double(0.3f) << 0.3f << true;
    QTest::addRow("0.9 for the stored 0.90000004") << 0.9 << std::nextafter(0.9f, 1.0f) << true;
    QTest::addRow("27 for the stored 27.000002") << 27.0 << std::nextafter(27.0f, 28.0f) << true;
    QTest::addRow("6.666667 for 20/3") << 6.666667 << 20.0f / 3.0f << true;
    QTest::addRow("6.6666665 for 20/3") << 6.6666665 << 20.0f / 3.0f << true;
    QTest::addRow("46.66667 for the stored 46.66666") << 46.66667 << 46.66666f << true;
    QTest::addRow("6.67 for 20/3") << 6.67 << 20.0f / 3.0f << false;
    QTest::addRow("6.6667 for 20/3") << 6.6667 << 20.0f / 3.0f << false;
    QTest::addRow("empty box reads 0") << 0.0 << 0.1f << false;
    QTest::addRow("negative") << -5.0 << 5.0f << false;
    QTest::addRow("infinity") << HUGE_VAL << 360.0f << false;
    QTest::addRow("beyond float range") << 1e300 << 360.0f << false;
    QTest::addRow("not a number") << std::nan("") << 1.0f << false;
    QTest::addRow("nothing matches an infinite value") << 5.0 << float(HUGE_VAL) << false;
}

void TestEntry::nearMissesAndNonsenseAreWrong()
{
    QFETCH(double, entry);
    QFETCH(float, expected);
    QFETCH(bool, right);
    QCOMPARE(isRightAnswer(entry, expected), right);
}

void TestEntry::scoreCountsEachQuestionOnce_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("wasRight");
    QTest::addColumn<bool>("isRight");
    QTest::addColumn<int>("after");
    QTest::addRow("first right answer") << 0 << false << true << 10;
    QTest::addRow("right again") << 10 << true << true << 10;
    QTest::addRow("wrong after right gives the points back") << 30 << true << false << 20;
    QTest::addRow("wrong again") << 20 << false << false << 20;
}

void TestEntry::scoreCountsEachQuestionOnce()
{
    QFETCH(int, before);
    QFETCH(bool, wasRight);
    QFETCH(bool, isRight);
    QFETCH(int, after);
    QCOMPARE(int(scoreAfterMarking(std::int16_t(before), wasRight, isRight)), after);
}

void TestEntry::correctAnswerCaption_data()
{
    QTest::addColumn<float>("expected");
    QTest::addColumn<QString>("caption");
    QTest::addRow("whole number") << 12.0f << "正解は 12";
    QTest::addRow("below one") << 0.5f << "正解は .5";
    QTest::addRow("20/3") << 20.0f / 3.0f << "正解は 6.666667";
    QTest::addRow("0.90000004") << std::nextafter(0.9f, 1.0f) << "正解は .9";
    QTest::addRow("27.000002") << std::nextafter(27.0f, 28.0f) << "正解は 27";
}

void TestEntry::correctAnswerCaption()
{
    QFETCH(float, expected);
    QFETCH(QString, caption);
    QCOMPARE(QString::fromStdString(::correctAnswerCaption(expected)), caption);
}

QTEST_APPLESS_MAIN(TestEntry)
#include "tst_entry.moc"
