#include "files/lyricsfile.h"

#include "files/mediatypes.h"
#include "files/programfolder.h"
#include "files/textfiles.h"

#include <QDir>
#include <QStringDecoder>

std::optional<QString> lyricsBaseName(const QString &songName)
{
    // The newer kinds' longer extensions (".flac", ".opus") go whole, so their lyrics are
    // found under the track's name as those of the original kinds are.
    const qsizetype dot = songName.lastIndexOf(u'.');
    if (dot > 0 && newerSuffixes().contains(songName.sliced(dot + 1).toLower()))
        return songName.first(dot);
    if (songName.size() < 4)
        return std::nullopt;
    return songName.first(songName.size() - 4);
}

QString lyricsPath(const QString &baseName)
{
    return QDir(besideProgram(QStringLiteral("Lyrics"))).filePath(baseName + QStringLiteral(".txt"));
}

QString timedLyricsPath(const QString &baseName)
{
    return QDir(besideProgram(QStringLiteral("Lyrics"))).filePath(baseName + QStringLiteral(".lrc"));
}

QString decodeLyrics(const QByteArray &bytes, bool cut)
{
    // The decoder skips the mark, and one that keeps state holds back half a character.
    if (const auto marked = QStringConverter::encodingForData(bytes))
        return QStringDecoder(*marked).decode(bytes);
    if (cut) {
        // A decoder that keeps state holds back an unfinished last character instead of
        // calling it an error.
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return decodeText(bytes);
}

std::optional<QString> readLyrics(const QString &path)
{
    const auto bytes = readRegularFile(path, maxLyricsBytes);
    if (!bytes)
        return std::nullopt;
    return shapeLyrics(decodeLyrics(*bytes, bytes->size() == maxLyricsBytes));
}

QString shapeLyrics(QString text)
{
    text.truncate(maxLyricsBytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Files from old Mac tools end their lines in CR alone.
    text.replace(u'\r', u'\n');
    return breakLongLines(text);
}

QString breakLongLines(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / maxLyricsLine);
    qsizetype lineLength = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            lineLength = 0;
        } else if (lineLength >= maxLyricsLine && !c.isLowSurrogate()) {
            out += QLatin1Char('\n');
            lineLength = 1;
        } else {
            ++lineLength;
        }
        out += c;
    }
    return out;
}
