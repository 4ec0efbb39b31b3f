// SPDX-License-Identifier: GPL-3.0-or-later

#include "NativeNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>

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

NameBytes folderFieldPath(const NameBytes &picked)
{
    NameBytes path = picked;
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    if (path.size() > 1 && path.back() == separator)
        path.pop_back();
    return path;
}

std::vector<NameBytes> programArguments(int argc, char **argv)
{
    std::vector<NameBytes> arguments;
#ifdef _WIN32
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    for (const QString &argument : QCoreApplication::arguments())
        arguments.push_back(argument.toUtf8().toStdString());
#else
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i]);
#endif
    return arguments;
}
