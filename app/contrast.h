#pragma once

// Colours as the accessibility guidelines measure them. Each channel is a
// fraction of full intensity, 0 to 1, in sRGB.
struct Colour {
    double red, green, blue;
};

// The contrast ratio of two colours, from their relative luminance: 1 for
// the same colour, 21 for black on white.
double contrastRatio(Colour a, Colour b);

// How far, from 0 to 1, disabled lettering `from` moves towards the enabled
// lettering `to` so that it reads at 4.5:1 or better on `base`, in steps of
// 1/32: just far enough, so it still looks disabled.
double readableBlend(Colour base, Colour from, Colour to);

// `from` moved the fraction t of the way towards `to`.
Colour blend(Colour from, Colour to, double t);
