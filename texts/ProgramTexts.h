// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <cstddef>

// Every text the program shows besides its controls' captions, which stay
// with their windows. Each takes its names in one `arg`, so that a name
// holding "%1" stays as it is.
namespace Texts {

// Titles of the boxes.
inline QString programTitle() { return QStringLiteral("Quillbox"); }
inline QString hintTitle() { return QStringLiteral("提示"); }
inline QString authorTitle() { return QStringLiteral("Marvolt"); }

// Picking and listing a folder.
inline QString pickFolderTitle() { return QStringLiteral("选择文件夹"); }
inline QString selectionHint()
{
    return QStringLiteral("请选择需要重命名的文件。可以全选！\n"
                          "也可以按住Cltr键或者Shift键多项选择。\n"
                          "还可以反向选择！");
}
inline QString noFilesFound() { return QStringLiteral("没发现文件哦！"); }
inline QString notAFolder(const QString &path) { return QStringLiteral("“%1”不是文件夹，无法打开。").arg(path); }
inline QString strandedTemporaries(qsizetype count, const QString &example)
{
    return QStringLiteral("此文件夹中有 %1 个文件仍在重命名中断时的临时名称下（如“%2”），"
                          "没有记录能找回它的原名称，请查看内容后手动改名。")
        .arg(QString::number(count), example);
}

// The list's context menu.
inline QString undoLastAction() { return QStringLiteral("撤销上次重命名"); }
inline QString orderByName() { return QStringLiteral("按名称排序"); }
inline QString orderByModified() { return QStringLiteral("按修改时间排序"); }
inline QString orderAsListed() { return QStringLiteral("按文件系统顺序"); }

// The click.
inline QString enterNewName() { return QStringLiteral("请输入新名称。"); }
inline QString pickFolderFirst() { return QStringLiteral("请选择存放需要重命名文件的文件夹再执行工具！"); }
inline QString freeNamesFirstQuestion(std::size_t waiting)
{
    return QStringLiteral("有 %1 个文件的新名称正被本次要改名的其他文件占用。\n\n"
                          "按“是”先让出这些名称，每个文件都改为它的新名称；"
                          "按“否”按列表顺序改名，跳过这些文件；按“取消”不改名。")
        .arg(waiting);
}
inline QString noJournalQuestion() { return QStringLiteral("无法记录本次重命名，完成后将不能撤销。仍要重命名吗？"); }
inline QString otherCopyBusy() { return QStringLiteral("另一个 Quillbox 正在重命名或撤销，请稍后再试。"); }
inline QString renameNotKept(const QString &from, const QString &to)
{
    return QStringLiteral("“%1”改名为“%2”后，无法确认新名称下仍是原来的文件。其余文件没有再改名，请检查这个文件。")
        .arg(from, to);
}

// The box that shows a long click's or undo's progress.
inline QString stopButton() { return QStringLiteral("停止"); }
inline QString progress(std::size_t done, std::size_t total, const QString &folder, bool undo)
{
    return (undo ? QStringLiteral("正在撤销：已处理 %1 / %2 个文件\n%3")
                 : QStringLiteral("正在重命名：已处理 %1 / %2 个文件\n%3"))
        .arg(QString::number(done), QString::number(total), folder);
}

// A row's tip: what 确定 will do to it; `number` is its place among the selected files.
inline QString tipAfterFreeing(const QString &newName, const QString &number)
{
    return QStringLiteral("先让出名称后改名为：%1（第 %2 个选中的文件）").arg(newName, number);
}
inline QString tipRenamed(const QString &newName, const QString &number)
{
    return QStringLiteral("按确定后改名为：%1（第 %2 个选中的文件）").arg(newName, number);
}
inline QString tipUnchanged(const QString &number)
{
    return QStringLiteral("按确定后名称不变（第 %1 个选中的文件）").arg(number);
}
inline QString tipHolderStays(const QString &holder, const QString &newName)
{
    return QStringLiteral("将跳过：上面选中的 %1 名称不变，%2 仍被占用").arg(holder, newName);
}
inline QString tipHolderFirst(const QString &holder, const QString &newName)
{
    return QStringLiteral("将跳过：上面选中的 %1 先改名为 %2").arg(holder, newName);
}
inline QString tipHolderSkipped(const QString &holder, const QString &newName)
{
    return QStringLiteral("将跳过：上面选中的 %1 不会改名，%2 仍被占用").arg(holder, newName);
}
inline QString tipExists(const QString &newName) { return QStringLiteral("将跳过：%1 已存在").arg(newName); }
inline QString tipNotAFile(const QString &oldName) { return QStringLiteral("将跳过：%1 已不是文件").arg(oldName); }
inline QString tipUnusableName(const QString &newName)
{
    return QStringLiteral("将跳过：“%1”不是可用的文件名").arg(newName);
}
inline QString tipGone(const QString &oldName) { return QStringLiteral("将跳过：%1 已不存在").arg(oldName); }
// Why a disk that takes Windows names refuses a new name.
inline QString refusedCharacter() { return QStringLiteral("此磁盘不允许的字符"); }
inline QString refusedEnding() { return QStringLiteral("此磁盘不允许以空格或点结尾"); }
inline QString refusedReserved() { return QStringLiteral("此磁盘保留的名称"); }
inline QString refusedLength() { return QStringLiteral("名称超出此磁盘允许的长度"); }
inline QString tipRefused(const QString &newName, const QString &reason)
{
    return QStringLiteral("将跳过：“%1”（%2）").arg(newName, reason);
}

// The preview window.
inline QString previewTitle() { return QStringLiteral("预览新名称"); }
inline QString previewAction() { return QStringLiteral("预览新名称"); }
inline QString previewOldName() { return QStringLiteral("原名称"); }
inline QString previewNewName() { return QStringLiteral("新名称"); }
inline QString previewState() { return QStringLiteral("状态"); }
// The numbering line: "编号：从 [1] 开始，每次加 [1]，至少 [自动] 位".
inline QString numberingFrom() { return QStringLiteral("编号：从"); }
inline QString numberingStep() { return QStringLiteral("开始，每次加"); }
inline QString numberingWidth() { return QStringLiteral("，至少"); }
inline QString numberingDigits() { return QStringLiteral("位"); }
inline QString numberingAutomatic() { return QStringLiteral("自动"); }
inline QString previewOnlySkipped() { return QStringLiteral("只显示不改名的文件"); }
inline QString previewCounts(qsizetype renamed, qsizetype skipped)
{
    return QStringLiteral("将改名 %1 个，跳过 %2 个").arg(renamed).arg(skipped);
}
inline QString previewOutcomeCounts(qsizetype renamed, qsizetype skipped)
{
    return QStringLiteral("已改名 %1 个，跳过 %2 个").arg(renamed).arg(skipped);
}
inline QString stateRenamed() { return QStringLiteral("改名"); }
inline QString stateAfterFreeing() { return QStringLiteral("先让出名称"); }
inline QString stateUnchanged() { return QStringLiteral("不变"); }
inline QString stateSameAsAbove(std::size_t holder)
{
    return QStringLiteral("跳过（与上面第 %1 个文件同名）").arg(holder);
}
inline QString stateExists() { return QStringLiteral("跳过（已存在）"); }
inline QString stateNotAFile() { return QStringLiteral("跳过（已不是文件）"); }
inline QString stateUnusable() { return QStringLiteral("跳过（名称不可用）"); }
inline QString stateGone() { return QStringLiteral("跳过（文件已不在）"); }
inline QString stateRefused(const QString &reason) { return QStringLiteral("跳过（%1）").arg(reason); }
inline QString stateFailed() { return QStringLiteral("跳过（无法改名）"); }
inline QString stateStopped() { return QStringLiteral("未改名（已停止）"); }
inline QString outcomeRenamed() { return QStringLiteral("已改名"); }
// An outcome's skip: the state's reason, told as done.
inline QString outcomeSkipped(const QString &state) { return QStringLiteral("已") + state; }

// Undo.
inline QString undoFolderGone() { return QStringLiteral("无法撤销：上次重命名的文件夹已不存在。"); }
inline QString undoFolderReplaced() { return QStringLiteral("无法撤销：上次重命名的文件夹已被移动或替换。"); }
inline QString undoNewerVersion() { return QStringLiteral("无法撤销：重命名记录由更新版本的 Quillbox 写入。"); }
inline QString undoDamaged() { return QStringLiteral("无法撤销：重命名记录不完整或已损坏。"); }
inline QString undoPartly(const QString &folder, qsizetype back, qsizetype still, const QString &why)
{
    return QStringLiteral("“%1”中的上次重命名只撤销了一部分：%2 个文件已恢复原名，%3 个文件仍是新名称。\n%4")
        .arg(folder, QString::number(back), QString::number(still), why);
}
// What an undo came to, told to screen readers.
inline QString undoneCounts(qsizetype back, qsizetype still)
{
    return QStringLiteral("已撤销 %1 个，未撤销 %2 个").arg(back).arg(still);
}
inline QString undoShortTaken(int count) { return QStringLiteral("原名称已被占用：%1 个").arg(count); }
inline QString undoShortGone(int count) { return QStringLiteral("文件已不存在：%1 个").arg(count); }
inline QString undoShortReplaced(int count) { return QStringLiteral("已换成另一个文件：%1 个").arg(count); }
inline QString undoShortStopped(int count) { return QStringLiteral("已停止，未撤销：%1 个").arg(count); }
inline QString undoShortFailed(int count) { return QStringLiteral("无法改名：%1 个").arg(count); }
inline QString undoneElsewhere(const QString &folder)
{
    return QStringLiteral("已撤销在“%1”中的上次重命名。").arg(folder);
}

// The About window and the banner.
inline QString bannerName() { return QStringLiteral("横幅动画"); }
inline QString closeName() { return QStringLiteral("关闭"); }
inline QString aboutScrollText() { return QStringLiteral("Quillmark箱\n瞬间完成大批量文件重命名\n为提升您的工作效率"); }
inline QString mailSubject() { return QStringLiteral(" Quillmark"); }
inline QString mailBody() { return QStringLiteral(" >  关于 《Quillmark》，我有如下三点建议:%0A1:%0A2:%0A3:%0A%0A"); }
inline QString noMailProgram() { return QStringLiteral("没有安装Outlook Express程序，请用其它方与与作者联系。"); }

} // namespace Texts
