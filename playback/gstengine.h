#pragma once

#include "playback/mediaengine.h"

// The media engine over GStreamer's playbin, audio only.
class GstEngine : public MediaEngine {
    Q_OBJECT
public:
    explicit GstEngine(QObject *parent = nullptr);
    ~GstEngine() override;

    bool MediaFile(const QString &path) override;
    bool StartPlayback() override;
    bool PausePlayback() override;
    bool StopPlayback() override;
    std::optional<bool> MuteState() const override;
    bool setMuteState(bool muted) override;
    bool VolumeLevel(int level) override;
    std::optional<double> MediaLength() override;
};
