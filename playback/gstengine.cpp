#include "playback/gstengine.h"

#include "playback/adtslength.h"
#include "playback/mpeglength.h"

#include <QFileInfo>
#include <QThread>
#include <QUrl>
#include <QtEndian>
#include <cmath>
#include <gst/gst.h>
#include <gst/tag/tag.h>
#include <mutex>

namespace {

// playbin's flags: decode audio and apply our own volume; no video, no subtitles.
constexpr guint audioFlag = 0x2;
constexpr guint softVolumeFlag = 0x10;
// How long a file may take to be ready to play before it counts as unplayable.
constexpr GstClockTime prerollLimit = 5 * GST_SECOND;
// How long a seek may take to be ready at its new place; a slower one goes on in the background
// and the position catches up with it.
constexpr GstClockTime seekLimit = GST_SECOND;
// fluiddec plays MIDI about 30 dB quieter than the other formats play at full volume.
constexpr double midiGain = 0.8;
constexpr int quietestLevel = -10000;

// What the files the player accepts are found to be; the warming thread loads the decoders,
// parsers and demuxers that decoding them would pick, so the first file of each kind does
// not wait for its plug-in to load.
constexpr const char *acceptedCaps[] = {
    "application/x-id3",
    "audio/mpeg, mpegversion=(int)1, parsed=(boolean)false",
    "audio/mpeg, mpegversion=(int)1, layer=(int)3, parsed=(boolean)true",
    "audio/x-wav",
    "audio/midi",
    "audio/x-midi-event",
    "video/mpeg, systemstream=(boolean)true, mpegversion=(int)1",
};

// libav's decoders serve only what GStreamer's own plug-ins cannot decode (WMA). libav brings
// some 35 MB of libraries into the process, and its MP3 decoder ties with mpg123's rank, so
// it would otherwise decode every MP3.
void preferOwnDecoders()
{
    GList *factories = gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY);
    for (GList *item = factories; item; item = item->next) {
        GstPluginFeature *feature = GST_PLUGIN_FEATURE(item->data);
        if (g_str_has_prefix(gst_plugin_feature_get_name(feature), "avdec_")
            && gst_plugin_feature_get_rank(feature) > GST_RANK_MARGINAL)
            gst_plugin_feature_set_rank(feature, GST_RANK_MARGINAL);
    }
    gst_plugin_feature_list_free(factories);
    if (GstPluginFeature *mpg123 = gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec")) {
        if (gst_plugin_feature_get_rank(mpg123) <= GST_RANK_MARGINAL)
            gst_plugin_feature_set_rank(mpg123, GST_RANK_SECONDARY);
        gst_object_unref(mpg123);
    }
}

bool startGstreamer()
{
    static std::once_flag once;
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return false;
    std::call_once(once, preferOwnDecoders);
    return true;
}

GstElement *newPlaybin(const QString &audioSink)
{
    if (!startGstreamer())
        return nullptr;
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        return nullptr;
    // Without a sink of its own for pictures, playbin would open a video window for an MPG
    // file, and some of the video outputs it tries bring the whole process down.
    g_object_set(playbin, "flags", audioFlag | softVolumeFlag, "video-sink",
        gst_element_factory_make("fakesink", nullptr), nullptr);
    if (!audioSink.isEmpty()) {
        if (GstElement *sink = gst_parse_bin_from_description(audioSink.toUtf8().constData(), TRUE, nullptr))
            g_object_set(playbin, "audio-sink", sink, nullptr);
    }
    return GST_ELEMENT(gst_object_ref_sink(playbin));
}

// Stops early once enough is set, when a file is to play before the warming is done.
void loadDecoders(const std::atomic<bool> &enough)
{
    GList *decodable
        = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODABLE, GST_RANK_MARGINAL);
    decodable = g_list_sort(decodable, gst_plugin_feature_rank_compare_func);
    for (const char *description : acceptedCaps) {
        if (enough)
            break;
        GstCaps *caps = gst_caps_from_string(description);
        GList *fitting = gst_element_factory_list_filter(decodable, caps, GST_PAD_SINK, FALSE);
        if (fitting) {
            if (GstPluginFeature *loaded = gst_plugin_feature_load(GST_PLUGIN_FEATURE(fitting->data)))
                gst_object_unref(loaded);
        }
        gst_plugin_feature_list_free(fitting);
        gst_caps_unref(caps);
    }
    gst_plugin_feature_list_free(decodable);
}

