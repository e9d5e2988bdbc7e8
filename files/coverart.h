#pragma once

#include <QByteArray>
#include <QString>

// The picture file to show for a track, or an empty path when it has none:
//  - the picture embedded in the track (its bytes and MIME type), written into cacheFolder
//    under a name made from its content, so each picture is written once however many tracks
//    hold it, and never again while there. The folder is the user's alone and keeps the
//    pictures shown last;
//  - else a cover.jpg, folder.jpg or cover.png beside the track, in that order of preference,
//    whatever the case of its name, when it is a regular file with something in it.
QString coverArtFile(const QString &trackPath, const QByteArray &embedded, const QString &mimeType,
    const QString &cacheFolder);
