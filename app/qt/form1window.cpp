#include "app/qt/form1window.h"

#include "app/contrast.h"
#include "app/qt/fonts.h"
#include "app/qt/screenreader.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

namespace {

QColor qColor(Rgb rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}

QFont controlFont(const ControlRow &row)
{
    return gothicFont(row.face == TypeFace::Fixed ? FixedGothic : ProportionalGothic, row.pixelSize,
                      row.bold);
}

Qt::Alignment alignment(TextAlign align)
{
    switch (align) {
    case TextAlign::Centre:
        return Qt::AlignHCenter;
    case TextAlign::Right:
        return Qt::AlignRight;
    case TextAlign::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

// The disabled lettering moves towards the enabled one just far enough.
void makeDisabledTextReadable(QWidget *box)
{
    auto colour = [](const QColor &c) { return Colour{c.redF(), c.greenF(), c.blueF()}; };
    QPalette p = box->palette();
    const Colour letters = readableLetters(colour(p.color(QPalette::Disabled, QPalette::Base)),
                                           colour(p.color(QPalette::Disabled, QPalette::Text)),
                                           colour(p.color(QPalette::Active, QPalette::Text)));
    p.setColor(QPalette::Disabled, QPalette::Text,
               QColor::fromRgbF(float(letters.red), float(letters.green), float(letters.blue)));
    box->setPalette(p);
}

Form1Window::Form1Window(Clock &clock, RandomSource &random, Ending &ending, QWidget *parent)
    : QWidget(parent), form1_(*this, clock, random, ending),
      canvas_(QSize(WindowWidth, WindowHeight))
{
    resolveGothicFaces();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(WindowCaption.data(), qsizetype(WindowCaption.size())));
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/icon-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    setFixedSize(WindowWidth, WindowHeight);
    setFont(gothicFont(ProportionalGothic, 19));

    // The window and its labels are black with white lettering, as in the
    // standard colour scheme, whatever scheme the desktop uses: in a dark one
    // the button-text colour is light and the white captions would vanish.
    // Text boxes and buttons keep the desktop's colours.
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, qColor(WindowBackground));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    // A line edit lays out its empty text once in the application's font
    // before it takes its own, and the desktop's default font is one the
    // window never shows: loading it would cost as much as a face that is
    // shown. The controls are made under the window's font instead.
    const QFont desktopFont = QApplication::font();
    QApplication::setFont(font());
    buildControls();
    screenReader_ = new ScreenReader(this);
    QApplication::setFont(desktopFont);
    form1_.Form_Load();
}

QWidget *Form1Window::makeControl(const ControlRow &row)
{
    QWidget *widget = nullptr;
    switch (row.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(QString::fromStdString(row.caption), this);
        // Text sits at the top left and is cut at the label's edges, as the
        // captions are drawn taller and wider than some labels.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        QPalette p = label->palette();
        p.setColor(QPalette::Window, qColor(row.background.value_or(WindowBackground)));
        p.setColor(QPalette::WindowText, qColor(row.letters.value_or(LabelLetters)));
        label->setPalette(p);
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        auto *box = new QLineEdit(this);
        box->setAlignment(alignment(row.align) | Qt::AlignVCenter);
        box->setText(QString::fromStdString(row.caption));
        widget = box;
        break;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(QString::fromStdString(row.caption), this);
        button->setAutoDefault(false);
        widget = button;
        break;
    }
    }
    widget->setObjectName(QString::fromStdString(row.name));
    widget->setGeometry(row.rect.left, row.rect.top, row.rect.width, row.rect.height);
    widget->setFont(controlFont(row));
    if (!row.enabled) {
        widget->setEnabled(false);
        if (row.readableWhenDisabled)
            makeDisabledTextReadable(widget);
    }
    if (!row.visible)
        widget->hide();
    if (!row.accessibleName.empty())
        widget->setAccessibleName(QString::fromStdString(row.accessibleName));
    if (!row.accessibleDescription.empty())
        widget->setAccessibleDescription(QString::fromStdString(row.accessibleDescription));
    return widget;
}

void Form1Window::buildControls()
{
    for (const ControlRow &row : form1Controls())
        controls_.push_back(makeControl(row));

    const std::vector<ControlId> &order = form1FocusOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(controls_[order[i - 1].index()], controls_[order[i].index()]);
    controls_[order.front().index()]->setFocus();

    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlId id = form1ControlIds()[i];
        if (auto *button = qobject_cast<QPushButton *>(controls_[i]))
            connect(button, &QPushButton::clicked, this, [this, id] { form1_.buttonClicked(id); });
        if (auto *box = qobject_cast<QLineEdit *>(controls_[i]))
            connect(box, &QLineEdit::returnPressed, this, [this, id] { form1_.enterPressed(id); });
    }
}

std::u16string Form1Window::controlText(ControlId control) const
{
    QWidget *widget = controls_[control.index()];
    if (auto *box = qobject_cast<QLineEdit *>(widget))
        return box->text().toStdU16String();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text().toStdU16String();
    return qobject_cast<QPushButton *>(widget)->text().toStdU16String();
}

void Form1Window::setControlText(ControlId control, std::u16string_view text)
{
    // Through a view, not fromStdU16String, which would drop a leading U+FEFF
    // as if it were a byte order mark.
    const QString shown = QStringView(text.data(), qsizetype(text.size())).toString();
    QWidget *widget = controls_[control.index()];
    if (auto *box = qobject_cast<QLineEdit *>(widget))
        box->setText(shown);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(shown);
}

void Form1Window::setControlVisible(ControlId control, bool visible)
{
    controls_[control.index()]->setVisible(visible);
}

void Form1Window::moveControl(ControlId control, int left, int top)
{
    controls_[control.index()]->move(left, top);
}

void Form1Window::figureDrawn()
{
    // Only what the figure changed is painted again; the same figure drawn
    // again after the clear changes nothing.
    update(canvas_.takeChanges());
}

void Form1Window::say(const std::string &message)
{
    screenReader_->say(message);
}

void Form1Window::setSpokenText(ControlId box, const std::string &spoken)
{
    screenReader_->setSpokenText(box, qobject_cast<QLineEdit *>(controls_[box.index()]), spoken);
}

void Form1Window::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    canvas_.paint(painter, event->region());
}

void Form1Window::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first question is set up once, as soon as the window is on screen.
    // Window activation is no signal for it: it comes again whenever the
    // window regains focus, and never on an X server without a window manager.
    if (!activated_) {
        activated_ = true;
        QMetaObject::invokeMethod(
            this, [this] { form1_.Form_Activate(); }, Qt::QueuedConnection);
    }
}

void Form1Window::closeEvent(QCloseEvent *event)
{
    form1_.windowClosed();
    QWidget::closeEvent(event);
}
