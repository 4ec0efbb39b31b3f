// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The mailto: link of the e-mail label, with its subject and suggestion template.
QString buildMailLink(const QString &address);
