#pragma once

#include "app/canvas.h"
#include "app/controlarray.h"
#include "drill/drillstate.h"
#include "drill/outside.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class ScreenReader;
struct TaskKind;

// Gives a disabled text box lettering that reads at 4.5:1 or more against
// the box, a grey still, in whatever colour scheme: the row numbers and marks
// are a pupil's own results.
void makeDisabledTextReadable(QWidget *box);

// The drill's one window. It owns every control, the drill state and the
// canvas the circuit is drawn on; its handlers are the program's event map.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    Form1(Clock &clock, RandomSource &random, Ending &ending, QWidget *parent = nullptr);

    const DrillState &drillState() const { return Drill; }
    const Canvas &canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();
    void Command1_Click();
    void Command2_Click(std::int16_t Index);
    void Command3_Click();
    void Command5_Click();

    void endProgram();

    void NewProblem();
    void PresentCurrentProblem();
    void PresentVoltageProblem();
    void PresentResistanceProblem();
    void presentProblem(const TaskKind &task);

    void buildControls();
    void describeForScreenReaders();
    QLabel *addLabel(const QString &name, const QString &caption, QRect geometry,
                     const QFont &font);
    QLineEdit *addTextBox(const QString &name, QRect geometry, const QFont &font,
                          Qt::Alignment alignment);
    QPushButton *addButton(const QString &name, const QString &caption, QRect geometry,
                           const QFont &font);

    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command5 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text7 = nullptr;
    ControlArray<QLineEdit, 1, 10> Text1;
    ControlArray<QLineEdit, 1, 10> Text2;
    ControlArray<QLabel, 0, 8> Label2;
    ControlArray<QLineEdit, 0, 8> Text4;
    ControlArray<QPushButton, 0, 11> Command2;

    DrillState Drill;
    Clock &clock_;
    RandomSource &random_;
    Ending &ending_;
    Canvas canvas_;
    ScreenReader *screenReader_ = nullptr;
    bool activated_ = false;
    // Set once the program ends. Events already queued (a click behind the
    // tenth 次, a key pressed while the machine stalled) still arrive after
    // that; every handler then returns at once.
    bool ended_ = false;
};
