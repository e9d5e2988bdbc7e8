#include "playback/enginerouter.h"

#include "files/mediatypes.h"

#include <algorithm>

EngineRouter::EngineRouter(MediaEngine *files, MediaEngine *streams, QObject *parent)
    : MediaEngine(parent)
    , m_files(files)
    , m_streams(streams)
    , m_current(files)
{
    pass(files);
    pass(streams);
}

void EngineRouter::pass(MediaEngine *engine)
{
    const auto from = [this, engine](void (MediaEngine::*signal)()) {
        return [this, engine, signal] {
            if (engine == m_current)
                emit(this->*signal)();
        };
    };
    connect(engine, &MediaEngine::PlaybackEnded, this, [this, engine](qint32 result) {
        if (engine == m_current)
            emit PlaybackEnded(result);
    });
    connect(engine, &MediaEngine::TagsChanged, this, from(&MediaEngine::TagsChanged));
    connect(engine, &MediaEngine::QueuedFileStarted, this, from(&MediaEngine::QueuedFileStarted));
    connect(engine, &MediaEngine::LengthChanged, this, from(&MediaEngine::LengthChanged));
    connect(engine, &MediaEngine::StartFailed, this, from(&MediaEngine::StartFailed));
}

// The tags the player sees are those of the engine picked: a change of engine is a change of
// tags, which neither engine tells of by itself.
bool EngineRouter::MediaFile(const QString &path)
{
    MediaEngine *chosen = isStreamAddress(path) ? m_streams : m_files;
    if (chosen == m_current)
        return m_current->MediaFile(path);
    const TrackTags before = m_current->Tags();
    m_current->StopPlayback();
    m_current = chosen;
    const bool named = m_current->MediaFile(path);
    if (m_current->Tags() != before)
        emit TagsChanged();
    return named;
}

bool EngineRouter::StartPlayback()
{
    return m_current->StartPlayback();
}

bool EngineRouter::PausePlayback()
{
    return m_current->PausePlayback();
}

bool EngineRouter::StopPlayback()
{
    return m_current->StopPlayback();
}

std::optional<bool> EngineRouter::MuteState() const
{
    return m_current->MuteState();
}

bool EngineRouter::setMuteState(bool muted)
{
    const bool files = m_files->setMuteState(muted);
    return m_streams->setMuteState(muted) && files;
}

bool EngineRouter::VolumeLevel(int level)
{
    const bool files = m_files->VolumeLevel(level);
    return m_streams->VolumeLevel(level) && files;
}

std::optional<double> EngineRouter::MediaLength()
{
    return m_current->MediaLength();
}

std::optional<double> EngineRouter::Position() const
{
    return m_current->Position();
}

bool EngineRouter::Seek(double seconds)
{
    return m_current->Seek(seconds);
}

bool EngineRouter::CanSeek() const
{
    return m_current->CanSeek();
}

TrackTags EngineRouter::Tags() const
{
    return m_current->Tags();
}

// A stream is never queued: the files to follow end before the first address.
void EngineRouter::QueueNext(const QStringList &paths)
{
    if (m_current == m_streams)
        return;
    m_files->QueueNext(QStringList(paths.begin(), std::find_if(paths.begin(), paths.end(), isStreamAddress)));
}

void EngineRouter::setGain(const QString &path, Gain gain)
{
    m_files->setGain(path, gain);
}
