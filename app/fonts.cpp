#include "app/fonts.h"

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
