// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtLinkOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtLinkOpener::open(const QString &link) { return QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode)); }
