#pragma once

#include "app/form1.h"
#include "app/form1view.h"
#include "app/qt/canvas.h"

#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class ScreenReader;

// Gives a disabled text box lettering that reads at 4.5:1 or more against
// the box, a grey still, in whatever colour scheme: the row numbers and marks
// are a pupil's own results.
void makeDisabledTextReadable(QWidget *box);

// The drill's window on the desktop: the Qt face of Form1. It makes a widget
// for each control of the table, forwards clicks and Enter to the handlers
// and shows what they set. Its own work is what Qt needs: the canvas and
// its repaints, the fonts, and what Orca reads.
class Form1Window final : public QWidget, private Form1View {
    Q_OBJECT

public:
    Form1Window(Clock &clock, RandomSource &random, Ending &ending, QWidget *parent = nullptr);

    const DrillState &drillState() const { return form1_.drillState(); }
    const Canvas &canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    std::u16string controlText(ControlId control) const override;
    void setControlText(ControlId control, std::u16string_view text) override;
    void setControlVisible(ControlId control, bool visible) override;
    void moveControl(ControlId control, int left, int top) override;
    DrawingSurface &surface() override { return canvas_; }
    void figureDrawn() override;
    void say(const std::string &message) override;
    void setSpokenText(ControlId box, const std::string &spoken) override;

    void buildControls();
    QWidget *makeControl(const ControlRow &row);

    Form1 form1_;
    Canvas canvas_;
    std::vector<QWidget *> controls_; // by ControlId, children of the window
    ScreenReader *screenReader_ = nullptr;
    bool activated_ = false;
};
