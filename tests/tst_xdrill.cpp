#include "app/qt/fonts.h"
#include "app/qt/form1window.h"
#include "drill/numbertext.h"
#include "drill/presentation.h"
#include "drill/question.h"
#include "xscreen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>

// A pupil's run through the real program under Xvfb: the test reads each
// question off the screen, clicks the keypad with xdotool and checks the marks,
// the score and the correction shown. Nothing is read from the program except
// its pixels and its exit status.

namespace {

constexpr QRect SlotBoxes[SlotCount] = {
    {96, 264, 65, 28},  {408, 104, 65, 28}, {408, 200, 65, 28},
    {344, 312, 65, 28}, {368, 40, 65, 28},  {328, 232, 65, 28},
    {248, 104, 65, 28}, {248, 200, 65, 28}, {40, 88, 57, 28},
};
constexpr QRect TaskText(376, 16, 281, 25);
constexpr QRect ScoreBox(648, 80, 81, 33);
constexpr QRect AnswerBox(584, 264, 145, 33);
constexpr QRect Correction(600, 152, 161, 25);
constexpr QPoint EnterKey(584 + 72, 424 + 16);
constexpr QPoint NextKey(736 + 28, 424 + 16);

// The mark boxes are 41 wide at a pitch of 36, so each lies under the next
// one's left edge; only the uncovered part of a box is compared.
constexpr QSize MarkBoxSize(41, 33);
QRect markBox(int question)
{
    return {36 * question + 50, 477, 36, 33};
}

// Keys 1 to 9 are laid out as on a calculator; 0 and the point fill the row below.
QPoint keyCentre(QChar key)
{
    if (key == u'.')
        return {632 + 24, 392 + 16};
    const int digit = key.digitValue();
    if (digit == 0)
        return {584 + 24, 392 + 16};
    return {584 + 48 * ((digit - 1) % 3) + 24, 360 - 32 * ((digit - 1) / 3) + 16};
}

const QString Unknown = QStringLiteral("？");
const QString RightMark = QStringLiteral("○");
const QString WrongMark = QStringLiteral("×");

// Everything in the window sits on black, the desktop's button-text colour.
QPalette windowPalette()
{
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, p.color(QPalette::ButtonText));
    return p;
}

QImage renderedBox(QSize size, const QFont &font, const QString &text, bool enabled = true,
                   Qt::Alignment alignment = Qt::AlignHCenter)
{
    QWidget host;
    host.setPalette(windowPalette());
    host.resize(size);
    QLineEdit box(&host);
    box.setGeometry(QRect(QPoint(), size));
    box.setFont(font);
    box.setAlignment(alignment | Qt::AlignVCenter);
    box.setText(text);
    box.setEnabled(enabled);
    if (!enabled)
        makeDisabledTextReadable(&box);
    return host.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage renderedLabel(QSize size, const QColor &ink, const QString &text)
{
    QWidget host;
    host.setPalette(windowPalette());
    host.resize(size);
    QLabel label(text, &host);
    label.setGeometry(QRect(QPoint(), size));
    label.setFont(gothicFont(ProportionalGothic, 19));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setAutoFillBackground(true);
    QPalette p = label.palette();
    p.setColor(QPalette::WindowText, ink);
    label.setPalette(p);
    return host.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

struct Candidate {
    QString text;
    QImage image;
};
using Renderer = std::function<QImage(const QString &)>;

QList<Candidate> candidates(QStringList texts, const Renderer &render)
{
    texts.removeDuplicates();
    QList<Candidate> list;
    for (const QString &t : texts)
        list.append({t, render(t)});
    return list;
}

// The candidate a part of the screen shows; only a clear winner counts.
struct Match {
    QString text;
    int differing = std::numeric_limits<int>::max();
    int runnerUp = std::numeric_limits<int>::max();

    bool clear() const { return differing <= 8 && runnerUp >= 2 * differing + 12; }
    bool is(const QString &expected) const { return clear() && text == expected; }
    QString describe() const
    {
        return QStringLiteral("best '%1' with %2 differing pixels, next best %3")
            .arg(text)
            .arg(differing)
            .arg(runnerUp);
    }
};

Match match(const QImage &shot, QRect area, const QList<Candidate> &list)
{
    // The frame's edge is left out: only the letters tell candidates apart.
    const QRect inside = QRect(QPoint(), area.size()).adjusted(3, 3, -3, -3);
    const QImage part = shot.copy(area);
    Match m;
    for (const Candidate &c : list) {
        int differing = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QRgb a = part.pixel(x, y), b = c.image.pixel(x, y);
                // Disabled grey letters are only 49 levels off their background.
                differing += std::abs(qRed(a) - qRed(b)) > 24 ||
                             std::abs(qGreen(a) - qGreen(b)) > 24 ||
                             std::abs(qBlue(a) - qBlue(b)) > 24;
            }
        }
        if (differing < m.differing) {
            m.runnerUp = m.differing;
            m.differing = differing;
            m.text = c.text;
        } else {
            m.runnerUp = std::min(m.runnerUp, differing);
        }
    }
    return m;
}

