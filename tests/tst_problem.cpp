#include "drill/presentation.h"
#include "drillwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <map>
#include <optional>

// Questions as the window sets them up: which slots it shows, what their
// boxes hold, and how "次" moves through the run.
class TestProblem : public QObject {
    Q_OBJECT

private slots:
    void forms_data();
    void forms();
    void caseOutsideRangeIsCaseOne();
    void stepsRunInOrder();
    void firstQuestionOnlyOnce();
    void nextRunsTenQuestionsThenEnds();
    void nextClearsTheDrawingAndDrawsAgain();
    void eventsQueuedBehindTheEndChangeNothing_data();
    void eventsQueuedBehindTheEndChangeNothing();
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
    DrillWindow d;
    d.script(questionScript(3, 9, 4, 10, 5));
    d.script(questionScript(taskType, 3, 2, 4, caseNo));
    QVERIFY(d.start());
    d.next();

    const QMap<int, QString> values{{SlotI, "1.2"}, {SlotI1, "0.8"}, {SlotI2, "0.4"},
                                    {SlotE, "24"},  {SlotE1, "24"},  {SlotE2, "24"},
                                    {SlotR1, "30"}, {SlotR2, "60"}};
    QCOMPARE(d.label("Label4")->text(), taskText);
    std::map<int, double> shown;
    int questionMarks = 0;
    for (int k = 0; k < 9; ++k) {
        const bool expectShown = given.contains(k) || k == asked;
        QCOMPARE(!d.slotBox(k)->isHidden(), expectShown);
        QCOMPARE(!d.slotCaption(k)->isHidden(), expectShown);
        if (!expectShown)
            continue;
        const QString text = d.slotBox(k)->text();
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
    DrillWindow d;
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

void TestProblem::firstQuestionOnlyOnce()
{
    DrillWindow d;
    d.script(questionScript(1, 2, 2, 2, 2));
    QVERIFY(d.start());
    const QStringList afterFirst = d.scripted.events;
    QCOMPARE(afterFirst.count("draw"), 5);

    // Focus coming and going, or the window shown again, set up nothing new.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&d.form, &activate);
    d.form.activateWindow();
    d.form.hide();
    d.form.show();
    QTest::qWait(50);
    QCOMPARE(d.scripted.events, afterFirst);
    QCOMPARE(d.form.drillState().QuestionNo, std::int16_t(1));
}

void TestProblem::nextRunsTenQuestionsThenEnds()
{
    DrillWindow d;
    for (int q = 1; q <= 10; ++q)
        d.script(questionScript(1 + q % 3, q % 9 + 1, q % 4 + 1, q, q % 5 + 1));
    QVERIFY(d.start());

    for (int q = 2; q <= 10; ++q) {
        d.box("Text7")->setText(" 1 2. 5");
        d.label("Label5")->show();
        d.next();
        QCOMPARE(d.form.drillState().QuestionNo, std::int16_t(q));
        QCOMPARE(d.box("Text7")->text(), QString());
        QVERIFY(d.label("Label5")->isHidden());
        QCOMPARE(d.form.drillState().TaskType, double(1 + q % 3));
        QCOMPARE(d.ending.count, 0);
    }
    QVERIFY(!d.scripted.ranDry);

    const QStringList beforeEnd = d.scripted.events;
    d.box("Text7")->setText(" 3");
    d.label("Label5")->show();
    d.next();
    QCOMPARE(d.ending.count, 1);
    QCOMPARE(d.box("Text7")->text(), QString());
    QVERIFY(d.label("Label5")->isHidden());
    QCOMPARE(d.scripted.events, beforeEnd); // no eleventh question
    // Skipped questions get no mark.
    for (int i = 1; i <= 10; ++i)
        QVERIFY(d.box(QStringLiteral("Text2_%1").arg(i))->text().isEmpty());
}

void TestProblem::nextClearsTheDrawingAndDrawsAgain()
{
    DrillWindow d;
    d.script(questionScript(1, 1, 1, 1, 1));
    d.script(questionScript(2, 2, 2, 2, 2));
    QVERIFY(d.start());
    const QImage first = d.form.canvas().image();
    QCOMPARE(first.pixelColor(50, 130), QColor(0, 255, 255));
    d.next();
    QCOMPARE(d.form.canvas().image(), first);
}

void TestProblem::eventsQueuedBehindTheEndChangeNothing_data()
{
    QTest::addColumn<QStringList>("behind");
    QTest::addRow("入力") << QStringList{"Command3"};
    QTest::addRow("Enter in the answer box") << QStringList{"Return"};
    QTest::addRow("a keypad key") << QStringList{"Command2_7"};
    QTest::addRow("an eleventh 次") << QStringList{"Command5"};
    QTest::addRow("終了") << QStringList{"Command1"};
    QTest::addRow("all of them") << QStringList{"Command2_11", "Return",   "Command3",
                                                "Command5",    "Command5", "Command1"};
}

// The tenth 次 and what the pupil pressed behind it wait in the queue
// together, as they do when the machine stalls for a moment, and reach the
// window from the program's event loop.
void TestProblem::eventsQueuedBehindTheEndChangeNothing()
{
    QFETCH(QStringList, behind);
    DrillWindow d;
    for (int q = 1; q <= 10; ++q)
        d.script(questionScript(1, 2, 2, 4, 1));
    QVERIFY(d.start());
    for (int q = 2; q <= 10; ++q)
        d.next();
    d.enter(d.rightAnswer());
    QCOMPARE(d.mark(10)->text(), QStringLiteral("○"));
    const QStringList drawsBefore = d.scripted.events;

    const auto queueClick = [&d](const QString &name) {
        QMetaObject::invokeMethod(d.button(name), &QAbstractButton::click, Qt::QueuedConnection);
    };
    queueClick("Command5");
    for (const QString &what : behind) {
        if (what == "Return")
            QCoreApplication::postEvent(
                d.box("Text7"), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        else
            queueClick(what);
    }
    QTimer stuck;
    stuck.callOnTimeout([] { QCoreApplication::exit(99); });
    stuck.start(10000);
    QCOMPARE(QApplication::exec(), 0);
    QCoreApplication::processEvents();

    QCOMPARE(d.ending.count, 1);
    QVERIFY(d.form.isHidden());
    QCOMPARE(d.form.drillState().QuestionNo, std::int16_t(11));
    QCOMPARE(d.form.drillState().Score, std::int16_t(10));
    QCOMPARE(d.score(), QStringLiteral("10"));
    QCOMPARE(d.mark(10)->text(), QStringLiteral("○"));
    QCOMPARE(d.box("Text7")->text(), QString());
    QCOMPARE(d.scripted.events, drawsBefore); // no eleventh question
}

QTEST_MAIN(TestProblem)
#include "tst_problem.moc"
