#include "drill/presentation.h"
#include "standin.h"

#include <QTest>
#include <map>
#include <optional>

// Start-up and the questions as the handlers set them up: which slots are
// shown, what their boxes hold, and how "次" moves through the run.
class TestProblem : public QObject {
    Q_OBJECT

private slots:
    void freshWindow();
    void startupSeedsFromClockSeconds_data();
    void startupSeedsFromClockSeconds();
    void forms_data();
    void forms();
    void caseOutsideRangeIsCaseOne();
    void stepsRunInOrder();
    void nextRunsTenQuestionsThenEnds();
};

namespace {

const char *const SlotNames[9] = {"I", "I1", "I2", "E", "E1", "E2", "R1", "R2", "R"};

// Works out the asked quantity from the shown ones with the laws of the
// parallel circuit, as a pupil would.
std::optional<double> solve(std::map<int, double> known, int asked)
{
    for (int round = 0; round < 6 && !known.contains(asked); ++round) {
        auto has = [&](int s) { return known.contains(s); };
        auto set = [&](int s, double v) {
            if (!has(s))
                known[s] = v;
        };
        for (int v : {SlotE, SlotE1, SlotE2})
            if (has(v))
                set(SlotE, known[v]), set(SlotE1, known[v]), set(SlotE2, known[v]);
        if (has(SlotE) && has(SlotR1))
            set(SlotI1, known[SlotE] / known[SlotR1]);
        if (has(SlotE) && has(SlotR2))
            set(SlotI2, known[SlotE] / known[SlotR2]);
        if (has(SlotI1) && has(SlotR1))
            set(SlotE, known[SlotI1] * known[SlotR1]);
        if (has(SlotI2) && has(SlotR2))
            set(SlotE, known[SlotI2] * known[SlotR2]);
        if (has(SlotI1) && has(SlotI2))
            set(SlotI, known[SlotI1] + known[SlotI2]);
        if (has(SlotI) && has(SlotI1))
            set(SlotI2, known[SlotI] - known[SlotI1]);
        if (has(SlotI) && has(SlotI2))
            set(SlotI1, known[SlotI] - known[SlotI2]);
        if (has(SlotE) && has(SlotI1))
            set(SlotR1, known[SlotE] / known[SlotI1]);
        if (has(SlotE) && has(SlotI2))
            set(SlotR2, known[SlotE] / known[SlotI2]);
        if (has(SlotE) && has(SlotI))
            set(SlotR, known[SlotE] / known[SlotI]);
        if (has(SlotR1) && has(SlotR2) && has(SlotI1))
            set(SlotI, known[SlotI1] * (1 + known[SlotR1] / known[SlotR2]));
        if (has(SlotR1) && has(SlotR2) && has(SlotI))
            set(SlotE, known[SlotI] / (1 / known[SlotR1] + 1 / known[SlotR2]));
        if (has(SlotR1) && has(SlotR2))
            set(SlotR, 1 / (1 / known[SlotR1] + 1 / known[SlotR2]));
    }
    if (!known.contains(asked))
        return std::nullopt;
    return known[asked];
}

} // namespace

void TestProblem::freshWindow()
{
    StandInDrill d;
    QVERIFY(!d.shown("Label5"));
    QVERIFY(d.text("Label4").isEmpty());
    for (int i = 1; i <= 10; ++i) {
        QCOMPARE(d.text(QStringLiteral("Text1_%1").arg(i)), QString::number(i));
        QVERIFY(d.mark(i).isEmpty());
    }
    QCOMPARE(d.score(), QStringLiteral("0"));
    QCOMPARE(d.form.drillState().QuestionNo, std::int16_t(1));
    QCOMPARE(d.form.drillState().Score, std::int16_t(0));
}

