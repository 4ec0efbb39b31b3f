// SPDX-License-Identifier: GPL-3.0-or-later

#include "PreviewTip.h"

// Each text takes its names in one `arg`, so that a name holding "%1" stays as it is.
QString previewTip(const BatchPlan &plan, std::size_t index)
{
    const RenameRequest &request = plan.requests()[index];
    // Where the click will ask, its default answer frees the names first.
    const RowPlan &row = plan.predictions(BatchOrder::FreeingNamesFirst)[index];
    const QString number = QString::number(index + 1);
    const QString newName = displayName(request.to);
    if (plan.waits(index))
        return QStringLiteral("先让出名称后改名为：%1（第 %2 个选中的文件）").arg(newName, number);
    switch (row.fate) {
    case RowFate::Renamed:
        return QStringLiteral("按确定后改名为：%1（第 %2 个选中的文件）").arg(newName, number);
    case RowFate::Unchanged:
        return QStringLiteral("按确定后名称不变（第 %1 个选中的文件）").arg(number);
    case RowFate::Taken: {
        const RenameRequest &holder = plan.requests()[row.heldBy];
        if (row.holder == Holder::RowAbove && holder.from == holder.to)
            return QStringLiteral("将跳过：上面选中的 %1 名称不变，%2 仍被占用").arg(displayName(holder.from), newName);
        if (row.holder == Holder::RowAbove)
            return QStringLiteral("将跳过：上面选中的 %1 先改名为 %2").arg(displayName(holder.from), newName);
        if (row.holder == Holder::SkippedRowAbove)
            return QStringLiteral("将跳过：上面选中的 %1 不会改名，%2 仍被占用").arg(displayName(holder.from), newName);
        return QStringLiteral("将跳过：%1 已存在").arg(newName);
    }
    case RowFate::NotAllowed:
        if (isPlainFileName(request.from) && isPlainFileName(request.to))
            return QStringLiteral("将跳过：%1 已不是文件").arg(displayName(request.from));
        return QStringLiteral("将跳过：“%1”不是可用的文件名").arg(newName);
    case RowFate::Gone:
        return QStringLiteral("将跳过：%1 已不存在").arg(displayName(request.from));
    case RowFate::Failed:
        break;
    }
    return {};
}
