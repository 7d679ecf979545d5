#include "app/qt/canvas.h"
#include "app/qt/fonts.h"
#include "app/qt/form1window.h"
#include "circuitfigure.h"
#include "drillwindow.h"
#include "support.h"

#include <QBackingStore>
#include <QDir>
#include <QFontDatabase>
#include <QLineEdit>
#include <QTest>
#include <clocale>
#include <cmath>
#include <string>

// Run at scale 1, at QT_SCALE_FACTOR=2 and at a logical DPI of 144: the
// window keeps its layout in device-independent pixels, text keeps its size,
// the circuit is drawn at the screen's own resolution, and the whole window
// looks as it did when its reference pictures were taken.
class TestHighDpi : public QObject {
    Q_OBJECT

private slots:
    void desktopIsTheOneNamed();
    void layoutInDeviceIndependentPixels();
    void textKeepsItsSize();
    void circuitAtDeviceResolution();
    void diagonalsAreDrawnNotStretched();
    void screenShowsTheReference_data();
    void screenShowsTheReference();
};

namespace {
// Qt scales by the scale factor, and by the logical DPI over 96.
qreal expectedRatio()
{
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    const qreal dpi = qEnvironmentVariable("QT_FONT_DPI", "96").toDouble();
    return factor * dpi / 96;
}
} // namespace

// The runs on other desktops would prove nothing if the desktop were not
// the one they are named after.
void TestHighDpi::desktopIsTheOneNamed()
{
    const QString desktop = qEnvironmentVariable("OHM_TEST_DESKTOP");
    resolveGothicFaces();
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    if (desktop == QLatin1String("japanese")) {
        QCOMPARE(QLocale::system().language(), QLocale::Japanese);
        QVERIFY(std::setlocale(LC_ALL, nullptr) == std::string("ja_JP.UTF-8"));
        QVERIFY2(japanese.contains(QStringLiteral("Noto Sans CJK JP")),
                 qPrintable(japanese.join(',')));
    } else if (desktop == QLatin1String("no-japanese-font")) {
        QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(',')));
    } else {
        QSKIP("the desktop as it is");
    }
}

void TestHighDpi::layoutInDeviceIndependentPixels()
{
    FixedClock clock;
    ScriptedRandom random;
    RecordingEnding ending;
    Form1Window form(clock, random, ending);
    QCOMPARE(form.devicePixelRatioF(), expectedRatio());
    QCOMPARE(form.size(), QSize(792, 573));
    QCOMPARE(form.findChild<QWidget *>("Text4_8")->geometry(), QRect(40, 88, 57, 28));
    QCOMPARE(form.findChild<QWidget *>("Text2_10")->geometry(), QRect(410, 477, 41, 33));
}

void TestHighDpi::textKeepsItsSize()
{
    resolveGothicFaces();
    // Sizes are in pixels, so neither the scale nor the logical DPI changes
    // them: a full-width character of the 19-pixel fixed face is 19 wide.
    const QFontMetrics fixed(gothicFont(FixedGothic, 19));
    QCOMPARE(fixed.horizontalAdvance(QStringLiteral("Ｉ＝　　　　Ａ")), 7 * 19);
    const QFontMetrics score(gothicFont(ProportionalGothic, 21));
    QCOMPARE(score.horizontalAdvance(QStringLiteral("得点")), 2 * 21);
}

void TestHighDpi::circuitAtDeviceResolution()
{
    FixedClock clock;
    ScriptedRandom random;
    RecordingEnding ending;
    random.script({0.9f, 0.15f, 0.3f, 0.3f, 0.1f}); // resistance, R1 and R2 given
    Form1Window form(clock, random, ending);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.findChild<QWidget *>("Text4_8")->isVisible());

    const qreal ratio = expectedRatio();
    const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.size(), (QSizeF(792, 573) * ratio).toSize());
    QCOMPARE(form.canvas().image(ratio).size(), shot.size());

    QRegion covered;
    for (QWidget *w : form.findChildren<QWidget *>())
        if (w->isVisible())
            covered += w->geometry();
    const bool whole = ratio == std::floor(ratio);
    int checked = 0;
    for (const QPoint &p : expectedCircuit()) {
        if (covered.contains(p))
            continue;
        // The device pixel under the centre of each pixel of the figure, and
        // at a whole-number scale the full block, is drawn.
        const QRect block((QPointF(p) * ratio).toPoint(), (QSizeF(1, 1) * ratio).toSize());
        const QPointF c = (QPointF(p) + QPointF(0.5, 0.5)) * ratio;
        const QPoint centre(int(std::floor(c.x())), int(std::floor(c.y())));
        QVERIFY2(shot.pixelColor(centre) == QColor(0, 255, 255),
                 qPrintable(QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y())));
        for (int y = block.top(); whole && y <= block.bottom(); ++y)
            for (int x = block.left(); x <= block.right(); ++x)
                QVERIFY2(shot.pixelColor(x, y) == QColor(0, 255, 255),
                         qPrintable(QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y())));
        ++checked;
    }
    QVERIFY(checked > 2000);
}

