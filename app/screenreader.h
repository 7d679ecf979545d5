#pragma once

#include "app/spokentext.h"
#include "drill/presentation.h"

#include <QObject>
#include <cstdint>
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

    void questionShown(std::int16_t questionNo, const TaskKind &task, const ProblemForm &form);
    void keyPressed(int index);
    void answerMarked(bool right, std::int16_t questionNo, std::int16_t score, float expected);

private:
    void say(const std::string &message);
    QLineEdit *box(const QString &name) const;

    QWidget *window_;
    QLabel *notice_;
};
