#pragma once

#include "playback/mediaengine.h"

#include <QTimer>
#include <atomic>
#include <future>
#include <memory>
#include <mutex>
#include <optional>

typedef struct _GstElement GstElement;
class QThread;

// The media engine over GStreamer's playbin, audio only. GStreamer starts with the first
// operation that needs it, or earlier in the background once warmUp is called, so the
// player's window comes up without waiting for it and the first click need not either.
//
// A file that was stopped, or has played to its end, stays ready (prerolled) at its start,
// so starting it again is only a matter of setting it playing.
//
// Every load, stop and start from the beginning takes a new generation number; an end of
// file or an error already on its way to the UI thread when the number changed belongs to a
// playback that is over, and is dropped. An end that arrives while paused is held, the file
// left where it ended, and raised on the resume.
//
// The file to follow is asked for when playbin's about-to-finish asks, on its streaming
// thread, and handed to playbin there, so that it joins the file before it without a gap. It
// is followed through three stages: handed over, its stream begun at the sink, and heard.
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
    void QueueNext(const QString &path) override;
    bool Seek(double seconds) override;
    bool CanSeek() const override;
    TrackTags Tags() const override;

    // Starts GStreamer, loads the decoders of the kinds of file among paths and opens the sound
    // output, on a thread of its own that touches nothing else of the engine.
    void warmUp(const QStringList &paths);

    // The linear gain the playbin applies, 1.0 at full volume.
    double LinearVolume() const;

private:
    bool ensurePlaybin();
    void watchSink(GstElement *playbin);
    bool startFromBeginning();
    void keepFormat();
    bool playFromStart();
    bool failStart();
    // Ends playback; reset takes the playbin down all the way, as it must be after a failure.
    void halt(bool reset = false);
    // Ends playback and keeps the file ready at its start.
    void rewind();
    void measure();
    void refineLength();
    std::optional<double> queryDuration() const;
    std::optional<double> estimateFromBitrate() const;
    void deliverEnd(int generation, bool failed);
    bool deliverHeldEnd();
    bool reloadHeardFile();
    void queueEnd(bool failed);
    void forgetTags();
    void takeTags(int file, const TrackTags &update);
    void setTags(const TrackTags &tags);

    // The file to follow. The streaming thread asks, the UI thread answers.
    QString askForNextFile();
    void raiseNextFileWanted(int request);
    bool isQueuedFileComing();
    bool isAsked(int request);
    void answerNextFile(int request, const QString &path);
    // Asks from the streaming thread are answered with nothing from closeQueue until the queue
    // opens again, while the UI thread may be waiting for that thread (a state change, a
    // seek). dropQueuedFile closes it as well, and tells whether a file was queued.
    void closeQueue();
    bool dropQueuedFile();
    void openQueue();
    // The sink's streaming thread: the queued file's stream begins, and its first buffer comes.
    void queuedStreamBegins();
    QString takeArrivingFile();
    // The UI thread: the queued file's first buffer is at the sink, to be heard at runningTime.
    void queuedFileArrived(int generation, const QString &path, quint64 runningTime);
    void awaitQueuedFile();
    void startQueuedFile();
    std::optional<double> positionBeforeQueued() const;
    std::optional<quint64> heardRunningTime() const;

    friend struct GstEngineCallbacks;

    QString m_audioSink;
    QString m_path;
    // The file the playbin holds ready or playing; empty when it holds none.
    QString m_loaded;
    GstElement *m_playbin = nullptr;
    // The sink's first element, which holds the format the output was opened with.
    GstElement *m_format = nullptr;
    std::unique_ptr<QThread> m_warming;
    std::atomic<bool> m_warmedEnough { false };
    // What the warming thread made; read only once it has finished.
    GstElement *m_warmPlaybin = nullptr;
    std::atomic<int> m_generation { 0 };
    bool m_playing = false;
    bool m_paused = false;
    // An end that came in while paused, kept for the resume: true when it was an error.
    std::optional<bool> m_heldEnd;
    std::optional<double> m_length;
    // Whether m_length was counted from the file's frames, which no guess of GStreamer's betters.
    bool m_lengthCounted = false;
    double m_volume = 1.0;
    bool m_muted = false;
    TrackTags m_tags;
    // The tags of the file queued to follow, which wait until it is heard.
    TrackTags m_nextTags;
    // Numbers the files named and queued, so that tags read from one no longer named are
    // dropped: m_file is the file heard, m_nextFile the one handed to the playbin to follow
    // it (0 while none is), m_sinkFile the one whose stream the sink takes in, which is the
    // file to follow from its stream's start at the sink on.
    std::atomic<int> m_files { 0 };
    std::atomic<int> m_file { 0 };
    std::atomic<int> m_nextFile { 0 };
    std::atomic<int> m_sinkFile { 0 };

    std::mutex m_queueLock;
    // Guarded by m_queueLock.
    std::optional<std::promise<QString>> m_nextAnswer;
    int m_request = 0;
    bool m_queueClosed = false;
    QString m_handedOver;
    QString m_arriving;
    // The UI thread's: what QueueNext answered while NextFileWanted was raised, and the queued
    // file whose first buffer is at the sink, to be heard at m_queuedAt.
    bool m_asking = false;
    QString m_answer;
    int m_waitingRequest = 0;
    QString m_queued;
    quint64 m_queuedAt = 0;
    QTimer m_queuedTimer;
};
