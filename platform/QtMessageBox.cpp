#include "QtMessageBox.h"

#include <QMessageBox>

void QtMessageBox::show(const QString &text, int style, const QString &title)
{
    // The style's low bits choose the buttons, the next ones the icon.
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & 0x70) {
    case MsgStyle::OkExclamation:
        icon = QMessageBox::Warning;
        break;
    case MsgStyle::OkInformation:
        icon = QMessageBox::Information;
        break;
    }
    const auto buttons = (style & 0x0F) == 1 ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;

    QMessageBox box(icon, title, text, buttons);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