// A twentieth of a second of silence as a WAV file in a data: URI.
QByteArray silenceUri()
{
    constexpr quint32 rate = 8000;
    constexpr quint32 bytes = rate / 20 * 2;
    QByteArray wav;
    const auto add32 = [&wav](quint32 value) {
        wav += QByteArray(4, 0);
        qToLittleEndian(value, wav.data() + wav.size() - 4);
    };
    const auto add16 = [&wav](quint16 value) {
        wav += QByteArray(2, 0);
        qToLittleEndian(value, wav.data() + wav.size() - 2);
    };
    wav += "RIFF";
    add32(36 + bytes);
    wav += "WAVEfmt ";
    add32(16);
    add16(1); // integer samples
    add16(1); // one channel
    add32(rate);
    add32(rate * 2);
    add16(2);
    add16(16);
    wav += "data";
    add32(bytes);
    wav += QByteArray(bytes, 0);
    return "data:audio/x-wav;base64," + wav.toBase64();
}

// Readies a moment of silence, never played, so that the elements every file needs are
// made once and the sound output is connected; the playbin is then left at READY, which
// keeps that connection. Whatever it reported is dropped with the bus's messages. The wait
// is cut short when a file is to play.
void prerollSilence(GstElement *playbin, const std::atomic<bool> &enough)
{
    g_object_set(playbin, "uri", silenceUri().constData(), nullptr);
    GstStateChangeReturn state = gst_element_set_state(playbin, GST_STATE_PAUSED);
    for (GstClockTime waited = 0; state == GST_STATE_CHANGE_ASYNC && !enough && waited < prerollLimit;
         waited += 20 * GST_MSECOND)
        state = gst_element_get_state(playbin, nullptr, nullptr, 20 * GST_MSECOND);
    const bool ready = gst_element_set_state(playbin, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
    if (!ready)
        gst_element_set_state(playbin, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_flushing(bus, TRUE);
    gst_bus_set_flushing(bus, FALSE);
    gst_object_unref(bus);
}

QString tagText(const GstTagList *list, const char *tag, guint index = 0)
{
    const gchar *text = nullptr;
    return gst_tag_list_peek_string_index(list, tag, index, &text) ? QString::fromUtf8(text) : QString();
}

bool isFrontCover(GstSample *picture)
{
    const GstStructure *info = gst_sample_get_info(picture);
    gint type = GST_TAG_IMAGE_TYPE_NONE;
    return info && gst_structure_get_enum(info, "image-type", GST_TYPE_TAG_IMAGE_TYPE, &type)
        && type == GST_TAG_IMAGE_TYPE_FRONT_COVER;
}

// The front cover where the file holds several pictures, else its first picture; its preview
// picture where it holds no other. The caller owns what it gets.
GstSample *coverPicture(const GstTagList *list)
{
    GstSample *chosen = nullptr;
    GstSample *picture = nullptr;
    for (guint i = 0; gst_tag_list_get_sample_index(list, GST_TAG_IMAGE, i, &picture); ++i) {
        if (!chosen || isFrontCover(picture))
            std::swap(chosen, picture);
        if (picture)
            gst_sample_unref(picture);
    }
    if (!chosen)
        gst_tag_list_get_sample(list, GST_TAG_PREVIEW_IMAGE, &chosen);
    return chosen;
}

void readCover(const GstTagList *list, TrackTags &tags)
{
    GstSample *picture = coverPicture(list);
    if (!picture)
        return;
    const GstCaps *caps = gst_sample_get_caps(picture);
    const gchar *type = caps && gst_caps_get_size(caps) > 0
        ? gst_structure_get_name(gst_caps_get_structure(caps, 0))
        : nullptr;
    GstMapInfo bytes;
    // A picture the file only links to ("-->" in ID3) has no bytes to show.
    if (g_str_has_prefix(type, "image/")
        && gst_buffer_map(gst_sample_get_buffer(picture), &bytes, GST_MAP_READ)) {
        tags.cover = QByteArray(reinterpret_cast<const char *>(bytes.data), qsizetype(bytes.size));
        tags.coverMimeType = QString::fromLatin1(type);
        gst_buffer_unmap(gst_sample_get_buffer(picture), &bytes);
    }
    gst_sample_unref(picture);
}

// What one tag message says; GStreamer has already turned each tag's text into UTF-8,
// whatever character set the file stored it in.
TrackTags readTags(const GstTagList *list)
{
    TrackTags tags;
    tags.title = tagText(list, GST_TAG_TITLE);
    for (guint i = 0; i < gst_tag_list_get_tag_size(list, GST_TAG_ARTIST); ++i)
        tags.artists << tagText(list, GST_TAG_ARTIST, i);
    tags.album = tagText(list, GST_TAG_ALBUM);
    guint track = 0;
    if (gst_tag_list_get_uint(list, GST_TAG_TRACK_NUMBER, &track))
        tags.trackNumber = int(track);
    readCover(list, tags);
    return tags;
}

// Each output (the sound, and the pictures of an MPG file) passes on the tags of its own
// stream; what one leaves out keeps what the other said.
TrackTags merged(TrackTags tags, const TrackTags &update)
{
    if (!update.title.isEmpty())
        tags.title = update.title;
    if (!update.artists.isEmpty())
        tags.artists = update.artists;
    if (!update.album.isEmpty())
        tags.album = update.album;
    if (update.trackNumber != 0)
        tags.trackNumber = update.trackNumber;
    if (!update.cover.isEmpty()) {
        tags.cover = update.cover;
        tags.coverMimeType = update.coverMimeType;
    }
    return tags;
}

void dispose(GstElement *playbin)
{
    gst_element_set_state(playbin, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(playbin);
}

} // namespace

// GStreamer calls these from its own threads; they touch nothing but the generation number
// and hand everything else to the UI thread.
struct GstEngineCallbacks {
    static GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer data)
    {
        auto *engine = static_cast<GstEngine *>(data);
        const auto type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR)
            engine->queueEnd(type == GST_MESSAGE_ERROR);
        if (type == GST_MESSAGE_DURATION_CHANGED)
            QMetaObject::invokeMethod(
                engine, [engine] { engine->refineLength(); }, Qt::QueuedConnection);
        if (type == GST_MESSAGE_TAG)
            onTags(engine, message);
        // Nobody reads the bus, so nothing may stay queued on it. A dropped message is the
        // handler's to free, and each one holds the element that posted it.
        gst_message_unref(message);
        return GST_BUS_DROP;
    }

    static void onTags(GstEngine *engine, GstMessage *message)
    {
        GstTagList *list = nullptr;
        gst_message_parse_tag(message, &list);
        const TrackTags tags = readTags(list);
        gst_tag_list_unref(list);
        const int file = engine->m_file.load();
        QMetaObject::invokeMethod(
            engine, [engine, file, tags] { engine->takeTags(file, tags); }, Qt::QueuedConnection);
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
    m_warmedEnough = true;
    if (m_warming)
        m_warming->wait();
    if (m_warmPlaybin)
        dispose(m_warmPlaybin);
    if (m_playbin)
        dispose(m_playbin);
}

void GstEngine::warmUp()
{
    if (m_playbin || m_warming)
        return;
    m_warming.reset(QThread::create([this, sink = m_audioSink] {
        m_warmPlaybin = newPlaybin(sink);
        if (!m_warmPlaybin)
            return;
        loadDecoders(m_warmedEnough);
        if (!m_warmedEnough)
            prerollSilence(m_warmPlaybin, m_warmedEnough);
    }));
    m_warming->start(QThread::LowPriority);
}

bool GstEngine::MediaFile(const QString &path)
{
    // A folder, a FIFO or a device would block or fail deep inside GStreamer, where no
    // time limit reaches; an empty file can hold nothing to play.
    const QFileInfo file(path);
    const bool playable = file.isFile() && file.isReadable() && file.size() > 0;
    // The same file named again starts from the start it is held ready at; one that cannot be
    // taken back there is no longer held, and the next start loads it afresh.
    if (playable && !m_loaded.isEmpty() && file.absoluteFilePath() == m_loaded) {
        rewind();
        m_path = file.absoluteFilePath();
        return true;
    }
    halt();
    forgetTags();
    m_path.clear();
    m_length.reset();
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
    rewind();
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

// A seek at or past the end makes GStreamer end the file, as it does at its own end. Whatever
// ended before the seek belonged to the part of the file left behind.
bool GstEngine::Seek(double seconds)
{
    if (!CanSeek())
        return false;
    ++m_generation;
    m_heldEnd.reset();
    const auto target = gint64(std::max(0.0, seconds) * GST_SECOND);
    if (!gst_element_seek_simple(
            m_playbin, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target))
        return false;
    // Until the file is ready at its new place, GStreamer cannot tell the position.
    gst_element_get_state(m_playbin, nullptr, nullptr, seekLimit);
    return true;
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
    gint64 position = 0;
    if (!m_playbin || !gst_element_query_position(m_playbin, GST_FORMAT_TIME, &position))
        return std::nullopt;
    return double(position) / GST_SECOND;
}

TrackTags GstEngine::Tags() const
{
    return m_tags;
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
    GstElement *playbin = nullptr;
    if (m_warming) {
        // The file to play loads what it needs itself, sooner than the warming would.
        m_warmedEnough = true;
        m_warming->wait();
        m_warming.reset();
        playbin = std::exchange(m_warmPlaybin, nullptr);
    }
    if (!playbin)
        playbin = newPlaybin(m_audioSink);
    if (!playbin)
        return false;
    g_object_set(playbin, "volume", m_volume, "mute", m_muted ? TRUE : FALSE, nullptr);
    g_signal_connect(playbin, "element-setup", G_CALLBACK(GstEngineCallbacks::onElementSetup), this);
    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, GstEngineCallbacks::onBusMessage, this, nullptr);
    gst_object_unref(bus);
    m_playbin = playbin;
    return true;
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
    const QByteArray uri = QUrl::fromLocalFile(m_path).toEncoded();
    g_object_set(m_playbin, "uri", uri.constData(), nullptr);
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
    if (!m_length)
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
    m_heldEnd.reset();
    m_loaded.clear();
}

// Pausing keeps the sound server's stream and the decoders (and a MIDI file's soundfont);
// the flushing seek drops what was queued and readies the file again at its start.
void GstEngine::rewind()
{
    if (m_loaded.isEmpty()) {
        halt();
        return;
    }
    const bool rewound = gst_element_set_state(m_playbin, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE
        && gst_element_seek_simple(m_playbin, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0);
    if (!rewound) {
        halt();
        return;
    }
    ++m_generation;
    m_playing = false;
    m_paused = false;
    m_heldEnd.reset();
}

// MPEG audio is counted frame by frame, since GStreamer can only guess the length of an MP3
// without a length header. A file too large to count keeps GStreamer's guess, which it
// improves as it reads on.
void GstEngine::measure()
{
    m_length = mpegFileLength(m_path);
    m_lengthCounted = m_length.has_value();
    if (!m_length)
        m_length = queryDuration();
    if (!m_length)
        m_length = adtsFileLength(m_path);
    if (!m_length)
        m_length = estimateFromBitrate();
}

void GstEngine::refineLength()
{
    if (m_lengthCounted || m_loaded.isEmpty())
        return;
    if (const auto duration = queryDuration())
        m_length = duration;
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
// the playlist moves on instead of waiting for an end that never comes. An end that comes in
// while paused leaves the file as it is until the resume: the pause holds, and the player
// moves on only once the user plays again.
void GstEngine::deliverEnd(int generation, bool failed)
{
    if (generation != m_generation.load())
        return;
    if (m_paused) {
        m_heldEnd = failed;
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

// Tags still on their way from the file named before belong to it, and are dropped.
void GstEngine::forgetTags()
{
    ++m_file;
    if (m_tags == TrackTags())
        return;
    m_tags = {};
    emit TagsChanged();
}

void GstEngine::takeTags(int file, const TrackTags &update)
{
    if (file != m_file.load())
        return;
    const TrackTags tags = merged(m_tags, update);
    if (tags == m_tags)
        return;
    m_tags = tags;
    emit TagsChanged();
}
