#include "files/embeddedlyrics.h"
#include "../engine/mediafiles.h"
#include "files/lyricssearch.h"
#include "files/programfolder.h"

#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tpropertymap.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

using Cues = QList<LyricsCue>;
using Tagging = std::function<void(const QByteArray &)>;
using Sylt = TagLib::ID3v2::SynchronizedLyricsFrame;

// Sets tags by TagLib's own names: "LYRICS" is USLT in ID3v2 and ©lyr in MP4.
Tagging properties(const QList<std::pair<const char *, const char *>> &tags)
{
    return [tags](const QByteArray &path) {
        TagLib::FileRef ref(path.constData());
        TagLib::PropertyMap map = ref.file()->properties();
        for (const auto &[key, value] : tags)
            map.insert(key, TagLib::StringList(TagLib::String(value, TagLib::String::UTF8)));
        ref.file()->setProperties(map);
        QVERIFY(ref.save());
    };
}

// A SYLT frame of two entries out of order, times in the format given, beside a USLT.
Tagging synchronized(Sylt::TimestampFormat format)
{
    return [format](const QByteArray &path) {
        TagLib::MPEG::File file(path.constData());
        auto *frame = new Sylt(TagLib::String::UTF8);
        frame->setTimestampFormat(format);
        Sylt::SynchedTextList entries;
        entries.append({ 2500, "\nsegunda" });
        entries.append({ 500, TagLib::String("primera línea", TagLib::String::UTF8) });
        frame->setSynchedText(entries);
        file.ID3v2Tag(true)->addFrame(frame);
        QVERIFY(file.save());
        properties({ { "LYRICS", "sin tiempo" } })(path);
    };
}

} // namespace

class EmbeddedLyrics : public QObject {
    Q_OBJECT
private slots:
    void tags_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Tagging>("tagging");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Cues>("cues");
        const char *lrc = "[ar:x]\n[00:00.50]primera línea\n[00:02.50]segunda";
        const QString lines = QStringLiteral("primera línea\nsegunda");
        const Cues cues { { 500, 0 }, { 2500, 1 } };
        QTest::newRow("MP3 USLT") << "a.mp3" << properties({ { "LYRICS", "uno\r\ndós" } }) << "uno\ndós"
                                  << Cues {};
        QTest::newRow("MP3 SYLT first")
            << "b.mp3" << synchronized(Sylt::AbsoluteMilliseconds) << lines << cues;
        QTest::newRow("SYLT in frames")
            << "c.mp3" << synchronized(Sylt::AbsoluteMpegFrames) << "sin tiempo" << Cues {};
        QTest::newRow("WAV ID3v2 LRC") << "d.wav" << properties({ { "LYRICS", lrc } }) << lines << cues;
        QTest::newRow("FLAC LYRICS") << "e.flac" << properties({ { "LYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("FLAC timed first")
            << "f.flac" << properties({ { "LYRICS", "uno" }, { "UNSYNCEDLYRICS", lrc } }) << lines << cues;
        QTest::newRow("Ogg LYRICS") << "g.ogg" << properties({ { "LYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("Opus UNSYNCEDLYRICS")
            << "h.opus" << properties({ { "UNSYNCEDLYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("MP4 ©lyr") << "i.m4a" << properties({ { "LYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("no lyrics") << "j.flac" << properties({ { "TITLE", "uno" } }) << QString() << Cues {};
    }

    // Each kind gives the lyrics its tags hold, timed ones (in milliseconds) before plain
    // ones; a file without any gives nothing.
    void tags()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        const QString path = track(name);
        QVERIFY(!path.isEmpty());
        QFETCH(Tagging, tagging);
        tagging(QFile::encodeName(path));
        const auto lyrics = readEmbeddedLyrics(path);
        QCOMPARE(lyrics.has_value(), !text.isNull());
        if (lyrics) {
            QCOMPARE(lyrics->text(), text);
            QTEST(lyrics->cues, "cues");
        }
    }

    // The first place that has lyrics wins: the program's Lyrics folder (.txt, then .lrc), then
    // beside the track (.lrc, then .txt), then the track's tags. A FIFO named like a track is
    // never opened: it would block.
    void searchOrder()
    {
        QDir dir(m_dir.path());
        setProgramFolder(m_dir.path());
        QVERIFY(dir.mkpath(QStringLiteral("Lyrics")) && dir.mkpath(QStringLiteral("musica")));
        const QString tagged = track(QStringLiteral("musica/t.flac"),
            { QStringLiteral("-metadata"), QStringLiteral("LYRICS=etiqueta") });
        QVERIFY(!tagged.isEmpty());
        const auto places = { "Lyrics/t.txt", "Lyrics/t.lrc", "musica/t.lrc", "musica/t.txt" };
        for (const char *name : places) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("[00:01.00]") + name);
        }
        for (const char *name : places) {
            const auto found = findLyrics(QStringLiteral("t"), tagged);
            QVERIFY(found);
            const bool timed = QByteArray(name).endsWith(".lrc");
            QCOMPARE(found->text(), (timed ? QString() : QStringLiteral("[00:01.00]")) + QLatin1String(name));
            QCOMPARE(found->cues.isEmpty(), !timed);
            QVERIFY(QFile::remove(dir.filePath(QLatin1String(name))));
        }
        QCOMPARE(findLyrics(QStringLiteral("t"), tagged)->text(), QStringLiteral("etiqueta"));
        QVERIFY(!findLyrics(QStringLiteral("t"), dir.filePath(QStringLiteral("musica/otra.flac"))));
#ifdef Q_OS_UNIX
        const QString fifo = dir.filePath(QStringLiteral("tubo.mp3"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!readEmbeddedLyrics(fifo));
#endif
    }

private:
    QString track(const QString &name, const QStringList &tags = {})
    {
        const QStringList tone { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=d=0.3") };
        return mediafiles::ffmpeg(QDir(m_dir.path()), name, tone + tags);
    }

    QTemporaryDir m_dir;
};

QTEST_APPLESS_MAIN(EmbeddedLyrics)
#include "embeddedlyrics.moc"
