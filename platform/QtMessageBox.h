// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "MessageBox.h"

#include <memory>

class QMessageBox;

class QtMessageBox : public MessageBox {
public:
    bool show(const QString &text, MsgStyle style, const QString &title) override;
    Answer ask(const QString &text, const QString &title) override;

    // The box as it will be shown, not yet shown.
    static std::unique_ptr<QMessageBox> build(const QString &text, MsgStyle style, const QString &title);
    static std::unique_ptr<QMessageBox> buildQuestion(const QString &text, const QString &title);
};
