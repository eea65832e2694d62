#include "ui/UserSettings.h"

#include <QSettings>

namespace orbeta {

namespace {

// Named here rather than by the application's names, so that the file is the same whichever
// way the program was started.
QSettings UserFile() {
    return QSettings(QSettings::UserScope, QStringLiteral("orbeta"), QStringLiteral("orbeta"));
}

} // namespace

QString SystemUserSettings::Value(const QString& key) const {
    return UserFile().value(key).toString();
}

void SystemUserSettings::SetValue(const QString& key, const QString& value) {
    UserFile().setValue(key, value);
}

} // namespace orbeta