int pixelsWhere(const QImage &shot, QRect area, const std::function<bool(QColor)> &test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(shot.pixelColor(x, y));
    return count;
}

bool isBlack(const QImage &shot, QRect area)
{
    return pixelsWhere(shot, area, [](QColor c) { return c != Qt::black; }) == 0;
}

// Fills in every quantity that follows from the known ones by the laws of
// the parallel circuit; NaN stands for unknown.
void solveCircuit(std::array<double, SlotCount> &v)
{
    const auto known = [&](int s) { return !std::isnan(v[s]); };
    bool changed = true;
    const auto set = [&](int s, double x) {
        if (!known(s)) {
            v[s] = x;
            changed = true;
        }
    };
    // total = a + b, over the values or, for resistances in parallel, their reciprocals.
    const auto sum = [&](int total, int a, int b, double (*f)(double)) {
        if (known(a) && known(b))
            set(total, f(f(v[a]) + f(v[b])));
        if (known(total) && known(a))
            set(b, f(f(v[total]) - f(v[a])));
        if (known(total) && known(b))
            set(a, f(f(v[total]) - f(v[b])));
    };
    const auto product = [&](int p, int a, int b) { // p = a b
        if (known(a) && known(b))
            set(p, v[a] * v[b]);
        if (known(p) && known(a))
            set(b, v[p] / v[a]);
        if (known(p) && known(b))
            set(a, v[p] / v[b]);
    };
    const auto same = [](double x) { return x; };
    const auto reciprocal = [](double x) { return 1 / x; };
    while (changed) {
        changed = false;
        for (int s : {SlotE, SlotE1, SlotE2})
            if (known(s))
                for (int t : {SlotE, SlotE1, SlotE2})
                    set(t, v[s]);
        sum(SlotI, SlotI1, SlotI2, same);
        sum(SlotR, SlotR1, SlotR2, reciprocal);
        product(SlotE, SlotI1, SlotR1);
        product(SlotE, SlotI2, SlotR2);
        product(SlotE, SlotI, SlotR);
    }
}

// What a question looks like on screen: the text in each slot, empty where
// the slot is hidden.
struct Question {
    QString task;
    std::array<QString, SlotCount> shown;
    int asked = -1;
    double answer = NAN;

    QString describe() const
    {
        QStringList boxes;
        for (int slot = 0; slot < SlotCount; ++slot)
            if (!shown[slot].isEmpty())
                boxes << QStringLiteral("%1:%2").arg(slot).arg(shown[slot]);
        return task + u' ' + boxes.join(u' ') + QStringLiteral(" -> %1").arg(answer, 0, 'g', 7);
    }
};

// Calls use with each circuit the drill can draw, stored as the program stores it.
void forEachCircuit(const std::function<void(const DrillState &)> &use)
{
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 4; ++b)
            for (int k = 1; k <= 10; ++k) {
                DrillState s;
                storeCircuit(s, {a, b}, k);
                use(s);
            }
}

