// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file or folder name as the operating system stores it. On Linux names are
// bytes that need not be valid UTF-8, so they stay bytes from listing to rename;
// on Windows they hold the UTF-8 form of the UTF-16 name.
using NameBytes = std::string;

NameBytes toNativeName(const QString &text);

// The encoding a name is read in: UTF-8 where its bytes are valid UTF-8, else
// GB18030 (which holds GBK) where they read as that, else none, and then
// bytes that are not UTF-8 show as replacement characters.
enum class NameEncoding { Utf8, Gb18030, Unknown };
NameEncoding nameEncoding(const NameBytes &name);
QString decodeName(const NameBytes &name, NameEncoding encoding);

// A name read as GB18030: its whole characters, and the bytes at its end that
// begin a character the name cuts short, as truncated archives leave them
// (shown as one replacement character). Nothing where the bytes are no
// GB18030, or its characters do not give them back byte for byte.
struct Gb18030Reading {
    QString text;
    NameBytes cutTail;
};
std::optional<Gb18030Reading> readGb18030(const NameBytes &name);
// Nothing where the text has a character the encoding cannot hold.
std::optional<NameBytes> encodeName(const QString &text, NameEncoding encoding);

// Readable form of a name for the screen, in the name's own encoding, with
// control characters as their visible symbols; the name itself is never
// derived from this text.
QString displayName(const NameBytes &name);

// The form two names share where a folder that ignores letter case takes
// them for one: UTF-8 names case-folded, other bytes with ASCII letters lowered.
std::string foldedName(const NameBytes &name);

// A name a file passes through on its way to another: this prefix plus 16
// hex digits of a number, random or the journal's, which fits beside any other
// name; the journal knows whose it is.
constexpr std::string_view temporaryPrefix = "~quillbox-";
NameBytes temporaryName();
NameBytes temporaryName(std::uint64_t number);
// The number a temporary name carries; nothing for any other name.
std::optional<std::uint64_t> temporaryNumber(std::string_view name);

// True for a name that stays inside its folder: not empty, not "." or "..",
// and free of path separators.
bool isPlainFileName(const NameBytes &name);

// The folder field's path for a picked folder: native separators, with one
// trailing separator removed unless the path is the file system root.
NameBytes folderFieldPath(const NameBytes &picked);

// `path` made absolute against the current folder, with "." and empty steps
// dropped and ".." taken back a step by its text, as a shell's cd does.
NameBytes absolutePath(const NameBytes &path);

// The local path a file URL names, as the bytes it carries once
// percent-decoded: QUrl::toLocalFile() turns bytes that are not UTF-8 into
// other characters. On Windows its UTF-8 form.
NameBytes localPathOf(const QUrl &url);
// Whether `path` names a plain file, or a link to one.
bool isFileAt(const NameBytes &path);
// The folder `path` is in: the path up to its last separator.
NameBytes folderOf(const NameBytes &path);

// The program's arguments as the bytes given; on Windows their UTF-8 form.
// Needs the application object on Windows.
std::vector<NameBytes> programArguments(int argc, char **argv);
