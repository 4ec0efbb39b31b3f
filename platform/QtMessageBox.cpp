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

std::unique_ptr<QMessageBox> QtMessageBox::buildQuestion(const QString &text, const QString &title)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, title, text,
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::Cancel);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

Answer QtMessageBox::ask(const QString &text, const QString &title)
{
    const int pressed = buildQuestion(text, title)->exec();
    return pressed == QMessageBox::Yes ? Answer::Yes : pressed == QMessageBox::No ? Answer::No : Answer::Cancel;
}
