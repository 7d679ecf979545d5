#pragma once

#include <QFont>
#include <QStringList>

// The two faces the window is designed in. Each is mapped to an installed
// Japanese Gothic face of the same metrics where there is one.
inline const QString ProportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString FixedGothic = QStringLiteral("ＭＳ ゴシック");

void registerFontSubstitutes();

// Says on standard error, in one line, when no installed face has Japanese
// glyphs: every caption and key would show empty boxes, and a teacher needs
// to know which package brings the faces.
void warnWhenNoJapaneseFont();

// A font of the given face at a size in pixels, so that the fixed layout
// holds at any screen resolution.
QFont gothicFont(const QString &face, int pixelSize, bool bold = true);
