// SPDX-License-Identifier: GPL-3.0-or-later

#include "OptionButton.h"

namespace {
// Qt takes the Tab stop from the group's other buttons whenever one of them
// takes the focus; give it back to every option of the frame.
void keepEveryOptionATabStop(QWidget *frame)
{
    for (OptionButton *option : frame->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly))
        option->setFocusPolicy(Qt::StrongFocus);
}
} // namespace

void OptionButton::focusInEvent(QFocusEvent *event)
{
    QRadioButton::focusInEvent(event);
    keepEveryOptionATabStop(parentWidget());
}

void OptionButton::focusOutEvent(QFocusEvent *event)
{
    QRadioButton::focusOutEvent(event);
    keepEveryOptionATabStop(parentWidget());
}
