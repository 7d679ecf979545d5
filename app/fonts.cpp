#include "app/fonts.h"

#include <QFontDatabase>
#include <cstdio>

void registerFontSubstitutes()
{
    QFont::insertSubstitutions(ProportionalGothic, QStringList{QStringLiteral("IPAPGothic"),
                                                               QStringLiteral("Noto Sans CJK JP"),
                                                               QStringLiteral("VL PGothic")});
    QFont::insertSubstitutions(FixedGothic, QStringList{QStringLiteral("IPAGothic"),
                                                        QStringLiteral("Noto Sans Mono CJK JP"),
                                                        QStringLiteral("VL Gothic")});
}

QFont gothicFont(const QString &face, int pixelSize, bool bold)
{
    QFont font(face);
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
