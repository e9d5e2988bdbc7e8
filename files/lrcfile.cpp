#include "files/lrcfile.h"

#include "files/lyricsfile.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// The longest time a tag may give, about 1900 hours: longer minute fields are garbage, and
// bounding them keeps the sums below from overflowing.
constexpr int maxMinuteDigits = 5;

// The seconds of a time: up to 59, and 60, which tools that round times write for the last
// instant of a minute.
const QLatin1String secondsForm("([0-5]?[0-9]|60)");

// "[mm:ss]", "[mm:ss.x]", "[mm:ss.xx]", "[mm:ss.xxx]" or with ':' before the fraction.
std::optional<qint64> timeTagMs(QStringView tag)
{
    static const QRegularExpression form(
        QStringLiteral("^\\[\\s*([0-9]{1,%1}):%2(?:[.:]([0-9]{1,3}))?\\s*\\]$")
            .arg(maxMinuteDigits)
            .arg(secondsForm));
    const auto match = form.match(tag.toString());
    if (!match.hasMatch())
        return std::nullopt;
    qint64 ms = (match.capturedView(1).toLongLong() * 60 + match.capturedView(2).toLongLong()) * 1000;
    const QStringView fraction = match.capturedView(3);
    if (!fraction.isEmpty())
        ms += fraction.toLongLong() * (fraction.size() == 1 ? 100 : fraction.size() == 2 ? 10 : 1);
    return ms;
}

// A line holding only "[key:value]" with a short lower-case key, such as "[ar:Artist]" or
// "[offset:+250]", or a key files commonly hold in any case, such as "[AR:Artist]" or
// "[Offset:+250]". A line such as "[Chorus: all]" is the lyrics' own text and is shown.
const QRegularExpression &metadataForm()
{
    static const QRegularExpression form(
        QStringLiteral("^\\[(#|[a-z]{1,10}|(?i:ar|al|ti|au|by|re|ve|tool|length|offset)):(.*)\\]$"));
    return form;
}

// Times inside the text of the extended form ("<00:12.30>word") say when each word is sung;
// the window marks whole lines, so they are left out of what it shows.
QString withoutWordTimes(const QString &text)
{
    static const QRegularExpression wordTime(
        QStringLiteral("<[0-9]{1,5}:%1(?:[.:][0-9]{1,3})?>").arg(secondsForm));
    if (!text.contains(u'<'))
        return text;
    QString out = text;
    out.remove(wordTime);
    return out;
}

struct TaggedLine {
    QList<qint64> times;
    QString text;
};

// Takes the time tags off the start of a line; blanks may stand between them, as in
// "[00:01.00] [00:05.00]Words".
TaggedLine splitTimes(const QString &line)
{
    TaggedLine tagged;
    qsizetype at = 0;
    for (qsizetype open = line.indexOf(u'[');
         open >= 0 && QStringView(line).sliced(at, open - at).trimmed().isEmpty();
         open = line.indexOf(u'[', at)) {
        const qsizetype close = line.indexOf(u']', open);
        if (close < 0)
            break;
        const auto ms = timeTagMs(QStringView(line).sliced(open, close - open + 1));
        if (!ms)
            break;
        tagged.times << *ms;
        at = close + 1;
    }
    tagged.text = withoutWordTimes(line.sliced(at));
    // "[00:12.00] Words" is as common as "[00:12.00]Words".
    if (!tagged.times.isEmpty())
        tagged.text = tagged.text.trimmed();
    return tagged;
}

} // namespace

QString TimedLyrics::text() const
{
    return lines.join(u'\n');
}

TimedLyrics plainLyrics(const QString &text)
{
    return TimedLyrics { text.split(u'\n'), {} };
}

TimedLyrics parseLrc(const QString &text)
{
    TimedLyrics lyrics;
    qint64 offsetMs = 0;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const auto metadata = metadataForm().match(line.trimmed());
        if (metadata.hasMatch()) {
            if (metadata.captured(1).compare(QLatin1String("offset"), Qt::CaseInsensitive) == 0) {
                bool ok = false;
                const qint64 value = metadata.captured(2).trimmed().toLongLong(&ok);
                if (ok && qAbs(value) < 24 * 3600 * 1000)
                    offsetMs = value;
            }
            continue;
        }
        const TaggedLine tagged = splitTimes(line);
        for (const qint64 ms : tagged.times)
            lyrics.cues << LyricsCue { ms, lyrics.lines.size() };
        lyrics.lines << tagged.text;
    }
    for (LyricsCue &cue : lyrics.cues)
        cue.atMs = std::max<qint64>(0, cue.atMs - offsetMs);
    std::stable_sort(lyrics.cues.begin(), lyrics.cues.end(),
        [](const LyricsCue &a, const LyricsCue &b) { return a.atMs < b.atMs; });
    return lyrics;
}

std::optional<qsizetype> markedLine(const TimedLyrics &lyrics, qint64 positionMs)
{
    const auto after = std::upper_bound(lyrics.cues.cbegin(), lyrics.cues.cend(), positionMs,
        [](qint64 ms, const LyricsCue &cue) { return ms < cue.atMs; });
    if (after == lyrics.cues.cbegin())
        return std::nullopt;
    return std::prev(after)->line;
}

std::optional<TimedLyrics> readTimedLyrics(const QString &path)
{
    const auto text = readLyrics(path);
    if (!text)
        return std::nullopt;
    return parseLrc(*text);
}
