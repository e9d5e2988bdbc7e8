#pragma once

#include "playback/gstreamer/handover.h"
#include "playback/gstreamer/loudness.h"
#include "playback/gstreamer/playbinvolume.h"
#include "playback/gstreamer/tagreading.h"
#include "playback/gstreamer/tracklength.h"
#include "playback/mediaengine.h"

#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>

typedef struct _GstElement GstElement;
class EarlyStart;
class Warmer;

// The media engine over GStreamer's playbin, audio only: the transport, the generations and the
// length (gstengine.cpp). GStreamer starts with the first operation that needs it, or earlier in
// the background once warmUp is called (startup.h); where the playbin comes from is in
// gstengineplaybin.cpp. Tags are read by tagreading.h, the joint between files is
// kept exact by joint.h, the files to follow go through handover.h, and loudness.h
// applies their gains.
//
// A file that was stopped, or has played to its end, stays ready (prerolled) at its start,
// so starting it again is only a matter of setting it playing.
//
// Every load, stop, seek and start from the beginning takes a new generation number; an end of
// file or an error already on its way to the UI thread when the number changed belongs to a
// playback that is over, and is dropped. An end that arrives while paused is held, the file
// left where it ended, and raised on the resume.
//
// Threads: every public function and every field but m_generation and m_handOver is the UI
// thread's, but for attachFirst, which the early start's thread runs before the UI thread takes
// the playbin it readies (take waits for that thread). GStreamer's threads (the bus's sync
// handler, about-to-finish, the sink's probe) read m_generation, call m_handOver, and hand
// everything else to the UI thread as queued calls.
class GstEngine : public MediaEngine {
    Q_OBJECT
public:
    explicit GstEngine(QObject *parent = nullptr);
    // audioSink is a GStreamer bin description such as "fakesink sync=true"; empty lets
    // GStreamer choose the system's sound output.
    explicit GstEngine(const QString &audioSink, QObject *parent = nullptr);
    ~GstEngine() override;

    bool MediaFile(const QString &path) override;
    bool StartPlayback() override;
    bool PausePlayback() override;
    bool StopPlayback() override;
    std::optional<bool> MuteState() const override;
    bool setMuteState(bool muted) override;
    bool VolumeLevel(int level) override;
    std::optional<double> MediaLength() override;
    std::optional<double> Position() const override;
    void QueueNext(const QStringList &paths) override;
    void setGain(const QString &path, Gain gain) override;
    bool Seek(double seconds) override;
    bool CanSeek() const override;
    TrackTags Tags() const override;

    // Starts GStreamer, loads the decoders of the kinds of file among paths and opens the sound
    // output in the background.
    void warmUp(const QStringList &paths);
    // The first file named on the command line is readied on the early start's thread, watched
    // by this engine from the start, and played through its playbin. The early start outlives
    // the engine.
    void prepareFirstFile(EarlyStart &start);

    // The linear gain the playbin applies, 1.0 at full volume.
    double LinearVolume() const;

private:
    bool ensurePlaybin();
    void attach(GstElement *playbin);
    void give(GstElement *playbin, const QString &path);
    void attachFirst(GstElement *playbin, const QString &path);
    bool takeFirst(const QString &path);
    bool startFromBeginning();
    bool playFromStart();
    bool failStart();
    // Ends playback; reset takes the playbin down all the way, as it must be after a failure.
    void halt(bool reset = false);
    // Ends playback and keeps the file ready at its start.
    void rewind();
    bool reloadHeardFile();
    void measure();
    void deliverEnd(int generation, bool failed);
    bool deliverHeldEnd();
    void queueEnd(bool failed);
    void forgetFile();

    // The files to follow, on the UI thread: one has arrived at the sink and is heard once the
    // pipeline's clock reaches it; one dropped there ends the file heard at that moment.
    void awaitQueuedFile();
    void startQueuedFile(const HandOver::Queued &queued);
    std::optional<double> positionBefore(quint64 queuedAt) const;
    std::optional<quint64> heardRunningTime() const;

    friend struct GstEngineCallbacks;

    QString m_audioSink;
    QString m_path;
    // The file the playbin holds ready or playing; empty when it holds none.
    QString m_loaded;
    GstElement *m_playbin = nullptr;
    // The sink chain, and its capsfilter that holds the format the output was opened with.
    GstElement *m_sink = nullptr;
    GstElement *m_format = nullptr;
    std::unique_ptr<Warmer> m_warmer;
    EarlyStart *m_early = nullptr;
    // The number attachFirst gave the first file.
    int m_firstFile = 0;
    std::atomic<int> m_generation { 0 };
    bool m_playing = false;
    bool m_paused = false;
    // An end that came in while paused, kept for the resume: true when it was an error.
    std::optional<bool> m_heldEnd;
    PlaybinVolume m_volume;
    // The number of the file heard, which tells its tags and its count apart.
    int m_file = 0;
    FileTags m_tags;
    TrackLength m_length;
    HandOver m_handOver;
    Loudness m_loudness;
    QTimer m_queuedTimer;
    // Where the clock stood when the timer was last set, to tell a clock that stopped.
    std::optional<quint64> m_lastHeard;
};
