#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

typedef struct _GstElement GstElement;
class QFileInfo;
class QThread;

// GStreamer's start, once a process, and the playbin the engine plays through.
bool startGstreamer();
// A playbin for sound only, whose audio sink is the chain sinkFormatChain builds around
// audioSink (a GStreamer bin description; empty for the system's sound output). The caller
// owns it.
GstElement *newPlaybin(const QString &audioSink);
// Takes a pipeline down and releases it, with nothing left to handle its bus.
void disposePipeline(GstElement *pipeline);
// Whether playbin may be given the file: a folder, a FIFO or a device would block or fail deep
// inside GStreamer, where no time limit reaches; an empty file can hold nothing to play.
bool isPlayableFile(const QFileInfo &file);

// GStreamer's start for the files named on a process's command line, on a thread of its own
// begun before anything else, so that it runs beside Qt's start and the window's building
// rather than after them: GStreamer itself, the plug-ins every file plays through, the type
// finders and the decoders of the files' kinds. It opens no sound output until the start knows
// it is the player (playFirst), so a start that hands its files to the running player ends
// without having touched it. Without files, nothing.
//
// Threads: the main thread calls every function; the early thread touches nothing else but
// what playFirst hands it, and the playbin it makes.
class EarlyStart {
public:
    // attach connects a playbin to what watches it, before it plays anything.
    using Attach = std::function<void(GstElement *playbin, const QString &path)>;
    // A playbin holding a file ready to play at its start, or nothing; the taker owns it.
    struct Readied {
        GstElement *playbin = nullptr;
        QString path;
    };

    EarlyStart(int argc, char *argv[]);
    // Cuts the loading of decoders short, waits for the early thread to end and drops a playbin
    // nobody took.
    ~EarlyStart();
    EarlyStart(const EarlyStart &) = delete;
    EarlyStart &operator=(const EarlyStart &) = delete;

    // This start is the player: the first file named, when it is a file the player plays, is
    // readied (prerolled, the sound output opened) on the early thread through a playbin of
    // newPlaybin(audioSink)'s, given to attach first, so that its first start need only set it
    // playing. Tells whether there is such a file.
    bool playFirst(const QString &audioSink, Attach attach);
    // Waits for the early thread and hands over what playFirst readied.
    Readied take();

private:
    void run(const QStringList &caps);
    bool waitForDecision();

    // The file to ready, set before the early thread begins.
    QString m_first;
    std::thread m_thread;
    std::atomic<bool> m_stopping { false };
    // Set once the start knows whether it is the player; guarded by m_lock.
    std::mutex m_lock;
    std::condition_variable m_decided;
    Attach m_attach;
    QString m_audioSink;
    Readied m_readied;
};

// Starts GStreamer, loads the decoders of the kinds of file among paths and opens the sound
// output, on a thread of its own, so that the player's window comes up without waiting for it
// and the first click need not either.
//
// Threads: the UI thread calls the constructor, take and the destructor; the warming thread
// touches nothing but the playbin it makes and m_enough, which tells it to stop early.
class Warmer {
public:
    Warmer(const QString &audioSink, const QStringList &paths);
    ~Warmer();
    // Stops the warming where it stands and hands over the playbin it made, if any.
    GstElement *take();

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_enough { false };
    GstElement *m_playbin = nullptr;
};
