#include "NativeNames.h"

#include <QDir>
#include <QFile>

NameBytes toNativeName(const QString &text)
{
#ifdef _WIN32
    return text.toUtf8().toStdString();
#else
    return QFile::encodeName(text).toStdString();
#endif
}

QString displayName(const NameBytes &name)
{
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

bool isPlainFileName(const NameBytes &name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
#ifdef _WIN32
    return name.find_first_of("/\\") == NameBytes::npos;
#else
    return name.find('/') == NameBytes::npos;
#endif
}

QString folderFieldText(const QString &pickedPath)
{
    QString path = QDir::toNativeSeparators(pickedPath);
    const QChar sep = QDir::separator();
    if (path.endsWith(sep) && path != QString(sep))
        path.chop(1);
    return path;
}
