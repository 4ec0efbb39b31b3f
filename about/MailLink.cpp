// SPDX-License-Identifier: GPL-3.0-or-later

#include "MailLink.h"

QString buildMailLink(const QString &address)
{
    return QStringLiteral("mailto:") + address + QStringLiteral("?subject= Quillmark")
           + QStringLiteral("&body= >  关于 《Quillmark》，我有如下三点建议:%0A1:%0A2:%0A3:%0A%0A");
}
