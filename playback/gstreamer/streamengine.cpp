#include "playback/gstreamer/streamengine.h"

#include "files/mediatypes.h"
#include "playback/gstreamer/startup.h"
#include "playback/gstreamer/tagreading.h"
#include "playlist/remoteplaylist.h"

#include <QFileInfo>
#include <QUrl>
#include <gst/gst.h>

namespace {

// How long a connection may stay silent before it counts as failed.
constexpr int connectLimitMs = 10 * 1000;
constexpr guint sourceTimeoutSeconds = 10;
constexpr int firstRetryMs = 1000;
constexpr int longestRetryMs = 30 * 1000;
// How long a stream that dropped may stay away before it ends.
constexpr int silenceLimitMs = 5 * 60 * 1000;

bool isPlaylistName(const QString &address)
{
    const QString suffix = QFileInfo(QUrl(address).path()).suffix().toLower();
    return suffix == QLatin1String("pls") || suffix == QLatin1String("m3u")
        || suffix == QLatin1String("xspf");
}

// GStreamer could not tell what the bytes are, or has nothing to play them with.
bool isNotAudio(GstMessage *message)
{
    GError *error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const bool notAudio = (error->domain == GST_STREAM_ERROR
                              && (error->code == GST_STREAM_ERROR_TYPE_NOT_FOUND
                                  || error->code == GST_STREAM_ERROR_CODEC_NOT_FOUND
                                  || error->code == GST_STREAM_ERROR_WRONG_TYPE))
        || (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN);
    g_error_free(error);
    return notAudio;
}

// A station sends one line for what it plays, "Artist - Title" by custom; a tag of its own for
// the artist, where there is one, is taken as it is.
TrackTags streamTags(const GstTagList *list)
{
    TrackTags tags = readTags(list);
    const gchar *station = nullptr;
    if (gst_tag_list_peek_string_index(list, GST_TAG_ORGANIZATION, 0, &station))
        tags.station = QString::fromUtf8(station).trimmed();
    const qsizetype dash = tags.title.indexOf(QLatin1String(" - "));
    if (tags.artists.isEmpty() && dash >= 0) {
        tags.artists = QStringList { tags.title.left(dash).trimmed() };
        tags.title = tags.title.mid(dash + 3).trimmed();
    }
    return tags;
}

} // namespace

// What GStreamer's threads call.
struct StreamCallbacks {
    static void onSourceSetup(GstElement *, GstElement *source, gpointer)
    {
        GObjectClass *type = G_OBJECT_GET_CLASS(source);
        // The titles a station sends come only to a client that asks for them.
        if (g_object_class_find_property(type, "iradio-mode"))
            g_object_set(source, "iradio-mode", TRUE, nullptr);
        if (g_object_class_find_property(type, "timeout"))
            g_object_set(source, "timeout", sourceTimeoutSeconds, nullptr);
    }

    static GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer data)
    {
        auto *engine = static_cast<StreamEngine *>(data);
        const int generation = engine->m_generation.load();
        switch (GST_MESSAGE_TYPE(message)) {
        // A radio stream has no end: one that ends has dropped.
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_ERROR: {
            const bool notAudio = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR && isNotAudio(message);
            QMetaObject::invokeMethod(
                engine, [engine, generation, notAudio] { engine->lost(generation, notAudio); },
                Qt::QueuedConnection);
            break;
        }
        case GST_MESSAGE_TAG: {
            GstTagList *list = nullptr;
            gst_message_parse_tag(message, &list);
            const TrackTags tags = streamTags(list);
            gst_tag_list_unref(list);
            QMetaObject::invokeMethod(
                engine, [engine, generation, tags] { engine->takeTags(generation, tags); },
                Qt::QueuedConnection);
            break;
        }
        default:
            break;
        }
        gst_message_unref(message);
        return GST_BUS_DROP;
    }

    static GstPadProbeReturn onSinkData(GstPad *, GstPadProbeInfo *, gpointer data)
    {
        auto *engine = static_cast<StreamEngine *>(data);
        if (engine->m_awaitingSound.exchange(false)) {
            const int generation = engine->m_generation.load();
            QMetaObject::invokeMethod(
                engine, [engine, generation] { engine->heard(generation); }, Qt::QueuedConnection);
        }
        return GST_PAD_PROBE_OK;
    }
};

