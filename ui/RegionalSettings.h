#pragma once

class QLocale;
class QString;

namespace orbeta {

// The user's regional settings, as far as the program reads them.
class RegionalSettings {
public:
    virtual ~RegionalSettings() = default;

    // The decimal separator of results typed, shown, printed and loaded.
    virtual char DecimalSeparator() const = 0;
};

// The settings of the system locale.
class SystemRegionalSettings final : public RegionalSettings {
public:
    char DecimalSeparator() const override;
};

// A locale's decimal separator as the program uses it: a full stop when the locale gives none,
// or something that is not one ASCII character.
char DecimalSeparatorOf(const QString& localeDecimalPoint);
char DecimalSeparatorOf(const QLocale& locale);

} // namespace orbeta
