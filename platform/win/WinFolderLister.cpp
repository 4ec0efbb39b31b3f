#include "WinFolderLister.h"

#include <QString>
#include <windows.h>

std::optional<std::vector<NameBytes>> WinFolderLister::listFiles(const NameBytes &folder)
{
    QString pattern = QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size()));
    if (!pattern.endsWith(QLatin1Char('\\')))
        pattern += QLatin1Char('\\');
    pattern += QLatin1Char('*');

    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern.utf16()), &data);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(std::vector<NameBytes>{}) : std::nullopt;

    constexpr DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    std::vector<NameBytes> names;
    do {
        if ((data.dwFileAttributes & skipped) == 0)
            names.push_back(QString::fromWCharArray(data.cFileName).toUtf8().toStdString());
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}
