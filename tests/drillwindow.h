#pragma once

#include "app/qt/form1window.h"
#include "app/qt/services.h"
#include "drill/numbertext.h"
#include "marking/marking.h"
#include "support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The program's own ending, counted: it hides the window and asks the event
// loop to leave, as in the program, so whatever is still queued then arrives
// at a window that has ended.
class CountedEnding final : public Ending {
public:
    void end() override
    {
        ++count;
        program.end();
    }
    int count = 0;

private:
    ApplicationEnding program;
};

// The window with a fixed clock, the program's ending, and either a
// scripted or a seeded generator, with the controls a pupil uses at hand.
struct DrillWindow {
    FixedClock clock;
    ScriptedRandom scripted;
    SeededRandom seeded;
    CountedEnding ending;
    Form1Window form;

    explicit DrillWindow(bool scriptedRandom = true)
        : form(clock, scriptedRandom ? static_cast<RandomSource &>(scripted) : seeded, ending)
    {}
    void script(const std::vector<float> &values)
    {
        scripted.values.insert(scripted.values.end(), values.begin(), values.end());
    }
    // Shows the window and waits for the first question.
    bool start()
    {
        form.show();
        return QTest::qWaitFor([this] { return !label("Label4")->text().isEmpty(); });
    }

    QLabel *label(const QString &name) const { return form.findChild<QLabel *>(name); }
    QLineEdit *box(const QString &name) const { return form.findChild<QLineEdit *>(name); }
    QPushButton *button(const QString &name) const { return form.findChild<QPushButton *>(name); }
    QLineEdit *slotBox(int k) const { return box(QStringLiteral("Text4_%1").arg(k)); }
    QLabel *slotCaption(int k) const { return label(QStringLiteral("Label2_%1").arg(k)); }
    QLineEdit *mark(int i) const { return box(QStringLiteral("Text2_%1").arg(i)); }

    void click(const QString &name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void enter(const QString &text)
    {
        box("Text7")->setText(text);
        click("Command3");
    }
    void next() { click("Command5"); }
    QString score() const { return box("Text6")->text(); }
    QString rightAnswer() const
    {
        return QString::fromStdString(plainNumberText(expectedAnswer(form.drillState())));
    }
};
