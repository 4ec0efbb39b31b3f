// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A folder held open from its listing until the renames that follow it, so the
// renames act on the folder that was listed even if its path has since been
// moved or replaced by a link to another folder.
class FolderHandle {
public:
    virtual ~FolderHandle() = default;
};
