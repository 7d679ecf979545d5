#include "app/qt/form1window.h"
#include "app/spokentext.h"
#include "drill/numbertext.h"
#include "drillwindow.h"
#include "marking/keypad.h"
#include "marking/marking.h"
#include "support.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// What makes the window a good desktop citizen: the first question once,
// events queued behind the end, the circuit drawn again, the whole drill
// without the mouse, and names for every control a screen reader meets.
class TestDesktop : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstQuestionOnlyOnce();
    void nextClearsTheDrawingAndDrawsAgain();
    void eventsQueuedBehindTheEndChangeNothing_data();
    void eventsQueuedBehindTheEndChangeNothing();
    void enterMarksTheAnswer_data();
    void enterMarksTheAnswer();
    void wholeDrillWithTheKeyboard();
    void accessibleNames_data();
    void accessibleNames();
    void changingTextsAreAnnounced();
    void spokenTexts_data();
    void spokenTexts();
    void screenReaderHearsWholeValues();

private:
    FixedClock clock;
    ScriptedRandom random;
    RecordingEnding ending;
    Form1Window *form = nullptr;
    QWidget *child(const QString &name) const { return form->findChild<QWidget *>(name); }
    QLineEdit *box(const QString &name) const { return form->findChild<QLineEdit *>(name); }
};

void TestDesktop::init()
{
    random = ScriptedRandom();
    ending = RecordingEnding();
    for (int q = 0; q < 10; ++q)
        for (float r : questionScript(1, 3, 2, 4, 5)) // I = 1.2
            random.values.push_back(r);
    form = new Form1Window(clock, random, ending);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QTRY_VERIFY(!form->findChild<QLabel *>("Label4")->text().isEmpty());
}

void TestDesktop::cleanup()
{
    delete form;
    form = nullptr;
}

void TestDesktop::firstQuestionOnlyOnce()
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

void TestDesktop::nextClearsTheDrawingAndDrawsAgain()
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

void TestDesktop::eventsQueuedBehindTheEndChangeNothing_data()
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
void TestDesktop::eventsQueuedBehindTheEndChangeNothing()
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

void TestDesktop::enterMarksTheAnswer_data()
{
    QTest::addColumn<int>("key");
    QTest::addRow("Return") << int(Qt::Key_Return);
    QTest::addRow("keypad Enter") << int(Qt::Key_Enter);
}

void TestDesktop::enterMarksTheAnswer()
{
    QFETCH(int, key);
    QLineEdit *answer = box("Text7");
    answer->setFocus();
    QTest::keyClicks(answer, "1.2");
    QTest::keyClick(answer, Qt::Key(key));
    QCOMPARE(box("Text2_1")->text(), QStringLiteral("○"));
    QCOMPARE(box("Text6")->text(), QStringLiteral("10"));
    QCOMPARE(answer->text(), QStringLiteral("1.2"));
}

// Tab to the answer box, type, Enter; Tab on to 次 and press Space; back
// with Shift+Tab, ten times over, to the end of the run.
void TestDesktop::wholeDrillWithTheKeyboard()
{
    QCOMPARE(QApplication::focusWidget(), child("Command1"));
    auto press = [](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    };
    for (int i = 0; i < 14; ++i) // 終了, twelve keys, 入力
        press(Qt::Key_Tab);
    for (int q = 1; q <= 10; ++q) {
        QCOMPARE(QApplication::focusWidget(), child("Text7"));
        QTest::keyClicks(QApplication::focusWidget(), q % 2 ? "1.2" : "7");
        press(Qt::Key_Return);
        QCOMPARE(box(QStringLiteral("Text2_%1").arg(q))->text(), QString(q % 2 ? "○" : "×"));
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child("Command5"));
        press(Qt::Key_Space);
        if (q < 10) {
            QCOMPARE(form->drillState().QuestionNo, std::int16_t(q + 1));
            press(Qt::Key_Backtab);
        }
    }
    QCOMPARE(ending.count, 1);
    QCOMPARE(form->drillState().Score, std::int16_t(50));
}

