#include "playback/gstreamer/playbinvolume.h"

#include <cmath>
#include <gst/gst.h>

namespace {

constexpr int quietestLevel = -10000;

} // namespace

bool PlaybinVolume::setMuted(GstElement *playbin, bool muted)
{
    m_muted = muted;
    if (playbin)
        applyTo(playbin);
    return true;
}

bool PlaybinVolume::setLevel(GstElement *playbin, int level)
{
    if (level < quietestLevel || level > 0)
        return false;
    // The level is in hundredths of a decibel of amplitude.
    m_linear = std::pow(10.0, level / 2000.0);
    if (playbin)
        applyTo(playbin);
    return true;
}

void PlaybinVolume::applyTo(GstElement *playbin) const
{
    g_object_set(playbin, "volume", m_linear, "mute", m_muted ? TRUE : FALSE, nullptr);
}
