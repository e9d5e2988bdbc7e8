#include "playback/gstreamer/callbacks.h"

#include "playback/gstreamer/gstengine.h"
#include "playback/gstreamer/joint.h"

#include <QUrl>
#include <gst/gst.h>

namespace {

// fluiddec plays MIDI about 30 dB quieter than the other formats play at full volume.
constexpr double midiGain = 0.8;

} // namespace

void GstEngineCallbacks::connect(GstEngine *engine, GstElement *playbin)
{
    g_signal_connect(playbin, "element-setup", G_CALLBACK(onElementSetup), engine);
    g_signal_connect(playbin, "about-to-finish", G_CALLBACK(onAboutToFinish), engine);
    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, onBusMessage, engine, nullptr);
    gst_object_unref(bus);
    g_object_get(playbin, "audio-sink", &engine->m_sink, nullptr);
    if (!engine->m_sink)
        return;
    engine->m_format = gst_bin_get_by_name(GST_BIN(engine->m_sink), "format");
    GstPad *pad = gst_element_get_static_pad(engine->m_sink, "sink");
    gst_pad_add_probe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
        onSinkData, engine, nullptr);
    gst_object_unref(pad);
}

// the hand-over, and hand everything else to the UI thread.
GstBusSyncReply GstEngineCallbacks::onBusMessage(GstBus *, GstMessage *message, gpointer data)
{
    auto *engine = static_cast<GstEngine *>(data);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        engine->queueEnd(false);
        break;
    case GST_MESSAGE_ERROR:
        // A file queued to follow that cannot be played fails while the file before it
        // still plays, which plays on to its end.
        if (isFromSink(engine, message) || !engine->m_handOver.failHanded())
            engine->queueEnd(true);
        else
            tellArrival(engine);
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        QMetaObject::invokeMethod(
            engine, [engine] { engine->m_length.refine(engine->m_playbin); }, Qt::QueuedConnection);
        break;
    case GST_MESSAGE_TAG:
        onTags(engine, message);
        break;
    default:
        break;
    }
    // Nobody reads the bus, so nothing may stay queued on it. A dropped message is the
    // handler's to free, and each one holds the element that posted it.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

bool GstEngineCallbacks::isFromSink(GstEngine *engine, GstMessage *message)
{
    return engine->m_sink
        && (GST_MESSAGE_SRC(message) == GST_OBJECT(engine->m_sink)
            || gst_object_has_as_ancestor(GST_MESSAGE_SRC(message), GST_OBJECT(engine->m_sink)));
}

void GstEngineCallbacks::onTags(GstEngine *engine, GstMessage *message)
{
    GstTagList *list = nullptr;
    gst_message_parse_tag(message, &list);
    const TrackTags tags = readTags(list);
    gst_tag_list_unref(list);
    // The sink tells the tags of a stream as it takes it in, after the file before it.
    const int file = engine->m_handOver.sinkFile();
    QMetaObject::invokeMethod(
        engine, [engine, file, tags] { engine->m_tags.take(file, tags); }, Qt::QueuedConnection);
}

// Only reads what the player told ahead: no GStreamer thread waits for the UI thread.
void GstEngineCallbacks::onAboutToFinish(GstElement *playbin, gpointer data)
{
    auto *engine = static_cast<GstEngine *>(data);
    const QString next = engine->m_handOver.take();
    if (next.isEmpty())
        return;
    engine->m_loudness.handed(next);
    g_object_set(playbin, "uri", QUrl::fromLocalFile(next).toEncoded().constData(), nullptr);
}

GstPadProbeReturn GstEngineCallbacks::onSinkData(GstPad *pad, GstPadProbeInfo *info, gpointer data)
{
    auto *engine = static_cast<GstEngine *>(data);
    HandOver &handOver = engine->m_handOver;
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM)
        return onSinkEvent(engine, GST_PAD_PROBE_INFO_EVENT(info));
    if (handOver.isDropping() || !cutAtSegmentEnd(pad, info))
        return GST_PAD_PROBE_DROP;
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (handOver.passes(runningTimeOf(pad, buffer), runningEndOf(pad, buffer)))
        tellArrival(engine);
    return GST_PAD_PROBE_OK;
}

// A stream no longer wanted is dropped here, with everything after it but a flush.
GstPadProbeReturn GstEngineCallbacks::onSinkEvent(GstEngine *engine, GstEvent *event)
{
    const GstEventType type = GST_EVENT_TYPE(event);
    if (type == GST_EVENT_STREAM_START && engine->m_handOver.streamBegins()) {
        tellArrival(engine);
        return GST_PAD_PROBE_DROP;
    }
    if (engine->m_handOver.isDropping() && type != GST_EVENT_FLUSH_START && type != GST_EVENT_FLUSH_STOP)
        return GST_PAD_PROBE_DROP;
    if (type == GST_EVENT_CAPS && engine->m_format)
        fitOutputFormat(engine->m_format, event);
    return GST_PAD_PROBE_OK;
}

void GstEngineCallbacks::tellArrival(GstEngine *engine)
{
    QMetaObject::invokeMethod(
        engine, [engine] { engine->awaitQueuedFile(); }, Qt::QueuedConnection);
}

void GstEngineCallbacks::onElementSetup(GstElement *, GstElement *element, gpointer)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    if (factory && g_strcmp0(GST_OBJECT_NAME(factory), "fluiddec") == 0)
        g_object_set(element, "synth-gain", midiGain, nullptr);
}
