#include "playback/gstreamer/tagreading.h"

#include <gst/gst.h>
#include <gst/tag/tag.h>

namespace {

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

} // namespace

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

bool FileTags::hear(int file, const TrackTags &fromStream)
{
    m_file = file;
    const TrackTags tags = merged(fromStream, m_queued.take(file));
    m_queued.removeIf([file](const auto &queued) { return queued.key() < file; });
    return std::exchange(m_heard, tags) != tags;
}

void FileTags::take(int file, const TrackTags &update)
{
    if (file == m_file)
        set(merged(m_heard, update));
    else if (file > m_file)
        m_queued[file] = merged(m_queued.value(file), update);
}

void FileTags::set(const TrackTags &tags)
{
    if (tags == m_heard)
        return;
    m_heard = tags;
    emit changed();
}
