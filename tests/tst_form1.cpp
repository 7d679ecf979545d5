#include "app/qt/fonts.h"
#include "app/qt/form1window.h"
#include "contrast.h"
#include "drill/presentation.h"
#include "marking/marking.h"
#include "support.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
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
    void creditFits();
    void ownFacesDrawEveryTextShown();
    void coloursHoldInAnyScheme_data();
    void coloursHoldInAnyScheme();
    void quitEndsTheProgram();

private:
    FixedClock clock;
    ScriptedRandom random;
    RecordingEnding ending;
    Form1Window *form = nullptr;
};

void TestForm1::init()
{
    random = ScriptedRandom();
    ending = RecordingEnding();
    form = new Form1Window(clock, random, ending);
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
    QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::black));
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
    QCOMPARE(widget->font().family(), drawingFamily(face));
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

void TestForm1::ownFacesDrawEveryTextShown()
{
    // No design face is installed here, so the program's own faces draw,
    // and the font system really uses them.
    const QFont proportional = gothicFont(ProportionalGothic, 19);
    const QFont fixed = gothicFont(FixedGothic, 19);
    QCOMPARE(proportional.family(), QStringLiteral("OhmDrill PGothic"));
    QCOMPARE(fixed.family(), QStringLiteral("OhmDrill Gothic"));
    QCOMPARE(QFontInfo(proportional).family(), proportional.family());
    QCOMPARE(QFontInfo(fixed).family(), fixed.family());
    // Metric-compatible faces: a full-width character at 19 pixels is 19 wide.
    QCOMPARE(QFontMetrics(fixed).horizontalAdvance(u'　'), 19);
    QCOMPARE(QFontMetrics(gothicFont(FixedGothic, 21)).horizontalAdvance(u'Ｒ'), 21);

    // Every character the window can show is in its control's own face, not
    // left to a fallback font: every caption, the task texts, the marks, the
    // correct answer and whatever the keypad and the reading take.
    QStringList texts{QString::fromUtf8(CurrentTask.text),
                      QString::fromUtf8(VoltageTask.text),
                      QString::fromUtf8(ResistanceTask.text),
                      QString::fromUtf8(RightMark),
                      QString::fromUtf8(WrongMark),
                      QString::fromStdString(correctAnswerCaption(-1234567.8f)),
                      QString::fromUtf8(EndedNotice.data(), qsizetype(EndedNotice.size())),
                      QStringLiteral("？ ０１２３４５６７８９．。｡－−＋〇一二三四五六七八九")};
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        if (auto *box = qobject_cast<QLineEdit *>(w))
            texts << box->text();
        if (auto *button = qobject_cast<QPushButton *>(w))
            texts << button->text();
    }
    for (const QFont &font : {proportional, fixed}) {
        const QRawFont raw = QRawFont::fromFont(font);
        QCOMPARE(raw.familyName(), font.family());
        for (const QString &text : texts)
            for (const char32_t c : text.toUcs4())
                QVERIFY2(raw.supportsCharacter(c),
                         qPrintable(QStringLiteral("%1 lacks U+%2 of 「%3」")
                                        .arg(font.family())
                                        .arg(uint(c), 4, 16, QChar(u'0'))
                                        .arg(text)));
    }
}

void TestForm1::coloursHoldInAnyScheme_data()
{
    QTest::addColumn<QPalette>("scheme");
    QTest::addRow("standard") << QApplication::palette();
    // A dark scheme: light letters on dark surfaces, and a light button text.
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::HighlightedText, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
    QTest::addRow("dark") << dark;
}

// The window and its captions keep the standard scheme's colours; the text
// boxes follow the desktop's, and the disabled row numbers and marks are
// lettered at 4.5:1 or more against their boxes.
void TestForm1::coloursHoldInAnyScheme()
{
    QFETCH(QPalette, scheme);
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(scheme);
    Form1Window window(clock, random, ending);
    QApplication::setPalette(desktop);

    QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::black));
    for (const char *name : {"Label3", "Label4", "Label2_0", "Label2_8"}) {
        const QPalette p = window.findChild<QLabel *>(name)->palette();
        QCOMPARE(p.color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(p.color(QPalette::WindowText), QColor(Qt::white));
    }
    const QPalette answer = window.findChild<QLineEdit *>("Text7")->palette();
    QCOMPARE(answer.color(QPalette::Base), scheme.color(QPalette::Base));
    QCOMPARE(answer.color(QPalette::Text), scheme.color(QPalette::Text));
    for (int i = 1; i <= 10; ++i) {
        for (const QString &name : {QStringLiteral("Text1_%1"), QStringLiteral("Text2_%1")}) {
            const QPalette p = window.findChild<QLineEdit *>(name.arg(i))->palette();
            const double ratio = contrastRatio(p.color(QPalette::Disabled, QPalette::Text),
                                               p.color(QPalette::Disabled, QPalette::Base));
            QVERIFY2(ratio >= 4.5, qPrintable(name.arg(i) + QStringLiteral(" %1:1").arg(ratio)));
            // Still a disabled box's grey, not the enabled lettering.
            QVERIFY(p.color(QPalette::Disabled, QPalette::Text) != scheme.color(QPalette::Text));
        }
    }
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
