#include "playback/gstreamer/loudness.h"

#include <gst/gst.h>
#include <gst/tag/tag.h>

#include <algorithm>
#include <cmath>

namespace {

// ReplayGain's reference level, which rgvolume assumes; R128 gains are 5 dB below it.
constexpr double referenceLevel = 89.0;
constexpr double r128ToReplayGain = 5.0;
constexpr size_t keptGains = 8;
// The range rgvolume takes, and a peak small enough for the loudest gain it takes.
constexpr double maxGain = 60.0;
constexpr double minPeak = 0.001;

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

double appliedGain(const GainTags &tags, MediaEngine::Gain wanted)
{
    if (wanted == MediaEngine::Gain::Stored)
        return 0;
    const bool album = tags.albumGain && (wanted == MediaEngine::Gain::Album || !tags.trackGain);
    const std::optional<double> gain = album ? tags.albumGain : tags.trackGain;
    if (!gain || !std::isfinite(*gain))
        return 0;
    // A peak missing, or beyond full scale, counts as full scale.
    const double peak = std::clamp((album ? tags.albumPeak : tags.trackPeak).value_or(1.0), minPeak, 1.0);
    return std::clamp(std::min(*gain, -20 * std::log10(peak)), -maxGain, maxGain);
}

std::optional<double> fromR128(const QString &text)
{
    bool ok = false;
    const int q78 = text.trimmed().toInt(&ok);
    if (!ok || q78 < -32768 || q78 > 32767)
        return std::nullopt;
    return q78 / 256.0 + r128ToReplayGain;
}

// The probe on rgvolume's sink pad, on the streaming thread that feeds the sink. The gain tags
// are taken out of the stream, so that rgvolume applies only what it is set to.
struct LoudnessProbe {
    static GstPadProbeReturn onEvent(GstPad *, GstPadProbeInfo *info, gpointer data)
    {
        auto *self = static_cast<Loudness *>(data);
        GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_STREAM_START)
            self->streamBegins();
        if (GST_EVENT_TYPE(event) != GST_EVENT_TAG)
            return GST_PAD_PROBE_OK;
        GstTagList *list = nullptr;
        gst_event_parse_tag(event, &list);
        readGains(self->m_stream, list);
        self->apply();
        list = gst_tag_list_copy(list);
        for (const char *tag : { GST_TAG_TRACK_GAIN, GST_TAG_TRACK_PEAK, GST_TAG_ALBUM_GAIN,
                 GST_TAG_ALBUM_PEAK, GST_TAG_REFERENCE_LEVEL })
            gst_tag_list_remove_tag(list, tag);
        GST_PAD_PROBE_INFO_DATA(info) = gst_event_new_tag(list);
        gst_event_unref(event);
        return GST_PAD_PROBE_OK;
    }
};

Loudness::~Loudness()
{
    if (m_gain)
        gst_object_unref(m_gain);
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

MediaEngine::Gain Loudness::told(const QString &path)
{
    std::lock_guard lock(m_lock);
    return wantedFor(path);
}

void Loudness::name(const QString &path)
{
    std::lock_guard lock(m_lock);
    m_named = path;
    m_handed.clear();
}

void Loudness::handed(const QString &path)
{
    std::lock_guard lock(m_lock);
    m_handed.push_back(path);
}

void Loudness::attach(GstElement *playbin)
{
    GstElement *filter = nullptr;
    g_object_get(playbin, "audio-filter", &filter, nullptr);
    if (!filter)
        return;
    for (GstElement *old : { m_gain, m_limiter }) {
        if (old)
            gst_object_unref(old);
    }
    m_gain = gst_bin_get_by_name(GST_BIN(filter), "gain");
    m_limiter = gst_bin_get_by_name(GST_BIN(filter), "limiter");
    gst_object_unref(filter);
    if (!m_gain)
        return;
    GstPad *pad = gst_element_get_static_pad(m_gain, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, LoudnessProbe::onEvent, this, nullptr);
    gst_object_unref(pad);
}

void Loudness::streamBegins()
{
    m_stream = {};
    {
        std::lock_guard lock(m_lock);
        QString path = m_named;
        if (!m_handed.empty()) {
            path = m_handed.front();
            m_handed.pop_front();
        }
        m_wanted = wantedFor(path);
    }
    apply();
}

// rgvolume, told no gain tags, applies its fallback gain, bounded by its headroom.
void Loudness::apply()
{
    const double gain = appliedGain(m_stream, m_wanted);
    if (m_gain)
        g_object_set(m_gain, "fallback-gain", gain, "headroom", std::max(gain, 0.0), nullptr);
    if (m_limiter)
        g_object_set(m_limiter, "enabled", gain > 0 ? TRUE : FALSE, nullptr);
}

MediaEngine::Gain Loudness::wantedFor(const QString &path)
{
    for (auto it = m_gains.rbegin(); it != m_gains.rend(); ++it) {
        if (it->first == path)
            return it->second;
    }
    return MediaEngine::Gain::Track;
}
