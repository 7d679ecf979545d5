#include "standin.h"

#include <QTest>
#include <memory>
#include <random>

// Entering and marking answers, through the handlers on the stand-in face.
class TestMarking : public QObject {
    Q_OBJECT

private slots:
    void keypadButtonsBuildTheAnswer();
    void rightAnswer();
    void wrongAnswer();
    void rightTwiceCountsOnce();
    void wrongThenRight();
    void rightThenWrongGivesThePointsBack();
    void emptyBoxIsWrong();
    void anyEntryIsMarkedWithoutHarm_data();
    void anyEntryIsMarkedWithoutHarm();
    void randomPupil();
};

void TestMarking::keypadButtonsBuildTheAnswer()
{
    StandInDrill d;
    for (int key : {1, 2, 11, 5})
        d.click(QStringLiteral("Command2_%1").arg(key));
    QCOMPARE(d.text("Text7"), QStringLiteral(" 1 2. 5"));
    d.click("Command2_10");
    QCOMPARE(d.text("Text7"), QString());
    // Whatever the box starts with stays, even a byte order mark.
    d.setText("Text7", QString::fromUtf16(u"\uFEFF5"));
    d.click("Command2_3");
    QCOMPARE(d.text("Text7"), QString::fromUtf16(u"\uFEFF5 3"));
}

void TestMarking::rightAnswer()
{
    // Question 3 asks for I of R1 10, R2 20, I2 0.3: I is stored as
    // 0.90000004, and the pupil's 0.9 is right.
    StandInDrill d;
    d.script(questionScript(2, 1, 1, 1, 1));
    d.script(questionScript(2, 1, 1, 1, 1));
    d.script(questionScript(1, 1, 2, 3, 2));
    QVERIFY(d.start());
    d.next();
    d.next();
    QCOMPARE(d.form.drillState().ValI, std::nextafter(0.9f, 1.0f));
    for (int key : {0, 11, 9})
        d.click(QStringLiteral("Command2_%1").arg(key));
    d.click("Command3");
    QCOMPARE(d.mark(3), QStringLiteral("○"));
    QCOMPARE(d.score(), QStringLiteral("10"));
    QCOMPARE(d.form.drillState().Score, std::int16_t(10));
    QVERIFY(!d.shown("Label5"));
    QCOMPARE(d.text("Text7"), QStringLiteral(" 0. 9"));
    for (int i : {1, 2, 4, 5, 6, 7, 8, 9, 10})
        QVERIFY(d.mark(i).isEmpty());
}

void TestMarking::wrongAnswer()
{
    StandInDrill d;
    d.script(questionScript(2, 1, 1, 1, 1));
    d.script(questionScript(2, 1, 1, 1, 1));
    d.script(questionScript(3, 1, 2, 3, 1)); // R of 10 and 20 ohm in parallel
    QVERIFY(d.start());
    d.next();
    d.next();
    d.enter("6.67");
    QCOMPARE(d.mark(3), QStringLiteral("×"));
    QCOMPARE(d.score(), QStringLiteral("0"));
    QVERIFY(d.shown("Label5"));
    QCOMPARE(d.text("Label5"), QStringLiteral("正解は 6.666667"));
    QCOMPARE(d.text("Text7"), QStringLiteral("6.67"));
}

void TestMarking::rightTwiceCountsOnce()
{
    StandInDrill d;
    d.script(questionScript(2, 3, 3, 3, 1)); // E stored as 27.000002
    QVERIFY(d.start());
    d.enter("27");
    d.click("Command3");
    QCOMPARE(d.mark(1), QStringLiteral("○"));
    QCOMPARE(d.score(), QStringLiteral("10"));
}

void TestMarking::wrongThenRight()
{
    StandInDrill d;
    d.script(questionScript(3, 9, 4, 3, 2)); // R stored as 72.00001
    QVERIFY(d.start());
    d.enter("70");
    QCOMPARE(d.text("Label5"), QStringLiteral("正解は 72.00001"));
    d.enter("72");
    QCOMPARE(d.mark(1), QStringLiteral("○"));
    QCOMPARE(d.score(), QStringLiteral("10"));
    QVERIFY(d.shown("Label5"));
    QCOMPARE(d.text("Label5"), QStringLiteral("正解は 72.00001"));
}

