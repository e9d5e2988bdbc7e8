#include "mediafiles.h"
#include "playback/gstreamer/gstengine.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The tags of real files, as GStreamer reads them.
class EngineTags : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_cover, m_bare;

    QString tagged(const QString &name, const QString &cover)
    {
        QStringList arguments = QStringLiteral("-f lavfi -i sine=d=1").split(QLatin1Char(' '));
        if (!cover.isEmpty())
            arguments << QStringLiteral("-i") << cover
                      << QStringLiteral("-map 0:a -map 1:v -c:v copy -disposition:v attached_pic")
                             .split(QLatin1Char(' '));
        return mediafiles::ffmpeg(QDir(m_dir.path()), name,
            arguments
                + QStringLiteral(
                    "-metadata title=Canción -metadata artist=Ñandú -metadata album=Álbum -metadata track=7")
                      .split(QLatin1Char(' ')));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QDir dir(m_dir.path());
        m_cover = mediafiles::ffmpeg(dir, QStringLiteral("cover.png"),
            QStringLiteral("-f lavfi -i color=c=red:s=8x8 -frames:v 1").split(QLatin1Char(' ')));
        m_bare = mediafiles::mp3(dir, QStringLiteral("bare.mp3"), 1, 440, true);
        QVERIFY(!m_cover.isEmpty() && !m_bare.isEmpty());
    }

    void tagsOfThePlayingFile_data()
    {
        QFile cover(m_cover), bare(m_bare);
        QVERIFY(cover.open(QIODevice::ReadOnly) && bare.open(QIODevice::ReadOnly));
        const TrackTags tags { QStringLiteral("Canción"), { QStringLiteral("Ñandú") },
            QStringLiteral("Álbum"), 7, cover.readAll(), QStringLiteral("image/png") };
        QTest::addColumn<QString>("path");
        QTest::addColumn<TrackTags>("expected");
        QTest::newRow("mp3") << tagged(QStringLiteral("tema.mp3"), m_cover) << tags;
        QTest::newRow("flac") << tagged(QStringLiteral("tema.flac"), m_cover) << tags;
        QTest::newRow("ogg") << tagged(QStringLiteral("tema.ogg"), {})
                             << TrackTags { tags.title, tags.artists, tags.album, tags.trackNumber };
        QTest::newRow("ID3v2.3 in ISO-8859-1") << mediafiles::bytes(QDir(m_dir.path()),
            QStringLiteral("latin1.mp3"), mediafiles::latin1Id3Tag("Canci\xf3n") + bare.readAll())
                                               << TrackTags { tags.title };
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
        QVERIFY(engine.MediaFile(path) && engine.StartPlayback() && ended.wait(15000));
        QVERIFY(engine.Tags() == expected);
        QVERIFY(!changed.isEmpty());

        changed.clear();
        QVERIFY(engine.MediaFile(m_bare));
        QVERIFY(engine.Tags() == TrackTags() && changed.count() == 1);
    }
};

QTEST_GUILESS_MAIN(EngineTags)
#include "tags.moc"
