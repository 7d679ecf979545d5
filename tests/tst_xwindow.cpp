#include "app/qt/fonts.h"
#include "circuitfigure.h"
#include "contrast.h"
#include "support.h"
#include "xscreen.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

// Starts the real program on the X server this test runs on (a fresh Xvfb
// with no window manager) and checks what a pupil would see on the screen.
class TestXWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void windowHasTheClientSize();
    void titleBandIsBlueWithYellowLetters();
    void backgroundIsBlack();
    void scoreBoxShowsZero();
    void firstQuestionIsShown();
    void circuitIsDrawnAroundTheSlots();
    void noDisplayIsAClearError();
    void windowHasItsIcon();
    void closingTheWindowEndsCleanly();
    void startsWithoutJapaneseFonts_data();
    void startsWithoutJapaneseFonts();
    void readableInAnyColourScheme_data();
    void readableInAnyColourScheme();
    void eventsBehindTheTenthNextEndCleanly_data();
    void eventsBehindTheTenthNextEndCleanly();

private:
    QImage screenshot() const;
    QList<int> shownSlots(const QImage &shot) const;

    QProcess program;
    ProgramWindow window;
    QImage firstShot; // the window as the first question shows it
};

QImage TestXWindow::screenshot() const
{
    return grabScreen(window.rect);
}

namespace {
// Caption and value box of each quantity slot, in window coordinates.
const QRect SlotCaptions[9] = {{56, 272, 145, 17},  {344, 112, 161, 17}, {344, 208, 161, 17},
                               {304, 320, 137, 17}, {312, 48, 145, 17},  {272, 240, 145, 17},
                               {192, 112, 145, 17}, {192, 208, 145, 17}, {0, 96, 121, 17}};
const QRect SlotBoxes[9] = {{96, 264, 65, 28},  {408, 104, 65, 28}, {408, 200, 65, 28},
                            {344, 312, 65, 28}, {368, 40, 65, 28},  {328, 232, 65, 28},
                            {248, 104, 65, 28}, {248, 200, 65, 28}, {40, 88, 57, 28}};
} // namespace

// A shown value box has a light face; a hidden one leaves the black window
// or a cyan line behind.
QList<int> TestXWindow::shownSlots(const QImage &shot) const
{
    QList<int> shown;
    for (int k = 0; k < 9; ++k) {
        const QColor c = shot.pixelColor(SlotBoxes[k].left() + 6, SlotBoxes[k].top() + 6);
        if (c.red() > 200 && c.green() > 200 && c.blue() > 200)
            shown << k;
    }
    return shown;
}

void TestXWindow::initTestCase()
{
    resolveGothicFaces();
    program.setProgram(QStringLiteral(OHM_PROGRAM));
    program.start();
    QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT((window = findProgramWindow()).isValid(), 15000);
    // Wait for the first paint: the title band turns blue.
    QTRY_VERIFY_WITH_TIMEOUT(screenshot().pixelColor(10, 2) == QColor(0, 0, 192), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!shownSlots(screenshot()).isEmpty(), 15000);
    firstShot = screenshot();
}

void TestXWindow::cleanupTestCase()
{
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished(5000);
    }
}

void TestXWindow::windowHasTheClientSize()
{
    QCOMPARE(window.rect.size(), QSize(792, 573));
}

void TestXWindow::titleBandIsBlueWithYellowLetters()
{
    const QImage shot = screenshot();
    int blue = 0, yellow = 0;
    for (int y = 0; y < 41; ++y) {
        for (int x = 8; x < 8 + 345; ++x) {
            const QColor c = shot.pixelColor(x, y);
            blue += c == QColor(0, 0, 192);
            yellow += c.red() > 200 && c.green() > 200 && c.blue() < 100;
        }
    }
    const int area = 345 * 41;
    QVERIFY2(blue > area / 2, qPrintable(QString::number(blue)));
    QVERIFY2(yellow > 1000, qPrintable(QString::number(yellow)));
    // Left of the band is the black window.
    QCOMPARE(shot.pixelColor(3, 20), QColor(Qt::black));
}

void TestXWindow::backgroundIsBlack()
{
    const QImage shot = screenshot();
    for (QPoint p :
         {QPoint(760, 200), QPoint(20, 420), QPoint(520, 540), QPoint(700, 500), QPoint(580, 200)})
        QCOMPARE(shot.pixelColor(p), QColor(Qt::black));
}

