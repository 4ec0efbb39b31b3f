// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <cstddef>

// A modal box that shows how far a long piece of work has come, with 停止.
// It appears only where the work runs longer than about half a second. While
// it shows, events run: callers must expect their windows to change meanwhile.
class ProgressBox {
public:
    virtual ~ProgressBox() = default;
    // Begins work of `total` steps, in the folder `folder`; `undo` tells an
    // undo from a rename.
    virtual void begin(std::size_t total, const QString &folder, bool undo) = 0;
    // `done` steps so far; false once 停止 was pressed.
    virtual bool advance(std::size_t done) = 0;
    virtual void end() = 0;
};
