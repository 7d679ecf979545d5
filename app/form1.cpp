#include "app/form1.h"

#include "app/fonts.h"
#include "drill/numbertext.h"
#include "drill/question.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

struct SlotLayout {
    const char *caption;
    QRect label;
    QRect box;
};

// The nine quantity slots around the diagram. Each value box lies over the
// blank middle of its caption, so a shown slot reads as name, box, unit.
constexpr SlotLayout SlotLayouts[SlotCount] = {
    {"Ｉ＝　　　　Ａ", {56, 272, 145, 17}, {96, 264, 65, 28}},
    {"Ｉ１＝　　　　Ａ", {344, 112, 161, 17}, {408, 104, 65, 28}},
    {"Ｉ２＝　　　　Ａ", {344, 208, 161, 17}, {408, 200, 65, 28}},
    {"Ｅ＝　　　Ｖ", {304, 320, 137, 17}, {344, 312, 65, 28}},
    {"Ｅ１＝　　　Ｖ", {312, 48, 145, 17}, {368, 40, 65, 28}},
    {"Ｅ２＝　　　Ｖ", {272, 240, 145, 17}, {328, 232, 65, 28}},
    {"Ｒ１＝　　　Ω", {192, 112, 145, 17}, {248, 104, 65, 28}},
    {"Ｒ２＝　　　Ω", {192, 208, 145, 17}, {248, 200, 65, 28}},
    {"Ｒ＝　　　Ω", {0, 96, 121, 17}, {40, 88, 57, 28}},
};

struct KeyLayout {
    const char *caption;
    int left;
    int top;
};

// The keypad by index: digits 0 to 9, then clear and point.
//   7 8 9 / 4 5 6 / 1 2 3 / 0 ・ クリア
constexpr KeyLayout KeyLayouts[12] = {
    {"０", 584, 392}, {"１", 584, 360}, {"２", 632, 360},     {"３", 680, 360},
    {"４", 584, 328}, {"５", 632, 328}, {"６", 680, 328},     {"７", 584, 296},
    {"８", 632, 296}, {"９", 680, 296}, {"クリア", 680, 392}, {"・", 632, 392},
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

} // namespace

Form1::Form1(Clock &clock, RandomSource &random, Ending &ending, QWidget *parent)
    : QWidget(parent), clock_(clock), random_(random), ending_(ending),
      canvas_(QSize(792, 573), devicePixelRatioF())
{
    registerFontSubstitutes();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("オームの法則（並列）"));
    setFixedSize(792, 573);
    setFont(gothicFont(ProportionalGothic, 19));

    // The window and its labels are drawn in the desktop's button-text colour
    // (black), the lettering in its highlight-text colour (white).
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::ButtonText));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    buildControls();
    Form_Load();
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.image());
}

void Form1::Form_Load()
{
    for (int i = 1; i <= 10; ++i) {
        Text1(i)->move(36 * i + 50, Text1(i)->y());
        Text1(i)->move(Text1(i)->x(), 445);
        Text1(i)->setText(QString::fromStdString(plainNumberText(i)));
    }
    for (int i = 1; i <= 10; ++i) {
        Text2(i)->move(36 * i + 50, Text2(i)->y());
        Text2(i)->move(Text2(i)->x(), 477);
    }
    Drill.QuestionNo = 1;
    Drill.Score = 0;
    Text6->setText(QString::fromStdString(plainNumberText(Drill.Score)));
    seedFromClock(random_, clock_);
}

void Form1::Command1_Click()
{
    ending_.end();
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
    p.setColor(QPalette::Window, palette().color(QPalette::Window));
    p.setColor(QPalette::WindowText, p.color(QPalette::HighlightedText));
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
    }

    for (int index = 0; index < 12; ++index) {
        const KeyLayout &key = KeyLayouts[index];
        const QFont keyFont = index == 10 ? gothicFont(ProportionalGothic, 13) : windowFont;
        Command2.set(index, addButton(QStringLiteral("Command2_%1").arg(index), text(key.caption),
                                      {key.left, key.top, KeyWidth, KeyHeight}, keyFont));
    }

    // The rows of question numbers and marks, where the form was laid out;
    // start-up moves them into place.
    for (int i = 1; i <= 10; ++i) {
        Text1.set(i, addTextBox(QStringLiteral("Text1_%1").arg(i),
                                {64 + 40 * i, 496, RowBoxWidth, RowBoxHeight},
                                gothicFont(ProportionalGothic, 21), Qt::AlignHCenter));
        Text1(i)->setEnabled(false);
    }
    for (int i = 1; i <= 10; ++i) {
        Text2.set(i, addTextBox(QStringLiteral("Text2_%1").arg(i),
                                {64 + 40 * i, 528, RowBoxWidth, RowBoxHeight},
                                gothicFont(FixedGothic, 21), Qt::AlignHCenter));
        Text2(i)->setEnabled(false);
    }

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
}
