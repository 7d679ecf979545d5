#include "app/qt/canvas.h"
#include "app/web/diagrampixels.h"
#include "circuitfigure.h"
#include "drill/diagram.h"

#include <QList>
#include <QPoint>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

const QSize CanvasSize(792, 573);
constexpr quint32 Cyan = 0xFF00FFFFu; // opaque, so the same premultiplied or not

// Light cyan pixels; anything else not fully transparent goes to *stray.
Pixels cyanPixels(const QImage &image, Pixels *stray = nullptr)
{
    Pixels px;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == Cyan)
                px.insert(QPoint(x, y));
            else if (row[x] != 0 && stray)
                stray->insert(QPoint(x, y));
        }
    }
    return px;
}

QString sample(const Pixels &px)
{
    std::vector<QPoint> v(px.cbegin(), px.cend());
    std::sort(v.begin(), v.end(),
              [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    QString out = QString::number(v.size());
    for (std::size_t i = 0; i < std::min<std::size_t>(v.size(), 8); ++i)
        out += QStringLiteral(" (%1,%2)").arg(v[i].x()).arg(v[i].y());
    return out;
}

void comparePixels(const Pixels &actual, const Pixels &expected)
{
    const Pixels missing = expected - actual, extra = actual - expected;
    if (!missing.isEmpty() || !extra.isEmpty())
        QFAIL(
            qPrintable(QStringLiteral("missing %1; extra %2").arg(sample(missing), sample(extra))));
}

QImage renderCircuit()
{
    Canvas canvas(CanvasSize);
    drawCircuitDiagram(canvas);
    return canvas.image();
}

struct Call {
    bool isLineTo;
    std::array<float, 4> xy;
    int colour;
};

class RecordingSurface final : public DrawingSurface {
public:
    void clear() override { ++clears; }
    void line(float x1, float y1, float x2, float y2, int c) override
    {
        calls.push_back({false, {x1, y1, x2, y2}, c});
    }
    void lineTo(float x, float y, int c) override { calls.push_back({true, {0, 0, x, y}, c}); }
    std::vector<Call> calls;
    int clears = 0;
};

// A device pixel of the toolkit-free picture as QImage::pixel() gives it.
QRgb argb(std::uint8_t colour)
{
    if (colour == NoPixel)
        return 0;
    const Rgb c = Palette.at(colour);
    return qRgb(c.red, c.green, c.blue);
}

// Draws a script such as "line 1 2 3 4; lineTo 5 6 0; clear; circuit"; a
// line is light cyan unless a colour follows its end.
void play(const QString &script, DrawingSurface &surface)
{
    for (const QString &step : script.split(';')) {
        const QStringList words = step.split(' ', Qt::SkipEmptyParts);
        QList<float> n;
        for (qsizetype i = 1; i < words.size(); ++i)
            n << words[i].toFloat();
        if (words[0] == "circuit")
            drawCircuitDiagram(surface);
        else if (words[0] == "clear")
            surface.clear();
        else if (words[0] == "lineTo")
            surface.lineTo(n[0], n[1], int(n.value(2, LightCyan)));
        else
            surface.line(n[0], n[1], n[2], n[3], int(n.value(4, LightCyan)));
    }
}

} // namespace

class TestDiagram : public QObject {
    Q_OBJECT

private slots:
    void picture()
    {
        const QImage image = renderCircuit();
        QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
        Pixels stray;
        const Pixels cyan = cyanPixels(image, &stray);
        QVERIFY2(stray.isEmpty(), qPrintable("other colours: " + sample(stray)));
        comparePixels(cyan, expectedCircuit());
    }

    void extremes()
    {
        QRect box;
        for (QPoint p : cyanPixels(renderCircuit()))
            box |= QRect(p, QSize(1, 1));
        QCOMPARE(box, QRect(QPoint(50, 60), QPoint(555, 336)));
    }

    // Cyan runs across x = 280..325: the plates stand alone above and below
    // the bottom wire, and the wire stops short of the gap between them.
    void sourceRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("runs");
        QTest::addRow("above the long plate") << 269 << "";
        QTest::addRow("top of the long plate") << 270 << "290-295";
        QTest::addRow("above the short plate") << 289 << "290-295";
        QTest::addRow("top of the short plate") << 290 << "290-295 310-315";
        for (int y = 300; y <= 305; ++y)
            QTest::addRow("bottom wire row %d", y) << y << "280-295 310-325";
        QTest::addRow("bottom of the short plate") << 316 << "290-295 310-315";
        QTest::addRow("below the short plate") << 317 << "290-295";
        QTest::addRow("bottom of the long plate") << 336 << "290-295";
        QTest::addRow("below the long plate") << 337 << "";
    }

    void sourceRows()
    {
        QFETCH(int, row);
        QFETCH(QString, runs);
        const Pixels px = cyanPixels(renderCircuit());
        QStringList found;
        for (int x = 280; x <= 325; ++x) {
            if (!px.contains(QPoint(x, row)))
                continue;
            const int start = x;
            while (x < 325 && px.contains(QPoint(x + 1, row)))
                ++x;
            found << QStringLiteral("%1-%2").arg(start).arg(x);
        }
        QCOMPARE(found.join(' '), runs);
    }

    void drawingCalls()
    {
        RecordingSurface rec;
        drawCircuitDiagram(rec);
        QCOMPARE(rec.clears, 0);
        QCOMPARE(rec.calls.size(), std::size_t(180));
        for (std::size_t i = 0; i < rec.calls.size(); ++i) {
            const Call &c = rec.calls[i], &first = rec.calls[i % 30];
            const std::size_t pass = i / 30;
            const float k = static_cast<float>(pass);
            QCOMPARE(c.colour, LightCyan);
            QCOMPARE(c.isLineTo, first.isLineTo);
            // Later passes repeat the first, each coordinate kept or moved by k.
            for (std::size_t j = 0; j < 4; ++j)
                QVERIFY2(c.xy[j] == first.xy[j] || c.xy[j] == first.xy[j] + k,
                         qPrintable(QStringLiteral("call %1").arg(i)));
        }
    }

    // A line drawn beforehand leaves the current point away from the figure;
    // the figure must come out the same beside it.
    void independentOfCurrentPoint_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addRow("bottom right corner") << QPoint(700, 500) << QPoint(791, 572);
        QTest::addRow("top right") << QPoint(780, 10) << QPoint(780, 20);
    }

    void independentOfCurrentPoint()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        Canvas canvas(CanvasSize);
        canvas.line(from.x(), from.y(), to.x(), to.y(), LightCyan);
        const Pixels before = cyanPixels(canvas.image());
        const Pixels circuit = cyanPixels(renderCircuit());
        QVERIFY(!before.isEmpty() && !before.intersects(circuit));
        drawCircuitDiagram(canvas);
        comparePixels(cyanPixels(canvas.image()), circuit | before);
    }

    void redrawingChangesNothing()
    {
        Canvas canvas(CanvasSize);
        drawCircuitDiagram(canvas);
        const QImage once = canvas.image().copy();
        drawCircuitDiagram(canvas);
        QCOMPARE(canvas.image(), once);
    }

    void canvasLine_data()
    {
        QTest::addColumn<QPoint>("a");
        QTest::addColumn<QPoint>("b");
        QTest::addRow("horizontal, right to left") << QPoint(30, 20) << QPoint(10, 20);
        QTest::addRow("vertical") << QPoint(40, 5) << QPoint(40, 25);
        QTest::addRow("45 degrees down") << QPoint(100, 100) << QPoint(120, 120);
        QTest::addRow("45 degrees up") << QPoint(100, 100) << QPoint(120, 80);
        QTest::addRow("single point") << QPoint(7, 9) << QPoint(7, 9);
    }

    void canvasLine()
    {
        QFETCH(QPoint, a);
        QFETCH(QPoint, b);
        Canvas canvas(QSize(200, 200));
        canvas.line(a.x(), a.y(), b.x(), b.y(), LightCyan);
        Pixels expected;
        addLine(expected, a, b);
        comparePixels(cyanPixels(canvas.image()), expected);
    }

    // The toolkit-free pixels against the canvas's own, at several ratios.
    void devicePixels_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QString>("script");
        for (qreal ratio : {1.0, 1.5, 2.0, 3.0})
            QTest::addRow("circuit at %gx", ratio) << ratio << "circuit";
        const std::pair<const char *, const char *> figures[] = {
            {"horizontal, right to left", "line 30 20 10 20"},
            {"vertical, upwards", "line 40 25 40 5"},
            {"45 degrees down", "line 100 100 120 120"},
            {"45 degrees up", "line 100 100 120 80"},
            {"point", "line 7 9 7 9"},
            {"off the edge", "line 760 540 800 580; line 0 5 0 5"},
            {"black across cyan", "line 50 60 90 60; line 60 50 80 70 0"},
            {"after a clear", "line 20 30 60 70; clear; lineTo 5 5"},
        };
        for (qreal ratio : {1.0, 2.0})
            for (const auto &[name, script] : figures)
                QTest::addRow("%s at %gx", name, ratio) << ratio << script;
    }

    void devicePixels()
    {
        QFETCH(qreal, ratio);
        QFETCH(QString, script);
        Canvas canvas(CanvasSize);
        PixelSurface pixels(CanvasSize.width(), CanvasSize.height());
        for (DrawingSurface *surface : std::initializer_list<DrawingSurface *>{&canvas, &pixels})
            play(script, *surface);
        const QImage expected = canvas.image(ratio);
        const DevicePixels actual = pixels.render(ratio);
        QCOMPARE(QSize(actual.width, actual.height), expected.size());
        for (int y = 0; y < actual.height; ++y)
            for (int x = 0; x < actual.width; ++x)
                if (argb(actual.at(x, y)) != expected.pixel(x, y))
                    QFAIL(
                        qPrintable(QString::asprintf("(%d,%d) is %08x, the canvas has %08x", x, y,
                                                     argb(actual.at(x, y)), expected.pixel(x, y))));
    }

    void canvasClear()
    {
        Canvas canvas(QSize(100, 100));
        canvas.line(20, 30, 60, 70, LightCyan);
        canvas.clear();
        Pixels stray;
        QVERIFY(cyanPixels(canvas.image(), &stray).isEmpty());
        QVERIFY2(stray.isEmpty(), qPrintable("left behind: " + sample(stray)));
        canvas.lineTo(5, 5, LightCyan);
        Pixels expected;
        addLine(expected, QPoint(0, 0), QPoint(5, 5));
        comparePixels(cyanPixels(canvas.image()), expected);
    }
};

QTEST_MAIN(TestDiagram)
#include "tst_diagram.moc"
