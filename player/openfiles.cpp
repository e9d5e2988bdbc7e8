#include "player/openfiles.h"

#include "files/mediatypes.h"
#include "player/player.h"

#include <QDir>
#include <QFileInfo>

QStringList droppedMediaFiles(const QList<QUrl> &urls)
{
    QStringList files;
    for (const QUrl &url : urls) {
        const QFileInfo file(url.toLocalFile());
        if (const QString address = url.toString(QUrl::FullyEncoded); isStreamAddress(address))
            files << address;
        else if (url.isLocalFile() && file.isFile() && isPlayableName(file.fileName()))
            files << url.toLocalFile();
    }
    return files;
}

bool Player::addFiles(const QStringList &paths)
{
    bool added = false;
    for (const QString &path : paths) {
        if (isStreamAddress(path)) {
            addTrack(path, path);
            added = true;
            continue;
        }
        const QFileInfo file(path);
        if (!file.isFile())
            continue;
        addTrack(QDir::toNativeSeparators(file.absoluteFilePath()), file.fileName());
        added = true;
    }
    return added;
}

void Player::openFiles(const QStringList &paths)
{
    const bool wasEmpty = m_playlist->count() == 0;
    if (!addFiles(paths) || !wasEmpty)
        return;
    // The first handed-over file plays from its start, wherever the current row was left
    // and even when a removed track was paused.
    m_state->setSongIndex(0);
    m_state->setSongPath(m_playlist->pathAt(0));
    m_state->setSongName(m_playlist->nameAt(0));
    m_state->setPaused(false);
    cmdPlay_Click();
}
