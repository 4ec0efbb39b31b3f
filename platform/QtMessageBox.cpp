#include "QtMessageBox.h"

#include <QMessageBox>

void QtMessageBox::show(const QString &text, int style, const QString &title)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (style >= MsgStyle::OkInformation)
        icon = QMessageBox::Information;
    else if (style >= MsgStyle::OkExclamation)
        icon = QMessageBox::Warning;
    const bool withCancel = (style & 1) != 0;

    QMessageBox box(icon, title, text, withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
