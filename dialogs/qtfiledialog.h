#pragma once

#include "player/filedialog.h"

#include <QFileDialog>

// The file dialog over QFileDialog, a new one for each showing. Qt's own widget dialog is
// used, never the desktop's, so it looks and behaves the same everywhere. Where a dialog opens
// is decided by InitDir alone: without one (or when it is not a folder) it opens in the user's
// home folder, never in the folder Qt remembers from an earlier run.
class QtFileDialog : public FileDialog {
public:
    void ShowOpen() override;
    void ShowSave() override;

private:
    void show(QFileDialog::AcceptMode mode);
    void ask(QFileDialog::AcceptMode mode);
};
