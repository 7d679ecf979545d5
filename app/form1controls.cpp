#include "app/fonts.h"
#include "app/form1.h"
#include "marking/keypad.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

// The window's controls: where each one lives, what it shows and what a
// screen reader says about it, and the code that builds the window from
// these tables. The handlers are in form1.cpp.

namespace {

struct SlotLayout {
    const char *caption;
    QRect label;
    QRect box;
    const char *name;        // what a screen reader calls the value box
    const char *description; // and what it says about it
};

// The nine quantity slots around the diagram. Each value box lies over the
// blank middle of its caption, so a shown slot reads as name, box, unit.
constexpr SlotLayout SlotLayouts[SlotCount] = {
    {"Ｉ＝　　　　Ａ",
     {56, 272, 145, 17},
     {96, 264, 65, 28},
     "電流 I",
     "回路全体を流れる電流、単位アンペア"},
    {"Ｉ１＝　　　　Ａ",
     {344, 112, 161, 17},
     {408, 104, 65, 28},
     "電流 I1",
     "抵抗 R1 を流れる電流、単位アンペア"},
    {"Ｉ２＝　　　　Ａ",
     {344, 208, 161, 17},
     {408, 200, 65, 28},
     "電流 I2",
     "抵抗 R2 を流れる電流、単位アンペア"},
    {"Ｅ＝　　　Ｖ", {304, 320, 137, 17}, {344, 312, 65, 28}, "電圧 E", "電源の電圧、単位ボルト"},
    {"Ｅ１＝　　　Ｖ",
     {312, 48, 145, 17},
     {368, 40, 65, 28},
     "電圧 E1",
     "抵抗 R1 にかかる電圧、単位ボルト"},
    {"Ｅ２＝　　　Ｖ",
     {272, 240, 145, 17},
     {328, 232, 65, 28},
     "電圧 E2",
     "抵抗 R2 にかかる電圧、単位ボルト"},
    {"Ｒ１＝　　　Ω",
     {192, 112, 145, 17},
     {248, 104, 65, 28},
     "抵抗 R1",
     "上の枝の抵抗、単位オーム"},
    {"Ｒ２＝　　　Ω",
     {192, 208, 145, 17},
     {248, 200, 65, 28},
     "抵抗 R2",
     "下の枝の抵抗、単位オーム"},
    {"Ｒ＝　　　Ω", {0, 96, 121, 17}, {40, 88, 57, 28}, "抵抗 R", "回路全体の合成抵抗、単位オーム"},
};

struct KeyLayout {
    const char *caption;
    int left;
    int top;
    const char *name; // what the key types, for a screen reader
};

// The keypad by index: digits 0 to 9, then clear and point.
//   7 8 9 / 4 5 6 / 1 2 3 / 0 ・ クリア
constexpr KeyLayout KeyLayouts[12] = {
    {"０", 584, 392, "0"}, {"１", 584, 360, "1"},          {"２", 632, 360, "2"},
    {"３", 680, 360, "3"}, {"４", 584, 328, "4"},          {"５", 632, 328, "5"},
    {"６", 680, 328, "6"}, {"７", 584, 296, "7"},          {"８", 632, 296, "8"},
    {"９", 680, 296, "9"}, {"クリア", 680, 392, "クリア"}, {"・", 632, 392, "小数点"},
};
constexpr int KeyWidth = 49;
constexpr int KeyHeight = 33;

constexpr int RowBoxWidth = 41;
constexpr int RowBoxHeight = 33;

const QString CreditText = QStringLiteral("並列回路の練習ドリル　Ver.1.0");

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Relative luminance and contrast ratio as the accessibility guidelines
// define them.
double luminance(const QColor &c)
{
    auto channel = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// The disabled lettering moves towards the enabled one just far enough.
void makeDisabledTextReadable(QWidget *box)
{
    QPalette p = box->palette();
    const QColor base = p.color(QPalette::Disabled, QPalette::Base);
    const QColor from = p.color(QPalette::Disabled, QPalette::Text);
    const QColor to = p.color(QPalette::Active, QPalette::Text);
    QColor letters = from;
    for (int step = 1; step <= 32 && contrast(letters, base) < 4.5; ++step) {
        const double t = step / 32.0;
        letters = QColor::fromRgbF(float(from.redF() + t * (to.redF() - from.redF())),
                                   float(from.greenF() + t * (to.greenF() - from.greenF())),
                                   float(from.blueF() + t * (to.blueF() - from.blueF())));
    }
    p.setColor(QPalette::Disabled, QPalette::Text, letters);
    box->setPalette(p);
}

void Form1::describeForScreenReaders()
{
    Label3->setAccessibleName(QStringLiteral("得点"));
    Text6->setAccessibleName(QStringLiteral("得点"));
    Text6->setAccessibleDescription(QStringLiteral("正解1問につき10点"));
    Text7->setAccessibleName(QStringLiteral("答え"));
    Text7->setAccessibleDescription(
        QStringLiteral("キーパッドかキーボードで数を入れ、Enter キーか「入力」で答え合わせ"));
    // The task text and the correct answer keep their captions as their
    // names, so a screen reader that reads them finds the current text. Orca
    // does not speak such a change by itself; the screen-reader notice says it.
    Label4->setAccessibleDescription(QStringLiteral("問題"));
    Label5->setAccessibleDescription(QStringLiteral("まちがえたときの正しい答え"));
    Command1->setAccessibleName(QStringLiteral("終了"));
    Command1->setAccessibleDescription(QStringLiteral("練習をやめてプログラムを終わる"));
    Command3->setAccessibleName(QStringLiteral("入力"));
    Command3->setAccessibleDescription(QStringLiteral("答え合わせをする"));
    Command5->setAccessibleName(QStringLiteral("次"));
    Command5->setAccessibleDescription(QStringLiteral("次の問題へ進む"));
    Command2(ClearKey)->setAccessibleDescription(QStringLiteral("答えを消す"));
    Text5->setAccessibleName(QStringLiteral("バージョン"));
}

QLabel *Form1::addLabel(const QString &name, const QString &caption, QRect geometry,
                        const QFont &font)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    // Text sits at the top left and is cut at the label's edges, as the
    // captions are drawn taller and wider than some labels.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    return label;
}

QLineEdit *Form1::addTextBox(const QString &name, QRect geometry, const QFont &font,
                             Qt::Alignment alignment)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(font);
    box->setAlignment(alignment | Qt::AlignVCenter);
    return box;
}

