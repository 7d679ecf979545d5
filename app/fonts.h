#pragma once

#include <QFont>
#include <QStringList>

// The two faces the window is designed in. Each is mapped to an installed
// Japanese Gothic face of the same metrics where there is one.
inline const QString ProportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString FixedGothic = QStringLiteral("ＭＳ ゴシック");

void registerFontSubstitutes();

// A font of the given face at a size in pixels, so that the fixed layout
// holds at any screen resolution.
QFont gothicFont(const QString &face, int pixelSize, bool bold = true);