StreamEngine::StreamEngine(QObject *parent)
    : StreamEngine(QString(), parent)
{
}

StreamEngine::StreamEngine(const QString &audioSink, QObject *parent)
    : MediaEngine(parent)
    , m_audioSink(audioSink)
{
    for (QTimer *timer : { &m_deadline, &m_retry, &m_silence })
        timer->setSingleShot(true);
    m_deadline.setInterval(connectLimitMs);
    m_silence.setInterval(silenceLimitMs);
    connect(&m_deadline, &QTimer::timeout, this, [this] { lost(m_generation.load(), false); });
    connect(&m_retry, &QTimer::timeout, this, &StreamEngine::connectStream);
    connect(&m_silence, &QTimer::timeout, this, &StreamEngine::giveUp);
    connect(&m_fetch, &HttpFetch::done, this, &StreamEngine::fetched);
}

StreamEngine::~StreamEngine()
{
    m_fetch.cancel();
    if (m_playbin)
        disposePipeline(m_playbin);
}

bool StreamEngine::MediaFile(const QString &path)
{
    halt();
    m_address = isStreamAddress(path) ? path : QString();
    if (m_tags != TrackTags()) {
        m_tags = {};
        emit TagsChanged();
    }
    return !m_address.isEmpty();
}

bool StreamEngine::StartPlayback()
{
    if (m_address.isEmpty() || !ensurePlaybin())
        return false;
    if (m_paused) {
        resume();
        return true;
    }
    halt();
    begin();
    return true;
}

// Only a stream heard is held where it stands; one still connecting or reconnecting is let go,
// and connects afresh on the resume.
bool StreamEngine::PausePlayback()
{
    if (m_state == State::Stopped)
        return false;
    if (m_state == State::Playing) {
        if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
            return false;
    } else {
        m_fetch.cancel();
        closeConnection();
        m_retry.stop();
        m_silence.stop();
    }
    m_paused = true;
    return true;
}

bool StreamEngine::StopPlayback()
{
    halt();
    return true;
}

std::optional<bool> StreamEngine::MuteState() const
{
    return m_volume.muted();
}

bool StreamEngine::setMuteState(bool muted)
{
    return m_volume.setMuted(m_playbin, muted);
}

bool StreamEngine::VolumeLevel(int level)
{
    return m_volume.setLevel(m_playbin, level);
}

std::optional<double> StreamEngine::MediaLength()
{
    return std::nullopt;
}

std::optional<double> StreamEngine::Position() const
{
    if (m_address.isEmpty())
        return std::nullopt;
    return m_heardBefore + connectionPosition();
}

bool StreamEngine::Seek(double)
{
    return false;
}

bool StreamEngine::CanSeek() const
{
    return false;
}

TrackTags StreamEngine::Tags() const
{
    return m_tags;
}

// A stream plays as it is sent, and nothing follows it.
void StreamEngine::QueueNext(const QStringList &)
{
}

void StreamEngine::setGain(const QString &, Gain)
{
}

bool StreamEngine::ensurePlaybin()
{
    if (m_playbin)
        return true;
    m_playbin = newPlaybin(m_audioSink);
    if (!m_playbin)
        return false;
    m_volume.applyTo(m_playbin);
    g_signal_connect(m_playbin, "source-setup", G_CALLBACK(StreamCallbacks::onSourceSetup), nullptr);
    GstBus *bus = gst_element_get_bus(m_playbin);
    gst_bus_set_sync_handler(bus, StreamCallbacks::onBusMessage, this, nullptr);
    gst_object_unref(bus);
    GstElement *sink = nullptr;
    g_object_get(m_playbin, "audio-sink", &sink, nullptr);
    if (sink) {
        GstPad *pad = gst_element_get_static_pad(sink, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, StreamCallbacks::onSinkData, this, nullptr);
        gst_object_unref(pad);
        gst_object_unref(sink);
    }
    return true;
}

void StreamEngine::begin()
{
    m_state = State::Connecting;
    m_stream = m_address;
    m_fetched = isPlaylistName(m_address);
    if (m_fetched)
        m_fetch.start(QUrl(m_address));
    else
        play(m_address);
}

