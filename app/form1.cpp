#include "app/form1.h"

#include "app/fonts.h"
#include "app/screenreader.h"
#include "drill/diagram.h"
#include "drill/numbertext.h"
#include "drill/presentation.h"
#include "drill/question.h"
#include "marking/answer.h"
#include "marking/keypad.h"
#include "marking/marking.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

Form1::Form1(Clock &clock, RandomSource &random, Ending &ending, QWidget *parent)
    : QWidget(parent), clock_(clock), random_(random), ending_(ending), canvas_(QSize(792, 573))
{
    resolveGothicFaces();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("オームの法則（並列）"));
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/icon-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    setFixedSize(792, 573);
    setFont(gothicFont(ProportionalGothic, 19));

    // The window and its labels are black with white lettering, as in the
    // standard colour scheme, whatever scheme the desktop uses: in a dark one
    // the button-text colour is light and the white captions would vanish.
    // Text boxes and buttons keep the desktop's colours.
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, Qt::black);
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
    Form_Load();
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    canvas_.paint(painter, event->region());
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first question is set up once, as soon as the window is on screen.
    // Window activation is no signal for it: it comes again whenever the
    // window regains focus, and never on an X server without a window manager.
    if (!activated_) {
        activated_ = true;
        QMetaObject::invokeMethod(this, &Form1::Form_Activate, Qt::QueuedConnection);
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program like 終了.
    ended_ = true;
    QWidget::closeEvent(event);
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
        Text1(i)->move(36 * i + 50, 445);
        Text1(i)->setText(QString::fromStdString(plainNumberText(i)));
    }
    for (int i = 1; i <= 10; ++i)
        Text2(i)->move(36 * i + 50, 477);
    Drill.QuestionNo = 1;
    Drill.Score = 0;
    Text6->setText(QString::fromStdString(plainNumberText(Drill.Score)));
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
    // Through a view, not fromStdU16String, which would drop a leading U+FEFF
    // as if it were a byte order mark.
    const std::u16string edited = keypadEdit(Text7->text().toStdU16String(), Index);
    Text7->setText(QStringView(edited).toString());
    screenReader_->keyPressed(Index);
}

void Form1::Command3_Click()
{
    if (ended_)
        return;
    const double entry = readAnswer(Text7->text().toStdU16String());
    const float expected = expectedAnswer(Drill);
    const bool right = isRightAnswer(entry, expected);
    QLineEdit *mark = Text2(Drill.QuestionNo);
    const bool wasRight = mark->text() == QString::fromUtf8(RightMark);

    mark->setText(QString::fromUtf8(right ? RightMark : WrongMark));
    // Points are counted per question, so marking the same answer again
    // neither adds points nor lets the score run away.
    const std::int16_t scoreBefore = Drill.Score;
    Drill.Score = scoreAfterMarking(Drill.Score, wasRight, right);
    if (right || Drill.Score != scoreBefore)
        Text6->setText(QString::fromStdString(plainNumberText(Drill.Score)));
    if (!right) {
        Label5->setText(QString::fromStdString(correctAnswerCaption(expected)));
        Label5->show();
    }
    screenReader_->answerMarked(right, Drill.QuestionNo, Drill.Score, expected);
}

void Form1::Command5_Click()
{
    if (ended_)
        return;
    Text7->setText(QString());
    Drill.QuestionNo = static_cast<std::int16_t>(Drill.QuestionNo + 1);
    Label5->hide();
    if (Drill.QuestionNo == 11) {
        endProgram();
        return;
    }
    canvas_.clear();
    NewProblem();
}

void Form1::NewProblem()
{
    for (int k = 0; k < SlotCount; ++k) {
        Text4(k)->hide();
        Label2(k)->hide();
    }
    drawCircuitDiagram(canvas_);
    // Only what the figure changed is painted again; the same figure drawn
    // again after the clear changes nothing.
    update(canvas_.takeChanges());

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
    Label4->setText(QString::fromUtf8(task.text));
    const ProblemForm &form = problemForm(task, Drill.CaseNo);
    for (int k : form.given()) {
        Text4(k)->show();
        Label2(k)->show();
    }
    Text4(form.askedSlot)->setText(QStringLiteral("？"));
    Text4(form.askedSlot)->show();
    Label2(form.askedSlot)->show();
    for (int k : form.given())
        Text4(k)->setText(QString::fromStdString(plainNumberText(slotValue(Drill, k))));
    screenReader_->questionShown(Drill.QuestionNo, task, form);
}
