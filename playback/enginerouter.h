#pragma once

#include "playback/mediaengine.h"

// One engine over two: the files engine plays files, the streams engine addresses
// (isStreamAddress). Naming a file or an address picks the engine that plays it and stops the
// other; every call then goes to the one picked, and only its signals pass. The volume and
// mute go to both, so that the next one picked plays as loud as the last.
class EngineRouter : public MediaEngine {
    Q_OBJECT
public:
    EngineRouter(MediaEngine *files, MediaEngine *streams, QObject *parent = nullptr);

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
    void pass(MediaEngine *engine);

    MediaEngine *m_files;
    MediaEngine *m_streams;
    MediaEngine *m_current;
};
