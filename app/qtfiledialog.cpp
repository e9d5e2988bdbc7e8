#include "app/qtfiledialog.h"

#include "app/dialogfilter.h"

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
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
// a folder, or a file named after its extension.
class SpanishTypes : public QFileIconProvider {
public:
    QString type(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QStringLiteral("Carpeta");
        const QString suffix = info.suffix().toUpper();
        return suffix.isEmpty() ? QStringLiteral("Archivo") : QStringLiteral("Archivo %1").arg(suffix);
    }
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
    // Declared first so that it outlives the dialog that asks it.
    SpanishTypes types;
    SuffixingDialog dialog(QApplication::activeWindow(), *this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&types);
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
