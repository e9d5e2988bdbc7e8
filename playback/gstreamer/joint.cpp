#include "playback/gstreamer/joint.h"

#include <algorithm>
#include <gst/audio/audio.h>
#include <gst/gst.h>
#include <optional>

namespace {

// The output is opened at no less than the rate most music comes at, and that sound servers
// run at: a file of a lower rate would be converted up on its way out anyway, and the file
// after it most often needs that rate.
constexpr int lowestOutputRate = 44100;

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

quint64 runningTimeAt(GstPad *pad, GstClockTime time)
{
    GstEvent *event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    if (!event)
        return 0;
    const GstSegment *segment = nullptr;
    gst_event_parse_segment(event, &segment);
    const guint64 at = gst_segment_to_running_time(segment, GST_FORMAT_TIME, time);
    gst_event_unref(event);
    return GST_CLOCK_TIME_IS_VALID(at) ? at : 0;
}

int intField(const GstStructure *structure, const char *name)
{
    int value = 0;
    gst_structure_get_int(structure, name, &value);
    return value;
}

// Any raw audio of at least the rate and channels given. The converters before the sink then
// pass each stream at its own format up to here, where its format is seen, and the sink chain
// converts it up to the output's; a single format here would have every stream converted to it
// before it could be seen.
GstCaps *atLeast(int rate, int channels)
{
    return gst_caps_new_simple("audio/x-raw", "rate", GST_TYPE_INT_RANGE, rate, G_MAXINT, "channels",
        GST_TYPE_INT_RANGE, channels, G_MAXINT, nullptr);
}

} // namespace

bool cutAtSegmentEnd(GstPad *pad, GstPadProbeInfo *info)
{
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstAudioInfo audio;
    if (!interleavedAudioOf(pad, &audio))
        return true;
    const int rate = GST_AUDIO_INFO_RATE(&audio);
    const std::optional<qint64> left = samplesLeftInSegment(pad, GST_BUFFER_PTS(buffer), rate);
    if (!left || qint64(gst_buffer_get_size(buffer) / GST_AUDIO_INFO_BPF(&audio)) <= *left)
        return true;
    if (*left <= 0)
        return false;
    buffer = gst_buffer_make_writable(buffer);
    gst_buffer_resize(buffer, 0, *left * GST_AUDIO_INFO_BPF(&audio));
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale_int(*left, GST_SECOND, rate);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    return true;
}

quint64 runningTimeOf(GstPad *pad, GstBuffer *buffer)
{
    return runningTimeAt(pad, GST_BUFFER_PTS(buffer));
}

quint64 runningEndOf(GstPad *pad, GstBuffer *buffer)
{
    const GstClockTime duration = GST_BUFFER_DURATION(buffer);
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(pts) || !GST_CLOCK_TIME_IS_VALID(duration))
        return runningTimeOf(pad, buffer);
    return runningTimeAt(pad, pts + duration);
}

void fitOutputFormat(GstElement *format, GstEvent *capsEvent)
{
    GstCaps *incoming = nullptr;
    gst_event_parse_caps(capsEvent, &incoming);
    if (!incoming || gst_caps_is_empty(incoming))
        return;
    const GstStructure *stream = gst_caps_get_structure(incoming, 0);
    int lowestRate = std::max(intField(stream, "rate"), lowestOutputRate);
    int fewestChannels = std::max(intField(stream, "channels"), 2);
    GstPad *src = gst_element_get_static_pad(format, "src");
    if (GstCaps *open = gst_pad_get_current_caps(src)) {
        const GstStructure *output = gst_caps_get_structure(open, 0);
        lowestRate = std::max(lowestRate, intField(output, "rate"));
        fewestChannels = std::max(fewestChannels, intField(output, "channels"));
        gst_caps_unref(open);
    }
    gst_object_unref(src);
    GstCaps *wanted = atLeast(lowestRate, fewestChannels);
    g_object_set(format, "caps", wanted, nullptr);
    gst_caps_unref(wanted);
}
