#include "playback/gstengine.h"

#include "playback/adtslength.h"
#include "playback/mpeglength.h"

#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QUrl>
#include <QtEndian>
#include <cmath>
#include <gst/audio/audio.h>
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
// How long playbin's streaming thread waits for the UI thread to name the file to follow.
constexpr auto answerLimit = std::chrono::seconds(1);

// What the files of each kind the player warms up for are found to be, by their extensions;
// the warming thread loads the decoders, parsers and demuxers that decoding them would pick,
// so the first file of each kind does not wait for its plug-in to load. Only the kinds in the
// playlist are loaded: MIDI's synthesiser alone brings some 3 MB of libraries with it.
struct WarmKind {
    std::initializer_list<const char *> suffixes;
    std::initializer_list<const char *> caps;
};
const WarmKind warmKinds[] = {
    { { "mp3" },
        { "application/x-id3", "audio/mpeg, mpegversion=(int)1, parsed=(boolean)false",
            "audio/mpeg, mpegversion=(int)1, layer=(int)3, parsed=(boolean)true" } },
    { { "wav" }, { "audio/x-wav" } },
    { { "mid", "midi" }, { "audio/midi", "audio/x-midi-event" } },
    { { "mpg", "mpeg" }, { "video/mpeg, systemstream=(boolean)true, mpegversion=(int)1" } },
};

QStringList capsToWarm(const QStringList &paths)
{
    QSet<QString> suffixes;
    for (const QString &path : paths)
        suffixes.insert(QFileInfo(path).suffix().toLower());
    QStringList caps;
    for (const WarmKind &kind : warmKinds) {
        if (std::any_of(kind.suffixes.begin(), kind.suffixes.end(),
                [&suffixes](const char *suffix) { return suffixes.contains(QLatin1String(suffix)); })) {
            for (const char *description : kind.caps)
                caps << QLatin1String(description);
        }
    }
    return caps;
}

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
    // The sink is made here, so that the engine can watch what reaches it and keep the format
    // the output was opened with; by default the one playbin would choose by itself.
    const QString sinkChain = QStringLiteral("capsfilter name=format ! ")
        + (audioSink.isEmpty() ? QStringLiteral("autoaudiosink") : audioSink);
    if (GstElement *sink = gst_parse_bin_from_description(sinkChain.toUtf8().constData(), TRUE, nullptr))
        g_object_set(playbin, "audio-sink", sink, nullptr);
    return GST_ELEMENT(gst_object_ref_sink(playbin));
}

