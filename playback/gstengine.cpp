#include "playback/gstengine.h"

#include "playback/adtslength.h"

#include <QFileInfo>
#include <QUrl>
#include <cmath>
#include <gst/gst.h>

namespace {

// playbin's flags: decode audio and apply our own volume; no video, no subtitles.
constexpr guint audioFlag = 0x2;
constexpr guint softVolumeFlag = 0x10;
// How long a file may take to be ready to play before it counts as unplayable.
constexpr GstClockTime prerollLimit = 5 * GST_SECOND;
// fluiddec plays MIDI about 30 dB quieter than the other formats play at full volume.
constexpr double midiGain = 0.8;
constexpr int quietestLevel = -10000;

} // namespace

// GStreamer calls these from its own threads; they touch nothing but the generation number
// and hand everything else to the UI thread.
struct GstEngineCallbacks {
    static GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer data)
    {
        auto *engine = static_cast<GstEngine *>(data);
        const auto type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
            const int generation = engine->m_generation.load();
            QMetaObject::invokeMethod(
                engine, [engine, generation] { engine->deliverEnd(generation); }, Qt::QueuedConnection);
        }
        // Nobody reads the bus, so nothing may stay queued on it. A dropped message is the
        // handler's to free, and each one holds the element that posted it.
        gst_message_unref(message);
        return GST_BUS_DROP;
    }

    static void onElementSetup(GstElement *, GstElement *element, gpointer)
    {
        GstElementFactory *factory = gst_element_get_factory(element);
        if (factory && g_strcmp0(GST_OBJECT_NAME(factory), "fluiddec") == 0)
            g_object_set(element, "synth-gain", midiGain, nullptr);
    }
};

GstEngine::GstEngine(QObject *parent)
    : MediaEngine(parent)
{
}

GstEngine::GstEngine(const QString &audioSink, QObject *parent)
    : MediaEngine(parent)
    , m_audioSink(audioSink)
{
}

GstEngine::~GstEngine()
{
    if (!m_playbin)
        return;
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(m_playbin);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(m_playbin);
}

bool GstEngine::MediaFile(const QString &path)
{
    halt();
    m_path.clear();
    m_length.reset();
    // A folder, a FIFO or a device would block or fail deep inside GStreamer, where no
    // time limit reaches; an empty file can hold nothing to play.
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable() || file.size() == 0)
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
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return false;
    m_paused = false;
    return true;
}

bool GstEngine::PausePlayback()
{
    if (!m_playing)
        return false;
    if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return false;
    m_paused = true;
    return true;
}

bool GstEngine::StopPlayback()
{
    halt();
    return true;
}

std::optional<bool> GstEngine::MuteState() const
{
    return m_muted;
}

bool GstEngine::setMuteState(bool muted)
{
    m_muted = muted;
    if (m_playbin)
        g_object_set(m_playbin, "mute", muted ? TRUE : FALSE, nullptr);
    return true;
}

bool GstEngine::VolumeLevel(int level)
{
    if (level < quietestLevel || level > 0)
        return false;
    // The level is in hundredths of a decibel of amplitude.
    m_volume = std::pow(10.0, level / 2000.0);
    if (m_playbin)
        g_object_set(m_playbin, "volume", m_volume, nullptr);
    return true;
}

std::optional<double> GstEngine::MediaLength()
{
    return m_length;
}

std::optional<double> GstEngine::Position() const
{
    gint64 position = 0;
    if (!m_playbin || !gst_element_query_position(m_playbin, GST_FORMAT_TIME, &position))
        return std::nullopt;
    return double(position) / GST_SECOND;
}

double GstEngine::LinearVolume() const
{
    if (!m_playbin)
        return m_volume;
    gdouble volume = 0;
    g_object_get(m_playbin, "volume", &volume, nullptr);
    return volume;
}

bool GstEngine::ensurePlaybin()
{
    if (m_playbin)
        return true;
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return false;
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        return false;
    // Without a sink of its own for pictures, playbin would open a video window for an MPG
    // file, and some of the video outputs it tries bring the whole process down.
    g_object_set(playbin, "flags", audioFlag | softVolumeFlag, "video-sink",
        gst_element_factory_make("fakesink", nullptr), "volume", m_volume, "mute", m_muted ? TRUE : FALSE,
        nullptr);
    if (GstElement *sink = makeAudioSink())
        g_object_set(playbin, "audio-sink", sink, nullptr);
    g_signal_connect(playbin, "element-setup", G_CALLBACK(GstEngineCallbacks::onElementSetup), this);
    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, GstEngineCallbacks::onBusMessage, this, nullptr);
    gst_object_unref(bus);
    m_playbin = GST_ELEMENT(gst_object_ref_sink(playbin));
    return true;
}

GstElement *GstEngine::makeAudioSink() const
{
    if (m_audioSink.isEmpty())
        return nullptr;
    return gst_parse_bin_from_description(m_audioSink.toUtf8().constData(), TRUE, nullptr);
}

// The length must be known when this returns, so the file is first made ready (prerolled)
// within a bounded wait, measured, and only then played.
bool GstEngine::startFromBeginning()
{
    halt();
    const QByteArray uri = QUrl::fromLocalFile(m_path).toEncoded();
    g_object_set(m_playbin, "uri", uri.constData(), nullptr);
    if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return failStart();
    const GstStateChangeReturn ready = gst_element_get_state(m_playbin, nullptr, nullptr, prerollLimit);
    if (ready != GST_STATE_CHANGE_SUCCESS && ready != GST_STATE_CHANGE_NO_PREROLL)
        return failStart();
    // What the file reported while it was being readied (a stream nobody plays, such as the
    // pictures of an MPG file) is no reason to end it.
    ++m_generation;
    m_length = queryDuration();
    if (!m_length)
        m_length = adtsFileLength(m_path);
    if (!m_length)
        m_length = estimateFromBitrate();
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
    m_length.reset();
    return false;
}

void GstEngine::halt(bool reset)
{
    if (m_playbin)
        gst_element_set_state(m_playbin, reset ? GST_STATE_NULL : GST_STATE_READY);
    ++m_generation;
    m_playing = false;
    m_paused = false;
}

std::optional<double> GstEngine::queryDuration() const
{
    gint64 duration = 0;
    if (!gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &duration) || duration <= 0)
        return std::nullopt;
    return double(duration) / GST_SECOND;
}

// An MP3 without a length header tells its length only once it has been read through, so
// until then the length follows from the file's size and its bit rate.
std::optional<double> GstEngine::estimateFromBitrate() const
{
    GstTagList *tags = nullptr;
    g_signal_emit_by_name(m_playbin, "get-audio-tags", 0, &tags);
    if (!tags)
        return std::nullopt;
    guint bitrate = 0;
    if (!gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &bitrate))
        gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &bitrate);
    gst_tag_list_unref(tags);
    if (bitrate == 0)
        return std::nullopt;
    return QFileInfo(m_path).size() * 8.0 / bitrate;
}

// An error after the file started playing (a truncated file) ends it as its end would, so
// the playlist moves on instead of waiting for an end that never comes.
void GstEngine::deliverEnd(int generation)
{
    if (generation != m_generation.load())
        return;
    halt(true);
    emit PlaybackEnded(0);
}
