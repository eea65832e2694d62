#include "ui/Fonts.h"

#include <QStringList>

namespace orbeta {

namespace {

QFont FontOf(const QStringList& families, int pointSize) {
    QFont font;
    font.setFamilies(families);
    font.setPointSize(pointSize);
    return font;
}

} // namespace

QFont SansSerifFont(int pointSize) {
    return FontOf({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")}, pointSize);
}

QFont SystemFont() {
    QFont font = SansSerifFont(10);
    font.setPixelSize(13);
    return font;
}

QFont SerifFont(int pointSize) {
    return FontOf({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")},
                  pointSize);
}

QFont ScriptCapitalsFont(int pointSize) {
    return FontOf({QStringLiteral("Matura MT Script Capitals"), QStringLiteral("Z003"),
                   QStringLiteral("URW Chancery L"), QStringLiteral("Liberation Serif")},
                  pointSize);
}

} // namespace orbeta
