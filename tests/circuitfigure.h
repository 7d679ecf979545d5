#pragma once

#include <QList>
#include <QPoint>
#include <QSet>
#include <cstdlib>

// The circuit picture as the tests expect it, worked out from its geometry
// rather than from the program's segment table.

using Pixels = QSet<QPoint>;

// Only horizontal, vertical and exact 45-degree lines occur, so each has one
// unambiguous pixel per step, both ends included.
inline void addLine(Pixels &px, QPoint a, QPoint b)
{
    const QPoint d = b - a;
    Q_ASSERT(d.x() == 0 || d.y() == 0 || std::abs(d.x()) == std::abs(d.y()));
    const QPoint step((d.x() > 0) - (d.x() < 0), (d.y() > 0) - (d.y() < 0));
    for (QPoint p = a;; p += step) {
        px.insert(p);
        if (p == b)
            break;
    }
}

// The circuit written out from its geometry. Pass k moves wires by (k,k),
// resistor strokes by (0,k) and source plates by (k,0); that is what makes
// every stroke six pixels thick.
inline Pixels expectedCircuit()
{
    const QList<QList<QPoint>> wires = {
        {{130, 130}, {50, 130}, {50, 300}, {290, 300}},
        {{310, 300}, {550, 300}, {550, 130}, {470, 130}},
        {{130, 80}, {130, 180}},
        {{470, 80}, {470, 180}},
    };
    Pixels px;
    for (int k = 0; k < 6; ++k) {
        const QPoint wire(k, k), down(0, k), right(k, 0);
        for (const auto &path : wires)
            for (qsizetype i = 1; i < path.size(); ++i)
                addLine(px, path[i - 1] + wire, path[i] + wire);
        for (int y0 : {80, 180}) { // R1 above, R2 below, each with its leads
            addLine(px, QPoint(130, y0) + wire, QPoint(180, y0) + down);
            QPoint from(180, y0);
            for (int i = 0; i <= 6; ++i) {
                const QPoint to =
                    i < 6 ? QPoint(200 + 40 * i, y0 + (i % 2 ? 20 : -20)) : QPoint(420, y0);
                addLine(px, from + down, to + down);
                from = to;
            }
            addLine(px, QPoint(420, y0) + down, QPoint(470, y0) + wire);
        }
        addLine(px, QPoint(290, 270) + right, QPoint(290, 336) + right);
        addLine(px, QPoint(310, 290) + right, QPoint(310, 316) + right);
    }
    return px;
}
