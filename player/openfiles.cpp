#include "player/openfiles.h"

#include "app/frmMP3.h"
#include "playlist/mediatypes.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

namespace {

bool isMediaFile(const QFileInfo &file)
{
    return file.isFile() && isPlayableName(file.fileName());
}

// Adds each existing file as "Agregar" adds it; says whether any was added.
bool addEach(frmMP3 &window, const QStringList &paths)
{
    bool added = false;
    for (const QString &path : paths) {
        const QFileInfo file(path);
        if (!file.isFile())
            continue;
        window.addTrack(QDir::toNativeSeparators(file.absoluteFilePath()), file.fileName());
        added = true;
    }
    return added;
}

} // namespace

QStringList droppedMediaFiles(const QList<QUrl> &urls)
{
    QStringList files;
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && isMediaFile(QFileInfo(url.toLocalFile())))
            files << url.toLocalFile();
    }
    return files;
}

void frmMP3::openFiles(const QStringList &paths)
{
    const bool wasEmpty = m_playlist->count() == 0;
    if (!addEach(*this, paths) || !wasEmpty)
        return;
    // The first handed-over file plays from its start, wherever the current row was left
    // and even when a removed track was paused.
    m_state->setSongIndex(0);
    m_state->setSongPath(m_playlist->pathAt(0));
    m_state->setSongName(m_playlist->nameAt(0));
    m_state->setPaused(false);
    cmdPlay_Click();
}

void frmMP3::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedMediaFiles(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void frmMP3::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedMediaFiles(event->mimeData()->urls());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    addEach(*this, files);
}
