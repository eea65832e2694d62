#pragma once

#include <QString>

namespace orbeta {

// What the program remembers for the user between runs, by key.
class UserSettings {
public:
    virtual ~UserSettings() = default;

    // The value last stored under `key`; empty when none was.
    virtual QString Value(const QString& key) const = 0;
    virtual void SetValue(const QString& key, const QString& value) = 0;
};

// The user's settings file of the desktop (QSettings, in the user's configuration folder).
class SystemUserSettings final : public UserSettings {
public:
    QString Value(const QString& key) const override;
    void SetValue(const QString& key, const QString& value) override;
};

} // namespace orbeta
