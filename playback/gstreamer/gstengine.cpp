#include "playback/gstreamer/gstengine.h"

#include "playback/gstreamer/startup.h"

#include <QFileInfo>
#include <cmath>
#include <gst/gst.h>

namespace {

// How long a file may take to be ready to play before it counts as unplayable.
constexpr GstClockTime prerollLimit = 5 * GST_SECOND;
// How long a seek may take to be ready at its new place; a slower one goes on in the background
// and the position catches up with it.
constexpr GstClockTime seekLimit = GST_SECOND;
// The furthest a seek goes: past the end of any file, and far from overflowing in nanoseconds.
constexpr double furthestSeek = 1e9;

QStringList playableFiles(const QStringList &paths)
{
    QStringList playable;
    for (const QString &path : paths) {
        const QFileInfo file(path);
        if (!isPlayableFile(file))
            break;
        playable << file.absoluteFilePath();
    }
    return playable;
}

} // namespace

GstEngine::GstEngine(QObject *parent)
    : GstEngine(QString(), parent)
{
}

GstEngine::GstEngine(const QString &audioSink, QObject *parent)
    : MediaEngine(parent)
    , m_audioSink(audioSink)
{
    m_queuedTimer.setSingleShot(true);
    m_queuedTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_queuedTimer, &QTimer::timeout, this, &GstEngine::awaitQueuedFile);
    connect(&m_tags, &FileTags::changed, this, &MediaEngine::TagsChanged);
    connect(&m_length, &TrackLength::changed, this, &MediaEngine::LengthChanged);
}

GstEngine::~GstEngine()
{
    m_warmer.reset();
    if (m_early) {
        if (GstElement *playbin = std::exchange(m_early, nullptr)->take().playbin)
            disposePipeline(playbin);
    }
    if (m_playbin)
        disposePipeline(m_playbin);
    if (m_format)
        gst_object_unref(m_format);
    if (m_sink)
        gst_object_unref(m_sink);
}

bool GstEngine::MediaFile(const QString &path)
{
    const QFileInfo file(path);
    const bool playable = isPlayableFile(file);
    if (m_early && takeFirst(file.absoluteFilePath()) && playable) {
        m_path = m_loaded;
        return true;
    }
    // The same file named again starts from the start it is held ready at; one that cannot be
    // taken back there is no longer held, and the next start loads it afresh.
    if (playable && !m_loaded.isEmpty() && file.absoluteFilePath() == m_loaded) {
        rewind();
        m_path = file.absoluteFilePath();
        return true;
    }
    halt();
    forgetFile();
    m_path.clear();
    if (!playable)
        return false;
    m_path = file.absoluteFilePath();
    return true;
}

bool GstEngine::StartPlayback()
{
    if (m_path.isEmpty() || !ensurePlaybin())
        return false;
    if (!m_paused)
        return startFromBeginning();
    if (m_heldEnd)
        return deliverHeldEnd();
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return false;
    m_paused = false;
    awaitQueuedFile();
    return true;
}

bool GstEngine::PausePlayback()
{
    if (!m_playing)
        return false;
    if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return false;
    m_paused = true;
    m_queuedTimer.stop();
    return true;
}

bool GstEngine::StopPlayback()
{
    rewind();
    return true;
}

std::optional<bool> GstEngine::MuteState() const
{
    return m_volume.muted();
}

bool GstEngine::setMuteState(bool muted)
{
    return m_volume.setMuted(m_playbin, muted);
}

bool GstEngine::VolumeLevel(int level)
{
    return m_volume.setLevel(m_playbin, level);
}

std::optional<double> GstEngine::MediaLength()
{
    return m_length.seconds();
}

// A change of mind about a file already in the sink's buffer cannot drop it there: the file
// heard is ended where it stands instead, so that the unwanted one is never heard.
void GstEngine::QueueNext(const QStringList &paths)
{
    if (m_handOver.tell(playableFiles(paths)) != HandOver::Change::TooLate)
        return;
    const bool paused = m_paused;
    halt();
    if (!paused) {
        queueEnd(false);
        return;
    }
    m_paused = true;
    m_heldEnd = false;
}

void GstEngine::setGain(const QString &path, Gain gain)
{
    m_loudness.setGain(QFileInfo(path).absoluteFilePath(), gain);
}

