#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a file says about itself in its tags. Each part the file leaves out stays empty (the
// track number 0).
struct TrackTags {
    QString title;
    QStringList artists;
    QString album;
    int trackNumber = 0;
    // An embedded picture as the file holds it, and its MIME type ("image/jpeg").
    QByteArray cover;
    QString coverMimeType;
    // The name a stream's station gives itself; empty for a file.
    QString station;

    bool operator==(const TrackTags &) const = default;
};
