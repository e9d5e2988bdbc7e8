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
using Tagging = std::function<void(const QString &)>;

TagLib::String utf8(const char *text)
{
    return TagLib::String(text, TagLib::String::UTF8);
}

// Sets tags by TagLib's own names: "LYRICS" is USLT in ID3v2 and ©lyr in MP4.
Tagging properties(const QList<std::pair<const char *, const char *>> &tags)
{
    return [tags](const QString &path) {
        TagLib::FileRef ref(QFile::encodeName(path).constData());
        TagLib::PropertyMap map = ref.file()->properties();
        for (const auto &[key, value] : tags)
            map.insert(key, TagLib::StringList(utf8(value)));
        ref.file()->setProperties(map);
        QVERIFY(ref.save());
    };
}

// An ID3v2 SYLT frame of two entries, with times in the format given, beside a USLT.
Tagging synchronized(TagLib::ID3v2::SynchronizedLyricsFrame::TimestampFormat format)
{
    return [format](const QString &path) {
        TagLib::MPEG::File file(QFile::encodeName(path).constData());
        auto *frame = new TagLib::ID3v2::SynchronizedLyricsFrame(TagLib::String::UTF8);
        frame->setTimestampFormat(format);
        TagLib::ID3v2::SynchronizedLyricsFrame::SynchedTextList entries;
        entries.append({ 2500, utf8("\nsegunda") });
        entries.append({ 500, utf8("primera línea") });
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
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setProgramFolder(m_dir.filePath(QStringLiteral("program")));
    }

    void tags_data()
    {
        using Format = TagLib::ID3v2::SynchronizedLyricsFrame;
        QTest::addColumn<QString>("name");
        QTest::addColumn<Tagging>("tagging");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Cues>("cues");
        const QString lrc = QStringLiteral("primera línea\nsegunda");
        const Cues lrcCues { { 500, 0 }, { 2500, 1 } };
        QTest::newRow("MP3 USLT") << "a.mp3" << properties({ { "LYRICS", "uno\r\ndós" } }) << "uno\ndós"
                                  << Cues {};
        QTest::newRow("MP3 SYLT before USLT")
            << "b.mp3" << synchronized(Format::AbsoluteMilliseconds) << lrc << lrcCues;
        QTest::newRow("SYLT in MPEG frames is passed over")
            << "c.mp3" << synchronized(Format::AbsoluteMpegFrames) << "sin tiempo" << Cues {};
        QTest::newRow("WAV ID3v2 LRC")
            << "d.wav" << properties({ { "LYRICS", "[ar:x]\n[00:00.50]primera línea\n[00:02.50]segunda" } })
            << lrc << lrcCues;
        QTest::newRow("FLAC LYRICS") << "e.flac" << properties({ { "LYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("FLAC timed UNSYNCEDLYRICS before plain LYRICS")
            << "f.flac"
            << properties({ { "LYRICS", "uno" },
                   { "UNSYNCEDLYRICS", "[00:00.50]primera línea\n[00:02.50]segunda" } })
            << lrc << lrcCues;
        QTest::newRow("Ogg LYRICS") << "g.ogg" << properties({ { "LYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("Opus UNSYNCEDLYRICS")
            << "h.opus" << properties({ { "UNSYNCEDLYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("MP4 ©lyr") << "i.m4a" << properties({ { "LYRICS", "uno" } }) << "uno" << Cues {};
        QTest::newRow("no lyrics") << "j.flac" << properties({ { "TITLE", "uno" } }) << QString() << Cues {};
    }

    // Each kind gives the lyrics its tags hold, timed ones before plain ones; a file without
    // any gives nothing.
    void tags()
    {
        QFETCH(QString, name);
        QFETCH(Tagging, tagging);
        QFETCH(QString, text);
        const QString path = mediafiles::ffmpeg(QDir(m_dir.path()), name,
            { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("sine=d=0.3") });
        QVERIFY(!path.isEmpty());
        tagging(path);
        const auto lyrics = readEmbeddedLyrics(path);
        QCOMPARE(lyrics.has_value(), !text.isNull());
        if (lyrics) {
            QCOMPARE(lyrics->text(), text);
            QTEST(lyrics->cues, "cues");
        }
    }

    // Bytes that are no media, a FIFO named like a track and a missing file give nothing,
    // without blocking.
    void notMedia()
    {
        QFile noise(m_dir.filePath(QStringLiteral("ruido.mp3")));
        QVERIFY(noise.open(QIODevice::WriteOnly));
        noise.write(QByteArray(4096, '\xff'));
        noise.close();
        QVERIFY(!readEmbeddedLyrics(noise.fileName()));
        QVERIFY(!readEmbeddedLyrics(m_dir.filePath(QStringLiteral("falta.mp3"))));
#ifdef Q_OS_UNIX
        const QString fifo = m_dir.filePath(QStringLiteral("tubo.mp3"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!readEmbeddedLyrics(fifo));
#endif
    }

    // The first place that has lyrics wins: the program's Lyrics folder (.txt, then .lrc), then
    // beside the track (.lrc, then .txt), then the track's tags.
    void searchOrder()
    {
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath(QStringLiteral("program/Lyrics")) && dir.mkpath(QStringLiteral("musica")));
        const QString track
            = mediafiles::ffmpeg(QDir(dir.filePath(QStringLiteral("musica"))), QStringLiteral("t.flac"),
                { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                    QStringLiteral("sine=d=0.3"), QStringLiteral("-metadata"),
                    QStringLiteral("LYRICS=etiqueta") });
        const QList<std::pair<QString, QByteArray>> places {
            { QStringLiteral("program/Lyrics/t.txt"), "programa txt" },
            { QStringLiteral("program/Lyrics/t.lrc"), "[00:01.00]programa lrc" },
            { QStringLiteral("musica/t.lrc"), "[00:01.00]junto lrc" },
            { QStringLiteral("musica/t.txt"), "junto txt" },
        };
        for (const auto &[name, content] : places) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        for (const auto &[name, content] : places) {
            const auto found = findLyrics(QStringLiteral("t"), track);
            QVERIFY(found);
            QCOMPARE(found->text(), QString::fromUtf8(content).remove(QStringLiteral("[00:01.00]")));
            QCOMPARE(found->cues.isEmpty(), name.endsWith(QStringLiteral(".txt")));
            QVERIFY(QFile::remove(dir.filePath(name)));
        }
        QCOMPARE(findLyrics(QStringLiteral("t"), track)->text(), QStringLiteral("etiqueta"));
        QVERIFY(!findLyrics(QStringLiteral("t"), dir.filePath(QStringLiteral("musica/otra.flac"))));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_APPLESS_MAIN(EmbeddedLyrics)
#include "embeddedlyrics.moc"