// A seek at or past the end makes GStreamer end the file, as it does at its own end. Whatever
// ended before the seek belonged to the part of the file left behind.
bool GstEngine::Seek(double seconds)
{
    if (std::isnan(seconds) || !CanSeek())
        return false;
    if (!m_handOver.isEmpty() && !reloadHeardFile()) {
        // The file heard cannot be had again (renamed, unmounted): it ends here, as at its end.
        queueEnd(false);
        return false;
    }
    ++m_generation;
    m_heldEnd.reset();
    const auto target = gint64(std::clamp(seconds, 0.0, furthestSeek) * GST_SECOND);
    m_handOver.close();
    const bool sought = gst_element_seek_simple(
        m_playbin, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target);
    m_handOver.open();
    if (!sought)
        return false;
    // Until the file is ready at its new place, GStreamer cannot tell the position.
    gst_element_get_state(m_playbin, nullptr, nullptr, seekLimit);
    return true;
}

// A queued file is already on its way through the playbin, where a seek would land in it
// rather than in the file heard; the file heard is loaded afresh for the seek.
bool GstEngine::reloadHeardFile()
{
    const bool paused = m_paused;
    halt();
    return startFromBeginning() && (!paused || PausePlayback());
}

bool GstEngine::CanSeek() const
{
    if (!m_playing)
        return false;
    GstQuery *query = gst_query_new_seeking(GST_FORMAT_TIME);
    gboolean seekable = FALSE;
    if (gst_element_query(m_playbin, query))
        gst_query_parse_seeking(query, nullptr, &seekable, nullptr, nullptr);
    gst_query_unref(query);
    return seekable;
}

std::optional<double> GstEngine::Position() const
{
    if (const std::optional<HandOver::Queued> queued = m_handOver.front())
        return positionBefore(queued->at);
    gint64 position = 0;
    if (!m_playbin || !gst_element_query_position(m_playbin, GST_FORMAT_TIME, &position))
        return std::nullopt;
    return double(position) / GST_SECOND;
}

TrackTags GstEngine::Tags() const
{
    return m_tags.heard();
}

double GstEngine::LinearVolume() const
{
    if (!m_playbin)
        return m_volume.linear();
    gdouble volume = 0;
    g_object_get(m_playbin, "volume", &volume, nullptr);
    return volume;
}

// The length must be known when this returns, so the file is first made ready (prerolled)
// within a bounded wait, measured, and only then played. A file already held ready skips
// straight to the wait, which then ends at once; a playing one that cannot be taken back to
// its start is loaded afresh.
bool GstEngine::startFromBeginning()
{
    if (m_playing)
        rewind();
    if (!m_loaded.isEmpty() && m_loaded == m_path)
        return playFromStart();
    halt();
    // The output opens afresh in the format the file likes best.
    if (m_format)
        g_object_set(m_format, "caps", nullptr, nullptr);
    give(m_playbin, m_path);
    if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return failStart();
    m_loaded = m_path;
    return playFromStart();
}

bool GstEngine::playFromStart()
{
    const GstStateChangeReturn ready = gst_element_get_state(m_playbin, nullptr, nullptr, prerollLimit);
    if (ready != GST_STATE_CHANGE_SUCCESS && ready != GST_STATE_CHANGE_NO_PREROLL)
        return failStart();
    // What the file reported while it was being readied (a stream nobody plays, such as the
    // pictures of an MPG file) is no reason to end it.
    ++m_generation;
    if (!m_length.seconds())
        measure();
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return failStart();
    m_playing = true;
    return true;
}

// Whatever the failed file reported on its way down is stale once the generation moves on.
// A playbin that has failed is only fit for the next file once taken down all the way.
bool GstEngine::failStart()
{
    halt(true);
    m_length.forget();
    return false;
}

void GstEngine::halt(bool reset)
{
    m_queuedTimer.stop();
    m_handOver.close();
    if (m_playbin)
        gst_element_set_state(m_playbin, reset ? GST_STATE_NULL : GST_STATE_READY);
    m_handOver.clear();
    m_handOver.open();
    m_tags.forgetQueued();
    ++m_generation;
    m_playing = false;
    m_paused = false;
    m_heldEnd.reset();
    m_loaded.clear();
}