void TestProblem::startupSeedsFromClockSeconds_data()
{
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("seed");
    QTest::addRow("seven seconds") << "12:34:07"
                                   << "seed 7";
    QTest::addRow("on the minute") << "08:15:00"
                                   << "seed 0";
    QTest::addRow("last second") << "23:59:59"
                                 << "seed 59";
}

void TestProblem::startupSeedsFromClockSeconds()
{
    QFETCH(QString, reading);
    QFETCH(QString, seed);
    StandInDrill d(true, reading.toStdString());
    QCOMPARE(d.scripted.events, QStringList{seed});
}

void TestProblem::forms_data()
{
    QTest::addColumn<int>("taskType");
    QTest::addColumn<int>("caseNo");
    QTest::addColumn<QString>("taskText");
    QTest::addColumn<QList<int>>("given");
    QTest::addColumn<int>("asked");

    const QString current = "電流を求めよう", voltage = "電圧を求めよう",
                  resistance = "抵抗を求めよう";
    auto row = [](const char *name, int t, int c, const QString &text, const QList<int> &given,
                  int asked) { QTest::newRow(name) << t << c << text << given << asked; };
    row("current 1", 1, 1, current, {SlotI1, SlotI2}, SlotI);
    row("current 2", 1, 2, current, {SlotR1, SlotR2, SlotE}, SlotI);
    row("current 3", 1, 3, current, {SlotR1, SlotR2, SlotI1}, SlotI);
    row("current 4", 1, 4, current, {SlotR1, SlotR2, SlotE}, SlotI1);
    row("current 5", 1, 5, current, {SlotR1, SlotR2, SlotI2}, SlotI);
    row("voltage 1", 2, 1, voltage, {SlotE1, SlotE2}, SlotE);
    row("voltage 2", 2, 2, voltage, {SlotR2, SlotI, SlotE1}, SlotE);
    row("voltage 3", 2, 3, voltage, {SlotR2, SlotI, SlotR1}, SlotE);
    row("voltage 4", 2, 4, voltage, {SlotR2, SlotI, SlotE}, SlotE1);
    row("voltage 5", 2, 5, voltage, {SlotR2, SlotR1, SlotE2}, SlotE1);
    row("resistance 1", 3, 1, resistance, {SlotR2, SlotR1}, SlotR);
    row("resistance 2", 3, 2, resistance, {SlotI, SlotE1, SlotE2}, SlotR);
    row("resistance 3", 3, 3, resistance, {SlotE, SlotE1, SlotI2, SlotR1}, SlotR);
    row("resistance 4", 3, 4, resistance, {SlotI, SlotE1, SlotI2}, SlotR1);
    row("resistance 5", 3, 5, resistance, {SlotI, SlotE, SlotE2, SlotR2}, SlotR1);
}

void TestProblem::forms()
{
    QFETCH(int, taskType);
    QFETCH(int, caseNo);
    QFETCH(QString, taskText);
    QFETCH(QList<int>, given);
    QFETCH(int, asked);

    // A first question that shows every box but R, so that leftovers from it
    // would be noticed, then the tested form on another circuit:
    // R1 30, R2 60, I2 0.4, E 24, I1 0.8, I 1.2, R 20.
    StandInDrill d;
    d.script(questionScript(3, 9, 4, 10, 5));
    d.script(questionScript(taskType, 3, 2, 4, caseNo));
    QVERIFY(d.start());
    d.next();

    const QMap<int, QString> values{{SlotI, "1.2"}, {SlotI1, "0.8"}, {SlotI2, "0.4"},
                                    {SlotE, "24"},  {SlotE1, "24"},  {SlotE2, "24"},
                                    {SlotR1, "30"}, {SlotR2, "60"}};
    QCOMPARE(d.text("Label4"), taskText);
    std::map<int, double> shown;
    int questionMarks = 0;
    for (int k = 0; k < 9; ++k) {
        const bool expectShown = given.contains(k) || k == asked;
        QCOMPARE(d.shown(QStringLiteral("Text4_%1").arg(k)), expectShown);
        QCOMPARE(d.shown(QStringLiteral("Label2_%1").arg(k)), expectShown);
        if (!expectShown)
            continue;
        const QString text = d.text(QStringLiteral("Text4_%1").arg(k));
        if (k == asked) {
            QCOMPARE(text, QStringLiteral("？"));
        } else {
            QVERIFY2(k != SlotR, "R is never given");
            QCOMPARE(text, values[k]);
            shown[k] = text.toDouble();
        }
        questionMarks += text == QStringLiteral("？");
    }
    QCOMPARE(questionMarks, 1);

    const std::optional<double> answer = solve(shown, asked);
    QVERIFY2(answer, SlotNames[asked]);
    const double ideal[9] = {1.2, 0.8, 0.4, 24, 24, 24, 30, 60, 20};
    QVERIFY2(qAbs(*answer - ideal[asked]) < 1e-9, qPrintable(QString::number(*answer)));
}

