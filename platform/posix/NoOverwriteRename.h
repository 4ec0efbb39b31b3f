#pragma once

#include "../NativeNames.h"
#include "PosixCalls.h"

// Renames `from` to `to` inside the folder open as dirFd, never replacing an
// existing entry, on file systems with and without RENAME_NOREPLACE. A rename
// that only changes letter case on a case-insensitive file system goes through a
// temporary name. Returns whether the file now carries the new name.
bool renameNoOverwrite(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to);