namespace {
// The score box as this test renders it itself, with the given text.
QImage referenceScoreBox(const QString &text)
{
    QWidget host;
    QPalette p = host.palette();
    p.setColor(QPalette::Window, p.color(QPalette::ButtonText));
    host.setPalette(p);
    host.resize(81, 33);
    QLineEdit box(&host);
    box.setGeometry(0, 0, 81, 33);
    box.setFont(gothicFont(ProportionalGothic, 24));
    box.setAlignment(Qt::AlignCenter);
    box.setText(text);
    return host.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int mismatch(const QImage &a, const QImage &b, QRect area)
{
    int differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            differing += qGray(a.pixel(x, y)) / 64 != qGray(b.pixel(x, y)) / 64;
    return differing;
}
} // namespace

void TestXWindow::scoreBoxShowsZero()
{
    const QImage box = screenshot().copy(648, 80, 81, 33);
    const QRect inside(4, 4, 73, 25);
    const int againstZero = mismatch(box, referenceScoreBox(QStringLiteral("0")), inside);
    const int againstEmpty = mismatch(box, referenceScoreBox(QString()), inside);
    const int againstTen = mismatch(box, referenceScoreBox(QStringLiteral("10")), inside);
    QVERIFY2(againstZero <= 20 && againstEmpty > 40 && againstTen > 40,
             qPrintable(QStringLiteral("differing pixels: '0' %1, empty %2, '10' %3")
                            .arg(againstZero)
                            .arg(againstEmpty)
                            .arg(againstTen)));
}

void TestXWindow::firstQuestionIsShown()
{
    const QImage shot = screenshot();
    const QList<int> shown = shownSlots(shot);
    QVERIFY2(shown.size() >= 3 && shown.size() <= 5, qPrintable(QString::number(shown.size())));
    // Each shown box has its caption beside it, white letters on black.
    for (int k : shown) {
        int white = 0;
        const QRect caption = SlotCaptions[k];
        for (int y = caption.top(); y <= caption.bottom(); ++y)
            for (int x = caption.left(); x < SlotBoxes[k].left(); ++x)
                white += shot.pixelColor(x, y) == QColor(Qt::white);
        QVERIFY2(white > 20, qPrintable(QStringLiteral("slot %1").arg(k)));
    }
    // The task text is written in white on the black band at the top.
    int letters = 0;
    for (int y = 16; y < 41; ++y)
        for (int x = 376; x < 657; ++x)
            letters += shot.pixelColor(x, y).lightness() > 128;
    QVERIFY2(letters > 100, qPrintable(QString::number(letters)));
}

// The picture on screen is the circuit, except where a shown slot's caption
// or box lies over it.
void TestXWindow::circuitIsDrawnAroundTheSlots()
{
    const QImage shot = screenshot();
    QRegion covered;
    for (int k : shownSlots(shot))
        covered += QRegion(SlotCaptions[k]) + QRegion(SlotBoxes[k]);

    Pixels expected, actual;
    for (const QPoint &p : expectedCircuit())
        if (!covered.contains(p))
            expected.insert(p);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < 580; ++x)
            if (shot.pixelColor(x, y) == QColor(0, 255, 255) && !covered.contains(QPoint(x, y)))
                actual.insert(QPoint(x, y));
    QVERIFY(expected.size() > 2000);
    const Pixels missing = expected - actual, extra = actual - expected;
    QVERIFY2(
        missing.isEmpty() && extra.isEmpty(),
        qPrintable(QStringLiteral("%1 missing, %2 extra").arg(missing.size()).arg(extra.size())));
}

void TestXWindow::noDisplayIsAClearError()
{
    QProcess headless;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    headless.setProcessEnvironment(env);
    headless.start(QStringLiteral(OHM_PROGRAM));
    QVERIFY(headless.waitForFinished(15000));
    QCOMPARE(headless.exitStatus(), QProcess::NormalExit);
    QCOMPARE(headless.exitCode(), 1);
    QVERIFY(QString::fromLocal8Bit(headless.readAllStandardError()).contains("display"));
}

// Runs last: the close button of the title bar ends the program with
// status 0, in the middle of a question.
void TestXWindow::closingTheWindowEndsCleanly()
{
    QVERIFY(askToClose(window.id));
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    // With the fonts installed nothing is said about them.
    QVERIFY(!QString::fromLocal8Bit(program.readAllStandardError()).contains("font"));
}

// Every window manager shows the program's icon, with or without the menu
// entry: the window offers it at the usual sizes.
void TestXWindow::windowHasItsIcon()
{
    const QList<QImage> icons = windowIcons(window.id);
    QList<int> sizes;
    for (const QImage &icon : icons) {
        QCOMPARE(icon.width(), icon.height());
        sizes << icon.width();
    }
    for (int size : {16, 32, 48, 64})
        QVERIFY2(sizes.contains(size), qPrintable(QStringLiteral("no %1-pixel icon").arg(size)));
    // The drawing: transparent round the rounded square, a dark face, cyan
    // lines on it.
    const QImage icon = icons.at(int(sizes.indexOf(64)));
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(32, 4)), 255);
    int cyan = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            cyan += qRed(icon.pixel(x, y)) < 80 && qGreen(icon.pixel(x, y)) > 200 &&
                    qBlue(icon.pixel(x, y)) > 200;
    QVERIFY2(cyan > 200, qPrintable(QString::number(cyan)));
}

