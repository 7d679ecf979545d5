#pragma once

#include <QFont>
#include <QString>
#include <thread>

// The two faces the window is designed in, as the program names them.
inline const QString ProportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString FixedGothic = QStringLiteral("ＭＳ ゴシック");

// Loads the program's own faces once: subsets of IPAPGothic and IPAGothic,
// which have the design faces' metrics, carried in the program so that the
// window is laid out the same under every locale and whatever fonts the
// desktop has, none included. Where a design face itself is installed, it
// draws instead.
void resolveGothicFaces();

// The family that draws the design face: the design face where the desktop
// has it, otherwise the program's own.
QString drawingFamily(const QString &face);

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