// Stops early once enough is set, when a file is to play before the warming is done.
void loadDecoders(const QStringList &descriptions, const std::atomic<bool> &enough)
{
    GList *decodable
        = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODABLE, GST_RANK_MARGINAL);
    decodable = g_list_sort(decodable, gst_plugin_feature_rank_compare_func);
    for (const QString &description : descriptions) {
        if (enough)
            break;
        GstCaps *caps = gst_caps_from_string(description.toLatin1().constData());
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

// The tags playbin gathered from the audio stream it now plays.
TrackTags audioStreamTags(GstElement *playbin)
{
    GstTagList *list = nullptr;
    g_signal_emit_by_name(playbin, "get-audio-tags", 0, &list);
    if (!list)
        return {};
    const TrackTags tags = readTags(list);
    gst_tag_list_unref(list);
    return tags;
}

bool interleavedAudioOf(GstPad *pad, GstAudioInfo *audio)
{
    GstCaps *caps = gst_pad_get_current_caps(pad);
    if (!caps)
        return false;
    const bool known = gst_audio_info_from_caps(audio, caps);
    gst_caps_unref(caps);
    return known && GST_AUDIO_INFO_LAYOUT(audio) == GST_AUDIO_LAYOUT_INTERLEAVED;
}

// How many samples from pts the pad's segment still holds, counted to the nearest sample; nothing
// when the segment has no end.
std::optional<qint64> samplesLeftInSegment(GstPad *pad, GstClockTime pts, int rate)
{
    GstEvent *event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    if (!event)
        return std::nullopt;
    const GstSegment *segment = nullptr;
    gst_event_parse_segment(event, &segment);
    std::optional<qint64> left;
    if (segment->format == GST_FORMAT_TIME && GST_CLOCK_TIME_IS_VALID(segment->stop)
        && GST_CLOCK_TIME_IS_VALID(pts) && pts >= segment->start)
        left = qint64(gst_util_uint64_scale_round(segment->stop - segment->start, rate, GST_SECOND))
            - qint64(gst_util_uint64_scale_round(pts - segment->start, rate, GST_SECOND));
    gst_event_unref(event);
    return left;
}

// GStreamer's decoders cut a stream's last buffer at its segment's end counted in nanoseconds
// rounded down, which leaves many Ogg Vorbis files one sample too long: a sample too many at
// every joint. Counted in samples to the nearest, the end falls where the file says it does.
GstPadProbeReturn cutAtSegmentEnd(GstPad *pad, GstPadProbeInfo *info)
{
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstAudioInfo audio;
    if (!interleavedAudioOf(pad, &audio))
        return GST_PAD_PROBE_OK;
    const int rate = GST_AUDIO_INFO_RATE(&audio);
    const std::optional<qint64> left = samplesLeftInSegment(pad, GST_BUFFER_PTS(buffer), rate);
    if (!left || qint64(gst_buffer_get_size(buffer) / GST_AUDIO_INFO_BPF(&audio)) <= *left)
        return GST_PAD_PROBE_OK;
    if (*left <= 0)
        return GST_PAD_PROBE_DROP;
    buffer = gst_buffer_make_writable(buffer);
    gst_buffer_resize(buffer, 0, *left * GST_AUDIO_INFO_BPF(&audio));
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale_int(*left, GST_SECOND, rate);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    return GST_PAD_PROBE_OK;
}

// Where a buffer plays on the pipeline's clock, counted from the start of playback.
quint64 runningTimeOf(GstPad *pad, GstBuffer *buffer)
{
    GstEvent *event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    if (!event)
        return 0;
    const GstSegment *segment = nullptr;
    gst_event_parse_segment(event, &segment);
    const guint64 at = gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    gst_event_unref(event);
    return GST_CLOCK_TIME_IS_VALID(at) ? at : 0;
}

// A folder, a FIFO or a device would block or fail deep inside GStreamer, where no time limit
// reaches; an empty file can hold nothing to play.
bool isPlayable(const QFileInfo &file)
{
    return file.isFile() && file.isReadable() && file.size() > 0;
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
        // The sink tells the tags of a stream as it takes it in, after the file before it.
        const int file = engine->m_sinkFile.load();
        QMetaObject::invokeMethod(
            engine, [engine, file, tags] { engine->takeTags(file, tags); }, Qt::QueuedConnection);
    }

    static void onAboutToFinish(GstElement *playbin, gpointer data)
    {
        const QString next = static_cast<GstEngine *>(data)->askForNextFile();
        if (!next.isEmpty())
            g_object_set(playbin, "uri", QUrl::fromLocalFile(next).toEncoded().constData(), nullptr);
    }

    static GstPadProbeReturn onSinkData(GstPad *pad, GstPadProbeInfo *info, gpointer data)
    {
        auto *engine = static_cast<GstEngine *>(data);
        if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
            if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_STREAM_START)
                engine->queuedStreamBegins();
            return GST_PAD_PROBE_OK;
        }
        if (cutAtSegmentEnd(pad, info) == GST_PAD_PROBE_DROP)
            return GST_PAD_PROBE_DROP;
        const QString arriving = engine->takeArrivingFile();
        if (!arriving.isEmpty()) {
            const int generation = engine->m_generation.load();
            const quint64 at = runningTimeOf(pad, GST_PAD_PROBE_INFO_BUFFER(info));
            QMetaObject::invokeMethod(
                engine,
                [engine, generation, arriving, at] { engine->queuedFileArrived(generation, arriving, at); },
                Qt::QueuedConnection);
        }
        return GST_PAD_PROBE_OK;
    }

    static void onElementSetup(GstElement *, GstElement *element, gpointer)
    {
        GstElementFactory *factory = gst_element_get_factory(element);
        if (factory && g_strcmp0(GST_OBJECT_NAME(factory), "fluiddec") == 0)
            g_object_set(element, "synth-gain", midiGain, nullptr);
    }
};

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
}

GstEngine::~GstEngine()
{
    dropQueuedFile();
    m_warmedEnough = true;
    if (m_warming)
        m_warming->wait();
    if (m_warmPlaybin)
        dispose(m_warmPlaybin);
    if (m_playbin)
        dispose(m_playbin);
    if (m_format)
        gst_object_unref(m_format);
}

void GstEngine::warmUp(const QStringList &paths)
{
    if (m_playbin || m_warming)
        return;
    m_warming.reset(QThread::create([this, sink = m_audioSink, caps = capsToWarm(paths)] {
        m_warmPlaybin = newPlaybin(sink);
        if (!m_warmPlaybin)
            return;
        loadDecoders(caps, m_warmedEnough);
        if (!m_warmedEnough)
            prerollSilence(m_warmPlaybin, m_warmedEnough);
    }));
    m_warming->start(QThread::LowPriority);
}

