#pragma once

#include "playback/mediaengine.h"

#include <atomic>
#include <optional>

typedef struct _GstElement GstElement;

// The media engine over GStreamer's playbin, audio only. GStreamer starts with the first
// operation that needs it, so the player's window comes up without waiting for it.
//
// Every load and every start from the beginning takes a new generation number; an end of
// file or an error already on its way to the UI thread when the number changed belongs to a
// playback that is over, and is dropped.
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

    // The linear gain the playbin applies, 1.0 at full volume.
    double LinearVolume() const;

private:
    bool ensurePlaybin();
    GstElement *makeAudioSink() const;
    bool startFromBeginning();
    bool failStart();
    // Ends playback; reset takes the playbin down all the way, as it must be after a failure.
    void halt(bool reset = false);
    std::optional<double> queryDuration() const;
    std::optional<double> estimateFromBitrate() const;
    void deliverEnd(int generation);

    friend struct GstEngineCallbacks;

    QString m_audioSink;
    QString m_path;
    GstElement *m_playbin = nullptr;
    std::atomic<int> m_generation { 0 };
    bool m_playing = false;
    bool m_paused = false;
    std::optional<double> m_length;
    double m_volume = 1.0;
    bool m_muted = false;
};
