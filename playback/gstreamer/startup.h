#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

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