void StreamEngine::play(const QString &stream)
{
    m_stream = stream;
    m_retryWaitMs = firstRetryMs;
    connectStream();
}

// The connection before is closed all the way first, so that nothing it reports can carry the
// new generation.
void StreamEngine::connectStream()
{
    closeConnection();
    g_object_set(m_playbin, "uri", QUrl(m_stream).toEncoded().constData(), nullptr);
    m_lastPosition = 0;
    m_awaitingSound = true;
    m_deadline.start();
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        QMetaObject::invokeMethod(
            this, [this, generation = m_generation.load()] { lost(generation, false); },
            Qt::QueuedConnection);
}

void StreamEngine::closeConnection()
{
    m_deadline.stop();
    m_awaitingSound = false;
    if (m_playbin)
        gst_element_set_state(m_playbin, GST_STATE_NULL);
    ++m_generation;
}

void StreamEngine::resume()
{
    m_paused = false;
    if (m_state == State::Playing) {
        gst_element_set_state(m_playbin, GST_STATE_PLAYING);
    } else if (m_state == State::Connecting) {
        begin();
    } else {
        connectStream();
        m_silence.start();
    }
}

void StreamEngine::halt()
{
    m_fetch.cancel();
    closeConnection();
    m_retry.stop();
    m_silence.stop();
    m_state = State::Stopped;
    m_paused = false;
    m_heardBefore = 0;
}

void StreamEngine::failStart()
{
    halt();
    emit StartFailed();
}

void StreamEngine::giveUp()
{
    halt();
    emit PlaybackEnded(0);
}

void StreamEngine::retryLater()
{
    if (m_paused)
        return;
    m_retry.start(m_retryWaitMs);
    m_retryWaitMs = std::min(2 * m_retryWaitMs, longestRetryMs);
}

std::optional<double> StreamEngine::playbinPosition() const
{
    gint64 position = 0;
    if (!gst_element_query_position(m_playbin, GST_FORMAT_TIME, &position))
        return std::nullopt;
    return double(position) / GST_SECOND;
}

// A live stream may count its time from where it stood when joined; the time heard on a
// connection counts from its first sound. GStreamer cannot tell the position of a connection
// that has just closed, which then stands where it was last seen.
double StreamEngine::connectionPosition() const
{
    if (m_state != State::Playing)
        return 0;
    if (const std::optional<double> position = playbinPosition())
        m_lastPosition = std::max(0.0, *position - m_origin);
    return m_lastPosition;
}

void StreamEngine::heard(int generation)
{
    if (generation != m_generation.load())
        return;
    m_deadline.stop();
    m_silence.stop();
    m_retryWaitMs = firstRetryMs;
    m_origin = playbinPosition().value_or(0);
    m_state = State::Playing;
}

void StreamEngine::lost(int generation, bool notAudio)
{
    if (generation != m_generation.load())
        return;
    switch (m_state) {
    case State::Connecting:
        if (!notAudio || std::exchange(m_fetched, true))
            return failStart();
        closeConnection();
        m_fetch.start(QUrl(m_address));
        break;
    case State::Playing:
        m_heardBefore += connectionPosition();
        closeConnection();
        m_state = State::Retrying;
        if (!m_paused)
            m_silence.start();
        retryLater();
        break;
    case State::Retrying:
        closeConnection();
        retryLater();
        break;
    case State::Stopped:
        break;
    }
}

// An HLS playlist is played from its own address, which GStreamer's demuxer follows.
void StreamEngine::fetched(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return failStart();
    if (isHlsPlaylist(*bytes))
        return play(m_address);
    const std::optional<QStringList> streams = streamsInPlaylist(*bytes, QUrl(m_address));
    if (!streams || streams->isEmpty())
        return failStart();
    play(streams->first());
}

// Each message tells only what it knows; the rest stays as it was.
void StreamEngine::takeTags(int generation, const TrackTags &update)
{
    if (generation != m_generation.load())
        return;
    TrackTags tags = m_tags;
    if (!update.station.isEmpty())
        tags.station = update.station;
    if (!update.title.isEmpty()) {
        tags.title = update.title;
        tags.artists = update.artists;
    }
    if (tags != m_tags) {
        m_tags = tags;
        emit TagsChanged();
    }
}