void TestProblem::caseOutsideRangeIsCaseOne()
{
    for (const TaskKind *task : {&CurrentTask, &VoltageTask, &ResistanceTask}) {
        for (int caseNo : {0, 6, -1, 1000}) {
            const ProblemForm &form = problemForm(*task, caseNo);
            QCOMPARE(&form, task->cases.data());
        }
    }
}

// The task type is drawn before the generator is reseeded from the clock;
// the circuit and the case come after.
void TestProblem::stepsRunInOrder()
{
    StandInDrill d;
    d.clock.reading = "09:41:23"; // start-up has already seeded with 7
    d.script({0.0f});             // a task type of 0 is drawn again
    d.script(questionScript(2, 4, 3, 5, 2));
    QVERIFY(d.start());
    QCOMPARE(d.scripted.events,
             QStringList({"seed 7", "draw", "draw", "seed 23", "draw", "draw", "draw", "draw"}));
    const DrillState &s = d.form.drillState();
    QCOMPARE(s.TaskType, 2.0);
    QCOMPARE(s.CaseNo, 2);
    QCOMPARE(s.ValR1, 40.0f);
    QCOMPARE(s.ValR2, 120.0f);
    QCOMPARE(s.ValI2, 0.5f);
    QCOMPARE(s.ValE, 60.0f);
    QCOMPARE(s.ValI1, 1.5f);
    QCOMPARE(s.ValI, 2.0f);
    QCOMPARE(s.ValR, 30.0f);
}

void TestProblem::nextRunsTenQuestionsThenEnds()
{
    StandInDrill d;
    for (int q = 1; q <= 10; ++q)
        d.script(questionScript(1 + q % 3, q % 9 + 1, q % 4 + 1, q, q % 5 + 1));
    QVERIFY(d.start());

    for (int q = 2; q <= 10; ++q) {
        d.setText("Text7", " 1 2. 5");
        d.control("Label5").visible = true;
        d.next();
        QCOMPARE(d.form.drillState().QuestionNo, std::int16_t(q));
        QCOMPARE(d.text("Text7"), QString());
        QVERIFY(!d.shown("Label5"));
        QCOMPARE(d.form.drillState().TaskType, double(1 + q % 3));
        QCOMPARE(d.ending.count, 0);
    }
    QVERIFY(!d.scripted.ranDry);

    const QStringList beforeEnd = d.scripted.events;
    d.setText("Text7", " 3");
    d.control("Label5").visible = true;
    d.next();
    QCOMPARE(d.ending.count, 1);
    QCOMPARE(d.text("Text7"), QString());
    QVERIFY(!d.shown("Label5"));
    QCOMPARE(d.scripted.events, beforeEnd); // no eleventh question
    // Skipped questions get no mark.
    for (int i = 1; i <= 10; ++i)
        QVERIFY(d.mark(i).isEmpty());
}

QTEST_GUILESS_MAIN(TestProblem)
#include "tst_problem.moc"
