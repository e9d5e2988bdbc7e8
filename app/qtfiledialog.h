#pragma once

#include "app/filedialog.h"

// The file dialog over QFileDialog.
class QtFileDialog : public FileDialog {
public:
    void ShowOpen() override;
    void ShowSave() override;
};