// A stretched one-pixel bitmap would draw a 45-degree stroke as a staircase
// of blocks; drawn at device resolution it is a smooth band.
void TestHighDpi::diagonalsAreDrawnNotStretched()
{
    Canvas once(QSize(40, 40));
    Canvas twice(QSize(40, 40));
    for (Canvas *c : {&once, &twice}) {
        c->line(5, 10, 25, 10, LightCyan);
        c->line(5, 15, 25, 35, LightCyan);
    }
    const QImage stretched =
        once.image(1).scaled(80, 80, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage sharp = twice.image(2);
    // The horizontal line is the same either way...
    for (int x = 0; x < 80; ++x)
        for (int y = 18; y < 24; ++y)
            QCOMPARE(sharp.pixel(x, y), stretched.pixel(x, y));
    // ...the diagonal is not, yet it covers every stretched block's corner.
    int differing = 0;
    for (int y = 28; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            differing += sharp.pixel(x, y) != stretched.pixel(x, y);
    QVERIFY(differing > 20);
    for (int i = 0; i <= 20; ++i)
        QVERIFY(sharp.pixel(2 * (5 + i), 2 * (15 + i)) != 0);
}

namespace {
// What the window has put on the screen so far, once the paints it asked
// for are done: the offscreen screen's backing store, at device pixels.
QImage onScreen(QWidget &window)
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
    QPaintDevice *device = window.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image)
        return {};
    const QSize size = (QSizeF(window.size()) * window.devicePixelRatioF()).toSize();
    QImage shot = static_cast<QImage *>(device)->copy(QRect(QPoint(0, 0), size));
    shot.setDevicePixelRatio(1);
    return shot.convertToFormat(QImage::Format_RGB32);
}

// The window drawn afresh from scratch, every control included.
QImage repainted(QWidget &window)
{
    QImage full = window.grab().toImage();
    full.setDevicePixelRatio(1);
    return full.convertToFormat(QImage::Format_RGB32);
}

// A picture that differs is written out with the expected one beside the
// test's temporary files, so the two can be compared.
QString differs(const QImage &actual, const QImage &expected, const QString &name)
{
    if (actual == expected)
        return {};
    const QString path = QDir::temp().filePath(name);
    actual.save(path);
    expected.save(QDir::temp().filePath(QStringLiteral("expected-") + name));
    return QStringLiteral("the screen differs, see %1 and expected-%2").arg(path, name);
}
} // namespace

void TestHighDpi::screenShowsTheReference_data()
{
    // After the first question, what a pupil does next; each step is
    // painted only where it changed the window, and the screen must still
    // show what a full repaint draws.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("first question") << QStringList();
    QTest::newRow("wrong answer") << QStringList{"wrong"};
    QTest::newRow("right answer") << QStringList{"right"};
    // At 08:00:10 the slots E1 and E2 are shown, over the circuit; back at
    // 12:34:07 they are hidden again and the circuit under them is drawn.
    QTest::newRow("next question") << QStringList{"wrong", "next 08:00:10"};
    QTest::newRow("and back") << QStringList{"next 08:00:10", "next 12:34:07"};
    QTest::newRow("keypad") << QStringList{"right", "next 08:00:10", "key"};
}

void TestHighDpi::screenShowsTheReference()
{
    QFETCH(QStringList, steps);
    // A fixed time of day seeds the generator, so the first question is
    // always the same.
    DrillWindow d(false);
    QVERIFY(d.start());
    QVERIFY(QTest::qWaitForWindowActive(&d.form));
    const QString name = QStringLiteral("first-question-%1x.png").arg(expectedRatio());
    const QImage reference(QStringLiteral(OHM_TEST_DATA "/") + name);
    const QString first =
        differs(onScreen(d.form), reference.convertToFormat(QImage::Format_RGB32), name);
    QVERIFY2(first.isEmpty(), qPrintable(first));

    for (const QString &step : steps) {
        if (step == "wrong") {
            d.enter(QStringLiteral("0"));
        } else if (step == "right") {
            d.enter(d.rightAnswer());
        } else if (step.startsWith("next")) {
            // 次 at another time of day, for a question with other slots.
            d.clock.reading = step.mid(5).toStdString();
            d.next();
        } else if (step == "key") {
            d.click(QStringLiteral("Command2_7"));
        }
        const QString after =
            differs(onScreen(d.form), repainted(d.form), "after-" + step + ".png");
        QVERIFY2(after.isEmpty(), qPrintable(step + ": " + after));
    }
}

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