bool GstEngine::MediaFile(const QString &path)
{
    const QFileInfo file(path);
    const bool playable = isPlayable(file);
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
    if (isQueuedFileComing() && !reloadHeardFile())
        return false;
    ++m_generation;
    m_heldEnd.reset();
    const auto target = gint64(std::max(0.0, seconds) * GST_SECOND);
    closeQueue();
    const bool sought = gst_element_seek_simple(
        m_playbin, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target);
    openQueue();
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
    if (!m_queued.isEmpty())
        return positionBeforeQueued();
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
    g_signal_connect(playbin, "about-to-finish", G_CALLBACK(GstEngineCallbacks::onAboutToFinish), this);
    watchSink(playbin);
    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, GstEngineCallbacks::onBusMessage, this, nullptr);
    gst_object_unref(bus);
    m_playbin = playbin;
    return true;
}

void GstEngine::watchSink(GstElement *playbin)
{
    GstElement *sink = nullptr;
    g_object_get(playbin, "audio-sink", &sink, nullptr);
    if (!sink)
        return;
    m_format = gst_bin_get_by_name(GST_BIN(sink), "format");
    GstPad *pad = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
        GstEngineCallbacks::onSinkData, this, nullptr);
    gst_object_unref(pad);
    gst_object_unref(sink);
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
    if (m_format)
        g_object_set(m_format, "caps", nullptr, nullptr);
    const QByteArray uri = QUrl::fromLocalFile(m_path).toEncoded();
    g_object_set(m_playbin, "uri", uri.constData(), nullptr);
    if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return failStart();
    m_loaded = m_path;
    if (!playFromStart())
        return false;
    keepFormat();
    return true;
}

