#pragma once

#include "playback/gstreamer/httpfetch.h"
#include "playback/gstreamer/playbinvolume.h"
#include "playback/mediaengine.h"

#include <QTimer>
#include <atomic>

typedef struct _GstElement GstElement;

// The media engine for internet streams: one address at a time, played through a playbin of its
// own with the same sound output and gain chain as files. Nothing here waits for the network: a
// start only sets the playbin going, and what GStreamer learns comes back as queued calls.
//
// A connection is connecting until its first sound reaches the sink. The start fails when its
// first connection fails or stays silent for 10 s; a stream heard that drops is connected again
// after 1, 2, 4 ... up to 30 s, and ends as a file would after 5 minutes without sound. A
// station's playlist (named as such, or found not to be audio before any sound) is fetched first,
// and the first stream it names plays.
//
// Threads: every public function and every field but m_generation and m_awaitingSound is the UI
// thread's. GStreamer's threads (the bus's sync handler, the sink's probe, source-setup) read
// m_generation, clear m_awaitingSound and hand everything else to the UI thread as queued calls
// tagged with the generation, so that what a closed connection reported is dropped.
class StreamEngine : public MediaEngine {
    Q_OBJECT
public:
    explicit StreamEngine(QObject *parent = nullptr);
    // audioSink as for GstEngine: a GStreamer bin description, empty for the system's output.
    explicit StreamEngine(const QString &audioSink, QObject *parent = nullptr);
    ~StreamEngine() override;

    bool MediaFile(const QString &path) override;
    bool StartPlayback() override;
    bool PausePlayback() override;
    bool StopPlayback() override;
    std::optional<bool> MuteState() const override;
    bool setMuteState(bool muted) override;
    bool VolumeLevel(int level) override;
    std::optional<double> MediaLength() override;
    std::optional<double> Position() const override;
    bool Seek(double seconds) override;
    bool CanSeek() const override;
    TrackTags Tags() const override;
    void QueueNext(const QStringList &paths) override;
    void setGain(const QString &path, Gain gain) override;

private:
    enum class State { Stopped, Connecting, Playing, Retrying };

    bool ensurePlaybin();
    void begin();
    void play(const QString &stream);
    void connectStream();
    void closeConnection();
    void resume();
    void halt();
    void failStart();
    void giveUp();
    void retryLater();
    std::optional<double> playbinPosition() const;
    double connectionPosition() const;

    // What GStreamer told, on the UI thread.
    void heard(int generation);
    void lost(int generation, bool notAudio);
    void fetched(const std::optional<QByteArray> &bytes);
    void takeTags(int generation, const TrackTags &update);

    friend struct StreamCallbacks;

    QString m_audioSink;
    QString m_address;
    // What the playbin connects to: the address, or the stream its playlist names.
    QString m_stream;
    GstElement *m_playbin = nullptr;
    std::atomic<int> m_generation { 0 };
    std::atomic<bool> m_awaitingSound { false };
    State m_state = State::Stopped;
    bool m_paused = false;
    // Whether the address was already fetched as a playlist, so that it is fetched once.
    bool m_fetched = false;
    PlaybinVolume m_volume;
    // The time heard on connections already closed; where the current one stood at its first
    // sound, and the time last heard on it.
    double m_heardBefore = 0;
    double m_origin = 0;
    mutable double m_lastPosition = 0;
    int m_retryWaitMs = 0;
    TrackTags m_tags;
    HttpFetch m_fetch;
    QTimer m_deadline;
    QTimer m_retry;
    QTimer m_silence;
};
