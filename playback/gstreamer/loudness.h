#pragma once

#include "playback/mediaengine.h"

#include <QString>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

typedef struct _GstElement GstElement;
typedef struct _GstTagList GstTagList;
class HandOver;

// The gains a stream's tags told, in dB on ReplayGain's reference level, and its peaks
// (1.0 at full scale).
struct GainTags {
    std::optional<double> trackGain;
    std::optional<double> trackPeak;
    std::optional<double> albumGain;
    std::optional<double> albumPeak;
};
struct AppliedGain {
    double gain = 0;
    double peak = 1;
};
// What a stream plays at: the gain asked for, else the other one; none when it is to play as
// stored or carries no gain.
AppliedGain appliedGain(const GainTags &tags, MediaEngine::Gain wanted);
// An Opus R128 gain (Q7.8 dB relative to -23 LUFS) on ReplayGain's reference level, from the
// text of its comment.
std::optional<double> fromR128(const QString &text);

// Every file at the same loudness, through the rgvolume and rglimiter of the sink chain.
// GStreamer maps the ReplayGain tags of Vorbis comments, ID3v2 TXXX frames, APE and MP4 tags,
// but not Opus's R128 comments, and rgvolume keeps a gain until a new one comes, also across
// the joint to a file that has none. So this part reads each stream's gains itself, chooses
// the track's or the album's as the player told for the file, and hands rgvolume one complete
// set in every tag event, or a neutral one when the stream tells none. The limiter is on only
// where a gain raises the sound: a file lowered, or untagged, plays untouched.
//
// Threads: the UI thread calls setGain, name and attach; the streaming thread that feeds the
// sink runs the probe on rgvolume's sink pad and alone touches m_stream, m_wanted and m_told. m_gains
// and m_named are guarded by m_lock.
class Loudness {
public:
    explicit Loudness(const HandOver &handOver);
    ~Loudness();
    void setGain(const QString &path, MediaEngine::Gain gain);
    // The file the playbin is given to play from its start.
    void name(const QString &path);
    // Watches the rgvolume, named "gain", and the rglimiter, named "limiter", of the playbin's
    // audio filter.
    void attach(GstElement *playbin);

private:
    friend struct LoudnessProbe;
    void streamBegins();
    void tell(GstTagList *list);
    MediaEngine::Gain wantedFor(const QString &path);

    const HandOver &m_handOver;
    GstElement *m_limiter = nullptr;
    GainTags m_stream;
    // Chosen once the stream's start has reached the sink, where the hand-over learns its file.
    std::optional<MediaEngine::Gain> m_wanted;
    bool m_told = false;
    std::mutex m_lock;
    // The newest last; only the files named and queued matter, so few are kept.
    std::deque<std::pair<QString, MediaEngine::Gain>> m_gains;
    QString m_named;
};
