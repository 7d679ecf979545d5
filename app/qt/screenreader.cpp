#include "app/qt/screenreader.h"

#include "app/form1controls.h"
#include "drill/drillstate.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {

// What a box says instead of its text, as a dynamic property of the box.
constexpr const char *SpokenTextProperty = "spokenText";
const QString NoticeName = QStringLiteral("ScreenReaderNotice");
const QString SlotBoxPrefix = QStringLiteral("Text4_");
const QString SlotCaptionPrefix = QStringLiteral("Label2_");

// A quantity slot, box or caption, as Orca's review of the window sees it.
// Orca keeps the states it first read of a control, and when a hidden control
// is shown again Qt reports "showing" but never "visible", so a slot hidden
// once would stay out of the review for good. A slot is therefore always
// reported visible (Qt's show and hide reports keep "showing" right), and a
// hidden one has no extent, which keeps it out of the review as well.
template <typename Base> class ReviewedSlot : public Base {
public:
    using Base::Base;
    QAccessible::State state() const override
    {
        QAccessible::State s = Base::state();
        s.invisible = false;
        return s;
    }
    QRect rect() const override { return this->widget()->isVisible() ? Base::rect() : QRect(); }
};

// A text box as a screen reader reads it. Qt 6.4's own interface for a line
// edit reports each character as an empty run of text attributes, and Orca
// then drops the last character of the value ("9" for 96); this one reports
// one run over the whole text. Its text is the box's spoken text where it has
// one ("0.5 アンペア" for 0.5), else what the box holds.
class SpokenTextBox : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit SpokenTextBox(QLineEdit *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !box()->isReadOnly();
        s.readOnly = box()->isReadOnly();
        s.selectableText = true;
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? content() : QAccessibleWidget::text(t);
    }

    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index != 0 || !box()->hasSelectedText())
            return;
        if (readAsShown()) {
            *startOffset = box()->selectionStart();
            *endOffset = *startOffset + box()->selectionLength();
        } else {
            *endOffset = characterCount();
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override { box()->deselect(); }
    void setSelection(int, int startOffset, int endOffset) override
    {
        if (readAsShown())
            box()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override
    {
        if (readAsShown())
            return box()->cursorPosition();
        return box()->cursorPosition() == 0 ? 0 : characterCount();
    }
    void setCursorPosition(int position) override
    {
        if (readAsShown())
            box()->setCursorPosition(position);
    }
    QString text(int startOffset, int endOffset) const override
    {
        const int count = characterCount();
        if (endOffset < 0 || endOffset > count)
            endOffset = count;
        return content().mid(startOffset, std::max(0, endOffset - startOffset));
    }
    int characterCount() const override { return static_cast<int>(content().size()); }
    // The characters share the box's width evenly: enough for a screen
    // reader's review, which places text by its extents.
    QRect characterRect(int offset) const override
    {
        const QRect whole = rect();
        const int width = whole.width() / std::max(1, characterCount());
        return {whole.left() + offset * width, whole.top(), width, whole.height()};
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QRect whole = rect();
        if (!whole.contains(point))
            return -1;
        const int width = std::max(1, whole.width() / std::max(1, characterCount()));
        return std::min(characterCount(), (point.x() - whole.left()) / width);
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QLineEdit *box() const { return static_cast<QLineEdit *>(widget()); }
    QString content() const
    {
        const QVariant spoken = box()->property(SpokenTextProperty);
        return spoken.isValid() ? spoken.toString() : box()->text();
    }
    bool readAsShown() const { return content() == box()->text(); }
};

// The caption of a quantity slot, read by its name ("電流 I").
class SlotCaption final : public ReviewedSlot<QAccessibleWidget> {
public:
    explicit SlotCaption(QLabel *label) : ReviewedSlot(label, QAccessible::StaticText) {}
};

// The notice: a label that Orca presents as a notification each time it is
// shown, with its text as the name.
class Notice final : public QAccessibleWidget {
public:
    explicit Notice(QLabel *label) : QAccessibleWidget(label, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

using SlotBox = ReviewedSlot<SpokenTextBox>;

// QAccessible owns the interfaces its factories make.
QAccessibleInterface *spokenInterface(const QString &, QObject *object)
{
    const bool slot = object->objectName().startsWith(SlotBoxPrefix) ||
                      object->objectName().startsWith(SlotCaptionPrefix);
    if (auto *box = qobject_cast<QLineEdit *>(object))
        return slot ? new SlotBox(box) : new SpokenTextBox(box);
    auto *label = qobject_cast<QLabel *>(object);
    if (label && slot)
        return new SlotCaption(label);
    if (label && label->objectName() == NoticeName)
        return new Notice(label);
    return nullptr;
}

// Qt makes an interface as soon as a control changes while a screen reader
// listens; one made before the factory was in place is dropped, so the next
// question for it asks the factory.
void dropEarlierInterface(QWidget *widget)
{
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(widget);
    if (made && !dynamic_cast<SpokenTextBox *>(made) && !dynamic_cast<SlotCaption *>(made) &&
        !dynamic_cast<Notice *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void setSpokenText(QLineEdit *box, const std::string &text)
{
    box->setProperty(SpokenTextProperty, QString::fromStdString(text));
}

} // namespace

ScreenReader::ScreenReader(QWidget *window)
    : QObject(window), window_(window), notice_(new QLabel(window))
{
    // Installed again, so it is the last one and asked first.
    QAccessible::removeFactory(spokenInterface);
    QAccessible::installFactory(spokenInterface);

    // No room on the window: a label of no size, shown only to speak.
    notice_->setObjectName(NoticeName);
    notice_->setGeometry(0, 0, 0, 0);
    notice_->hide();
    dropEarlierInterface(notice_);

    // What a box says follows whatever it shows, typed by the pupil or set
    // by the drill.
    for (ControlId control : form1ControlIds()) {
        const ControlRow &row = controlRow(control);
        if (row.kind != ControlKind::TextBox)
            continue;
        auto *box = window->findChild<QLineEdit *>(QString::fromStdString(row.name));
        auto follow = [this, box, control](const QString &shown) {
            if (const std::optional<std::string> spoken =
                    spoken_.shown(control, shown.toStdString()))
                ::setSpokenText(box, *spoken);
        };
        connect(box, &QLineEdit::textChanged, this, follow);
        follow(box->text());
    }
    for (QLineEdit *each : window->findChildren<QLineEdit *>())
        dropEarlierInterface(each);
    for (int k = 0; k < SlotCount; ++k)
        dropEarlierInterface(window->findChild<QLabel *>(SlotCaptionPrefix + QString::number(k)));

    // Qt reports a caret move before the focus when the empty answer box
    // first gets the focus, and Orca then moves to it without a word; once
    // its empty text has been selected, that report no longer comes.
    window->findChild<QLineEdit *>(QStringLiteral("Text7"))->selectAll();
}

void ScreenReader::setSpokenText(ControlId control, QLineEdit *box, const std::string &spoken)
{
    spoken_.given(control);
    ::setSpokenText(box, spoken);
}

// Orca speaks a notification when it is shown, not when its text changes.
void ScreenReader::say(const std::string &message)
{
    notice_->hide();
    notice_->setText(QString::fromStdString(message));
    notice_->show();
}
