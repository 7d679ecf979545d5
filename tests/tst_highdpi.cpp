#include "app/canvas.h"
#include "app/fonts.h"
#include "app/form1.h"
#include "circuitfigure.h"
#include "support.h"

#include <QLineEdit>
#include <QTest>
#include <cmath>

// Run at QT_SCALE_FACTOR=2 and at a logical DPI of 144: the window keeps its
// layout in device-independent pixels, text keeps its size, and the circuit
// is drawn at the screen's own resolution.
class TestHighDpi : public QObject {
    Q_OBJECT

private slots:
    void layoutInDeviceIndependentPixels();
    void textKeepsItsSize();
    void circuitAtDeviceResolution();
    void diagonalsAreDrawnNotStretched();
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

void TestHighDpi::layoutInDeviceIndependentPixels()
{
    FixedClock clock;
    ScriptedRandom random;
    RecordingEnding ending;
    Form1 form(clock, random, ending);
    QCOMPARE(form.devicePixelRatioF(), expectedRatio());
    QCOMPARE(form.size(), QSize(792, 573));
    QCOMPARE(form.findChild<QWidget *>("Text4_8")->geometry(), QRect(40, 88, 57, 28));
    QCOMPARE(form.findChild<QWidget *>("Text2_10")->geometry(), QRect(410, 477, 41, 33));
}

void TestHighDpi::textKeepsItsSize()
{
    registerFontSubstitutes();
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
    Form1 form(clock, random, ending);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.findChild<QWidget *>("Text4_8")->isVisible());

    const qreal ratio = expectedRatio();
    const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.size(), (QSizeF(792, 573) * ratio).toSize());
    QCOMPARE(form.canvas().image().size(), shot.size());

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
        const QPoint centre = ((QPointF(p) + QPointF(0.5, 0.5)) * ratio).toPoint();
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
    Canvas once(QSize(40, 40), 1);
    Canvas twice(QSize(40, 40), 2);
    for (Canvas *c : {&once, &twice}) {
        c->line(5, 10, 25, 10, LightCyan);
        c->line(5, 15, 25, 35, LightCyan);
    }
    const QImage stretched =
        once.image().scaled(80, 80, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage sharp = twice.image();
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

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
