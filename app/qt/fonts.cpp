#include "app/qt/fonts.h"

#include <QFontDatabase>
#include <QResource>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace {

struct Face {
    QStringList designNames; // as a Japanese and as any other locale lists it
    const char *resource;
};

const Face Proportional{{ProportionalGothic, QStringLiteral("MS PGothic")},
                        ":/fonts/OhmDrillPGothic.ttf"};
const Face Fixed{{FixedGothic, QStringLiteral("MS Gothic")}, ":/fonts/OhmDrillGothic.ttf"};

struct Families {
    QString proportional;
    QString fixed;
};

QString ownFamily(const char *resource)
{
    const QResource font(QString::fromLatin1(resource));
    const int id = QFontDatabase::addApplicationFontFromData(font.uncompressedData());
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        qFatal("cannot load the font %s", resource);
    return families.first();
}

// The own face is named by its family, so the font system looks for nothing
// else; a design face only where it is listed by one of its names.
QString resolve(const Face &face, const QStringList &installed)
{
    for (const QString &name : face.designNames)
        if (installed.contains(name))
            return name;
    return ownFamily(face.resource);
}

const Families &resolvedFamilies()
{
    static const Families families = [] {
        const QStringList installed = QFontDatabase::families();
        return Families{resolve(Proportional, installed), resolve(Fixed, installed)};
    }();
    return families;
}

} // namespace

void resolveGothicFaces()
{
    resolvedFamilies();
}

QString drawingFamily(const QString &face)
{
    const Families &families = resolvedFamilies();
    if (face == ProportionalGothic)
        return families.proportional;
    if (face == FixedGothic)
        return families.fixed;
    return face;
}

QFont gothicFont(const QString &face, int pixelSize, bool bold)
{
    QFont font(drawingFamily(face));
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

FontConfigurationPreload::FontConfigurationPreload() : thread_([] { FcInit(); }) {}

FontConfigurationPreload::~FontConfigurationPreload()
{
    finish();
}

void FontConfigurationPreload::finish()
{
    if (thread_.joinable())
        thread_.join();
}
