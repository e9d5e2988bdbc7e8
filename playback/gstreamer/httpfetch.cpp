#include "playback/gstreamer/httpfetch.h"

#include "playback/gstreamer/startup.h"

#include <gst/gst.h>

namespace {

constexpr qsizetype sizeLimit = 1024 * 1024;
constexpr int timeLimitSeconds = 10;

} // namespace

// What GStreamer's threads call while a fetch runs.
struct HttpFetchCallbacks {
    static void onData(GstElement *, GstBuffer *buffer, GstPad *, gpointer data)
    {
        auto *fetch = static_cast<HttpFetch *>(data);
        if (fetch->m_bytes.size() > sizeLimit)
            return;
        GstMapInfo map;
        if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
            return;
        fetch->m_bytes.append(reinterpret_cast<const char *>(map.data), qsizetype(map.size));
        gst_buffer_unmap(buffer, &map);
        if (fetch->m_bytes.size() > sizeLimit)
            fetch->queueFinish(false);
    }

    static GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer data)
    {
        auto *fetch = static_cast<HttpFetch *>(data);
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS)
            fetch->queueFinish(true);
        else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
            fetch->queueFinish(false);
        gst_message_unref(message);
        return GST_BUS_DROP;
    }
};

HttpFetch::HttpFetch(QObject *parent)
    : QObject(parent)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeLimitSeconds * 1000);
    connect(&m_timeout, &QTimer::timeout, this, [this] { finish(m_generation.load(), false); });
}

HttpFetch::~HttpFetch()
{
    cancel();
}

void HttpFetch::start(const QUrl &address)
{
    cancel();
    m_bytes.clear();
    m_pipeline = startGstreamer()
        ? gst_parse_launch("souphttpsrc name=source ! fakesink name=sink signal-handoffs=true", nullptr)
        : nullptr;
    if (!m_pipeline) {
        queueFinish(false);
        return;
    }
    GstElement *source = gst_bin_get_by_name(GST_BIN(m_pipeline), "source");
    g_object_set(
        source, "location", address.toEncoded().constData(), "timeout", guint(timeLimitSeconds), nullptr);
    gst_object_unref(source);
    GstElement *sink = gst_bin_get_by_name(GST_BIN(m_pipeline), "sink");
    g_signal_connect(sink, "handoff", G_CALLBACK(HttpFetchCallbacks::onData), this);
    gst_object_unref(sink);
    GstBus *bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, HttpFetchCallbacks::onBusMessage, this, nullptr);
    gst_object_unref(bus);
    m_timeout.start();
    if (gst_element_set_state(m_pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        queueFinish(false);
}

// Taking the pipeline down joins its streaming thread, so its bytes are the UI thread's after.
void HttpFetch::cancel()
{
    m_timeout.stop();
    if (m_pipeline)
        disposePipeline(std::exchange(m_pipeline, nullptr));
    ++m_generation;
}

void HttpFetch::queueFinish(bool fetched)
{
    const int generation = m_generation.load();
    QMetaObject::invokeMethod(
        this, [this, generation, fetched] { finish(generation, fetched); }, Qt::QueuedConnection);
}

void HttpFetch::finish(int generation, bool fetched)
{
    if (generation != m_generation.load())
        return;
    cancel();
    emit done(fetched ? std::optional(std::exchange(m_bytes, {})) : std::nullopt);
}