// Pausing keeps the sound server's stream and the decoders (and a MIDI file's soundfont);
// the flushing seek drops what was queued and readies the file again at its start.
// A queued file is already on its way through the playbin, which only a fresh load stops.
void GstEngine::rewind()
{
    if (!m_handOver.isEmpty() || m_loaded.isEmpty()) {
        halt();
        return;
    }
    m_handOver.close();
    const bool rewound = gst_element_set_state(m_playbin, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE
        && gst_element_seek_simple(m_playbin, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0);
    m_handOver.open();
    if (!rewound) {
        halt();
        return;
    }
    ++m_generation;
    m_playing = false;
    m_paused = false;
    m_heldEnd.reset();
}

void GstEngine::measure()
{
    m_length.measure(m_playbin, m_file, m_path);
}

// An error after the file started playing (a truncated file) ends it as its end would, so
// the playlist moves on instead of waiting for an end that never comes. An end that comes in
// while paused leaves the file as it is until the resume: the pause holds, and the player
// moves on only once the user plays again.
void GstEngine::deliverEnd(int generation, bool failed)
{
    // Before the first file readied early is taken, nothing plays to end.
    if (generation != m_generation.load() || !m_playbin)
        return;
    if (m_paused) {
        m_heldEnd = failed;
        return;
    }
    // On a sink that does not keep time, a queued file can end before its sound is due; what
    // the player does on hearing it may start another file.
    for (auto queued = m_handOver.front(); queued && !queued->dropped; queued = m_handOver.front()) {
        startQueuedFile(*queued);
        if (generation != m_generation.load())
            return;
    }
    if (failed)
        halt(true);
    else
        rewind();
    emit PlaybackEnded(0);
}

// The held end reaches the player from the event loop, as any end does, so the resume the
// player is handling is over before it moves on.
bool GstEngine::deliverHeldEnd()
{
    m_paused = false;
    queueEnd(*std::exchange(m_heldEnd, std::nullopt));
    return true;
}

// Called from GStreamer's threads as well as the UI thread; the end belongs to the playback of
// the moment it was queued.
void GstEngine::queueEnd(bool failed)
{
    const int generation = m_generation.load();
    QMetaObject::invokeMethod(
        this, [this, generation, failed] { deliverEnd(generation, failed); }, Qt::QueuedConnection);
}

// Tags and counts still on their way from the file named before belong to it, and are dropped.
void GstEngine::forgetFile()
{
    m_file = m_handOver.name();
    if (m_tags.hear(m_file))
        emit TagsChanged();
    m_length.forget();
}

// The sink takes a stream in well ahead of playing it, by as much as its buffer holds; the
// queued file is the one heard once the pipeline's clock has reached its first sample. A
// clock that stands still (a sink that has run dry) has got as far as it will.
void GstEngine::awaitQueuedFile()
{
    const std::optional<HandOver::Queued> queued = m_handOver.front();
    if (!queued || m_paused)
        return;
    const std::optional<quint64> heard = heardRunningTime();
    if (heard && *heard < queued->at && heard != std::exchange(m_lastHeard, heard)) {
        m_queuedTimer.start(int((queued->at - *heard + GST_MSECOND - 1) / GST_MSECOND));
        return;
    }
    m_lastHeard.reset();
    if (queued->dropped)
        deliverEnd(m_generation.load(), false);
    else
        startQueuedFile(*queued);
}

void GstEngine::startQueuedFile(const HandOver::Queued &queued)
{
    m_queuedTimer.stop();
    m_handOver.hear();
    m_path = m_loaded = queued.path;
    m_file = queued.file;
    // The tags the queued file told while the file before it still sounded, completed by
    // those playbin gathered from its stream; they are told once the file is known as heard.
    const bool retagged = m_tags.hear(queued.file, audioStreamTags(m_playbin));
    measure();
    emit QueuedFileStarted();
    if (retagged)
        emit TagsChanged();
    awaitQueuedFile();
}

// The sink tells of the queued file as soon as it has taken it in; until the queued file is
// heard, the file heard is as far from its end as the queued one is from being heard.
std::optional<double> GstEngine::positionBefore(quint64 queuedAt) const
{
    const std::optional<quint64> heard = heardRunningTime();
    const std::optional<double> length = m_length.seconds();
    if (!heard || !length)
        return std::nullopt;
    const quint64 ahead = queuedAt - std::min(*heard, queuedAt);
    return std::max(0.0, *length - double(ahead) / GST_SECOND);
}

// While paused, the pipeline's running time stands where the pause began.
std::optional<quint64> GstEngine::heardRunningTime() const
{
    if (m_paused)
        return gst_element_get_start_time(m_playbin);
    GstClock *clock = gst_element_get_clock(m_playbin);
    if (!clock)
        return std::nullopt;
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    const GstClockTime base = gst_element_get_base_time(m_playbin);
    return now > base ? now - base : 0;
}