bool failWith(QString &why, const QString &reason)
{
    why = reason;
    return false;
}

} // namespace

class TestXDrill : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void firstQuestionAnsweredRight();
    void secondQuestionAnsweredWrong();
    void nextAfterTheTenthQuestionEndsTheProgram();

private:
    QImage screenshot() const;
    bool readQuestion(Question &q, QString &why) const;
    bool waitForQuestion(Question &q, QString &why) const;
    bool click(QPoint inWindow) const;
    bool type(const QString &answer, QString &why) const;
    Match waitFor(QRect area, const QList<Candidate> &list, const QString &expected) const;

    QProcess program;
    QRect window;
    std::array<QList<Candidate>, SlotCount> slotCandidates;
    QList<Candidate> tasks, scores, marks;
    double firstAnswer = NAN;
};

QImage TestXDrill::screenshot() const
{
    return grabScreen(window);
}

bool TestXDrill::click(QPoint inWindow) const
{
    return clickScreen(window.topLeft() + inWindow);
}

Match TestXDrill::waitFor(QRect area, const QList<Candidate> &list, const QString &expected) const
{
    Match m;
    // The caller judges the last match, which also tells what was seen instead.
    (void)QTest::qWaitFor([&] { return (m = match(screenshot(), area, list)).is(expected); }, 5000);
    return m;
}

void TestXDrill::initTestCase()
{
    resolveGothicFaces();
    // Every text each slot can show, over all the circuits the drill draws.
    std::array<QStringList, SlotCount> texts;
    texts.fill({Unknown});
    forEachCircuit([&](const DrillState &s) {
        for (int slot = 0; slot < SlotCount; ++slot)
            texts[slot] << QString::fromStdString(plainNumberText(slotValue(s, slot)));
    });
    for (int slot = 0; slot < SlotCount; ++slot) {
        const QSize size = SlotBoxes[slot].size();
        slotCandidates[slot] = candidates(texts[slot], [size](const QString &t) {
            return renderedBox(size, gothicFont(ProportionalGothic, 16), t);
        });
    }
    const QColor white = QApplication::palette().color(QPalette::HighlightedText);
    tasks = candidates({CurrentTask.text, VoltageTask.text, ResistanceTask.text, QString()},
                       [&](const QString &t) { return renderedLabel(TaskText.size(), white, t); });
    scores = candidates({"0", "10", "20"}, [](const QString &t) {
        return renderedBox(ScoreBox.size(), gothicFont(ProportionalGothic, 24), t);
    });
    marks = candidates({QString(), RightMark, WrongMark}, [](const QString &t) {
        return renderedBox(MarkBoxSize, gothicFont(FixedGothic, 21), t, false);
    });

    program.setProgram(QStringLiteral(OHM_PROGRAM));
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start();
    QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT((window = findProgramWindow().rect).isValid(), 15000);
    QCOMPARE(window.size(), QSize(792, 573));
}

void TestXDrill::cleanupTestCase()
{
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished(5000);
    }
}

bool TestXDrill::readQuestion(Question &q, QString &why) const
{
    const QImage shot = screenshot();
    q = Question();
    const Match task = match(shot, TaskText, tasks);
    if (!task.clear() || task.text.isEmpty())
        return failWith(why, QStringLiteral("task text: ") + task.describe());
    q.task = task.text;
    std::array<double, SlotCount> values;
    values.fill(NAN);
    for (int slot = 0; slot < SlotCount; ++slot) {
        const QRect box = SlotBoxes[slot];
        // A shown box is white inside. A hidden one leaves the window, black
        // but for the cyan wires of the diagram that run under some boxes.
        const int white = pixelsWhere(shot, box, [](QColor c) { return c.lightness() > 200; });
        if (white == 0)
            continue;
        if (white < box.width() * box.height() / 2)
            return failWith(why, QStringLiteral("slot %1 half shown").arg(slot));
        const Match m = match(shot, box, slotCandidates[slot]);
        if (!m.clear())
            return failWith(why, QStringLiteral("slot %1: %2").arg(slot).arg(m.describe()));
        q.shown[slot] = m.text;
        if (m.text == Unknown)
            q.asked = q.asked < 0 ? slot : SlotCount;
        else
            values[slot] = m.text.toDouble();
    }
    if (q.asked < 0 || q.asked == SlotCount)
        return failWith(why, QStringLiteral("not exactly one box asks"));
    solveCircuit(values);
    q.answer = values[q.asked];
    if (std::isnan(q.answer))
        return failWith(why,
                        QStringLiteral("slot %1 does not follow from the others").arg(q.asked));
    return true;
}

