#include "playback/gstreamer/gstengine.h"

#include "playback/gstreamer/callbacks.h"
#include "playback/gstreamer/startup.h"

#include <QUrl>
#include <gst/gst.h>

// Where the engine's playbin comes from: readied early for the first file named on the command
// line, warmed up in the background for a player started with nothing to play, or made when the
// first file is loaded; and what is attached to it before anything flows. The transport is in
// gstengine.cpp.

void GstEngine::warmUp(const QStringList &paths)
{
    if (!m_playbin && !m_warmer && !m_early)
        m_warmer = std::make_unique<Warmer>(m_audioSink, paths);
}

void GstEngine::prepareFirstFile(EarlyStart &start)
{
    if (m_playbin || m_early)
        return;
    const auto attach = [this](GstElement *playbin, const QString &path) { attachFirst(playbin, path); };
    if (start.playFirst(m_audioSink, attach))
        m_early = &start;
}

// What ensurePlaybin and startFromBeginning do, before the first file is readied.
void GstEngine::attachFirst(GstElement *playbin, const QString &path)
{
    attach(playbin);
    m_firstFile = m_handOver.name();
    give(playbin, path);
}

// The early start's playbin is the engine's from now on. It holds its file ready at its start
// unless the file's first moment may have passed the gain and the volume at other than what
// they are now: it was readied at full volume, at the gain of a file nobody told of, a track's
// own. Tells whether it holds path.
bool GstEngine::takeFirst(const QString &path)
{
    const EarlyStart::Readied readied = std::exchange(m_early, nullptr)->take();
    if (!readied.playbin)
        return false;
    m_playbin = readied.playbin;
    m_volume.applyTo(m_playbin);
    // What it reported while nobody played it is no reason to end what plays next.
    ++m_generation;
    m_file = m_firstFile;
    if (m_tags.hear(m_file))
        emit TagsChanged();
    if (m_loudness.told(readied.path) == Gain::Track && m_volume.linear() == 1.0 && !m_volume.muted())
        m_loaded = readied.path;
    return !m_loaded.isEmpty() && m_loaded == path;
}

bool GstEngine::ensurePlaybin()
{
    if (m_playbin)
        return true;
    // The file to play loads what it needs itself, sooner than the warming would.
    GstElement *playbin = m_warmer ? m_warmer->take() : nullptr;
    m_warmer.reset();
    if (!playbin)
        playbin = newPlaybin(m_audioSink);
    if (!playbin)
        return false;
    m_volume.applyTo(playbin);
    attach(playbin);
    m_playbin = playbin;
    return true;
}

void GstEngine::attach(GstElement *playbin)
{
    GstEngineCallbacks::connect(this, playbin);
    m_loudness.attach(playbin);
}

void GstEngine::give(GstElement *playbin, const QString &path)
{
    m_handOver.load();
    g_object_set(playbin, "uri", QUrl::fromLocalFile(path).toEncoded().constData(), nullptr);
    m_loudness.name(path);
}
