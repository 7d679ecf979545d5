#pragma once

#include "app/controlarray.h"
#include "app/form1controls.h"
#include "drill/drillstate.h"
#include "drill/outside.h"

#include <cstdint>
#include <string>

class Form1View;
struct TaskKind;

// The drill's one window as its event map: the drill state and the
// handlers, which act on the controls of the table through a face. The
// faces make the controls, forward the window's events here and show what
// the handlers set; every decision is made here, once for both.
class Form1 final {
public:
    Form1(Form1View &view, Clock &clock, RandomSource &random, Ending &ending);

    const DrillState &drillState() const { return Drill; }
    bool ended() const { return ended_; }
    // What the run came to, for a page to show after the end: the score and
    // the ten marks in order, "得点 70点　○ ○ × － …", "－" for a question
    // left unmarked.
    std::string runResult() const;

    void Form_Load();
    void Form_Activate();
    void Command1_Click();
    void Command2_Click(std::int16_t Index);
    void Command3_Click();
    void Command5_Click();
    // Closing the window by its title bar ends the program like 終了; events
    // already queued then find it ended.
    void windowClosed();

    // A click of a button and Enter in a text box, as a face reports them:
    // each runs the handler its control has, if it has one. Enter in the
    // answer box marks the answer, so the drill works without the mouse.
    void buttonClicked(ControlId control);
    void enterPressed(ControlId control);

private:
    void endProgram();

    void NewProblem();
    void PresentCurrentProblem();
    void PresentVoltageProblem();
    void PresentResistanceProblem();
    void presentProblem(const TaskKind &task);

    Form1View &view_;
    ControlId Command1;
    ControlId Command3;
    ControlId Command5;
    ControlId Label4;
    ControlId Label5;
    ControlId Text6;
    ControlId Text7;
    ControlArray<ControlId, 1, 10> Text1;
    ControlArray<ControlId, 1, 10> Text2;
    ControlArray<ControlId, 0, 8> Label2;
    ControlArray<ControlId, 0, 8> Text4;
    ControlArray<ControlId, 0, 11> Command2;

    DrillState Drill;
    Clock &clock_;
    RandomSource &random_;
    Ending &ending_;
    // Set once the program ends. Events already queued (a click behind the
    // tenth 次, a key pressed while the machine stalled) still arrive after
    // that; every handler then returns at once.
    bool ended_ = false;
};
