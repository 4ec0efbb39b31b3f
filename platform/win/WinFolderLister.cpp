// SPDX-License-Identifier: GPL-3.0-or-later

#include "WinFolderLister.h"

#include "WinFolderHandle.h"

#include <QString>
#include <limits>
#include <windows.h>

std::optional<FolderListing> WinFolderLister::listFiles(const NameBytes &folder)
{
    const auto handle
        = std::make_shared<WinFolderHandle>(QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size())));
    const QString pattern = handle->pathOf(QStringLiteral("*"));

    FolderListing listing;
    listing.folder = handle;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern.utf16()), &data);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(std::move(listing)) : std::nullopt;

    constexpr DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((data.dwFileAttributes & skipped) == 0)
            listing.names.push_back(QString::fromWCharArray(data.cFileName).toUtf8().toStdString());
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return listing;
}

std::vector<std::int64_t> WinFolderLister::modificationTimes(const FolderHandle &folder,
                                                             const std::vector<NameBytes> &names)
{
    const auto *open = dynamic_cast<const WinFolderHandle *>(&folder);
    std::vector<std::int64_t> times;
    times.reserve(names.size());
    for (const NameBytes &name : names) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        const QString path = open ? open->pathOf(QString::fromUtf8(name.data(), qsizetype(name.size()))) : QString();
        if (open && GetFileAttributesExW(reinterpret_cast<LPCWSTR>(path.utf16()), GetFileExInfoStandard, &data))
            times.push_back(
                (std::int64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime) * 100);
        else
            times.push_back(std::numeric_limits<std::int64_t>::max());
    }
    return times;
}
