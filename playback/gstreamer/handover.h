#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>

// The files to follow the one heard, as the player last told them, and the way each of them
// goes through the playbin: handed over when playbin's about-to-finish asks, its stream begun
// at the sink, its first sample arrived there (to be heard at a running time), then heard.
// A file the player no longer wants once it was handed over is dropped before the sink, where
// its stream begins, and marks the moment the file heard ends; so is one that cannot be played.
//
// Threads: the UI thread calls tell, name, clear, close, open, front and hear; playbin's
// streaming thread calls take (about-to-finish); the bus's sync handler calls failHanded and
// sinkFile from whichever thread posts; the sink's streaming thread calls streamBegins,
// passes and isDropping. Every field is guarded by m_lock, and no call waits for another thread.
class HandOver {
public:
    struct Queued {
        QString path;
        // The number that tells this file's tags apart.
        int file = 0;
        // Not to be heard: the player changed its mind, or the file could not be played. The
        // file heard ends at this one's start.
        bool dropped = false;
        // Its stream has begun at the sink.
        bool begun = false;
        // At the sink, to be heard when the pipeline's running time reaches at.
        bool arrived = false;
        quint64 at = 0;
    };
    enum class Change {
        None,
        // A file handed over is no longer wanted; it will be dropped before the sink.
        Dropped,
        // A file no longer wanted already sounds in the sink's buffer: only cutting the file
        // heard short keeps it from being heard.
        TooLate,
    };

    // The files that follow the one heard, in order; only the first few are ever handed over.
    Change tell(const QStringList &upcoming);
    // A file is named and loaded afresh: whatever was handed over is gone. Gives its number.
    int name();
    // Whatever was handed over is gone (a stop, a rewind); tells whether anything was.
    bool clear();
    // While the playbin changes state or seeks, about-to-finish hands over nothing.
    void close();
    void open();
    // The first file on its way, if it has arrived at the sink.
    std::optional<Queued> front() const;
    // Nothing is on its way.
    bool isEmpty() const;
    // The first file on its way is heard: it leaves the queue and the list told.
    void hear();

    // About-to-finish: the file to hand to the playbin now, or nothing.
    QString take();
    // An error while a file was handed over but its stream had not begun at the sink is that
    // file's: it is dropped, and the file heard plays on to its end. False when nothing was.
    bool failHanded();
    // The number of the file whose stream the sink takes in, for the tags it tells.
    int sinkFile() const;

    // The sink: a stream begins; true when it is to be dropped, with all that follows it. The
    // file heard then ends where the last buffer that passed ends.
    bool streamBegins();
    // The sink: a buffer of the stream last begun reaches it, to play from start to end in
    // running time. True when a queued file's first sample has just arrived.
    bool passes(quint64 start, quint64 end);
    bool isDropping() const;

private:
    Queued *firstNotBegun();

    mutable std::mutex m_lock;
    QStringList m_upcoming;
    std::deque<Queued> m_queued;
    int m_files = 0;
    int m_heardFile = 0;
    int m_sinkFile = 0;
    bool m_closed = false;
    bool m_dropping = false;
    quint64 m_lastEnd = 0;
    // The stream begun last is a queued file's, whose first buffer has yet to arrive.
    bool m_awaitingFirstBuffer = false;
};
