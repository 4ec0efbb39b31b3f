// SPDX-License-Identifier: GPL-3.0-or-later

#include "WinFileRenamer.h"

#include "WinFolderHandle.h"

#include <QString>
#include <cerrno>
#include <windows.h>

namespace {

QString wide(const NameBytes &name) { return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())); }

LPCWSTR native(const QString &path) { return reinterpret_cast<LPCWSTR>(path.utf16()); }

// NTFS changes a name's letter case in place, so every move is one call.
class WinFolderMoves : public FolderMoves {
public:
    explicit WinFolderMoves(const WinFolderHandle *folder)
        : folder_(folder)
    {
    }
    RenameOutcome move(std::size_t, const RenameRequest &request, MoveOrder) override
    {
        if (!folder_)
            return {RenameStatus::Failed, int(ERROR_INVALID_HANDLE)};
        if (MoveFileExW(native(folder_->pathOf(wide(request.from))), native(folder_->pathOf(wide(request.to))), 0))
            return {RenameStatus::Renamed, 0};
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            return {RenameStatus::Taken, int(error)};
        return {RenameStatus::Failed, error == ERROR_FILE_NOT_FOUND ? ENOENT : int(error)};
    }

private:
    const WinFolderHandle *folder_;
};

} // namespace

std::shared_ptr<FolderHandle> WinFileRenamer::openFolder(const NameBytes &path)
{
    const QString folder = wide(path);
    const DWORD attributes = GetFileAttributesW(native(folder));
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    return std::make_shared<WinFolderHandle>(folder);
}

std::unique_ptr<FolderMoves> WinFileRenamer::movesIn(const FolderHandle &folder, const Intend &)
{
    return std::make_unique<WinFolderMoves>(dynamic_cast<const WinFolderHandle *>(&folder));
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

std::optional<bool> WinFileRenamer::findsOtherSpelling(const FolderHandle &folder, const NameBytes &name,
                                                       const NameBytes &otherSpelling)
{
    const auto *open = dynamic_cast<const WinFolderHandle *>(&folder);
    if (!open || GetFileAttributesW(native(open->pathOf(wide(name)))) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return GetFileAttributesW(native(open->pathOf(wide(otherSpelling)))) != INVALID_FILE_ATTRIBUTES;
}
