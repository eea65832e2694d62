#include "ui/RegionalSettings.h"

#include <QLocale>
#include <QString>

namespace orbeta {

char DecimalSeparatorOf(const QString& localeDecimalPoint) {
    if (localeDecimalPoint.size() != 1 || localeDecimalPoint.front().unicode() > 0x7F ||
        !localeDecimalPoint.front().isPrint()) {
        return '.';
    }
    return static_cast<char>(localeDecimalPoint.front().unicode());
}

char DecimalSeparatorOf(const QLocale& locale) {
    return DecimalSeparatorOf(locale.decimalPoint());
}

char SystemRegionalSettings::DecimalSeparator() const {
    return DecimalSeparatorOf(QLocale::system());
}

} // namespace orbeta
