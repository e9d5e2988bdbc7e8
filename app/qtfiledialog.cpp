#include "app/qtfiledialog.h"

#include "app/dialogfilter.h"

#include <QAbstractFileIconProvider>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPixmapCache>
#include <QStyle>

#include <array>
#include <utility>

namespace {

QString startFolder(const QString &initDir)
{
    const QString folder = QDir::fromNativeSeparators(initDir);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

// Every file and folder gets the style's own file or folder picture, and a type named after
// its extension. Qt's provider looks each file up in the MIME database and each picture in
// the icon themes: that database stays in memory for the rest of the run (megabytes, for a
// list where the names already say what each file is), and the theme lookups leave cache
// entries behind with every dialog.
class PlainIconProvider : public QAbstractFileIconProvider {
public:
    // The dialog asks for pictures from its file-gathering thread too, so they are all made
    // here, in the window thread, once.
    PlainIconProvider()
    {
        for (const auto &[type, which] : pictureOf)
            m_pictures[type] = QApplication::style()->standardIcon(which);
    }

    QIcon icon(IconType type) const override { return m_pictures[type]; }

    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isRoot())
            return icon(Drive);
        return icon(info.isDir() ? Folder : File);
    }

    QString type(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QStringLiteral("Carpeta");
        const QString suffix = info.suffix().toUpper();
        return suffix.isEmpty() ? QStringLiteral("Archivo") : QStringLiteral("Archivo %1").arg(suffix);
    }

private:
    static constexpr std::pair<IconType, QStyle::StandardPixmap> pictureOf[] = {
        { Computer, QStyle::SP_ComputerIcon },
        { Desktop, QStyle::SP_DesktopIcon },
        { Trashcan, QStyle::SP_TrashIcon },
        { Network, QStyle::SP_DriveNetIcon },
        { Drive, QStyle::SP_DriveHDIcon },
        { Folder, QStyle::SP_DirIcon },
        { File, QStyle::SP_FileIcon },
    };
    std::array<QIcon, File + 1> m_pictures;
};

} // namespace

// A dialog that can give back its window between showings: the window system keeps a
// picture of a hidden window, a megabyte for one this size, until the window is destroyed.
// The next showing makes a new one.
class QtFileDialog::Dialog : public QFileDialog {
public:
    void releaseWindow() { destroy(); }
};

QtFileDialog::QtFileDialog() = default;

QtFileDialog::~QtFileDialog()
{
    delete m_dialog.data();
}

void QtFileDialog::ShowOpen()
{
    show(QFileDialog::AcceptOpen);
}

void QtFileDialog::ShowSave()
{
    show(QFileDialog::AcceptSave);
}

// One dialog serves every showing: each new QFileDialog leaves a few kilobytes behind inside
// Qt when it goes, and a user opens hundreds in a long session.
QtFileDialog::Dialog *QtFileDialog::dialog()
{
    if (!m_dialog) {
        m_icons = std::make_unique<PlainIconProvider>();
        m_dialog = new Dialog;
        m_dialog->setOption(QFileDialog::DontUseNativeDialog);
        m_dialog->setIconProvider(m_icons.get());
        // The combo box shows each description as the caller wrote it, patterns and all.
        m_dialog->setOption(QFileDialog::HideNameFilterDetails);
    }
    // Shown over whichever window asks, and owned by it while it lives.
    m_dialog->setParent(QApplication::activeWindow(), m_dialog->windowFlags());
    return m_dialog;
}

// Nothing chosen in an earlier showing is offered again: a stale selection would let "Abrir"
// accept the last file with the name field empty, and a stale name would join what is typed.
void QtFileDialog::forgetChoice()
{
    // The field first: emptying it makes the dialog select what it names, the folder itself.
    for (auto *field : m_dialog->findChildren<QLineEdit *>(QStringLiteral("fileNameEdit")))
        field->clear();
    for (auto *view : m_dialog->findChildren<QAbstractItemView *>())
        if (view->selectionModel())
            view->selectionModel()->clearSelection();
}

// The list of names completing what was typed can outlive the dialog's closing; left open,
// it would take the user's next click on the main window only to close itself.
void QtFileDialog::closeCompletion()
{
    for (auto *completer : m_dialog->findChildren<QCompleter *>())
        if (completer->popup())
            completer->popup()->hide();
}

void QtFileDialog::show(QFileDialog::AcceptMode mode)
{
    Dialog *dialog = this->dialog();
    // Set only when they change: the dialog makes its buttons, with new pictures, anew each
    // time its mode is set.
    if (dialog->acceptMode() != mode)
        dialog->setAcceptMode(mode);
    // A save dialog keeps Qt's question before it replaces an existing file.
    const auto fileMode = mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile;
    if (dialog->fileMode() != fileMode)
        dialog->setFileMode(fileMode);
    dialog->setNameFilters(qtNameFilters(Filter));
    dialog->setDirectory(startFolder(InitDir));
    // The folders of earlier runs, which Qt keeps in its settings, are not offered either.
    dialog->setHistory({});
    forgetChoice();
    const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    closeCompletion();
    dialog->releaseWindow();
    // The pictures the dialog painted stay in Qt's pixmap cache, up to megabytes of them for
    // the rest of the run, unless it is emptied once the dialog has gone.
    QPixmapCache::clear();
    if (!chosen)
        return;
    const QString path = dialog->selectedFiles().constFirst();
    FileName = QDir::toNativeSeparators(path);
    FileTitle = QFileInfo(path).fileName();
}
