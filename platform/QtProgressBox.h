// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ProgressBox.h"

#include <QElapsedTimer>
#include <memory>

class QProgressDialog;

class QtProgressBox : public ProgressBox {
public:
    QtProgressBox();
    ~QtProgressBox() override;
    void begin(std::size_t total, const QString &folder, bool undo) override;
    bool advance(std::size_t done) override;
    void end() override;

private:
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceShown_;
    QString folder_;
    bool undo_ = false;
};