void TestXWindow::startsWithoutJapaneseFonts_data()
{
    QTest::addColumn<QString>("fontDir");
    QTest::addRow("no fonts at all") << QString();
    QTest::addRow("DejaVu only") << QStringLiteral("/usr/share/fonts/truetype/dejavu");
}

// A desktop without any Japanese font, its font configuration otherwise the
// usual one, shows the window in the program's own faces: the title and the
// keypad as on this desktop, and nothing said about fonts.
void TestXWindow::startsWithoutJapaneseFonts()
{
    QFETCH(QString, fontDir);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkdir("fonts"));
    QFile config(dir.filePath("fonts.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(
        QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir>"
                       "<cachedir>%2</cachedir><include ignore_missing=\"yes\">"
                       "/etc/fonts/conf.d</include></fontconfig>\n")
            .arg(fontDir.isEmpty() ? dir.filePath("fonts") : fontDir, dir.filePath("cache"))
            .toUtf8());
    config.close();

    QProcess bare;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
    bare.setProcessEnvironment(env);
    bare.start(QStringLiteral(OHM_PROGRAM));
    QVERIFY(bare.waitForStarted(10000));
    ProgramWindow w;
    QTRY_VERIFY_WITH_TIMEOUT((w = findProgramWindow()).isValid(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(grabScreen(w.rect).pixelColor(345, 38) == QColor(0, 0, 192), 15000);
    for (const QRect &still : {QRect(8, 0, 345, 41), QRect(584, 296, 145, 161)})
        QTRY_COMPARE_WITH_TIMEOUT(grabScreen(w.rect).copy(still), firstShot.copy(still), 5000);
    QCOMPARE(bare.state(), QProcess::Running);
    QVERIFY(askToClose(w.id));
    QVERIFY(bare.waitForFinished(10000));
    QCOMPARE(bare.exitStatus(), QProcess::NormalExit);
    QCOMPARE(bare.exitCode(), 0);
    const QString errors = QString::fromLocal8Bit(bare.readAllStandardError());
    QVERIFY2(!errors.contains("font"), qPrintable(errors));
}

namespace {
// The contrast of what is written in an area against its ground: the
// ground is the area's most frequent colour, the writing the colour that
// stands out from it most.
double contrastIn(const QImage &shot, QRect area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    QRgb ground = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(ground))
            ground = it.key();
    double most = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        most = std::max(most, contrastRatio(QColor(ground), QColor(it.key())));
    return most;
}
} // namespace

void TestXWindow::readableInAnyColourScheme_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addRow("standard") << QStringList();
    QTest::addRow("dark GTK scheme")
        << QStringList{"QT_QPA_PLATFORMTHEME=gtk3", "GTK_THEME=Adwaita:dark"};
}

// After a wrong answer, under the standard and a dark scheme: the captions
// at 7:1 or more against the window, the diagram at 4.5:1, and the row
// numbers and the mark at 4.5:1 against their boxes.
void TestXWindow::readableInAnyColourScheme()
{
    QFETCH(QStringList, environment);
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(OHM_PROGRAM));
    QVERIFY(run.waitForStarted(10000));
    ProgramWindow w;
    QTRY_VERIFY_WITH_TIMEOUT((w = findProgramWindow()).isValid(), 15000);
    const QRect task(376, 16, 281, 25), correction(600, 152, 161, 25);
    QTRY_VERIFY_WITH_TIMEOUT(contrastIn(grabScreen(w.rect), task) > 2, 15000);
    // 0 is never the answer: the key ０, then 入力.
    QVERIFY(clickScreen(w.rect.topLeft() + QPoint(608, 408)));
    QVERIFY(clickScreen(w.rect.topLeft() + QPoint(656, 440)));
    QTRY_VERIFY_WITH_TIMEOUT(contrastIn(grabScreen(w.rect), correction) > 2, 15000);
    QTest::qWait(200);
    const QImage shot = grabScreen(w.rect);

    QList<QPair<QString, QRect>> captions{{"title", {8, 0, 345, 41}},
                                          {"task", task},
                                          {"得点", {600, 88, 48, 25}},
                                          {"正解は", correction}};
    QRegion covered;
    for (int k = 0; k < 9; ++k) {
        const QRect box = SlotBoxes[k];
        covered += QRegion(SlotCaptions[k]) + QRegion(box);
        const QRect name(SlotCaptions[k].topLeft(),
                         QPoint(box.left() - 1, SlotCaptions[k].bottom()));
        if (contrastIn(shot, box.adjusted(3, 3, -3, -3)) > 1)
            captions.append({QStringLiteral("slot %1").arg(k), name});
    }
    QVERIFY(captions.size() >= 7);
    for (const auto &[what, area] : captions) {
        const double ratio = contrastIn(shot, area);
        QVERIFY2(ratio >= 7, qPrintable(QStringLiteral("%1: %2:1").arg(what).arg(ratio)));
    }
    // The diagram where no slot lies over it.
    double diagram = 21;
    for (const QPoint &p : expectedCircuit())
        if (!covered.contains(p))
            diagram = std::min(diagram, contrastRatio(shot.pixelColor(p), QColor(Qt::black)));
    QVERIFY2(diagram >= 4.5, qPrintable(QString::number(diagram)));
    QCOMPARE(shot.pixelColor(20, 420), QColor(Qt::black));

    for (int i = 1; i <= 10; ++i) {
        const QRect number(36 * i + 54, 449, 28, 25);
        const double ratio = contrastIn(shot, number);
        QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("row number %1: %2:1").arg(i).arg(ratio)));
    }
    const double mark = contrastIn(shot, QRect(90, 481, 28, 25));
    QVERIFY2(mark >= 4.5, qPrintable(QStringLiteral("mark: %1:1").arg(mark)));

    run.kill();
    run.waitForFinished(5000);
}

