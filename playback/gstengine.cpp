#include "playback/gstengine.h"

GstEngine::GstEngine(QObject *parent)
    : MediaEngine(parent)
{
}

GstEngine::~GstEngine() = default;

bool GstEngine::MediaFile(const QString &)
{
    return false;
}

bool GstEngine::StartPlayback()
{
    return false;
}

bool GstEngine::PausePlayback()
{
    return false;
}

bool GstEngine::StopPlayback()
{
    return false;
}

std::optional<bool> GstEngine::MuteState() const
{
    return std::nullopt;
}

bool GstEngine::setMuteState(bool)
{
    return false;
}

bool GstEngine::VolumeLevel(int)
{
    return false;
}

std::optional<double> GstEngine::MediaLength()
{
    return std::nullopt;
}