QPushButton *Form1::addButton(const QString &name, const QString &caption, QRect geometry,
                              const QFont &font)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

void Form1::buildControls()
{
    const QFont windowFont = font();

    // Later siblings lie on top: each caption is made before the box that
    // sits over it.
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("電流・電圧・抵抗の練習"),
                      {8, 0, 345, 41}, gothicFont(ProportionalGothic, 32));
    {
        QPalette p = Label1->palette();
        p.setColor(QPalette::Window, QColor(0, 0, 192));
        p.setColor(QPalette::WindowText, QColor(255, 255, 0));
        Label1->setPalette(p);
    }
    Label4 = addLabel(QStringLiteral("Label4"), QString(), {376, 16, 281, 25}, windowFont);
    Command1 = addButton(QStringLiteral("Command1"), QStringLiteral("終　了"), {688, 8, 97, 33},
                         gothicFont(ProportionalGothic, 16));
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("得点　　　　　　点"),
                      {600, 88, 161, 25}, gothicFont(ProportionalGothic, 21));
    Text6 = addTextBox(QStringLiteral("Text6"), {648, 80, 81, 33},
                       gothicFont(ProportionalGothic, 24), Qt::AlignHCenter);
    Label5 = addLabel(QStringLiteral("Label5"), QString(), {600, 152, 161, 25}, windowFont);
    {
        QPalette p = Label5->palette();
        p.setColor(QPalette::WindowText, QColor(255, 255, 0));
        Label5->setPalette(p);
        Label5->hide();
    }
    Text7 = addTextBox(QStringLiteral("Text7"), {584, 264, 145, 33}, windowFont, Qt::AlignRight);
    Command3 = addButton(QStringLiteral("Command3"), QStringLiteral("入　　力"),
                         {584, 424, 145, 33}, windowFont);
    Command5 =
        addButton(QStringLiteral("Command5"), QStringLiteral("次"), {736, 424, 57, 33}, windowFont);
    Text5 = addTextBox(QStringLiteral("Text5"), {600, 552, 185, 17},
                       gothicFont(ProportionalGothic, 11, false), Qt::AlignLeft);
    Text5->setText(CreditText);
    Text5->setEnabled(false);

    for (int k = 0; k < SlotCount; ++k) {
        const SlotLayout &slot = SlotLayouts[k];
        Label2.set(k, addLabel(QStringLiteral("Label2_%1").arg(k), text(slot.caption), slot.label,
                               gothicFont(FixedGothic, 19)));
        Text4.set(k, addTextBox(QStringLiteral("Text4_%1").arg(k), slot.box,
                                gothicFont(ProportionalGothic, 16), Qt::AlignHCenter));
        Label2(k)->setAccessibleName(text(slot.name));
        Text4(k)->setAccessibleName(text(slot.name));
        Text4(k)->setAccessibleDescription(text(slot.description));
    }

    for (int index = 0; index < 12; ++index) {
        const KeyLayout &key = KeyLayouts[index];
        const QFont keyFont = index == 10 ? gothicFont(ProportionalGothic, 13) : windowFont;
        Command2.set(index, addButton(QStringLiteral("Command2_%1").arg(index), text(key.caption),
                                      {key.left, key.top, KeyWidth, KeyHeight}, keyFont));
        Command2(index)->setAccessibleName(text(key.name));
    }

    // The rows of question numbers and marks, where the form was laid out;
    // start-up moves them into place.
    for (int i = 1; i <= 10; ++i) {
        Text1.set(i, addTextBox(QStringLiteral("Text1_%1").arg(i),
                                {64 + 40 * i, 496, RowBoxWidth, RowBoxHeight},
                                gothicFont(ProportionalGothic, 21), Qt::AlignHCenter));
        Text1(i)->setEnabled(false);
        makeDisabledTextReadable(Text1(i));
        Text1(i)->setAccessibleName(QStringLiteral("第%1問").arg(i));
    }
    for (int i = 1; i <= 10; ++i) {
        Text2.set(i, addTextBox(QStringLiteral("Text2_%1").arg(i),
                                {64 + 40 * i, 528, RowBoxWidth, RowBoxHeight},
                                gothicFont(FixedGothic, 21), Qt::AlignHCenter));
        Text2(i)->setEnabled(false);
        makeDisabledTextReadable(Text2(i));
        Text2(i)->setAccessibleName(QStringLiteral("第%1問の結果").arg(i));
        Text2(i)->setAccessibleDescription(QStringLiteral("○は正解、×はまちがい"));
    }

    describeForScreenReaders();

    QWidget *previous = Command1;
    auto chain = [&previous](QWidget *next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (int index = 0; index < 12; ++index)
        chain(Command2(index));
    chain(Command3);
    chain(Text7);
    chain(Command5);
    for (int k = 0; k < SlotCount; ++k)
        chain(Text4(k));
    chain(Text6);
    Command1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    for (int index = 0; index < 12; ++index) {
        connect(Command2(index), &QPushButton::clicked, this,
                [this, index] { Command2_Click(static_cast<std::int16_t>(index)); });
    }
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    // Enter in the answer box marks the answer, so the drill works without
    // the mouse.
    connect(Text7, &QLineEdit::returnPressed, this, &Form1::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
}