void TestXWindow::eventsBehindTheTenthNextEndCleanly_data()
{
    QTest::addColumn<QStringList>("behind");
    QTest::addColumn<bool>("stalled");
    const QStringList enter = {"mousemove", "656", "440", "click", "1"};
    const QStringList next = {"mousemove", "764", "440", "click", "1"};
    const QStringList key = {"mousemove", "608", "376", "click", "1"};
    // Back from 次 to the answer box, and Enter there.
    const QStringList returnInAnswer = {"key", "shift+Tab", "Return"};
    for (const bool stalled : {true, false}) {
        const char *how = stalled ? "stalled" : "at once";
        QTest::addRow("入力, %s", how) << enter << stalled;
        QTest::addRow("Enter in the answer box, %s", how) << returnInAnswer << stalled;
        QTest::addRow("a keypad key, %s", how) << key << stalled;
        QTest::addRow("an eleventh 次, %s", how) << next << stalled;
        QTest::addRow("all of them, %s", how) << key + enter + returnInAnswer + next << stalled;
    }
}

// The tenth 次 and what comes right behind it, as one burst of real input,
// with and without a moment's stall of the program (a loaded classroom PC):
// the program ends with status 0 every time.
void TestXWindow::eventsBehindTheTenthNextEndCleanly()
{
    QFETCH(QStringList, behind);
    QFETCH(bool, stalled);
    for (int trial = 1; trial <= 3; ++trial) {
        QProcess run;
        run.start(QStringLiteral(OHM_PROGRAM));
        QVERIFY(run.waitForStarted(10000));
        ProgramWindow w;
        QTRY_VERIFY_WITH_TIMEOUT((w = findProgramWindow()).isValid(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(grabScreen(w.rect).pixelColor(10, 2) == QColor(0, 0, 192), 15000);
        QVERIFY(w.rect.topLeft() == QPoint(0, 0));
        // Nine presses of 次 by keyboard: Tab from the answer box to 次, then
        // Space, so that the focus stays there for the tenth.
        QCOMPARE(
            QProcess::execute("xdotool", {"mousemove", "700", "280", "click", "1", "key", "Tab"}),
            0);
        for (int q = 1; q <= 9; ++q)
            QCOMPARE(QProcess::execute("xdotool", {"key", "space"}), 0);
        QTest::qWait(300);
        QCOMPARE(run.state(), QProcess::Running);
        if (stalled)
            ::kill(pid_t(run.processId()), SIGSTOP);
        QCOMPARE(QProcess::execute("xdotool", QStringList{"key", "space"} + behind), 0);
        if (stalled) {
            QTest::qWait(200);
            ::kill(pid_t(run.processId()), SIGCONT);
        }
        const bool finished = run.waitForFinished(10000);
        if (!finished)
            run.kill();
        QVERIFY2(finished, qPrintable(QStringLiteral("trial %1 did not end").arg(trial)));
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
                 qPrintable(QStringLiteral("trial %1 ended with status %2 (%3)")
                                .arg(trial)
                                .arg(run.exitCode())
                                .arg(QString::fromLocal8Bit(run.readAllStandardError()))));
    }
}

QTEST_MAIN(TestXWindow)
#include "tst_xwindow.moc"
