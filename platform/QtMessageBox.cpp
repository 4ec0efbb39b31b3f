// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtMessageBox.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(MsgStyle style)
{
    switch (style) {
    case MsgStyle::Ok:
        return QMessageBox::NoIcon;
    case MsgStyle::OkExclamation:
    case MsgStyle::OkCancelExclamation:
        return QMessageBox::Warning;
    case MsgStyle::OkInformation:
    case MsgStyle::OkCancelInformation:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MsgStyle style)
{
    return style == MsgStyle::OkCancelInformation || style == MsgStyle::OkCancelExclamation
               ? QMessageBox::Ok | QMessageBox::Cancel
               : QMessageBox::StandardButtons(QMessageBox::Ok);
}

} // namespace

std::unique_ptr<QMessageBox> QtMessageBox::build(const QString &text, MsgStyle style, const QString &title)
{
    auto box = std::make_unique<QMessageBox>(iconOf(style), title, text, buttonsOf(style));
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

bool QtMessageBox::show(const QString &text, MsgStyle style, const QString &title)
{
    return build(text, style, title)->exec() == QMessageBox::Ok;
}
