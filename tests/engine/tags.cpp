#include "mediafiles.h"
#include "playback/gstengine.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The tags of real files, as GStreamer reads them.
class EngineTags : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_bare, m_latin1;
    QByteArray m_cover;
    QStringList m_tagged; // one file of each kind, named by its extension
    const QStringList m_tags { QStringLiteral("title=Canción"), QStringLiteral("artist=Ñandú"),
        QStringLiteral("album=Álbum"), QStringLiteral("track=7") };

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QDir dir(m_dir.path());
        QFile cover(mediafiles::png(dir, QStringLiteral("cover.png")));
        QVERIFY(cover.open(QIODevice::ReadOnly));
        m_cover = cover.readAll();
        for (const char *kind : { "mp3", "flac", "ogg" })
            m_tagged << mediafiles::tagged(dir, QStringLiteral("tema.") + QLatin1String(kind), m_tags,
                qstrcmp(kind, "ogg") == 0 ? QString() : cover.fileName());
        m_bare = mediafiles::mp3(dir, QStringLiteral("bare.mp3"), 1, 440, true);
        QFile mp3(m_bare);
        QVERIFY(mp3.open(QIODevice::ReadOnly));
        m_latin1 = mediafiles::bytes(
            dir, QStringLiteral("latin1.mp3"), mediafiles::latin1Id3Tag("Canci\xf3n") + mp3.readAll());
        for (const QString &path : m_tagged + QStringList { m_latin1 })
            QVERIFY2(!path.isEmpty(), "a test file could not be made");
    }

    void tagsOfThePlayingFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<TrackTags>("expected");
        const TrackTags tags { QStringLiteral("Canción"), { QStringLiteral("Ñandú") },
            QStringLiteral("Álbum"), 7, m_cover, QStringLiteral("image/png") };
        TrackTags withoutCover = tags;
        withoutCover.cover.clear();
        withoutCover.coverMimeType.clear();
        QTest::newRow("mp3") << m_tagged[0] << tags;
        QTest::newRow("flac") << m_tagged[1] << tags;
        QTest::newRow("ogg") << m_tagged[2] << withoutCover;
        QTest::newRow("ID3v2.3 in ISO-8859-1") << m_latin1 << TrackTags { QStringLiteral("Canción") };
    }

    // By the time a file has played, its tags have come in Unicode, whatever character set
    // the file stored them in, with its embedded picture, and a change signal has said so;
    // naming another file empties them at once.
    void tagsOfThePlayingFile()
    {
        QFETCH(QString, path);
        QFETCH(TrackTags, expected);
        GstEngine engine(QStringLiteral("fakesink sync=true"));
        QSignalSpy changed(&engine, &MediaEngine::TagsChanged);
        QSignalSpy ended(&engine, &MediaEngine::PlaybackEnded);
        QVERIFY(engine.MediaFile(path));
        QVERIFY(engine.StartPlayback());
        QVERIFY(ended.wait(15000));
        QVERIFY(engine.Tags() == expected);
        QVERIFY(!changed.isEmpty());

        changed.clear();
        QVERIFY(engine.MediaFile(m_bare));
        QCOMPARE(engine.Tags(), TrackTags());
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_GUILESS_MAIN(EngineTags)
#include "tags.moc"
