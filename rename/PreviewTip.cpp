// SPDX-License-Identifier: GPL-3.0-or-later

#include "PreviewTip.h"

QString previewTip(const Preview &preview, const std::vector<NameBytes> &names)
{
    const QString newName = displayName(preview.newName);
    switch (preview.verdict) {
    case PreviewVerdict::Renamed:
        return QStringLiteral("按确定后改名为：%1（第 %2 个选中的文件）").arg(newName).arg(preview.number);
    case PreviewVerdict::Unchanged:
        return QStringLiteral("按确定后名称不变（第 %1 个选中的文件）").arg(preview.number);
    case PreviewVerdict::Taken:
        return QStringLiteral("将跳过：%1 已存在").arg(newName);
    case PreviewVerdict::Collides:
        return QStringLiteral("将跳过：上面选中的 %1 先改名为 %2")
            .arg(displayName(names[std::size_t(preview.firstRow)]), newName);
    case PreviewVerdict::NotAllowed:
        return QStringLiteral("将跳过：“%1”不是可用的文件名").arg(newName);
    }
    return {};
}
