#pragma once

#include "FolderPicker.h"

class QtFolderPicker : public FolderPicker {
public:
    std::optional<QString> pick(const QString &title) override;
};
