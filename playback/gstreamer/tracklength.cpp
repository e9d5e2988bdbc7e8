#include "playback/gstreamer/tracklength.h"

#include "playback/adtslength.h"
#include "playback/mpeglength.h"

#include <QFileInfo>
#include <gst/gst.h>

namespace {

std::optional<double> queryDuration(GstElement *playbin)
{
    gint64 duration = 0;
    if (!gst_element_query_duration(playbin, GST_FORMAT_TIME, &duration) || duration <= 0)
        return std::nullopt;
    return double(duration) / GST_SECOND;
}

// An MP3 without a length header tells its length only once it has been read through, so
// until then the length follows from the file's size and its bit rate.
std::optional<double> estimateFromBitrate(GstElement *playbin, const QString &path)
{
    GstTagList *tags = nullptr;
    g_signal_emit_by_name(playbin, "get-audio-tags", 0, &tags);
    if (!tags)
        return std::nullopt;
    guint bitrate = 0;
    if (!gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &bitrate))
        gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &bitrate);
    gst_tag_list_unref(tags);
    if (bitrate == 0)
        return std::nullopt;
    return QFileInfo(path).size() * 8.0 / bitrate;
}

} // namespace

TrackLength::TrackLength(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

TrackLength::~TrackLength()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void TrackLength::measure(GstElement *playbin, int file, const QString &path)
{
    forget();
    m_file = file;
    m_seconds = queryDuration(playbin);
    if (!m_seconds)
        m_seconds = adtsFileLength(path);
    if (!m_seconds)
        m_seconds = estimateFromBitrate(playbin, path);
    m_pool.start([this, file, path] {
        if (const std::optional<double> counted = mpegFileLength(path))
            QMetaObject::invokeMethod(
                this, [this, file, counted] { takeCount(file, *counted); }, Qt::QueuedConnection);
    });
}

void TrackLength::refine(GstElement *playbin)
{
    if (m_counted || !m_seconds)
        return;
    if (const std::optional<double> duration = queryDuration(playbin))
        m_seconds = duration;
}

// A count still waiting for the thread is for a file no longer heard.
void TrackLength::forget()
{
    m_pool.clear();
    m_seconds.reset();
    m_counted = false;
    m_file = 0;
}

void TrackLength::takeCount(int file, double seconds)
{
    if (file != m_file)
        return;
    m_counted = true;
    if (m_seconds == seconds)
        return;
    m_seconds = seconds;
    emit changed();
}
