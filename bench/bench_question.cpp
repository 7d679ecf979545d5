#include "app/qt/canvas.h"
#include "app/web/diagrampixels.h"
#include "drill/diagram.h"
#include "drill/question.h"
#include "drillwindow.h"

#include <QTest>
#include <memory>

// What a pupil waits for between two clicks: a new question after 次, with
// its 180-line diagram and the paint that shows it, and the marking of an
// answer with its paint. Each whole step is measured once per run on a
// fresh window, as a pupil meets it; the pieces of a new question are
// measured on their own in a loop.
//
// make bench runs this for time, by the kernel's task clock where it can, and
// under callgrind for instructions.
class BenchQuestion : public QObject {
    Q_OBJECT

private slots:
    void nextQuestion_data();
    void nextQuestion();
    void markAnswer_data();
    void markAnswer();
    void diagramRedraw();
    void diagramPixels_data();
    void diagramPixels();
    void questionDraw();
    void windowPaint();
};

namespace {

// Counts the paints of a window and its controls, so a run that painted
// nothing is reported instead of passing as fast.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget &window)
    {
        window.installEventFilter(this);
        for (QWidget *child : window.findChildren<QWidget *>())
            child->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// Delivers the paint the event loop would deliver next, and only that.
void paintPending(QWidget &window)
{
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
}

// A window with its first question on screen and nothing left to paint,
// whose generator then hands out the given draws.
std::unique_ptr<DrillWindow> windowAtFirstQuestion(const std::vector<float> &laterDraws = {})
{
    auto window = std::make_unique<DrillWindow>();
    window->script(questionScript(1, 2, 1, 3, 1));
    window->script(laterDraws);
    if (!window->start() || !QTest::qWaitForWindowExposed(&window->form))
        return nullptr;
    paintPending(window->form);
    return window;
}

} // namespace

void BenchQuestion::nextQuestion_data()
{
    // One question of each kind, each with the most values to show.
    QTest::addColumn<std::vector<float>>("draws");
    QTest::newRow("current") << questionScript(1, 3, 2, 4, 2);
    QTest::newRow("voltage") << questionScript(2, 3, 2, 4, 3);
    QTest::newRow("resistance") << questionScript(3, 3, 2, 4, 5);
}

void BenchQuestion::nextQuestion()
{
    QFETCH(std::vector<float>, draws);
    const auto window = windowAtFirstQuestion(draws);
    QVERIFY(window);
    QPushButton *next = window->button(QStringLiteral("Command5"));
    PaintCounter counter(window->form);

    QBENCHMARK_ONCE
    {
        next->click();
        paintPending(window->form);
    }

    QCOMPARE(window->form.drillState().QuestionNo, 2);
    QVERIFY(!window->scripted.ranDry);
    QVERIFY(counter.paints > 0);
}

void BenchQuestion::markAnswer_data()
{
    QTest::addColumn<bool>("right");
    QTest::newRow("right answer") << true;
    QTest::newRow("wrong answer") << false;
}

void BenchQuestion::markAnswer()
{
    QFETCH(bool, right);
    const auto window = windowAtFirstQuestion();
    QVERIFY(window);
    QLineEdit *entry = window->box(QStringLiteral("Text7"));
    QTest::keyClicks(entry, right ? window->rightAnswer() : QStringLiteral("0"));
    paintPending(window->form);
    QPushButton *enter = window->button(QStringLiteral("Command3"));
    PaintCounter counter(window->form);

    QBENCHMARK_ONCE
    {
        enter->click();
        paintPending(window->form);
    }

    QCOMPARE(window->mark(1)->text(), QString::fromUtf8(right ? RightMark : WrongMark));
    QVERIFY(counter.paints > 0);
}

void BenchQuestion::diagramRedraw()
{
    Canvas canvas(QSize(792, 573));
    QBENCHMARK
    {
        canvas.clear();
        drawCircuitDiagram(canvas);
    }
    QVERIFY(canvas.image().pixel(50, 130) != 0);
}

// What a face without Qt's painter does for each new question: the diagram
// drawn afresh and turned into device pixels, into the same buffer each time.
void BenchQuestion::diagramPixels_data()
{
    QTest::addColumn<double>("ratio");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("2x") << 2.0;
}

void BenchQuestion::diagramPixels()
{
    QFETCH(double, ratio);
    PixelSurface surface(792, 573);
    DevicePixels pixels;
    QBENCHMARK
    {
        surface.clear();
        drawCircuitDiagram(surface);
        surface.render(ratio, pixels);
    }
    QCOMPARE(pixels.at(int(50 * ratio), int(130 * ratio)), LightCyan);
}

void BenchQuestion::questionDraw()
{
    FixedClock clock;
    SeededRandom random;
    DrillState drill;
    QBENCHMARK
    {
        drill.TaskType = drawTaskType(random);
        seedFromClock(random, clock);
        const ResistorFactors factors = drawResistorFactors(random);
        const int currentTenths = drawCurrentTenths(random);
        storeCircuit(drill, factors, currentTenths);
        drill.CaseNo = drawCaseNo(random);
    }
    QVERIFY(drill.ValR > 0);
}

void BenchQuestion::windowPaint()
{
    const auto window = windowAtFirstQuestion();
    QVERIFY(window);
    PaintCounter counter(window->form);
    QBENCHMARK
    {
        window->form.update();
        paintPending(window->form);
    }
    QVERIFY(counter.paints > 0);
}

QTEST_MAIN(BenchQuestion)
#include "bench_question.moc"
