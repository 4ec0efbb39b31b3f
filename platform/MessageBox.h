// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The message styles the windows use: which buttons, which icon.
enum class MsgStyle {
    Ok,                  // OK, no icon
    OkExclamation,       // OK, exclamation icon
    OkInformation,       // OK, information icon
    OkCancelInformation, // OK and Cancel, information icon
    OkCancelExclamation, // OK and Cancel, exclamation icon
};

enum class Answer { Yes, No, Cancel };

// A modal message box owned by no window; it returns when the user dismisses
// it, true when that was with OK. Callers must expect any window of theirs to
// have ended meanwhile, since events keep running while the box is open.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual bool show(const QString &text, MsgStyle style, const QString &title = QStringLiteral("Quillbox")) = 0;
    // A question with 是 (the default button), 否 and 取消 (also Escape).
    virtual Answer ask(const QString &text, const QString &title = QStringLiteral("Quillbox")) = 0;
};