bool TestXDrill::waitForQuestion(Question &q, QString &why) const
{
    if (!QTest::qWaitFor([&] { return readQuestion(q, why); }, 10000))
        return false;
    qInfo().noquote() << q.describe();
    // The screen must show one of the fifteen forms under its own task text...
    const auto shownCount = std::count_if(q.shown.begin(), q.shown.end(),
                                          [](const QString &t) { return !t.isEmpty(); });
    bool known = false;
    for (const TaskKind *kind : {&CurrentTask, &VoltageTask, &ResistanceTask}) {
        for (const ProblemForm &form : kind->cases) {
            bool fits = form.askedSlot == q.asked && QString::fromUtf8(kind->text) == q.task &&
                        shownCount == form.givenCount + 1;
            for (int slot : form.given())
                fits = fits && !q.shown[slot].isEmpty() && slot != q.asked;
            known = known || fits;
        }
    }
    if (!known)
        return failWith(why, QStringLiteral("no question form shows these boxes"));
    // ...with the values of a circuit the drill can draw, asking for its value.
    bool drawn = false;
    forEachCircuit([&](const DrillState &s) {
        bool fits = std::fabs(q.answer - slotValue(s, q.asked)) <= 1e-6 * q.answer;
        for (int slot = 0; slot < SlotCount; ++slot)
            fits = fits && (q.shown[slot].isEmpty() || slot == q.asked ||
                            q.shown[slot].toStdString() == plainNumberText(slotValue(s, slot)));
        drawn = drawn || fits;
    });
    return drawn || failWith(why, QStringLiteral("no circuit has these values"));
}

namespace {

QImage renderedEntry(const QString &text)
{
    return renderedBox(AnswerBox.size(), gothicFont(ProportionalGothic, 19), text, true,
                       Qt::AlignRight);
}

// What the answer box shows after the keys of answer: a digit key adds a blank
// and the digit, the point key a point.
QString entryFor(const QString &answer)
{
    QString entry;
    for (QChar key : answer)
        entry += key == u'.' ? QStringLiteral(".") : QStringLiteral(" ") + key;
    return entry;
}

} // namespace

// Clicks the keys of the answer one by one, waiting for each to show in the
// answer box.
bool TestXDrill::type(const QString &answer, QString &why) const
{
    for (qsizetype i = 0; i < answer.size(); ++i) {
        const QChar key = answer[i];
        const QString before = entryFor(answer.left(i)), entry = entryFor(answer.left(i + 1));
        if (!click(keyCentre(key)))
            return failWith(why, QStringLiteral("xdotool failed"));
        const Match m = waitFor(AnswerBox, candidates({entry, before}, renderedEntry), entry);
        if (!m.is(entry))
            return failWith(why, QStringLiteral("after key %1: %2").arg(key).arg(m.describe()));
    }
    return true;
}

void TestXDrill::firstQuestionAnsweredRight()
{
    Question q;
    QString why;
    QVERIFY2(waitForQuestion(q, why), qPrintable(why));
    QVERIFY2(isBlack(screenshot(), Correction), "correction shown before any answer");

    QVERIFY2(type(QString::number(q.answer, 'g', 7), why), qPrintable(why));
    firstAnswer = q.answer;
    QVERIFY(click(EnterKey));
    Match m = waitFor(markBox(1), marks, RightMark);
    QVERIFY2(m.is(RightMark), qPrintable(m.describe()));
    m = waitFor(ScoreBox, scores, "10");
    QVERIFY2(m.is("10"), qPrintable(m.describe()));
    QVERIFY2(isBlack(screenshot(), Correction), "correction shown for a right answer");
}