void TestMarking::rightThenWrongGivesThePointsBack()
{
    StandInDrill d;
    d.script(questionScript(1, 2, 2, 5, 4)); // I1 = 1
    d.script(questionScript(1, 2, 2, 5, 5)); // I = 1.5
    QVERIFY(d.start());
    d.enter("1");
    QCOMPARE(d.score(), QStringLiteral("10"));
    d.next();
    d.enter("1.5");
    QCOMPARE(d.score(), QStringLiteral("20"));
    d.enter("15");
    QCOMPARE(d.mark(2), QStringLiteral("×"));
    QCOMPARE(d.mark(1), QStringLiteral("○"));
    QCOMPARE(d.score(), QStringLiteral("10"));
    QCOMPARE(d.text("Label5"), QStringLiteral("正解は 1.5"));
}

void TestMarking::emptyBoxIsWrong()
{
    StandInDrill d;
    d.script(questionScript(1, 1, 1, 1, 1)); // I = 0.2
    QVERIFY(d.start());
    d.click("Command3");
    QCOMPARE(d.mark(1), QStringLiteral("×"));
    QCOMPARE(d.text("Label5"), QStringLiteral("正解は .2"));
}

void TestMarking::anyEntryIsMarkedWithoutHarm_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addRow("sixty digits") << QString(60, u'9');
    QTest::addRow("four hundred digits") << QString(400, u'8');
    QTest::addRow("exponent") << "1e999";
    QTest::addRow("negative") << "-5";
    QTest::addRow("lone point") << ".";
    QTest::addRow("text") << "わかりません";
    QTest::addRow("full-width text") << "ＡＢＣ１";
    QTest::addRow("very long text") << QString(200000, u'あ');
    QTest::addRow("control characters") << QString::fromUtf16(u"\u0000\u0007\uFFFF9");
}

void TestMarking::anyEntryIsMarkedWithoutHarm()
{
    QFETCH(QString, entry);
    StandInDrill d;
    d.script(questionScript(1, 4, 2, 5, 2));
    QVERIFY(d.start());
    d.enter(entry);
    QCOMPARE(d.mark(1), QStringLiteral("×"));
    QCOMPARE(d.score(), QStringLiteral("0"));
    QCOMPARE(d.ending.count, 0);
    d.enter(d.rightAnswer());
    QCOMPARE(d.mark(1), QStringLiteral("○"));
}

// A pupil pressing anything in any order, over many runs: the score always
// equals ten points per "○", one box shows "？", and the run ends after ten.
void TestMarking::randomPupil()
{
    std::mt19937 pupil(20261208);
    auto chance = [&pupil](int percent) { return int(pupil() % 100) < percent; };
    std::unique_ptr<StandInDrill> d;
    int runs = 0, rightMarks = 0, wrongMarks = 0;
    for (int step = 0; step < 3000; ++step) {
        if (!d || d->ending.count > 0) {
            QVERIFY(!d || d->form.drillState().QuestionNo == 11);
            d = std::make_unique<StandInDrill>(false);
            d->clock.reading =
                QStringLiteral("10:00:%1").arg(step % 60, 2, 10, QChar(u'0')).toStdString();
            QVERIFY(d->start());
            ++runs;
        }
        const int action = int(pupil() % 100);
        if (action < 45)
            d->click(QStringLiteral("Command2_%1").arg(pupil() % 12));
        else if (action < 55)
            d->setText("Text7", chance(50) ? d->rightAnswer() : QString::number(pupil() % 500));
        else if (action < 85) {
            d->click("Command3");
            const QString mark = d->mark(d->form.drillState().QuestionNo);
            rightMarks += mark == QStringLiteral("○");
            wrongMarks += mark == QStringLiteral("×");
        } else
            d->next();
        if (d->ending.count > 0)
            continue;

        const DrillState &s = d->form.drillState();
        int circles = 0;
        for (int i = 1; i <= 10; ++i)
            circles += d->mark(i) == QStringLiteral("○");
        QCOMPARE(int(s.Score), 10 * circles);
        QCOMPARE(d->score(), QString::number(s.Score));
        QVERIFY(s.QuestionNo >= 1 && s.QuestionNo <= 10);
        int asked = 0;
        for (int k = 0; k < 9; ++k) {
            const QString box = QStringLiteral("Text4_%1").arg(k);
            asked += d->shown(box) && d->text(box) == QStringLiteral("？");
        }
        QCOMPARE(asked, 1);
    }
    QVERIFY2(runs >= 3, "the random pupil should finish several runs");
    QVERIFY2(rightMarks >= 20 && wrongMarks >= 20, "the random pupil should get both marks");
}

QTEST_GUILESS_MAIN(TestMarking)
#include "tst_marking.moc"
