#include "app/qtfiledialog.h"

#include "app/dialogfilter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmapCache>

namespace {

QString startFolder(const QString &initDir)
{
    const QString folder = QDir::fromNativeSeparators(initDir);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

} // namespace

void QtFileDialog::ShowOpen()
{
    show(QFileDialog::AcceptOpen);
}

void QtFileDialog::ShowSave()
{
    show(QFileDialog::AcceptSave);
}

void QtFileDialog::show(QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The combo box shows each description as the caller wrote it, patterns and all.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(mode);
    // A save dialog keeps Qt's question before it replaces an existing file.
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(Filter));
    dialog.setDirectory(startFolder(InitDir));
    // The folders of earlier runs, which Qt keeps in its settings, are not offered either.
    dialog.setHistory({});
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    // The dialog painted its file icons into Qt's pixmap cache under keys that no later
    // dialog uses again; left there, they would pile up with every dialog shown.
    QPixmapCache::clear();
    if (!chosen)
        return;
    const QString path = dialog.selectedFiles().constFirst();
    FileName = QDir::toNativeSeparators(path);
    FileTitle = QFileInfo(path).fileName();
}
