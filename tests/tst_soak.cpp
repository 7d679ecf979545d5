#include "drill/presentation.h"
#include "drillwindow.h"
#include "marking/keypad.h"

#include <QElapsedTimer>
#include <QPixmapCache>
#include <QTest>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <random>
#include <set>
#include <string_view>
#include <unistd.h>
#include <utility>

// A long, seeded stream of everything a pupil can do to the real window, run
// after run, with the window's whole state checked after every single event,
// and the process's memory compared between the warm-up and the end.
class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void randomPupilOverManyRuns();
};

namespace {

// OHM_SOAK_EVENTS sets another number of events, for a quicker look or a
// longer soak.
constexpr int DefaultEventCount = 100000;
constexpr int WarmUpEvents = 1000;
constexpr int LongestText = 100000;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool AddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool AddressSanitizer = false;
#endif

// The resident set size in bytes. Free heap memory is handed back to the
// system first, so that the figure follows what is live rather than the
// allocator's high-water mark from the last very long text.
qint64 residentBytes()
{
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    qint64 sizePages = 0, residentPages = 0;
    statm >> sizePages >> residentPages;
    return residentPages * sysconf(_SC_PAGESIZE);
}

// Text for a failure message: its length, and its start with everything
// outside printable ASCII and kana/kanji spelled out, so that a blank, a
// byte order mark or a lone surrogate can be told apart.
QString quoted(const QString &text)
{
    QString shown = QStringLiteral("%1 characters \"").arg(text.size());
    for (QChar c : QStringView(text).left(40)) {
        if ((c.unicode() >= 0x20 && c.unicode() < 0x7f) || (c.isPrint() && !c.isSpace()))
            shown += c;
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return shown + (text.size() > 40 ? QStringLiteral("...\"") : QStringLiteral("\""));
}

QString fromCodePoint(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// Whether any character of the text is a digit of some script, so that a
// reading of the text could give anything but 0.
bool mayReadAsNumber(const QString &text)
{
    static const std::u32string_view kanjiDigits = U"〇一二三四五六七八九";
    for (char32_t c : text.toUcs4())
        if (QChar::isDigit(c) || kanjiDigits.find(c) != std::u32string_view::npos)
            return true;
    return false;
}

// The number as an input method left on by mistake may write it: kanji
// digits and the Japanese full stop.
QString kanjiForm(const QString &ascii)
{
    static const QString kanjiDigits = QStringLiteral("〇一二三四五六七八九");
    QString kanji;
    for (QChar c : ascii)
        kanji += c.isDigit() ? kanjiDigits.at(c.digitValue()) : c == u'.' ? QChar(u'。') : c;
    return kanji;
}

QString fullWidth(const QString &ascii)
{
    QString wide;
    for (QChar c : ascii) {
        if (c.isDigit())
            wide += QChar(u'０' + (c.unicode() - u'0'));
        else if (c == u'.')
            wide += u'．';
        else
            wide += c;
    }
    return wide;
}

// The pupil: one seeded generator for every decision, reduced by plain
// modulo so that the stream is the same with every standard library.
class Pupil {
public:
    explicit Pupil(std::uint32_t seed) : random_(seed)
    {
        // What a keyboard or a Japanese input method types: ASCII, the
        // full-width digits, point, signs and blank, kana and kanji, Latin and
        // Greek, a combining accent, a format character, and characters
        // outside the BMP (emoji, a CJK extension ideograph, mathematical
        // digits) that arrive as one event carrying a surrogate pair.
        for (char32_t c = 0x20; c < 0x7f; ++c)
            typeable_ << fromCodePoint(c);
        for (char32_t c = U'０'; c <= U'９'; ++c)
            typeable_ << fromCodePoint(c);
        for (const char32_t c :
             {U'．',     U'－',     U'＋',         U'　',         U'−',          U'あ',
              U'ア',     U'ｱ',      U'電',         U'流',         U'抵',         U'抗',
              U'正',     U'解',     U'é',          U'ß',          U'Ω',          U'€',
              U'\u0301', U'\u200b', U'\U0001F600', U'\U0002000B', U'\U0001D7D8', U'\U0001D7DD',
              U'。',     U'｡',      U'〇',         U'三',         U'九',         U'十'})
            typeable_ << fromCodePoint(c);
        // What only pasting gets into the box: control characters, line
        // breaks, a noncharacter and lone surrogate halves.
        pasteable_ = typeable_;
        for (const char16_t c :
             {u'\0', u'\a', u'\b', u'\t', u'\n', u'\r', u'\v', u'\f', u'\x1b', u'\x7f', u'\x85',
              u'\xa0', u'\xad', u'\u2009', u'\u202f', u'\ufeff', u'\uffff', u'\xd800', u'\xdc00'})
            pasteable_ << QString(QChar(c));
    }

    int below(int n) { return int(random_() % std::uint32_t(n)); }
    bool oneIn(int n) { return below(n) == 0; }

    // A few typed characters, each one key press.
    QStringList keystrokes()
    {
        QStringList keys;
        for (int i = below(8) + 1; i > 0; --i)
            keys << typeable_.at(below(int(typeable_.size())));
        return keys;
    }

    // Pasted text of the given length in code points; now and then all
    // digits or all blanks, which the reading treats specially.
    QString pasted(int length)
    {
        QString text;
        text.reserve(length);
        switch (below(8)) {
        case 0:
            text.fill(u'9', length);
            break;
        case 1:
            text.fill(u'　', length);
            break;
        default:
            while (length-- > 0)
                text += pasteable_.at(below(int(pasteable_.size())));
        }
        return text;
    }

private:
    std::mt19937 random_;
    QStringList typeable_;
    QStringList pasteable_;
};

// What is known about the text in the answer box: built as the right
// answer, certainly wrong (no digit at all reads as 0, and every asked
// quantity is positive), or anything else.
enum class Entry { Right, Wrong, Unknown };

const TaskKind *taskOf(const DrillState &s)
{
    if (s.TaskType == 1)
        return &CurrentTask;
    if (s.TaskType == 2)
        return &VoltageTask;
    if (s.TaskType == 3)
        return &ResistanceTask;
    return nullptr;
}

// One run of the drill in its own window, with the controls looked up once
// and what the window should show kept alongside.
class Run {
public:
    explicit Run(int seconds) : d(false)
    {
        d.clock.reading = QStringLiteral("10:15:%1").arg(seconds, 2, 10, QChar(u'0')).toStdString();
        // The first question comes with the first round of events after
        // show(); DrillWindow::start() would sleep between its checks.
        d.form.show();
        QCoreApplication::processEvents();
        started = !d.label("Label4")->text().isEmpty() || d.start();
        for (int k = 0; k < SlotCount; ++k) {
            values[k] = d.slotBox(k);
            captions[k] = d.slotCaption(k);
        }
        for (int i = 1; i <= 10; ++i)
            marks[i] = d.mark(i);
        for (int key = 0; key < 12; ++key)
            keys[key] = d.button(QStringLiteral("Command2_%1").arg(key));
        answer = d.box("Text7");
        score = d.box("Text6");
        task = d.label("Label4");
        correction = d.label("Label5");
        markButton = d.button("Command3");
        nextButton = d.button("Command5");
        answer->setFocus();
    }

    const DrillState &state() const { return d.form.drillState(); }
    bool ended() const { return d.ending.count > 0; }

    // The stored value of the slot that shows "？".
    float askedValue() const
    {
        const TaskKind *kind = taskOf(state());
        return kind ? slotValue(state(), problemForm(*kind, state().CaseNo).askedSlot) : 0.0f;
    }
    QString rightAnswer() const { return QString::fromStdString(plainNumberText(askedValue())); }

    void press(QPushButton *button, bool withMouse)
    {
        if (withMouse)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            button->click();
    }

    void pressKey(int key, bool withMouse)
    {
        press(keys[key], withMouse);
        if (key == ClearKey)
            expectAnswer(QString(), Entry::Wrong);
        else
            expectTyped(key == PointKey ? QStringLiteral(".") : QStringLiteral(" %1").arg(key));
    }

    // Each keystroke as the platform delivers it. QTest::keyClicks passes
    // only Latin-1, so anything else goes as a key event carrying the text.
    void type(const QStringList &keystrokes)
    {
        for (const QString &k : keystrokes) {
            if (k.size() == 1 && k.at(0).unicode() < 0x7f)
                QTest::keyClicks(answer, k);
            else
                QTest::sendKeyEvent(QTest::Click, answer, Qt::Key_unknown, k, Qt::NoModifier);
            expectTyped(k);
        }
    }

    void paste(const QString &text, Entry entry)
    {
        answer->setText(text);
        expectAnswer(text, entry);
    }

    // Enter in the answer box (how 0), or 入力 clicked with the mouse (1) or
    // pressed (2); returns what is wrong with the mark, if anything.
    QString markAnswer(int how)
    {
        const int q = state().QuestionNo;
        if (how == 0)
            QTest::keyClick(answer, Qt::Key_Return);
        else
            press(markButton, how == 1);
        const QString shown = marks[q]->text();
        QString problem;
        if (shown != RightMarkText && shown != WrongMarkText)
            problem = QStringLiteral("mark %1 reads %2").arg(QString::number(q), quoted(shown));
        else if (entry == Entry::Right && shown != RightMarkText)
            problem = QStringLiteral("the right answer %1 for %2 was marked wrong")
                          .arg(quoted(modelAnswer), QString::number(askedValue(), 'g', 9));
        else if (entry == Entry::Wrong && shown != WrongMarkText)
            problem = QStringLiteral("%1 was marked right").arg(quoted(modelAnswer));
        if (shown == WrongMarkText) {
            correctionShown = true;
            const QString caption = correction->text();
            const QString prefix = QStringLiteral("正解は");
            bool number = false;
            const double value = caption.mid(prefix.size()).toDouble(&number);
            const double expected = askedValue();
            if (!caption.startsWith(prefix) || !number || qAbs(value - expected) > 1e-6 * expected)
                problem = QStringLiteral("the correction reads %1 for %2")
                              .arg(quoted(caption), QString::number(expected, 'g', 9));
        }
        expectedMarks[q] = shown;
        rightMarks += shown == RightMarkText && entry == Entry::Right;
        wrongMarks += shown == WrongMarkText && entry == Entry::Wrong;
        return problem;
    }

    QString next(bool withMouse)
    {
        press(nextButton, withMouse);
        ++nexts;
        expectAnswer(QString(), Entry::Wrong);
        correctionShown = false;
        pending.clear();
        if (nexts < 10) {
            ++question;
            return QString();
        }
        if (d.ending.count != 1)
            return QStringLiteral("the tenth 次 ended the run %1 times").arg(d.ending.count);
        if (state().QuestionNo != 11)
            return QStringLiteral("the run ended at question %1").arg(state().QuestionNo);
        if (!answer->text().isEmpty() || !correction->isHidden())
            return QStringLiteral("the last 次 left the answer or the correction shown");
        return QString();
    }

    // Whatever the pupil presses after the tenth 次, while the ended window
    // still has events coming, changes nothing; returns what did change.
    QString pressAfterTheEnd(Pupil &pupil)
    {
        const std::int16_t scoreBefore = state().Score;
        for (int n = pupil.below(4) + 1; n > 0; --n) {
            switch (pupil.below(5)) {
            case 0:
                press(keys[pupil.below(12)], false);
                break;
            case 1:
                press(markButton, false);
                break;
            case 2:
                QTest::keyClick(answer, Qt::Key_Return);
                break;
            case 3:
                press(nextButton, false);
                break;
            default:
                press(d.button("Command1"), false);
            }
        }
        QCoreApplication::processEvents();
        if (d.ending.count != 1 || state().QuestionNo != 11 || state().Score != scoreBefore)
            return QStringLiteral("after the end: %1 endings, question %2, score %3")
                .arg(d.ending.count)
                .arg(state().QuestionNo)
                .arg(state().Score);
        for (int q = 1; q <= 10; ++q)
            if (marks[q]->text() != expectedMarks[q])
                return QStringLiteral("after the end mark %1 reads %2")
                    .arg(q)
                    .arg(quoted(marks[q]->text()));
        if (!answer->text().isEmpty() || !d.form.isHidden())
            return QStringLiteral("after the end the answer box or the window is shown");
        return QString();
    }

    // Everything the window shows and stores, against itself and against
    // what the events so far must have left; an empty result if all holds.
    QString violations() const
    {
        const DrillState &s = state();
        if (d.ending.count != 0)
            return QStringLiteral("the run ended after %1 presses of 次").arg(nexts);
        if (s.QuestionNo != question || s.QuestionNo < 1 || s.QuestionNo > 10)
            return QStringLiteral("question %1, expected %2").arg(s.QuestionNo).arg(question);
        const TaskKind *kind = taskOf(s);
        if (!kind || s.CaseNo < 1 || s.CaseNo > 5)
            return QStringLiteral("task type %1, case %2").arg(s.TaskType).arg(s.CaseNo);
        if (task->text() != QString::fromUtf8(kind->text))
            return QStringLiteral("task text %1 for task type %2")
                .arg(quoted(task->text()), QString::number(s.TaskType));

        const ProblemForm &form = problemForm(*kind, s.CaseNo);
        std::array<bool, SlotCount> inForm{};
        for (int k : form.given())
            inForm[k] = true;
        inForm[form.askedSlot] = true;
        int questionMarks = 0;
        QString voltage;
        for (int k = 0; k < SlotCount; ++k) {
            const bool shown = !values[k]->isHidden();
            const bool captionShown = !captions[k]->isHidden();
            auto seen = [](bool on) {
                return on ? QStringLiteral("shown") : QStringLiteral("hidden");
            };
            if (shown != inForm[k] || captionShown != inForm[k])
                return QStringLiteral("slot %1: box %2, caption %3 in task type %4 case %5")
                    .arg(QString::number(k), seen(shown), seen(captionShown),
                         QString::number(s.TaskType), QString::number(s.CaseNo));
            if (!shown)
                continue;
            const QString text = values[k]->text();
            questionMarks += text == QuestionMarkText;
            const QString expected = k == form.askedSlot
                                         ? QuestionMarkText
                                         : QString::fromStdString(plainNumberText(slotValue(s, k)));
            if (text != expected)
                return QStringLiteral("slot %1 shows %2, expected %3")
                    .arg(QString::number(k), quoted(text), quoted(expected));
            if ((k == SlotE || k == SlotE1 || k == SlotE2) && k != form.askedSlot) {
                if (!voltage.isNull() && text != voltage)
                    return QStringLiteral("voltages %1 and %2").arg(quoted(voltage), quoted(text));
                voltage = text;
            }
        }
        if (questionMarks != 1)
            return QStringLiteral("%1 boxes show ？").arg(questionMarks);

        // The circuit: R1 = 10a, R2 = b R1, I2 in tenths, the rest derived
        // step by step in single precision.
        const float r2OverR1 = s.ValR2 / s.ValR1;
        const float tenths = s.ValI2 * 10.0f;
        const bool drawn = s.ValR1 >= 10 && s.ValR1 <= 90 && std::fmod(s.ValR1, 10.0f) == 0 &&
                           r2OverR1 >= 1 && r2OverR1 <= 4 && r2OverR1 == std::floor(r2OverR1) &&
                           tenths >= 1 && tenths <= 10 && s.ValI2 == std::round(tenths) / 10.0f;
        const float e = s.ValR2 * s.ValI2;
        const float i1 = e / s.ValR1;
        const float i = i1 + s.ValI2;
        const float r = e / i;
        if (!drawn || s.ValE != e || s.ValI1 != i1 || s.ValI != i || s.ValR != r)
            return QStringLiteral("circuit R1 %1 R2 %2 I2 %3 E %4 I1 %5 I %6 R %7")
                .arg(s.ValR1, 0, 'g', 9)
                .arg(s.ValR2, 0, 'g', 9)
                .arg(s.ValI2, 0, 'g', 9)
                .arg(s.ValE, 0, 'g', 9)
                .arg(s.ValI1, 0, 'g', 9)
                .arg(s.ValI, 0, 'g', 9)
                .arg(s.ValR, 0, 'g', 9);

        int circles = 0;
        for (int q = 1; q <= 10; ++q) {
            const QString mark = marks[q]->text();
            if (mark != expectedMarks[q])
                return QStringLiteral("mark %1 reads %2, expected %3")
                    .arg(QString::number(q), quoted(mark), quoted(expectedMarks[q]));
            circles += mark == RightMarkText;
        }
        if (s.Score != 10 * circles)
            return QStringLiteral("score %1 with %2 ○").arg(s.Score).arg(circles);
        if (score->text() != QString::number(s.Score))
            return QStringLiteral("score box %1 for score %2")
                .arg(quoted(score->text()), QString::number(s.Score));
        if (correction->isHidden() == correctionShown)
            return QStringLiteral("the correction is %1")
                .arg(correctionShown ? QStringLiteral("hidden") : QStringLiteral("shown"));
        if (answer->text() != modelAnswer)
            return QStringLiteral("the answer box holds %1, expected %2")
                .arg(quoted(answer->text()), quoted(modelAnswer));
        return QString();
    }

    DrillWindow d;
    bool started = false;
    std::array<QLineEdit *, SlotCount> values{};
    std::array<QLabel *, SlotCount> captions{};
    std::array<QLineEdit *, 11> marks{}; // 1 to 10
    std::array<QPushButton *, 12> keys{};
    QLineEdit *answer = nullptr;
    QLineEdit *score = nullptr;
    QLabel *task = nullptr;
    QLabel *correction = nullptr;
    QPushButton *markButton = nullptr;
    QPushButton *nextButton = nullptr;

    // Keypad presses still to come that build the right answer; after the
    // last of them the box holds it.
    std::deque<int> pending;
    void answerBuilt() { entry = Entry::Right; }

    int rightMarks = 0; // right answers marked ○
    int wrongMarks = 0; // certainly wrong ones marked ×

private:
    // The box holds at most maxLength() characters; whatever goes beyond is
    // dropped, by setText and by typing alike.
    void expectAnswer(const QString &text, Entry e)
    {
        modelAnswer = text.left(answer->maxLength());
        hasDigit = mayReadAsNumber(modelAnswer);
        if (e == Entry::Right && modelAnswer.size() < text.size())
            e = Entry::Unknown;
        if (e == Entry::Unknown && !hasDigit)
            e = Entry::Wrong;
        entry = e;
    }
    void expectTyped(const QString &more)
    {
        const QString added = more.left(answer->maxLength() - int(modelAnswer.size()));
        if (added.isEmpty())
            return;
        modelAnswer += added;
        hasDigit = hasDigit || mayReadAsNumber(added);
        entry = hasDigit ? Entry::Unknown : Entry::Wrong;
    }

    const QString QuestionMarkText = QStringLiteral("？");
    const QString RightMarkText = QString::fromUtf8(RightMark);
    const QString WrongMarkText = QString::fromUtf8(WrongMark);

    QString modelAnswer;
    bool hasDigit = false;
    Entry entry = Entry::Wrong;
    std::array<QString, 11> expectedMarks{};
    bool correctionShown = false;
    int question = 1;
    int nexts = 0;
};

} // namespace

void TestSoak::initTestCase()
{
    // The Fusion style caches its button pixmaps keyed by the palette, and
    // every new window brings a new palette: with the cache on, Qt 6.4 keeps
    // some kilobytes per window ever opened, which QPixmapCache::clear() does
    // not give back; with the cache off it keeps nothing. The program opens
    // one window, so the soak runs without the cache and measures the
    // program rather than Qt's cache.
    QPixmapCache::setCacheLimit(0);
}

void TestSoak::randomPupilOverManyRuns()
{
    bool countGiven = false;
    const int givenCount = qEnvironmentVariableIntValue("OHM_SOAK_EVENTS", &countGiven);
    const int eventCount = countGiven ? givenCount : DefaultEventCount;
    QVERIFY2(eventCount > WarmUpEvents, "OHM_SOAK_EVENTS must exceed the warm-up of 1000 events");

    Pupil pupil(20240401);
    std::unique_ptr<Run> run;
    int runs = 0, longTexts = 0, rightMarks = 0, wrongMarks = 0;
    std::set<std::pair<int, int>> formsSeen;
    qint64 warmResident = 0;
    QElapsedTimer timer;
    timer.start();

    for (int n = 0; n < eventCount; ++n) {
        if (!run) {
            run = std::make_unique<Run>(runs * 7 % 60);
            QVERIFY2(run->started, "the first question did not appear");
            ++runs;
        }
        Run &r = *run;
        const DrillState &s = r.state();
        formsSeen.insert({int(s.TaskType), s.CaseNo});

        QString what, problem;
        const int action = pupil.below(100);
        if (!r.pending.empty()) {
            const int key = r.pending.front();
            r.pending.pop_front();
            what = QStringLiteral("keying in the right answer, key %1").arg(key);
            r.pressKey(key, pupil.oneIn(3));
            if (r.pending.empty())
                r.answerBuilt();
        } else if (n == WarmUpEvents / 2) {
            // The warm-up holds the longest text once, so that the glyph
            // caches and the allocator have reached their working size.
            what = QStringLiteral("pasting the longest text");
            r.paste(pupil.pasted(LongestText), Entry::Unknown);
            ++longTexts;
        } else if (action < 39) {
            const int key = pupil.below(12);
            what = QStringLiteral("keypad %1").arg(key);
            r.pressKey(key, pupil.oneIn(3));
        } else if (action < 49) {
            const QStringList keys = pupil.keystrokes();
            what = QStringLiteral("typing %1").arg(quoted(keys.join(QString())));
            r.type(keys);
        } else if (action < 57) {
            const bool veryLong = pupil.oneIn(100);
            const QString text =
                pupil.pasted(veryLong ? pupil.below(LongestText) + 1 : pupil.below(41));
            what = QStringLiteral("pasting %1").arg(quoted(text));
            r.paste(text, Entry::Unknown);
            longTexts += veryLong;
        } else if (action < 63) {
            // The right answer as a pupil might write it, or a sure miss.
            const QString right = r.rightAnswer();
            QString text;
            Entry entry = Entry::Right;
            switch (pupil.below(10)) {
            case 0:
                text = fullWidth(right);
                break;
            case 1:
                text = QStringLiteral("　 %1 \t").arg(right);
                break;
            case 2:
                for (QChar c : right)
                    text += c.isDigit() ? QStringLiteral(" ") + c : QString(c);
                break;
            case 3:
                text = QStringLiteral("＋00") + right + QStringLiteral("アンペア");
                break;
            case 4:
                text = QString(pupil.below(20000) + 1, u' ') + right;
                break;
            case 5:
                text = QStringLiteral("-") + right;
                entry = Entry::Wrong;
                break;
            case 6:
                text = QStringLiteral("1") + right;
                entry = Entry::Wrong;
                break;
            case 7:
                text = kanjiForm(right);
                break;
            case 8:
                text = QStringLiteral("\u00A0\u00AD") + right + QStringLiteral("\u202F");
                break;
            default:
                text = right;
            }
            what = QStringLiteral("entering %1 for %2").arg(quoted(text), right);
            r.paste(text, entry);
        } else if (action < 65) {
            what = QStringLiteral("starting to key in the right answer");
            r.pressKey(ClearKey, pupil.oneIn(3));
            for (QChar c : r.rightAnswer())
                r.pending.push_back(c == u'.' ? PointKey : c.digitValue());
        } else if (action < 83) {
            const int how = pupil.below(3);
            what = QStringLiteral("marking with %1")
                       .arg(how == 0 ? QStringLiteral("Enter") : QStringLiteral("入力"));
            problem = r.markAnswer(how);
        } else if (action < 93) {
            what = QStringLiteral("marking with Enter");
            problem = r.markAnswer(0);
        } else {
            what = QStringLiteral("次");
            problem = r.next(pupil.oneIn(3));
        }
        rightMarks += std::exchange(r.rightMarks, 0);
        wrongMarks += std::exchange(r.wrongMarks, 0);

        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (problem.isEmpty() && !r.ended())
            problem = r.violations();
        if (problem.isEmpty() && r.ended())
            problem = r.pressAfterTheEnd(pupil);
        QVERIFY2(problem.isEmpty(),
                 qPrintable(QStringLiteral("event %1 (%2) in run %3: %4")
                                .arg(QString::number(n), what, QString::number(runs), problem)));
        if (r.ended())
            run.reset();
        if (n + 1 == WarmUpEvents)
            warmResident = residentBytes();
    }
    const qint64 elapsed = timer.elapsed();
    // Measured like the warm value, with a window open.
    if (!run)
        run = std::make_unique<Run>(runs * 7 % 60);
    const qint64 endResident = residentBytes();

    qInfo("%d events in %lld ms: %d runs, %d long texts, %d right answers marked ○, %d sure "
          "misses marked ×, %d of 15 question forms",
          eventCount, elapsed, runs, longTexts, rightMarks, wrongMarks, int(formsSeen.size()));
    qInfo("resident memory after %d events %.1f MiB, at the end %.1f MiB", WarmUpEvents,
          warmResident / 1048576.0, endResident / 1048576.0);

    // The stream reached what it is meant to reach.
    QVERIFY2(runs >= eventCount / 500, "the pupil should finish many runs");
    QVERIFY2(rightMarks >= eventCount / 100 && wrongMarks >= eventCount / 100,
             "the pupil should get both marks often");
    QVERIFY2(longTexts >= 1 + eventCount / 5000, "the pupil should paste very long texts");
    if (runs >= 60) // every clock second has seeded a run
        QCOMPARE(int(formsSeen.size()), 15);

    if (AddressSanitizer) {
        // Freed memory waits in the sanitizer's quarantine, so the resident
        // size says nothing here; LeakSanitizer checks for leaks at exit.
        qInfo("resident memory not compared under AddressSanitizer");
        return;
    }
    QVERIFY2(endResident <= warmResident + warmResident / 20 + 2 * 1048576,
             "resident memory grew during the run");
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
