// SPDX-License-Identifier: GPL-3.0-or-later

#include "MailLink.h"

#include "ProgramTexts.h"

QString buildMailLink(const QString &address)
{
    return QStringLiteral("mailto:") + address + QStringLiteral("?subject=") + Texts::mailSubject()
           + QStringLiteral("&body=") + Texts::mailBody();
}
