#pragma once

#include "app/spokenboxes.h"

#include <QObject>
#include <string>

class QLabel;
class QLineEdit;
class QWidget;

// The window's voice for screen readers. It gives the window's text boxes
// text interfaces that read whole values with their units, and says what
// changes away from the focus (a new question, a mark, a keypad press) through
// a notification that takes no room on the window. Orca speaks such a
// notification each time it is shown, whatever has the focus; Qt 6.4 has no
// announcement of its own.
class ScreenReader final : public QObject {
public:
    explicit ScreenReader(QWidget *window);

    // A notice, spoken whatever has the focus.
    void say(const std::string &message);
    // What the box says instead of its text, until its text changes.
    void setSpokenText(ControlId control, QLineEdit *box, const std::string &spoken);

private:
    QWidget *window_;
    QLabel *notice_;
    SpokenBoxes spoken_;
};
