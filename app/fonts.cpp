#include "app/fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <cstdio>
#include <fontconfig/fontconfig.h>

namespace {

const QStringList ProportionalStandIns{
    QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")};
const QStringList FixedStandIns{QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("VL Gothic")};

struct Faces {
    QString proportional;
    QString fixed;
    bool installed;
};

// A design name that is no installed family makes the font system sort
// every font it has for the name, again for its substitutes, for each size
// and script. Naming the installed family directly skips all of that.
// The list of installed families is read, not QFontDatabase::hasFamily(),
// which asks the font system to resolve the name as an alias and costs as
// much as loading a font.
QString resolve(const QString &face, const QStringList &standIns, const QStringList &families,
                bool &installed)
{
    for (const QString &family : standIns)
        if (families.contains(family))
            return family;
    installed = false;
    QFont::insertSubstitutions(face, standIns);
    return face;
}

const Faces &resolvedFaces()
{
    static const Faces faces = [] {
        const QStringList families = QFontDatabase::families();
        bool installed = true;
        QString proportional =
            resolve(ProportionalGothic, ProportionalStandIns, families, installed);
        QString fixed = resolve(FixedGothic, FixedStandIns, families, installed);
        return Faces{std::move(proportional), std::move(fixed), installed};
    }();
    return faces;
}

} // namespace

void resolveGothicFaces()
{
    resolvedFaces();
}

bool gothicFacesInstalled()
{
    return resolvedFaces().installed;
}

QString installedFamily(const QString &face)
{
    const Faces &faces = resolvedFaces();
    if (face == ProportionalGothic)
        return faces.proportional;
    if (face == FixedGothic)
        return faces.fixed;
    return face;
}

QFont gothicFont(const QString &face, int pixelSize, bool bold)
{
    QFont font(installedFamily(face));
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

void warnWhenNoJapaneseFont()
{
    if (!QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        return;
    std::fputs("ohm-parallel: no Japanese font is installed, so the window's text cannot be "
               "shown; install the IPA Gothic fonts (Debian package fonts-ipafont-gothic)\n",
               stderr);
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
