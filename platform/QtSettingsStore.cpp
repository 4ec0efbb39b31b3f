// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtSettingsStore.h"

#include "SettingsFile.h"

#include <QIODevice>
#include <QSettings>

namespace {

bool readSettingsFile(QIODevice &device, QSettings::SettingsMap &map)
{
    for (const auto &[key, value] : parseSettingsFile(device.readAll().toStdString()))
        map.insert(QString::fromStdString(key), QString::fromStdString(value));
    return true;
}

bool writeSettingsFile(QIODevice &device, const QSettings::SettingsMap &map)
{
    std::map<std::string, std::string> entries;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        entries[it.key().toStdString()] = it.value().toString().toStdString();
    const std::string text = formatSettingsFile(entries);
    return device.write(text.data(), qint64(text.size())) == qint64(text.size());
}

// Qt's own INI format reads "1,5" as a list; ours keeps every value as the text it is.
QSettings::Format textFormat()
{
    static const QSettings::Format format
        = QSettings::registerFormat(QStringLiteral("conf"), readSettingsFile, writeSettingsFile);
    return format;
}

QString keyPath(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

} // namespace

QString QtSettingsStore::read(const QString &app, const QString &section, const QString &key,
                              const QString &defaultValue)
{
    QSettings settings(textFormat(), QSettings::UserScope, app, app);
    return settings.value(keyPath(section, key), defaultValue).toString();
}

void QtSettingsStore::write(const QString &app, const QString &section, const QString &key, const QString &value)
{
    QSettings settings(textFormat(), QSettings::UserScope, app, app);
    settings.setValue(keyPath(section, key), value);
}
