#pragma once

#include "app/form1.h"
#include "app/form1view.h"
#include "app/linerecord.h"
#include "app/seededrandom.h"
#include "app/utf.h"
#include "drill/numbertext.h"
#include "marking/marking.h"
#include "support.h"

#include <QString>
#include <QStringView>
#include <string>
#include <utility>
#include <vector>

// A face of plain data: each control's text, visibility and place, what is
// said and the lines drawn. Form1's handlers run on it with no toolkit.
class StandInFace final : public Form1View {
public:
    struct Control {
        std::u16string text;
        bool visible;
        int left, top;
        std::string spoken; // given by the drill
    };

    StandInFace()
    {
        for (const ControlRow &row : form1Controls())
            controls.push_back({utf16(row.caption), row.visible, row.rect.left, row.rect.top, {}});
    }

    std::u16string controlText(ControlId c) const override { return controls[c.index()].text; }
    void setControlText(ControlId c, std::u16string_view text) override
    {
        controls[c.index()].text = text;
    }
    void setControlVisible(ControlId c, bool visible) override
    {
        controls[c.index()].visible = visible;
    }
    void moveControl(ControlId c, int left, int top) override
    {
        controls[c.index()].left = left;
        controls[c.index()].top = top;
    }
    DrawingSurface &surface() override { return figure; }
    void figureDrawn() override { ++figuresShown; }
    void say(const std::string &message) override { said.push_back(message); }
    void setSpokenText(ControlId box, const std::string &spoken) override
    {
        controls[box.index()].spoken = spoken;
    }

    std::vector<Control> controls; // by the table's order
    LineRecord figure;
    int figuresShown = 0;
    std::vector<std::string> said;
};

// Form1 on the stand-in face with a fixed clock, a recorded ending and a
// scripted or seeded generator, and the controls a pupil uses at hand.
struct StandInDrill {
    FixedClock clock;
    ScriptedRandom scripted;
    SeededRandom seeded;
    RecordingEnding ending;
    StandInFace face;
    Form1 form;

    explicit StandInDrill(bool scriptedRandom = true, std::string time = "12:34:07")
        : clock(std::move(time)),
          form(face, clock, scriptedRandom ? static_cast<RandomSource &>(scripted) : seeded, ending)
    {
        form.Form_Load();
    }
    void script(const std::vector<float> &values)
    {
        scripted.values.insert(scripted.values.end(), values.begin(), values.end());
    }
    // The first question, as a face sets it up once the window is shown.
    bool start()
    {
        form.Form_Activate();
        return !text("Label4").isEmpty();
    }

    StandInFace::Control &control(const QString &name)
    {
        return face.controls[controlNamed(name.toStdString()).index()];
    }
    const StandInFace::Control &control(const QString &name) const
    {
        return face.controls[controlNamed(name.toStdString()).index()];
    }
    // Through a view, which keeps a leading U+FEFF as the text's own.
    QString text(const QString &name) const
    {
        const std::u16string &t = control(name).text;
        return QStringView(t.data(), qsizetype(t.size())).toString();
    }
    void setText(const QString &name, const QString &text)
    {
        control(name).text = text.toStdU16String();
    }
    bool shown(const QString &name) const { return control(name).visible; }
    QString mark(int i) const { return text(QStringLiteral("Text2_%1").arg(i)); }

    void click(const QString &name) { form.buttonClicked(controlNamed(name.toStdString())); }
    void enter(const QString &entry)
    {
        setText("Text7", entry);
        click("Command3");
    }
    void next() { click("Command5"); }
    QString score() const { return text("Text6"); }
    QString rightAnswer() const
    {
        return QString::fromStdString(plainNumberText(expectedAnswer(form.drillState())));
    }
};
