#include "app/fonts.h"
#include "app/form1.h"
#include "support.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The window as a pupil meets it before the first question: every control
// with its place, text, font and state.
class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void control_data();
    void control();
    void focusOrder();
    void freshWindow();
    void creditFits();
    void fontsResolveToJapaneseGothic();
    void startupSeedsFromClockSeconds_data();
    void startupSeedsFromClockSeconds();
    void quitEndsTheProgram();

private:
    FixedClock clock;
    ScriptedRandom random;
    RecordingEnding ending;
    Form1 *form = nullptr;
};

void TestForm1::init()
{
    random = ScriptedRandom();
    ending = RecordingEnding();
    form = new Form1(clock, random, ending);
}

void TestForm1::cleanup()
{
    delete form;
    form = nullptr;
}

void TestForm1::window()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("オームの法則（並列）"));
    QCOMPARE(form->size(), QSize(792, 573));
    QCOMPARE(form->minimumSize(), QSize(792, 573));
    QCOMPARE(form->maximumSize(), QSize(792, 573));
    QCOMPARE(form->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::ButtonText));
}

namespace {
enum Kind { Label, TextBox, Button };
const QString P = QStringLiteral("ＭＳ Ｐゴシック");
const QString F = QStringLiteral("ＭＳ ゴシック");
} // namespace

void TestForm1::control_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("alignment"); // horizontal only
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("shown");

    const int L = Qt::AlignLeft, R = Qt::AlignRight, C = Qt::AlignHCenter;
    auto row = [](const QString &name, Kind kind, const QString &text, QRect geometry,
                  const QString &face, int px, int weight, int align, bool enabled, bool shown) {
        QTest::newRow(qPrintable(name)) << name << int(kind) << text << geometry << face << px
                                        << weight << align << enabled << shown;
    };

    row("Label1", Label, "電流・電圧・抵抗の練習", {8, 0, 345, 41}, P, 32, 700, L, true, true);
    row("Label4", Label, "", {376, 16, 281, 25}, P, 19, 700, L, true, true);
    row("Command1", Button, "終　了", {688, 8, 97, 33}, P, 16, 700, L, true, true);
    row("Text6", TextBox, "0", {648, 80, 81, 33}, P, 24, 700, C, true, true);
    row("Label3", Label, "得点　　　　　　点", {600, 88, 161, 25}, P, 21, 700, L, true, true);
    row("Label5", Label, "", {600, 152, 161, 25}, P, 19, 700, L, true, false);
    row("Text7", TextBox, "", {584, 264, 145, 33}, P, 19, 700, R, true, true);
    row("Command3", Button, "入　　力", {584, 424, 145, 33}, P, 19, 700, L, true, true);
    row("Command5", Button, "次", {736, 424, 57, 33}, P, 19, 700, L, true, true);
    row("Text5", TextBox, "並列回路の練習ドリル　Ver.1.0", {600, 552, 185, 17}, P, 11, 400, L,
        false, true);

    const char *captions[9] = {"Ｉ＝　　　　Ａ", "Ｉ１＝　　　　Ａ", "Ｉ２＝　　　　Ａ",
                               "Ｅ＝　　　Ｖ",   "Ｅ１＝　　　Ｖ",   "Ｅ２＝　　　Ｖ",
                               "Ｒ１＝　　　Ω",  "Ｒ２＝　　　Ω",    "Ｒ＝　　　Ω"};
    const QRect labels[9] = {{56, 272, 145, 17},  {344, 112, 161, 17}, {344, 208, 161, 17},
                             {304, 320, 137, 17}, {312, 48, 145, 17},  {272, 240, 145, 17},
                             {192, 112, 145, 17}, {192, 208, 145, 17}, {0, 96, 121, 17}};
    const QRect boxes[9] = {{96, 264, 65, 28},  {408, 104, 65, 28}, {408, 200, 65, 28},
                            {344, 312, 65, 28}, {368, 40, 65, 28},  {328, 232, 65, 28},
                            {248, 104, 65, 28}, {248, 200, 65, 28}, {40, 88, 57, 28}};
    for (int k = 0; k < 9; ++k) {
        row(QStringLiteral("Label2_%1").arg(k), Label, QString::fromUtf8(captions[k]), labels[k], F,
            19, 700, L, true, true);
        row(QStringLiteral("Text4_%1").arg(k), TextBox, "", boxes[k], P, 16, 700, C, true, true);
    }

    // Keypad grid: 7 8 9 / 4 5 6 / 1 2 3 / 0 ・ クリア
    const int keyIndex[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 11, 10}};
    const QString keyCaption[12] = {"０", "１", "２", "３", "４",     "５",
                                    "６", "７", "８", "９", "クリア", "・"};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int index = keyIndex[r][c];
            row(QStringLiteral("Command2_%1").arg(index), Button, keyCaption[index],
                {584 + 48 * c, 296 + 32 * r, 49, 33}, P, index == 10 ? 13 : 19, 700, L, true, true);
        }
    }

    for (int i = 1; i <= 10; ++i) {
        row(QStringLiteral("Text1_%1").arg(i), TextBox, QString::number(i),
            {36 * i + 50, 445, 41, 33}, P, 21, 700, C, false, true);
        row(QStringLiteral("Text2_%1").arg(i), TextBox, "", {36 * i + 50, 477, 41, 33}, F, 21, 700,
            C, false, true);
    }
}

