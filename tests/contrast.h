#pragma once

#include "app/contrast.h"

#include <QColor>

// The contrast ratio of two colours as the accessibility guidelines measure
// it: 1 for the same colour, 21 for black on white.
inline double contrastRatio(const QColor &a, const QColor &b)
{
    return contrastRatio(Colour{a.redF(), a.greenF(), a.blueF()},
                         Colour{b.redF(), b.greenF(), b.blueF()});
}
