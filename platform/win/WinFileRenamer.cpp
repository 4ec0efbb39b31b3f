// SPDX-License-Identifier: GPL-3.0-or-later

#include "WinFileRenamer.h"

#include "WinFolderHandle.h"

#include <QString>
#include <string_view>
#include <unordered_set>
#include <windows.h>

namespace {

QString wide(const NameBytes &name) { return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())); }

LPCWSTR native(const QString &path) { return reinterpret_cast<LPCWSTR>(path.utf16()); }

RenameOutcome renameOne(const WinFolderHandle &folder, const RenameRequest &request)
{
    if (!isPlainFileName(request.from) || !isPlainFileName(request.to))
        return {RenameStatus::NotAllowed, 0};
    const QString from = folder.pathOf(wide(request.from));
    const DWORD attributes = GetFileAttributesW(native(from));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {RenameStatus::Failed, int(GetLastError())};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {RenameStatus::NotAllowed, 0};
    if (request.from == request.to)
        return {RenameStatus::Renamed, 0};
    if (MoveFileExW(native(from), native(folder.pathOf(wide(request.to))), 0))
        return {RenameStatus::Renamed, 0};
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return {RenameStatus::Taken, int(error)};
    return {RenameStatus::Failed, int(error)};
}

} // namespace

std::shared_ptr<FolderHandle> WinFileRenamer::openFolder(const NameBytes &path)
{
    const QString folder = wide(path);
    const DWORD attributes = GetFileAttributesW(native(folder));
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    return std::make_shared<WinFolderHandle>(folder);
}

bool WinFileRenamer::readFolder(const FolderHandle &folder, const TakeEntry &take)
{
    const auto *open = dynamic_cast<const WinFolderHandle *>(&folder);
    if (!open)
        return false;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(native(open->pathOf(QStringLiteral("*"))), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            take(name.toStdString(), !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

std::vector<RenameOutcome> WinFileRenamer::renameInFolder(const FolderHandle &folder,
                                                          const std::vector<RenameRequest> &requests,
                                                          const Progress &progress, bool, const Intend &)
{
    std::vector<RenameOutcome> outcomes;
    const auto *open = dynamic_cast<const WinFolderHandle *>(&folder);
    // A name this batch has moved a file to holds that file, not the one a
    // later request under the name means: that one has gone.
    std::unordered_set<std::string_view> arrived;
    for (const RenameRequest &request : requests) {
        outcomes.push_back(!open                         ? RenameOutcome{RenameStatus::Failed, ERROR_INVALID_HANDLE}
                           : arrived.count(request.from) ? RenameOutcome{RenameStatus::Failed, ERROR_FILE_NOT_FOUND}
                                                         : renameOne(*open, request));
        if (outcomes.back().moved() && request.from != request.to)
            arrived.insert(request.to);
        if (progress)
            progress(outcomes.size() - 1, outcomes.back());
    }
    return outcomes;
}
