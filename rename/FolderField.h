#pragma once

#include <QLineEdit>

// The folder field: a one-line text box that reports double-clicks.
class FolderField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
