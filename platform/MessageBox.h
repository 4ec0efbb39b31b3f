#pragma once

#include <QString>

// Message box styles as the windows pass them: buttons plus icon.
namespace MsgStyle {
constexpr int Ok = 0;
constexpr int OkExclamation = 48;
constexpr int OkInformation = 64;
constexpr int OkCancelInformation = 65;
} // namespace MsgStyle

// A modal message box owned by no window. Callers ignore the button pressed.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString &text, int style, const QString &title = QStringLiteral("Quillbox")) = 0;
};
