#include "files/lyricssearch.h"

#include "files/embeddedlyrics.h"
#include "files/lyricsfile.h"

#include <QDir>
#include <QFileInfo>

std::optional<TimedLyrics> findLyrics(const QString &baseName, const QString &trackPath)
{
    if (const auto text = readLyrics(lyricsPath(baseName)))
        return plainLyrics(*text);
    if (auto timed = readTimedLyrics(timedLyricsPath(baseName)))
        return timed;
    // A name too short for a base name has no files of its own beside the track.
    if (!baseName.isEmpty()) {
        const QDir trackFolder = QFileInfo(trackPath).dir();
        if (auto timed = readTimedLyrics(trackFolder.filePath(baseName + QStringLiteral(".lrc"))))
            return timed;
        if (const auto text = readLyrics(trackFolder.filePath(baseName + QStringLiteral(".txt"))))
            return plainLyrics(*text);
    }
    return readEmbeddedLyrics(trackPath);
}
