#include "dialogs/qtfiledialog.h"

#include "dialogs/dialogfilter.h"
#include "dialogs/heaptrim.h"
#include "widgets/widgetstyle.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString startFolder(const QString &initDir)
{
    const QString folder = QDir::fromNativeSeparators(initDir);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

// The type column speaks Spanish like the rest of the dialog, whatever the desktop's language:
// a folder, or a file named after its extension. The pictures are the player's own, as the
// style draws them, so that the dialog reads no picture of Qt's or of the desktop's theme.
// The dialog asks for icons from its folder reader's thread: they are all drawn beforehand,
// on the thread that makes the dialog, and only copied there.
class PlayerFileIcons : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override
    {
        if (type == Folder)
            return m_folder;
        return type == File ? m_file : m_drive;
    }
    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isRoot())
            return m_drive;
        return info.isDir() ? m_folder : m_file;
    }
    QString type(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QStringLiteral("Carpeta");
        const QString suffix = info.suffix().toUpper();
        return suffix.isEmpty() ? QStringLiteral("Archivo") : QStringLiteral("Archivo %1").arg(suffix);
    }

private:
    static QIcon picture(QStyle::StandardPixmap kind) { return pictureIcon(PlayerStyle::pictureFor(kind)); }

    const QIcon m_folder = picture(QStyle::SP_DirIcon);
    const QIcon m_file = picture(QStyle::SP_FileIcon);
    const QIcon m_drive = picture(QStyle::SP_DriveHDIcon);
};

// Gives a name typed without an extension the one of the entry picked as the choice is
// confirmed, so that Qt asks about replacing the file of the whole name.
class SuffixingDialog : public QFileDialog {
public:
    SuffixingDialog(QWidget *parent, const FileDialog &caller)
        : QFileDialog(parent)
        , m_caller(caller)
    {
    }
    void accept() override
    {
        if (acceptMode() == AcceptSave) {
            const int entry = filterIndexOf(m_caller.Filter, selectedNameFilter());
            setDefaultSuffix(m_caller.DefaultExtensions.value(entry - 1));
        }
        QFileDialog::accept();
    }

private:
    const FileDialog &m_caller;
};

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
    ask(mode);
    // The dialog, its folder reader and the thread that ran it are gone by now.
    giveBackFreeHeap();
}

void QtFileDialog::ask(QFileDialog::AcceptMode mode)
{
    // Declared first so that it outlives the dialog that asks it.
    PlayerFileIcons icons;
    SuffixingDialog dialog(QApplication::activeWindow(), *this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    // The combo box shows each description as the caller wrote it, patterns and all.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(mode);
    // A save dialog keeps Qt's question before it replaces an existing file.
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(Filter));
    dialog.setDirectory(startFolder(InitDir));
    // The folders of earlier runs, which Qt keeps in its settings, are not offered either.
    dialog.setHistory({});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    FileName = QDir::toNativeSeparators(path);
    FileTitle = QFileInfo(path).fileName();
    FilterIndex = filterIndexOf(Filter, dialog.selectedNameFilter());
}
