#include "drill/diagram.h"

void drawCircuitDiagram(DrawingSurface &surface)
{
    for (int k = 0; k < DiagramPasses; ++k) {
        for (const DiagramSegment &s : DiagramSegments) {
            if (s.fromCurrentPoint)
                surface.lineTo(s.end.atX(k), s.end.atY(k), LightCyan);
            else
                surface.line(s.start.atX(k), s.start.atY(k), s.end.atX(k), s.end.atY(k), LightCyan);
        }
    }
}
