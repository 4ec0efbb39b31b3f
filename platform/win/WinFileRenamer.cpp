#include "WinFileRenamer.h"

#include <QString>
#include <windows.h>

namespace {
QString widePath(const NameBytes &folder, const NameBytes &name)
{
    QString path = QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size()));
    if (!path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('\\');
    return path + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}
} // namespace

std::size_t WinFileRenamer::renameInFolder(const NameBytes &folder,
                                           const std::vector<RenameRequest> &requests)
{
    std::size_t done = 0;
    for (const RenameRequest &request : requests) {
        if (!isPlainFileName(request.from) || !isPlainFileName(request.to))
            continue;
        if (request.from == request.to) {
            ++done;
            continue;
        }
        const QString from = widePath(folder, request.from);
        const QString to = widePath(folder, request.to);
        if (MoveFileExW(reinterpret_cast<LPCWSTR>(from.utf16()), reinterpret_cast<LPCWSTR>(to.utf16()), 0))
            ++done;
    }
    return done;
}
