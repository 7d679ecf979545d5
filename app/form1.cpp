#include "app/form1.h"

#include "app/form1view.h"
#include "app/spokentext.h"
#include "app/utf.h"
#include "drill/diagram.h"
#include "drill/numbertext.h"
#include "drill/presentation.h"
#include "drill/question.h"
#include "marking/answer.h"
#include "marking/keypad.h"
#include "marking/marking.h"

#include <string>
#include <vector>

namespace {
ControlId control(std::string_view name)
{
    return controlNamed(name);
}

// The members of a control array, named as the faces name them: "Text4_3".
auto members(std::string_view array)
{
    return [array](int index) { return control(std::string(array) + "_" + std::to_string(index)); };
}
} // namespace

Form1::Form1(Form1View &view, Clock &clock, RandomSource &random, Ending &ending)
    : view_(view), Command1(control("Command1")), Command3(control("Command3")),
      Command5(control("Command5")), Label4(control("Label4")), Label5(control("Label5")),
      Text6(control("Text6")), Text7(control("Text7")), Text1(members("Text1")),
      Text2(members("Text2")), Label2(members("Label2")), Text4(members("Text4")),
      Command2(members("Command2")), clock_(clock), random_(random), ending_(ending)
{}

void Form1::buttonClicked(ControlId control)
{
    if (control == Command1)
        Command1_Click();
    else if (control == Command3)
        Command3_Click();
    else if (control == Command5)
        Command5_Click();
    for (int index = 0; index <= 11; ++index)
        if (control == Command2(index))
            Command2_Click(static_cast<std::int16_t>(index));
}

void Form1::enterPressed(ControlId control)
{
    if (control == Text7)
        Command3_Click();
}

std::string Form1::runResult() const
{
    std::string result = "得点 " + plainNumberText(Drill.Score) + "点　";
    for (int i = 1; i <= 10; ++i) {
        const std::string mark = utf8(view_.controlText(Text2(i)));
        result += (i > 1 ? " " : "") + (mark.empty() ? std::string("－") : mark);
    }
    return result;
}

void Form1::windowClosed()
{
    ended_ = true;
}

void Form1::endProgram()
{
    ended_ = true;
    ending_.end();
}

void Form1::Form_Load()
{
    // The rows close up to a 36-pixel pitch, so neighbouring boxes overlap.
    for (int i = 1; i <= 10; ++i) {
        view_.moveControl(Text1(i), 36 * i + 50, 445);
        view_.setControlText(Text1(i), utf16(plainNumberText(i)));
    }
    for (int i = 1; i <= 10; ++i)
        view_.moveControl(Text2(i), 36 * i + 50, 477);
    Drill.QuestionNo = 1;
    Drill.Score = 0;
    view_.setControlText(Text6, utf16(plainNumberText(Drill.Score)));
    seedFromClock(random_, clock_);
}

void Form1::Form_Activate()
{
    if (ended_)
        return;
    NewProblem();
}

void Form1::Command1_Click()
{
    if (ended_)
        return;
    endProgram();
}

void Form1::Command2_Click(std::int16_t Index)
{
    if (ended_)
        return;
    const std::u16string edited = keypadEdit(view_.controlText(Text7), Index);
    view_.setControlText(Text7, edited);
    view_.say(spokenKeyPress(Index, utf8(view_.controlText(Text7))));
}

void Form1::Command3_Click()
{
    if (ended_)
        return;
    const double entry = readAnswer(view_.controlText(Text7));
    const float expected = expectedAnswer(Drill);
    const bool right = isRightAnswer(entry, expected);
    const ControlId mark = Text2(Drill.QuestionNo);
    const bool wasRight = view_.controlText(mark) == utf16(RightMark);

    view_.setControlText(mark, utf16(right ? RightMark : WrongMark));
    // Points are counted per question, so marking the same answer again
    // neither adds points nor lets the score run away.
    const std::int16_t scoreBefore = Drill.Score;
    Drill.Score = scoreAfterMarking(Drill.Score, wasRight, right);
    if (right || Drill.Score != scoreBefore)
        view_.setControlText(Text6, utf16(plainNumberText(Drill.Score)));
    if (!right) {
        view_.setControlText(Label5, utf16(correctAnswerCaption(expected)));
        view_.setControlVisible(Label5, true);
        // The correct answer is also kept in the mark box, which a screen
        // reader's review always finds; the label that shows it was hidden
        // before, and the review may keep it out for that.
        view_.setSpokenText(mark,
                            spokenMark(Drill.QuestionNo, WrongMark, plainNumberText(expected)));
    }
    view_.say(spokenMarking(right, Drill.Score, expected));
}

void Form1::Command5_Click()
{
    if (ended_)
        return;
    view_.setControlText(Text7, {});
    Drill.QuestionNo = static_cast<std::int16_t>(Drill.QuestionNo + 1);
    view_.setControlVisible(Label5, false);
    if (Drill.QuestionNo == 11) {
        endProgram();
        return;
    }
    view_.surface().clear();
    NewProblem();
}

void Form1::NewProblem()
{
    for (int k = 0; k < SlotCount; ++k) {
        view_.setControlVisible(Text4(k), false);
        view_.setControlVisible(Label2(k), false);
    }
    drawCircuitDiagram(view_.surface());
    view_.figureDrawn();

    Drill.TaskType = drawTaskType(random_);
    // Reseeded from the clock for every question, after the task type.
    seedFromClock(random_, clock_);
    const ResistorFactors factors = drawResistorFactors(random_);
    const int currentTenths = drawCurrentTenths(random_);
    storeCircuit(Drill, factors, currentTenths);
    Drill.CaseNo = drawCaseNo(random_);

    if (Drill.TaskType == 1)
        PresentCurrentProblem();
    if (Drill.TaskType == 2)
        PresentVoltageProblem();
    if (Drill.TaskType == 3)
        PresentResistanceProblem();
}

void Form1::PresentCurrentProblem()
{
    presentProblem(CurrentTask);
}

void Form1::PresentVoltageProblem()
{
    presentProblem(VoltageTask);
}

void Form1::PresentResistanceProblem()
{
    presentProblem(ResistanceTask);
}

void Form1::presentProblem(const TaskKind &task)
{
    view_.setControlText(Label4, utf16(task.text));
    const ProblemForm &form = problemForm(task, Drill.CaseNo);
    for (int k : form.given()) {
        view_.setControlVisible(Text4(k), true);
        view_.setControlVisible(Label2(k), true);
    }
    view_.setControlText(Text4(form.askedSlot), u"？");
    view_.setControlVisible(Text4(form.askedSlot), true);
    view_.setControlVisible(Label2(form.askedSlot), true);
    for (int k : form.given())
        view_.setControlText(Text4(k), utf16(plainNumberText(slotValue(Drill, k))));

    const std::vector<ControlRow> &controls = form1Controls();
    auto slot = [&](int k) {
        return SpokenSlot{controls[Text4(k).index()].accessibleName, k,
                          utf8(view_.controlText(Text4(k)))};
    };
    std::vector<SpokenSlot> given;
    for (int k : form.given())
        given.push_back(slot(k));
    view_.say(spokenQuestion(Drill.QuestionNo, task.text, given, slot(form.askedSlot)));
}