// A file queued to follow is converted to the format the sound output was opened with for
// the file loaded before it. At a change of rate or channels, GStreamer's sink would reopen
// the output instead, dropping the last tenth of a second of the file before and falling
// silent for as long.
void GstEngine::keepFormat()
{
    if (!m_format)
        return;
    GstPad *pad = gst_element_get_static_pad(m_format, "src");
    GstCaps *caps = gst_pad_get_current_caps(pad);
    g_object_set(m_format, "caps", caps, nullptr);
    if (caps)
        gst_caps_unref(caps);
    gst_object_unref(pad);
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
    dropQueuedFile();
    if (m_playbin)
        gst_element_set_state(m_playbin, reset ? GST_STATE_NULL : GST_STATE_READY);
    openQueue();
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
    if (dropQueuedFile() || m_loaded.isEmpty()) {
        halt();
        return;
    }
    const bool rewound = gst_element_set_state(m_playbin, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE
        && gst_element_seek_simple(m_playbin, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0);
    openQueue();
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
    // On a sink that does not keep time, the queued file can end before its sound is due;
    // what the player does on hearing it may start another file.
    if (!m_queued.isEmpty()) {
        startQueuedFile();
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

// Tags still on their way from the file named before belong to it, and are dropped.
void GstEngine::forgetTags()
{
    m_file = ++m_files;
    m_sinkFile = m_file.load();
    setTags({});
}

void GstEngine::takeTags(int file, const TrackTags &update)
{
    if (file != 0 && file == m_nextFile.load())
        m_nextTags = merged(m_nextTags, update);
    else if (file == m_file.load())
        setTags(merged(m_tags, update));
}

void GstEngine::setTags(const TrackTags &tags)
{
    if (tags == m_tags)
        return;
    m_tags = tags;
    emit TagsChanged();
}

void GstEngine::QueueNext(const QString &path)
{
    if (m_asking)
        m_answer = path;
}

// Runs on playbin's streaming thread, which must never wait for long: the UI thread may be
// busy, and a state change on the UI thread waits for this thread in turn.
QString GstEngine::askForNextFile()
{
    std::future<QString> answer;
    int request = 0;
    {
        std::lock_guard lock(m_queueLock);
        if (m_queueClosed)
            return QString();
        m_nextAnswer.emplace();
        answer = m_nextAnswer->get_future();
        request = ++m_request;
    }
    QMetaObject::invokeMethod(
        this, [this, request] { raiseNextFileWanted(request); }, Qt::QueuedConnection);
    const bool answered = answer.wait_for(answerLimit) == std::future_status::ready;
    std::lock_guard lock(m_queueLock);
    if (!answered) {
        m_nextAnswer.reset();
        return QString();
    }
    const QString next = answer.get();
    if (m_queueClosed)
        return QString();
    m_handedOver = next;
    if (!next.isEmpty())
        m_nextFile = ++m_files;
    return next;
}

// The player answers for the file it hears: while the file queued before is still to be
// heard, the question waits for it.
void GstEngine::raiseNextFileWanted(int request)
{
    if (!isAsked(request))
        return;
    if (isQueuedFileComing()) {
        m_waitingRequest = request;
        return;
    }
    m_answer.clear();
    m_asking = true;
    emit NextFileWanted();
    m_asking = false;
    const QFileInfo file(m_answer);
    answerNextFile(request, isPlayable(file) ? file.absoluteFilePath() : QString());
}

bool GstEngine::isQueuedFileComing()
{
    std::lock_guard lock(m_queueLock);
    return !m_queued.isEmpty() || !m_handedOver.isEmpty() || !m_arriving.isEmpty();
}

bool GstEngine::isAsked(int request)
{
    std::lock_guard lock(m_queueLock);
    return m_nextAnswer && m_request == request;
}

void GstEngine::answerNextFile(int request, const QString &path)
{
    std::lock_guard lock(m_queueLock);
    if (!m_nextAnswer || m_request != request)
        return;
    m_nextAnswer->set_value(path);
    m_nextAnswer.reset();
}

bool GstEngine::dropQueuedFile()
{
    m_queuedTimer.stop();
    m_waitingRequest = 0;
    m_nextFile = 0;
    m_sinkFile = m_file.load();
    m_nextTags = {};
    const bool arrived = !m_queued.isEmpty();
    m_queued.clear();
    closeQueue();
    std::lock_guard lock(m_queueLock);
    const bool onItsWay = !m_handedOver.isEmpty() || !m_arriving.isEmpty();
    m_handedOver.clear();
    m_arriving.clear();
    return arrived || onItsWay;
}

void GstEngine::closeQueue()
{
    std::lock_guard lock(m_queueLock);
    m_queueClosed = true;
    if (m_nextAnswer) {
        m_nextAnswer->set_value(QString());
        m_nextAnswer.reset();
    }
}

void GstEngine::openQueue()
{
    std::lock_guard lock(m_queueLock);
    m_queueClosed = false;
}

void GstEngine::queuedStreamBegins()
{
    std::lock_guard lock(m_queueLock);
    if (m_handedOver.isEmpty())
        return;
    m_arriving = std::exchange(m_handedOver, QString());
    m_sinkFile = m_nextFile.load();
}

QString GstEngine::takeArrivingFile()
{
    std::lock_guard lock(m_queueLock);
    return std::exchange(m_arriving, QString());
}

void GstEngine::queuedFileArrived(int generation, const QString &path, quint64 runningTime)
{
    if (generation != m_generation.load())
        return;
    m_queued = path;
    m_queuedAt = runningTime;
    awaitQueuedFile();
}

// The sink takes a stream in well ahead of playing it, by as much as its buffer holds; the
// queued file is the one heard once the pipeline's clock has reached its first sample.
void GstEngine::awaitQueuedFile()
{
    if (m_queued.isEmpty() || m_paused)
        return;
    const std::optional<quint64> heard = heardRunningTime();
    if (heard && *heard < m_queuedAt) {
        m_queuedTimer.start(int((m_queuedAt - *heard + GST_MSECOND - 1) / GST_MSECOND));
        return;
    }
    startQueuedFile();
}

void GstEngine::startQueuedFile()
{
    m_queuedTimer.stop();
    m_path = std::exchange(m_queued, QString());
    m_loaded = m_path;
    measure();
    // The tags the queued file told while the file before it still sounded, completed by
    // those playbin gathered from its stream, which may still lack some.
    const int next = m_nextFile.exchange(0);
    m_file = next ? next : ++m_files;
    m_sinkFile = m_file.load();
    setTags(merged(std::exchange(m_nextTags, {}), audioStreamTags(m_playbin)));
    emit QueuedFileStarted();
    if (m_waitingRequest)
        raiseNextFileWanted(std::exchange(m_waitingRequest, 0));
}

// The sink tells of the queued file as soon as it has taken it in; until the queued file is
// heard, the file heard is as far from its end as the queued one is from being heard.
std::optional<double> GstEngine::positionBeforeQueued() const
{
    const std::optional<quint64> heard = heardRunningTime();
    if (!heard || !m_length)
        return std::nullopt;
    const quint64 ahead = m_queuedAt - std::min(*heard, m_queuedAt);
    return std::max(0.0, *m_length - double(ahead) / GST_SECOND);
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
