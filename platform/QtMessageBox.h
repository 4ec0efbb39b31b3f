#pragma once

#include "MessageBox.h"

class QtMessageBox : public MessageBox {
public:
    void show(const QString &text, int style, const QString &title) override;
};
