#pragma once

// Colours as the accessibility guidelines measure them. Each channel is a
// fraction of full intensity, 0 to 1, in sRGB.
struct Colour {
    double red, green, blue;
};

// The contrast ratio of two colours, from their relative luminance: 1 for
// the same colour, 21 for black on white.
double contrastRatio(Colour a, Colour b);

// Disabled lettering `from` moved towards the enabled lettering `to`, in
// steps of 1/32, just far enough to read at 4.5:1 or better on `base`, so
// it still looks disabled.
Colour readableLetters(Colour base, Colour from, Colour to);