void TestXDrill::secondQuestionAnsweredWrong()
{
    // 次 is taken when it clears the first answer from the answer box; until
    // then the screen still shows the first question, which reads as a question too.
    const QString first = entryFor(QString::number(firstAnswer, 'g', 7));
    QVERIFY(click(NextKey));
    Match m = waitFor(AnswerBox, candidates({QString(), first}, renderedEntry), QString());
    QVERIFY2(m.is(QString()), qPrintable(QStringLiteral("after 次: ") + m.describe()));
    Question second;
    QString why;
    QVERIFY2(waitForQuestion(second, why), qPrintable(why));
    const QImage shot = screenshot();
    QVERIFY2(match(shot, markBox(2), marks).is(QString()), "mark box 2 is not empty");
    QVERIFY2(isBlack(shot, Correction), "correction left from question 1");

    const QString right = QString::number(second.answer, 'g', 7);
    QVERIFY2(type(QString::number(second.answer + 1, 'g', 7), why), qPrintable(why));
    QVERIFY(click(EnterKey));
    m = waitFor(markBox(2), marks, WrongMark);
    QVERIFY2(m.is(WrongMark), qPrintable(m.describe()));
    m = match(screenshot(), ScoreBox, scores);
    QVERIFY2(m.is("10"), qPrintable(m.describe()));
    m = match(screenshot(), markBox(1), marks);
    QVERIFY2(m.is(RightMark), qPrintable(m.describe()));

    // The correction is the value as the keypad would write it: a blank for
    // the sign and no zero before the point.
    const QString correction =
        QStringLiteral("正解は ") + (right.startsWith(QStringLiteral("0.")) ? right.mid(1) : right);
    const QColor yellow(255, 255, 0);
    const auto render = [&](const QString &t) {
        return renderedLabel(Correction.size(), yellow, t);
    };
    const QStringList lookalikes = {
        QStringLiteral("正解は") + right, QStringLiteral("正解は ") + right,
        QStringLiteral("正解は ") + QString::number(second.answer + 1), QString()};
    m = waitFor(Correction, candidates(QStringList{correction} + lookalikes, render), correction);
    QVERIFY2(m.is(correction), qPrintable(correction + ": " + m.describe()));
    QVERIFY(pixelsWhere(screenshot(), Correction, [&](QColor c) { return c == yellow; }) > 50);
}

void TestXDrill::nextAfterTheTenthQuestionEndsTheProgram()
{
    const QList<Candidate> answerBox = candidates({QString(), entryFor("1")}, renderedEntry);
    QString why;
    // An entry left in the answer box shows that each press of 次 is taken:
    // the press clears it, even when the next question looks like the last.
    for (int question = 2; question <= 10; ++question) {
        if (question > 2)
            QVERIFY2(type(QStringLiteral("1"), why), qPrintable(why));
        QVERIFY2(program.state() == QProcess::Running,
                 qPrintable(QStringLiteral("ended before 次 on question %1").arg(question)));
        QVERIFY(click(NextKey));
        if (question == 10)
            break;
        Match m;
        (void)QTest::qWaitFor(
            [&] {
                return program.state() == QProcess::NotRunning ||
                       (m = match(screenshot(), AnswerBox, answerBox)).is(QString());
            },
            5000);
        QVERIFY2(program.state() == QProcess::Running,
                 qPrintable(QStringLiteral("次 on question %1 ended the program").arg(question)));
        QVERIFY2(m.is(QString()), qPrintable(m.describe()));
        Question q;
        QVERIFY2(waitForQuestion(q, why),
                 qPrintable(QStringLiteral("question %1: ").arg(question + 1) + why));
        QVERIFY2(isBlack(screenshot(), Correction),
                 qPrintable(QStringLiteral("correction shown on question %1").arg(question + 1)));
    }
    QVERIFY2(program.waitForFinished(10000), "次 on question 10 did not end the program");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_MAIN(TestXDrill)
#include "tst_xdrill.moc"