void TestDesktop::accessibleNames_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("described");
    const char *boxes[9][2] = {{"0", "電流 I"},  {"1", "電流 I1"}, {"2", "電流 I2"},
                               {"3", "電圧 E"},  {"4", "電圧 E1"}, {"5", "電圧 E2"},
                               {"6", "抵抗 R1"}, {"7", "抵抗 R2"}, {"8", "抵抗 R"}};
    for (const auto &s : boxes)
        QTest::newRow(qPrintable(QStringLiteral("Text4_%1").arg(s[0])))
            << QStringLiteral("Text4_%1").arg(s[0]) << QString::fromUtf8(s[1]) << true;
    QTest::addRow("answer box") << "Text7"
                                << "答え" << true;
    QTest::addRow("score box") << "Text6"
                               << "得点" << true;
    QTest::addRow("mark box 3") << "Text2_3"
                                << "第3問の結果" << true;
    QTest::addRow("mark box 10") << "Text2_10"
                                 << "第10問の結果" << true;
    QTest::addRow("question number 4") << "Text1_4"
                                       << "第4問" << false;
    for (int digit = 0; digit <= 9; ++digit)
        QTest::addRow("key %d", digit)
            << QStringLiteral("Command2_%1").arg(digit) << QString::number(digit) << false;
    QTest::addRow("point key") << "Command2_11"
                               << "小数点" << false;
    QTest::addRow("clear key") << "Command2_10"
                               << "クリア" << true;
    QTest::addRow("enter") << "Command3"
                           << "入力" << true;
    QTest::addRow("next") << "Command5"
                          << "次" << true;
    QTest::addRow("quit") << "Command1"
                          << "終了" << true;
    QTest::addRow("task text") << "Label4"
                               << "電流を求めよう" << true;
}

void TestDesktop::accessibleNames()
{
    QFETCH(QString, object);
    QFETCH(QString, name);
    QFETCH(bool, described);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(child(object));
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(!iface->text(QAccessible::Description).isEmpty(), described);
}

// The task text and the correct answer change under the pupil's eyes. Their
// accessible names follow their captions (no fixed name overrides them, so a
// screen reader that reads them gets the current text; the spoken notice,
// checked with the real Orca, is what announces the change), and the correct
// answer is only exposed while it is shown.
void TestDesktop::changingTextsAreAnnounced()
{
    QWidget *correction = child("Label5");
    QAccessibleInterface *task = QAccessible::queryAccessibleInterface(child("Label4"));
    QAccessibleInterface *answer = QAccessible::queryAccessibleInterface(correction);
    QCOMPARE(answer->role(), QAccessible::StaticText);
    QVERIFY(answer->state().invisible);

    box("Text7")->setText("3");
    QTest::mouseClick(form->findChild<QPushButton *>("Command3"), Qt::LeftButton);
    QCOMPARE(answer->text(QAccessible::Name), QStringLiteral("正解は 1.2"));
    QVERIFY(!answer->state().invisible);

    random.values.clear();
    random.script({0.6f, 0.05f, 0.3f, 0.45f, 0.3f, 0.1f}); // a voltage question
    QTest::mouseClick(form->findChild<QPushButton *>("Command5"), Qt::LeftButton);
    QVERIFY(answer->state().invisible);
    QCOMPARE(task->text(QAccessible::Name), QStringLiteral("電圧を求めよう"));
    QVERIFY(correction->accessibleName().isEmpty());
}

