#include "playback/gstreamer/startup.h"

#include "files/mediatypes.h"

#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QtEndian>
#include <gst/gst.h>
#include <mutex>

namespace {

// playbin's flags: decode audio and apply our own volume; no video, no subtitles.
constexpr guint audioFlag = 0x2;
constexpr guint softVolumeFlag = 0x10;
// How long the warming waits for its moment of silence to be ready.
constexpr GstClockTime prerollLimit = 5 * GST_SECOND;

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

// The plug-in of the sound output the system's default sink chooses first, loaded without
// opening the output.
void loadOutputPlugin()
{
    GList *sinks = gst_element_factory_list_get_elements(
        GST_ELEMENT_FACTORY_TYPE_SINK | GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO, GST_RANK_MARGINAL);
    sinks = g_list_sort(sinks, gst_plugin_feature_rank_compare_func);
    if (sinks) {
        if (GstPluginFeature *loaded = gst_plugin_feature_load(GST_PLUGIN_FEATURE(sinks->data)))
            gst_object_unref(loaded);
    }
    gst_plugin_feature_list_free(sinks);
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

} // namespace

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
    // The sink is made here, so that the engine can watch what reaches it and choose the
    // format the output is opened with: converters that take each file as it comes, then the
    // format, by default the one the output would choose by itself. Samples that come at no
    // gain from the filter's floating point go back to the output's format unchanged.
    const QString sinkChain
        = QStringLiteral("audioconvert dithering=none ! audioresample ! capsfilter name=format ! ")
        + (audioSink.isEmpty() ? QStringLiteral("autoaudiosink") : audioSink);
    if (GstElement *sink = gst_parse_bin_from_description(sinkChain.toUtf8().constData(), TRUE, nullptr))
        g_object_set(playbin, "audio-sink", sink, nullptr);
    // The gain of each file's tags (loudness.h), as a filter: playbin would take a volume
    // inside the sink for its own, and the player's volume would no longer be the user's.
    const char *gainChain = "audioconvert ! rgvolume name=gain ! rglimiter name=limiter";
    if (GstElement *filter = gst_parse_bin_from_description(gainChain, TRUE, nullptr))
        g_object_set(playbin, "audio-filter", filter, nullptr);
    return GST_ELEMENT(gst_object_ref_sink(playbin));
}

void disposePipeline(GstElement *pipeline)
{
    gst_element_set_state(pipeline, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(pipeline);
}

bool isPlayableFile(const QFileInfo &file)
{
    return file.isFile() && file.isReadable() && file.size() > 0;
}

// The first file named, as the player names it, when the player plays that kind of file from
// the file system; otherwise nothing.
QString fileToReady(const QString &argument)
{
    const QFileInfo file(argument);
    if (isStreamAddress(argument) || !isPlayableName(file.fileName()) || !isPlayableFile(file))
        return QString();
    return file.absoluteFilePath();
}

EarlyStart::EarlyStart(int argc, char *argv[])
{
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths << QString::fromLocal8Bit(argv[i]);
    if (paths.isEmpty())
        return;
    m_first = fileToReady(paths.constFirst());
    m_thread = std::thread(&EarlyStart::run, this, capsToWarm(paths));
}

EarlyStart::~EarlyStart()
{
    if (GstElement *playbin = take().playbin)
        disposePipeline(playbin);
}

bool EarlyStart::playFirst(const QString &audioSink, Attach attach)
{
    if (m_first.isEmpty())
        return false;
    {
        std::lock_guard lock(m_lock);
        m_audioSink = audioSink;
        m_attach = std::move(attach);
    }
    m_decided.notify_one();
    return true;
}

EarlyStart::Readied EarlyStart::take()
{
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    m_decided.notify_one();
    if (m_thread.joinable())
        m_thread.join();
    return std::exchange(m_readied, {});
}

// GStreamer starts; the sound output's plug-in, the type finders that tell a file's kind and
// the decoders of the files' kinds load on a thread of their own, beside the making of a
// playbin, which loads the plug-ins every file plays through. Once this start is the player,
// the playbin readies the first file; otherwise it is dropped.
void EarlyStart::run(const QStringList &caps)
{
    if (!startGstreamer())
        return;
    std::thread loader([this, caps] {
        loadOutputPlugin();
        if (GstPlugin *typeFinders = gst_plugin_load_by_name("typefindfunctions"))
            gst_object_unref(typeFinders);
        loadDecoders(caps, m_stopping);
    });
    GstElement *playbin = newPlaybin(QString());
    const bool player = playbin && !m_first.isEmpty() && waitForDecision();
    if (player && !m_audioSink.isEmpty()) {
        gst_object_unref(playbin);
        playbin = newPlaybin(m_audioSink);
    }
    if (player && playbin) {
        m_attach(playbin, m_first);
        // A failure here shows again where the player waits for the file to be ready.
        gst_element_set_state(playbin, GST_STATE_PAUSED);
        m_readied = { playbin, m_first };
    } else if (playbin) {
        gst_object_unref(playbin);
    }
    loader.join();
}

// Whether this start is the player; a start that hands its files over ends before it knows.
bool EarlyStart::waitForDecision()
{
    std::unique_lock lock(m_lock);
    m_decided.wait(lock, [this] { return m_attach || m_stopping; });
    return bool(m_attach);
}

Warmer::Warmer(const QString &audioSink, const QStringList &paths)
{
    m_thread.reset(QThread::create([this, audioSink, caps = capsToWarm(paths)] {
        m_playbin = newPlaybin(audioSink);
        if (!m_playbin)
            return;
        loadDecoders(caps, m_enough);
        if (!m_enough)
            prerollSilence(m_playbin, m_enough);
    }));
    m_thread->start(QThread::LowPriority);
}

Warmer::~Warmer()
{
    if (GstElement *playbin = take()) {
        gst_element_set_state(playbin, GST_STATE_NULL);
        gst_object_unref(playbin);
    }
}

GstElement *Warmer::take()
{
    m_enough = true;
    m_thread->wait();
    return std::exchange(m_playbin, nullptr);
}
