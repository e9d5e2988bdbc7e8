#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>

typedef struct _GstElement GstElement;
class QThread;

// GStreamer's start, once a process, and the playbin the engine plays through.
bool startGstreamer();
// A playbin for sound only, whose audio sink is the chain sinkFormatChain builds around
// audioSink (a GStreamer bin description; empty for the system's sound output). The caller
// owns it.
GstElement *newPlaybin(const QString &audioSink);
// Takes a pipeline down and releases it, with nothing left to handle its bus.
void disposePipeline(GstElement *pipeline);

// GStreamer's start for the files named on a process's command line, on a thread of its own
// begun before anything else, so that it runs beside Qt's start and the window's building
// rather than after them: GStreamer itself, the plug-ins every file plays through, the type
// finders and the decoders of the files' kinds. It opens no sound output, so a start that
// hands its files to the running player ends without having touched it. Without files, nothing.
//
// Threads: the main thread makes and destroys it; the early thread touches nothing else.
class EarlyStart {
public:
    EarlyStart(int argc, char *argv[]);
    // Cuts the loading of decoders short and waits for the early thread to end.
    ~EarlyStart();
    EarlyStart(const EarlyStart &) = delete;
    EarlyStart &operator=(const EarlyStart &) = delete;

private:
    void run(const QStringList &caps);

    std::thread m_thread;
    std::atomic<bool> m_stopping { false };
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
