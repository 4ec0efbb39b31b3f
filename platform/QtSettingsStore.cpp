#include "QtSettingsStore.h"

#include <QSettings>

namespace {
QString keyPath(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }
} // namespace

QString QtSettingsStore::read(const QString &app, const QString &section, const QString &key,
                              const QString &defaultValue)
{
    QSettings settings(QSettings::UserScope, app, app);
    return settings.value(keyPath(section, key), defaultValue).toString();
}

void QtSettingsStore::write(const QString &app, const QString &section, const QString &key,
                            const QString &value)
{
    QSettings settings(QSettings::UserScope, app, app);
    settings.setValue(keyPath(section, key), value);
}
