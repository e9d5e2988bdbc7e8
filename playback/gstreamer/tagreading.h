#pragma once

#include "playback/tracktags.h"

#include <QHash>
#include <QObject>

typedef struct _GstElement GstElement;
typedef struct _GstTagList GstTagList;

// What one tag list says; GStreamer has already turned each tag's text into UTF-8, whatever
// character set the file stored it in.
TrackTags readTags(const GstTagList *list);
// The tags playbin gathered from the audio stream it now plays.
TrackTags audioStreamTags(GstElement *playbin);
// Each output (the sound, and the pictures of an MPG file) passes on the tags of its own
// stream; what one leaves out keeps what the other said.
TrackTags merged(TrackTags tags, const TrackTags &update);

// The tags of the file heard, and of the files queued to follow it, which wait until they are
// heard. Files are told apart by the numbers the engine gives them; tags of a file no longer
// heard nor queued are dropped. The UI thread's alone.
class FileTags : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const TrackTags &heard() const { return m_heard; }
    // Another file is heard from its start; the tags it told while queued come with it, gaps
    // filled from those of its stream. Tells whether the tags changed; changed is not raised,
    // so that the caller can first tell that another file is heard.
    bool hear(int file, const TrackTags &fromStream = {});
    // Files queued are no longer coming.
    void forgetQueued() { m_queued.clear(); }
    void take(int file, const TrackTags &update);

signals:
    void changed();

private:
    void set(const TrackTags &tags);

    int m_file = 0;
    TrackTags m_heard;
    QHash<int, TrackTags> m_queued;
};
