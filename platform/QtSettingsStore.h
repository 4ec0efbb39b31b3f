// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SettingsStore.h"

class QtSettingsStore : public SettingsStore {
public:
    QString read(const QString &app, const QString &section, const QString &key, const QString &defaultValue) override;
    void write(const QString &app, const QString &section, const QString &key, const QString &value) override;
};
