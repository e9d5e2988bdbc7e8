#include "playback/gstreamer/loudness.h"

#include "playback/gstreamer/handover.h"

#include <gst/gst.h>
#include <gst/tag/tag.h>

namespace {

// ReplayGain's reference level, which rgvolume assumes; R128 gains are 5 dB below it.
constexpr double referenceLevel = 89.0;
constexpr double r128ToReplayGain = 5.0;
constexpr size_t keptGains = 8;

std::optional<double> doubleTag(const GstTagList *list, const char *tag)
{
    double value = 0;
    return gst_tag_list_get_double(list, tag, &value) ? std::optional(value) : std::nullopt;
}

// Opus comments GStreamer leaves unmapped come as "NAME=value" extended comments.
std::optional<double> r128Tag(const GstTagList *list, const QString &name)
{
    const QString prefix = name + u'=';
    const char *comment = nullptr;
    for (guint i = 0; gst_tag_list_peek_string_index(list, GST_TAG_EXTENDED_COMMENT, i, &comment); ++i) {
        const QString text = QString::fromUtf8(comment);
        if (text.startsWith(prefix, Qt::CaseInsensitive))
            return fromR128(text.mid(prefix.size()));
    }
    return std::nullopt;
}

// A later tag list of the same stream adds to what the earlier ones told.
void readGains(GainTags &gains, const GstTagList *list)
{
    const double shift = referenceLevel - doubleTag(list, GST_TAG_REFERENCE_LEVEL).value_or(referenceLevel);
    const auto merge = [](std::optional<double> &into, std::optional<double> value, double by = 0) {
        if (value)
            into = *value + by;
    };
    merge(gains.trackGain, doubleTag(list, GST_TAG_TRACK_GAIN), shift);
    merge(gains.albumGain, doubleTag(list, GST_TAG_ALBUM_GAIN), shift);
    merge(gains.trackPeak, doubleTag(list, GST_TAG_TRACK_PEAK));
    merge(gains.albumPeak, doubleTag(list, GST_TAG_ALBUM_PEAK));
    merge(gains.trackGain, r128Tag(list, QStringLiteral("R128_TRACK_GAIN")));
    merge(gains.albumGain, r128Tag(list, QStringLiteral("R128_ALBUM_GAIN")));
}

} // namespace

AppliedGain appliedGain(const GainTags &tags, MediaEngine::Gain wanted)
{
    if (wanted == MediaEngine::Gain::Stored)
        return {};
    const bool album = tags.albumGain && (wanted == MediaEngine::Gain::Album || !tags.trackGain);
    const std::optional<double> gain = album ? tags.albumGain : tags.trackGain;
    if (!gain)
        return {};
    return { *gain, (album ? tags.albumPeak : tags.trackPeak).value_or(1.0) };
}

std::optional<double> fromR128(const QString &text)
{
    bool ok = false;
    const int q78 = text.trimmed().toInt(&ok);
    if (!ok || q78 < -32768 || q78 > 32767)
        return std::nullopt;
    return q78 / 256.0 + r128ToReplayGain;
}

// The probe on rgvolume's sink pad, on the streaming thread that feeds the sink.
struct LoudnessProbe {
    static GstPadProbeReturn onData(GstPad *pad, GstPadProbeInfo *info, gpointer data)
    {
        auto *self = static_cast<Loudness *>(data);
        if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
            // A stream that told no gain gets the neutral set before its first sound.
            if (!self->m_told) {
                GstTagList *list = gst_tag_list_new_empty();
                self->tell(list);
                gst_pad_send_event(pad, gst_event_new_tag(list));
            }
            return GST_PAD_PROBE_OK;
        }
        GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_STREAM_START)
            self->streamBegins();
        if (GST_EVENT_TYPE(event) != GST_EVENT_TAG)
            return GST_PAD_PROBE_OK;
        GstTagList *list = nullptr;
        gst_event_parse_tag(event, &list);
        readGains(self->m_stream, list);
        list = gst_tag_list_copy(list);
        self->tell(list);
        GST_PAD_PROBE_INFO_DATA(info) = gst_event_new_tag(list);
        gst_event_unref(event);
        return GST_PAD_PROBE_OK;
    }
};

Loudness::Loudness(const HandOver &handOver)
    : m_handOver(handOver)
{
}

Loudness::~Loudness()
{
    if (m_limiter)
        gst_object_unref(m_limiter);
}

void Loudness::setGain(const QString &path, MediaEngine::Gain gain)
{
    std::lock_guard lock(m_lock);
    m_gains.emplace_back(path, gain);
    if (m_gains.size() > keptGains)
        m_gains.pop_front();
}

void Loudness::name(const QString &path)
{
    std::lock_guard lock(m_lock);
    m_named = path;
}

void Loudness::attach(GstElement *playbin)
{
    GstElement *filter = nullptr;
    g_object_get(playbin, "audio-filter", &filter, nullptr);
    if (!filter)
        return;
    GstElement *gain = gst_bin_get_by_name(GST_BIN(filter), "gain");
    if (m_limiter)
        gst_object_unref(m_limiter);
    m_limiter = gst_bin_get_by_name(GST_BIN(filter), "limiter");
    gst_object_unref(filter);
    if (!gain)
        return;
    GstPad *pad = gst_element_get_static_pad(gain, "sink");
    gst_pad_add_probe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
        LoudnessProbe::onData, this, nullptr);
    gst_object_unref(pad);
    gst_object_unref(gain);
}

void Loudness::streamBegins()
{
    m_stream = {};
    m_told = false;
    m_wanted.reset();
}

// rgvolume is left in track mode and always given the gain chosen as the track's, with the
// reference level it assumes, so nothing of the stream before stays with it.
void Loudness::tell(GstTagList *list)
{
    m_told = true;
    if (!m_wanted) {
        const QString queued = m_handOver.sinkPath();
        std::lock_guard lock(m_lock);
        m_wanted = wantedFor(queued.isEmpty() ? m_named : queued);
    }
    const AppliedGain applied = appliedGain(m_stream, *m_wanted);
    gst_tag_list_add(list, GST_TAG_MERGE_REPLACE, GST_TAG_TRACK_GAIN, applied.gain, GST_TAG_TRACK_PEAK,
        applied.peak, GST_TAG_REFERENCE_LEVEL, referenceLevel, nullptr);
    gst_tag_list_remove_tag(list, GST_TAG_ALBUM_GAIN);
    gst_tag_list_remove_tag(list, GST_TAG_ALBUM_PEAK);
    if (m_limiter)
        g_object_set(m_limiter, "enabled", applied.gain > 0 ? TRUE : FALSE, nullptr);
}

MediaEngine::Gain Loudness::wantedFor(const QString &path)
{
    for (auto it = m_gains.rbegin(); it != m_gains.rend(); ++it) {
        if (it->first == path)
            return it->second;
    }
    return MediaEngine::Gain::Track;
}
