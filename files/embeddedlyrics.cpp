#include "files/embeddedlyrics.h"

#include "files/lyricsfile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

namespace {

QString toQString(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

// The ID3v2 tag of the kinds that carry one beside their own tags; others have none.
TagLib::ID3v2::Tag *id3v2Tag(TagLib::File *file)
{
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(file))
        return mpeg->hasID3v2Tag() ? mpeg->ID3v2Tag() : nullptr;
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(file))
        return wav->hasID3v2Tag() ? wav->ID3v2Tag() : nullptr;
    return nullptr;
}

// One SYLT frame as lines in the order they are sung, each entry a line. Times counted in MPEG
// frames would need the stream's frame rate, so only times in milliseconds are followed.
std::optional<TimedLyrics> synchronizedLyrics(const TagLib::ID3v2::Tag &tag)
{
    for (const TagLib::ID3v2::Frame *frame : tag.frameList("SYLT")) {
        const auto *sylt = dynamic_cast<const TagLib::ID3v2::SynchronizedLyricsFrame *>(frame);
        if (!sylt || sylt->timestampFormat() != TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds)
            continue;
        const auto list = sylt->synchedText();
        if (list.isEmpty())
            continue;
        std::vector entries(list.begin(), list.end());
        std::stable_sort(
            entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.time < b.time; });
        TimedLyrics lyrics;
        qsizetype size = 0;
        for (const auto &entry : entries) {
            // Writers put the break before a new line into its entry; the window breaks lines itself.
            QString line = toQString(entry.text).remove(u'\r').remove(u'\n').left(maxLyricsLine);
            size += line.size() + 1;
            if (size > maxLyricsBytes)
                break;
            lyrics.cues << LyricsCue { qint64(entry.time), lyrics.lines.size() };
            lyrics.lines << line;
        }
        return lyrics;
    }
    return std::nullopt;
}

// The texts of every lyrics tag, in the order looked at: TagLib calls USLT "LYRICS" (or
// "LYRICS:<description>"), and so it calls MP4's ©lyr, ASF's and APE's lyrics.
QStringList lyricsTexts(const TagLib::PropertyMap &properties)
{
    QStringList texts;
    for (const char *key : { "LYRICS", "UNSYNCEDLYRICS" }) {
        for (const auto &[name, values] : properties) {
            if (name == key || name.startsWith(TagLib::String(key) + ":")) {
                for (const TagLib::String &value : values)
                    texts << shapeLyrics(toQString(value));
            }
        }
    }
    texts.removeIf([](const QString &text) { return text.trimmed().isEmpty(); });
    return texts;
}

} // namespace

std::optional<TimedLyrics> readEmbeddedLyrics(const QString &path)
{
    // A FIFO or a device named like a track would block or never end.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    const TagLib::FileRef ref(QFile::encodeName(path).constData(), false);
    if (ref.isNull())
        return std::nullopt;
    if (const TagLib::ID3v2::Tag *tag = id3v2Tag(ref.file())) {
        if (auto timed = synchronizedLyrics(*tag))
            return timed;
    }
    const QStringList texts = lyricsTexts(ref.file()->properties());
    for (const QString &text : texts) {
        TimedLyrics timed = parseLrc(text);
        if (!timed.cues.isEmpty())
            return timed;
    }
    if (texts.isEmpty())
        return std::nullopt;
    return plainLyrics(texts.first());
}

QString readAlbum(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    const TagLib::FileRef ref(QFile::encodeName(path).constData(), false);
    return ref.isNull() || !ref.tag() ? QString() : toQString(ref.tag()->album());
}
