// SPDX-License-Identifier: GPL-3.0-or-later

#include "WinFolderLister.h"

#include "WinFolderHandle.h"

#include <QString>
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
