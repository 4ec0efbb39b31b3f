// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

// A fixed window showing the cover of the author's new book.
class BookCoverWindow : public QWidget {
    Q_OBJECT
public:
    explicit BookCoverWindow(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap cover_;
};