// What the program says to a screen reader, built from what the window shows.
void TestDesktop::spokenTexts_data()
{
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, const std::string &spoken, const char *expected) {
        QTest::newRow(name) << QString::fromStdString(spoken) << QString::fromUtf8(expected);
    };
    row("current with its unit", spokenSlotValue(SlotI2, "0.5"), "0.5 アンペア");
    row("voltage with its unit", spokenSlotValue(SlotE1, "96"), "96 ボルト");
    row("resistance with its unit", spokenSlotValue(SlotR, "6.666667"), "6.666667 オーム");
    row("the asked box", spokenSlotValue(SlotR1, "？"), "求める");
    row("a hidden, empty box", spokenSlotValue(SlotI, ""), "");
    row("a question",
        spokenQuestion(2, "電流を求めよう",
                       {{"電流 I1", SlotI1, "0.3"}, {"電流 I2", SlotI2, "0.5"}},
                       {"電流 I", SlotI, "？"}),
        "第2問　電流を求めよう。電流 I1 0.3 アンペア、電流 I2 0.5 アンペア、電流 I を求める");
    row("right", spokenMarking(true, 10, 1.2f), "○　正解です。得点 10点");
    row("wrong, the zero before the point", spokenMarking(false, 0, 0.8f),
        "×　まちがい。正解は 0.8。得点 0点");
    row("wrong, a float to seven digits", spokenMarking(false, 30, 20.0f / 3.0f),
        "×　まちがい。正解は 6.666667。得点 30点");
    row("mark right", spokenMark(3, RightMark), "第3問の結果 ○ 正解");
    row("mark wrong", spokenMark(4, WrongMark), "第4問の結果 × まちがい");
    row("mark wrong, the correct value", spokenMark(4, WrongMark, "0.8"),
        "第4問の結果 × まちがい 正解は 0.8");
    row("not marked yet", spokenMark(5, ""), "第5問の結果 まだ");
    row("keypad digits as one number", spokenEntry(" 2 5"), "25");
    row("a leading point gets its zero", spokenEntry(" .5"), "0.5");
    row("digits, point, digit", spokenEntry(" 1 2. 5"), "12.5");
    row("empty answer", spokenEntry(""), "なし");
    row("digit key", spokenKeyPress(5, " 2 5"), "5　答え 25");
    row("clear key", spokenKeyPress(ClearKey, ""), "クリア　答え なし");
    row("point key", spokenKeyPress(PointKey, " 1."), "小数点　答え 1.");
}

void TestDesktop::spokenTexts()
{
    QFETCH(QString, spoken);
    QFETCH(QString, expected);
    QCOMPARE(spoken, expected);
}

// A screen reader meets the boxes through their text interfaces, and the
// notice through its role: whole values in one run of attributes, with units
// and marks; the notice takes no room on the window.
void TestDesktop::screenReaderHearsWholeValues()
{
    auto read = [this](const QString &name) {
        QAccessibleTextInterface *text =
            QAccessible::queryAccessibleInterface(child(name))->textInterface();
        int start = -1, end = -1;
        text->attributes(text->characterCount() - 1, &start, &end);
        return QStringLiteral("%1 [%2,%3)").arg(text->text(0, -1)).arg(start).arg(end);
    };
    // The question of init: R1 = 30, R2 = 60 and I2 = 0.4 given, I asked.
    QCOMPARE(read("Text4_2"), QStringLiteral("0.4 アンペア [0,8)"));
    QCOMPARE(read("Text4_6"), QStringLiteral("30 オーム [0,6)"));
    QCOMPARE(read("Text4_0"), QStringLiteral("求める [0,3)"));
    QCOMPARE(read("Text6"), QStringLiteral("0 点 [0,3)"));
    QCOMPARE(read("Text1_10"), QStringLiteral("10 [0,2)"));

    QAccessibleInterface *notice = nullptr;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (iface->role() == QAccessible::Notification) {
            QVERIFY2(!notice, "one notice");
            notice = iface;
            QVERIFY(w->geometry().isEmpty());
        }
    }
    if (!notice)
        QFAIL("the window has no notice");
    QCOMPARE(
        notice->text(QAccessible::Name),
        QStringLiteral("第1問　電流を求めよう。抵抗 R1 30 オーム、抵抗 R2 60 オーム、電流 I2 0.4 "
                       "アンペア、電流 I を求める"));

    box("Text7")->setText(" 3");
    QTest::mouseClick(form->findChild<QPushButton *>("Command3"), Qt::LeftButton);
    QCOMPARE(notice->text(QAccessible::Name), QStringLiteral("×　まちがい。正解は 1.2。得点 0点"));
    QVERIFY(!notice->state().invisible);
    QCOMPARE(read("Text2_1"), QStringLiteral("第1問の結果 × まちがい 正解は 1.2 [0,21)"));
    QTest::mouseClick(form->findChild<QPushButton *>("Command2_1"), Qt::LeftButton);
    QCOMPARE(notice->text(QAccessible::Name), QStringLiteral("1　答え 31"));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