void TestForm1::control()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(QString, face);
    QFETCH(int, pixelSize);
    QFETCH(int, weight);
    QFETCH(int, alignment);
    QFETCH(bool, enabled);
    QFETCH(bool, shown);

    QWidget *widget = form->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->font().family(), installedFamily(face));
    QCOMPARE(widget->font().pixelSize(), pixelSize);
    QCOMPARE(int(widget->font().weight()), weight);
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(!widget->isHidden(), shown);

    switch (kind) {
    case Label: {
        auto *label = qobject_cast<QLabel *>(widget);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        break;
    }
    case TextBox: {
        auto *box = qobject_cast<QLineEdit *>(widget);
        QVERIFY(box);
        QCOMPARE(box->text(), text);
        QCOMPARE(int(box->alignment() & Qt::AlignHorizontal_Mask), alignment);
        QVERIFY(!box->isReadOnly());
        break;
    }
    case Button: {
        auto *button = qobject_cast<QPushButton *>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), text);
        break;
    }
    }
}

void TestForm1::focusOrder()
{
    QStringList expected{"Command1"};
    for (int i = 0; i < 12; ++i)
        expected << QStringLiteral("Command2_%1").arg(i);
    expected << "Command3"
             << "Text7"
             << "Command5";
    for (int k = 0; k < 9; ++k)
        expected << QStringLiteral("Text4_%1").arg(k);
    expected << "Text6";

    auto *first = form->findChild<QWidget *>("Command1");
    QStringList order;
    QWidget *w = first;
    do {
        if (w->isEnabled() && !w->isHidden() && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first && order.size() < 100);
    // The chain passes through the window itself on its way round.
    QCOMPARE(order, expected);
    QCOMPARE(form->focusWidget(), first);
}

void TestForm1::freshWindow()
{
    auto label = [this](const char *name) { return form->findChild<QLabel *>(name); };
    auto box = [this](const QString &name) { return form->findChild<QLineEdit *>(name); };
    QVERIFY(label("Label5")->isHidden());
    QVERIFY(label("Label4")->text().isEmpty());
    for (int i = 1; i <= 10; ++i) {
        QCOMPARE(box(QStringLiteral("Text1_%1").arg(i))->text(), QString::number(i));
        QVERIFY(box(QStringLiteral("Text2_%1").arg(i))->text().isEmpty());
    }
    QCOMPARE(box("Text6")->text(), QStringLiteral("0"));
    QCOMPARE(form->drillState().QuestionNo, std::int16_t(1));
    QCOMPARE(form->drillState().Score, std::int16_t(0));
}

void TestForm1::creditFits()
{
    auto *credit = form->findChild<QLineEdit *>("Text5");
    const QFontMetrics metrics(credit->font());
    QVERIFY(!credit->text().isEmpty());
    QVERIFY(!credit->text().contains(u'\n'));
    QVERIFY2(metrics.horizontalAdvance(credit->text()) <= 185 - 8,
             qPrintable(QString::number(metrics.horizontalAdvance(credit->text()))));
    QVERIFY(metrics.height() <= 17);
}

void TestForm1::fontsResolveToJapaneseGothic()
{
    const QStringList proportional{"IPAPGothic", "Noto Sans CJK JP", "VL PGothic"};
    const QStringList fixed{"IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic"};
    QVERIFY(proportional.contains(QFontInfo(gothicFont(ProportionalGothic, 19)).family()));
    QVERIFY(fixed.contains(QFontInfo(gothicFont(FixedGothic, 19)).family()));
    // The fonts name the installed family itself, not the design name.
    QVERIFY(gothicFacesInstalled());
    QVERIFY(proportional.contains(gothicFont(ProportionalGothic, 19).family()));
    QVERIFY(fixed.contains(gothicFont(FixedGothic, 21).family()));
    // Metric-compatible faces: a full-width character at 19 pixels is 19 wide.
    QCOMPARE(QFontMetrics(gothicFont(FixedGothic, 19)).horizontalAdvance(u'　'), 19);
    QCOMPARE(QFontMetrics(gothicFont(FixedGothic, 21)).horizontalAdvance(u'Ｒ'), 21);
}

void TestForm1::startupSeedsFromClockSeconds_data()
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

void TestForm1::startupSeedsFromClockSeconds()
{
    QFETCH(QString, reading);
    QFETCH(QString, seed);
    FixedClock fixed(reading.toStdString());
    ScriptedRandom scripted;
    Form1 window(fixed, scripted, ending);
    QCOMPARE(scripted.events, QStringList{seed});
}

void TestForm1::quitEndsTheProgram()
{
    auto *quit = form->findChild<QPushButton *>("Command1");
    QCOMPARE(ending.count, 0);
    QTest::mouseClick(quit, Qt::LeftButton);
    QCOMPARE(ending.count, 1);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
