#pragma once

#include <QFont>
#include <QString>
#include <thread>

// The two faces the window is designed in, as the program names them.
inline const QString ProportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString FixedGothic = QStringLiteral("ＭＳ ゴシック");

// Looks up once which installed Japanese Gothic family of the same metrics
// stands in for each design face. Where none is installed, the design name
// is kept, with the stand-ins as its substitutes, and the font system falls
// back to whatever it has.
void resolveGothicFaces();

// Whether both design faces found an installed family.
bool gothicFacesInstalled();

// The family that draws the design face: the installed one once resolved.
QString installedFamily(const QString &face);

// Says on standard error, in one line, when no installed face has Japanese
// glyphs: every caption and key would show empty boxes, and a teacher needs
// to know which package brings the faces.
void warnWhenNoJapaneseFont();

// A font of the given face at a size in pixels, so that the fixed layout
// holds at any screen resolution.
QFont gothicFont(const QString &face, int pixelSize, bool bold = true);

// Reads the desktop's font configuration on a thread of its own, begun
// before QApplication: the font system's slowest step then overlaps the
// connection to the display instead of following it. finish() waits for
// it, before the first font is asked for.
class FontConfigurationPreload {
public:
    FontConfigurationPreload();
    ~FontConfigurationPreload();
    FontConfigurationPreload(const FontConfigurationPreload &) = delete;
    FontConfigurationPreload &operator=(const FontConfigurationPreload &) = delete;
    void finish();

private:
    std::thread thread_;
};
