// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRadioButton>

// An option button that stays a Tab stop when it is not the selected one, as
// the window's keyboard order visits every option of the frame; Qt would only
// let the selected option of a group take the focus by Tab.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
