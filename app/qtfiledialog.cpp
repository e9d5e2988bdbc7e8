#include "app/qtfiledialog.h"

#include "app/dialogfilter.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
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

QtFileDialog::QtFileDialog() = default;
QtFileDialog::~QtFileDialog() = default;

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
    if (!m_icons)
        m_icons = std::make_unique<PlainIconProvider>();
    dialog.setIconProvider(m_icons.get());
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
