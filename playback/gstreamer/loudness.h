#pragma once

#include "playback/mediaengine.h"

#include <QString>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

typedef struct _GstElement GstElement;

// The gains a stream's tags told, in dB on ReplayGain's reference level, and its peaks
// (1.0 at full scale).
struct GainTags {
    std::optional<double> trackGain;
    std::optional<double> trackPeak;
    std::optional<double> albumGain;
    std::optional<double> albumPeak;
};
// The gain in dB a stream plays at: the one asked for, else the other one, no more than its
// peak leaves room for, so that it never clips; none when it is to play as stored or carries
// no gain.
double appliedGain(const GainTags &tags, MediaEngine::Gain wanted);
// An Opus R128 gain (Q7.8 dB relative to -23 LUFS) on ReplayGain's reference level, from the
// text of its comment.
std::optional<double> fromR128(const QString &text);

// Every file at the same loudness, through the rgvolume and rglimiter of playbin's audio filter.
// GStreamer maps the ReplayGain tags of Vorbis comments, ID3v2 TXXX frames, APE and MP4 tags,
// but not Opus's R128 comments, and rgvolume keeps the gain tags it was told until an end of
// stream, which the joint to the next file never brings. So this part reads each stream's
// gains itself, takes them out of the stream, chooses the track's or the album's as the player
// told for the file, bounds it by the peak, and sets it as rgvolume's fallback gain at the
// stream's start and at each of its tags, in order with its sound. The limiter is on only where a gain raises
// the sound: a file lowered, or untagged, plays untouched.
//
// Streams reach rgvolume in the order playbin plays them: the file named, then each one handed
// over at about-to-finish; a stream that begins with nothing handed over is the named file's,
// begun again.
//
// Threads: the UI thread calls setGain, name, and attach before anything plays; playbin's
// streaming thread calls handed (about-to-finish); the streaming thread that feeds the sink
// runs the probe on rgvolume's sink pad and alone touches m_stream, m_wanted and the two
// elements' properties. m_gains, m_named and m_handed are guarded by m_lock.
class Loudness {
public:
    Loudness() = default;
    Loudness(const Loudness &) = delete;
    Loudness &operator=(const Loudness &) = delete;
    ~Loudness();
    void setGain(const QString &path, MediaEngine::Gain gain);
    // The gain told last for path; a track's own when none was.
    MediaEngine::Gain told(const QString &path);
    // The file the playbin is given to play from its start; nothing handed over stays.
    void name(const QString &path);
    // The file handed to the playbin to follow.
    void handed(const QString &path);
    // Watches the rgvolume, named "gain", and the rglimiter, named "limiter", of the playbin's
    // audio filter.
    void attach(GstElement *playbin);

private:
    friend struct LoudnessProbe;
    void streamBegins();
    void apply();
    MediaEngine::Gain wantedFor(const QString &path);

    GstElement *m_gain = nullptr;
    GstElement *m_limiter = nullptr;
    GainTags m_stream;
    MediaEngine::Gain m_wanted = MediaEngine::Gain::Track;
    std::mutex m_lock;
    // The newest last; only the files named and queued matter, so few are kept.
    std::deque<std::pair<QString, MediaEngine::Gain>> m_gains;
    QString m_named;
    std::deque<QString> m_handed;
};
