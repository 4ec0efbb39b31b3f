// SPDX-License-Identifier: GPL-3.0-or-later

#include "NativeNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstdlib>
#include <memory>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

NameBytes toNativeName(const QString &text)
{
#ifdef _WIN32
    return text.toUtf8().toStdString();
#else
    return QFile::encodeName(text).toStdString();
#endif
}

std::string foldedName(const NameBytes &name)
{
    const QByteArrayView bytes(name.data(), qsizetype(name.size()));
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes).toCaseFolded().toStdString();
    std::string out = name;
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    return out;
}

NameBytes temporaryName() { return temporaryName(QRandomGenerator::global()->generate64()); }

NameBytes temporaryName(std::uint64_t number)
{
    return std::string(temporaryPrefix) + QByteArray::number(number, 16).rightJustified(16, '0').toStdString();
}

std::optional<std::uint64_t> temporaryNumber(std::string_view name)
{
    if (name.size() != temporaryPrefix.size() + 16 || name.substr(0, temporaryPrefix.size()) != temporaryPrefix)
        return std::nullopt;
    const std::string_view digits = name.substr(temporaryPrefix.size());
    if (digits.find_first_not_of("0123456789abcdef") != std::string_view::npos)
        return std::nullopt;
    return QByteArray(digits.data(), qsizetype(digits.size())).toULongLong(nullptr, 16);
}

std::optional<Gb18030Reading> readGb18030(const NameBytes &name)
{
    QStringDecoder gb18030("GB18030");
    // The decoder holds back a character cut short at the end, without an error.
    Gb18030Reading reading{gb18030.decode(QByteArrayView(name.data(), qsizetype(name.size()))), {}};
    if (!gb18030.isValid() || gb18030.hasError())
        return std::nullopt;
    const std::optional<NameBytes> whole = encodeName(reading.text, NameEncoding::Gb18030);
    if (!whole || whole->size() > name.size() || name.compare(0, whole->size(), *whole) != 0)
        return std::nullopt;
    reading.cutTail = name.substr(whole->size());
    return reading;
}

NameEncoding nameEncoding(const NameBytes &name)
{
    if (QByteArrayView(name.data(), qsizetype(name.size())).isValidUtf8())
        return NameEncoding::Utf8;
    return readGb18030(name) ? NameEncoding::Gb18030 : NameEncoding::Unknown;
}

QString decodeName(const NameBytes &name, NameEncoding encoding)
{
    if (encoding == NameEncoding::Gb18030)
        if (const std::optional<Gb18030Reading> reading = readGb18030(name))
            return reading->cutTail.empty() ? reading->text : reading->text + QChar::ReplacementCharacter;
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

std::optional<NameBytes> encodeName(const QString &text, NameEncoding encoding)
{
    if (encoding != NameEncoding::Gb18030)
        return text.toUtf8().toStdString();
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

QString displayName(const NameBytes &name)
{
    // Read as GB18030 once, where not UTF-8: decodeName falls back to UTF-8's
    // replacement characters for bytes that are neither.
    const bool utf8 = QByteArrayView(name.data(), qsizetype(name.size())).isValidUtf8();
    QString text = decodeName(name, utf8 ? NameEncoding::Utf8 : NameEncoding::Gb18030);
    // A line feed or tab in a name would break or hide it on one line: each
    // control character shows as its visible symbol (U+2400 onwards).
    for (QChar &c : text) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7f)
            c = QChar(0x2421);
    }
    return text;
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

NameBytes absolutePath(const NameBytes &path)
{
#ifdef _WIN32
    const QString text = QString::fromUtf8(path.data(), qsizetype(path.size()));
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(text))).toUtf8().toStdString();
#else
    NameBytes whole = path;
    if (whole.empty() || whole.front() != '/') {
        // The current folder's own bytes: its name need not be UTF-8 either.
        std::unique_ptr<char, decltype(&std::free)> current(::getcwd(nullptr, 0), &std::free);
        if (!current) // gone: left relative, the path names no folder anywhere else
            return path;
        whole = NameBytes(current.get()) + '/' + whole;
    }
    std::vector<NameBytes> steps;
    std::size_t start = 0;
    while (start <= whole.size()) {
        const std::size_t end = std::min(whole.find('/', start), whole.size());
        const NameBytes step = whole.substr(start, end - start);
        if (step == "..") {
            if (!steps.empty())
                steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    NameBytes result;
    for (const NameBytes &step : steps)
        result += '/' + step;
    return result.empty() ? NameBytes("/") : result;
#endif
}

NameBytes localPathOf(const QUrl &url)
{
#ifdef _WIN32
    return QDir::toNativeSeparators(url.toLocalFile()).toUtf8().toStdString();
#else
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
#endif
}

bool isFileAt(const NameBytes &path)
{
#ifdef _WIN32
    return QFileInfo(QString::fromUtf8(path.data(), qsizetype(path.size()))).isFile();
#else
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

NameBytes folderOf(const NameBytes &path)
{
#ifdef _WIN32
    const std::size_t last = path.find_last_of("/\\");
#else
    const std::size_t last = path.rfind('/');
#endif
    if (last == NameBytes::npos)
        return path;
    return last == 0 ? path.substr(0, 1) : path.substr(0, last);
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
