#pragma once

#include "app/filedialog.h"

#include <QFileDialog>
#include <QPointer>

#include <memory>

class QAbstractFileIconProvider;

// The file dialog over QFileDialog. Qt's own widget dialog is used, never the desktop's, so it
// looks and behaves the same everywhere. Where a dialog opens is decided by InitDir alone:
// without one (or when it is not a folder) it opens in the user's home folder, never in the
// folder Qt remembers from an earlier run.
class QtFileDialog : public FileDialog {
public:
    QtFileDialog();
    ~QtFileDialog() override;

    void ShowOpen() override;
    void ShowSave() override;

private:
    class Dialog;
    Dialog *dialog();
    void forgetChoice();
    void closeCompletion();
    void show(QFileDialog::AcceptMode mode);

    std::unique_ptr<QAbstractFileIconProvider> m_icons;
    // Made on the first showing; the window it was last shown over may delete it first.
    QPointer<Dialog> m_dialog;
};
