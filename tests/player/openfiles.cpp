#include "player/openfiles.h"
#include "playertest.h"

#include <QUrl>
#include <QtTest>

namespace {

struct Rig : PlayerRig {
    // A file that exists, beside the program.
    QString track(const QString &name)
    {
        writeFile(folder.filePath(name), "x");
        return folder.filePath(name);
    }
};

} // namespace

class OpenFiles : public QObject {
    Q_OBJECT
private slots:
    // Files from the command line are added as "Agregar" adds them, remembered folder
    // included, missing ones passed over, and the first is played when the playlist was
    // empty; files handed over later are only appended.
    void commandLineAddsAndPlays()
    {
        Rig r;
        const QString a = r.track(QStringLiteral("uno.mp3"));
        r.p.openFiles({ a, r.folder.filePath("missing.mp3"), r.track("dos.wav") });
        QCOMPARE(r.p.playlist().names(), (QStringList { "uno.mp3", "dos.wav" }));
        QCOMPARE(r.p.playlist().pathAt(0), a);
        QCOMPARE(r.fakes.engine.calls.mid(0, 2), (QStringList { "MediaFile " + a, "StartPlayback" }));
        QCOMPARE(readFile(besideProgram(QStringLiteral("Dir.txt"))), (r.folder.path() + "/\r\n").toUtf8());

        r.takeCalls();
        r.p.openFiles({ r.track(QStringLiteral("tres.mp3")) });
        QCOMPARE(r.p.playlist().count(), 3);
        QVERIFY(r.fakes.engine.calls.isEmpty());
    }

    void handedOverToEmptiedPlaylist_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("Avanzar on an empty list") << "forward";
        QTest::newRow("Borrar Todo from a later row") << "later row";
        QTest::newRow("Borrar Todo of a paused track") << "paused";
    }
    // A file handed over to an empty playlist is loaded and played from its start, wherever
    // the current row was left and even when a removed track was paused.
    void handedOverToEmptiedPlaylist()
    {
        QFETCH(QString, before);
        Rig r;
        if (before == "forward") {
            r.p.cmdForward_Click();
        } else {
            fillPlaylist(r.p, { "/m/a.mp3", "/m/b.mp3", "/m/c.mp3" });
            clickRow(r.p, before == "paused" ? 0 : 2);
            r.p.cmdPlay_Click();
            if (before == "paused")
                r.p.cmdPause_Click();
            r.p.cmdDelAll_Click();
        }
        const QString fresh = r.track(QStringLiteral("nuevo.mp3"));
        r.takeCalls();
        r.p.openFiles({ fresh });
        QCOMPARE(r.fakes.engine.calls.mid(0, 2), (QStringList { "MediaFile " + fresh, "StartPlayback" }));
        QCOMPARE(r.state().playback(), PlayerState::Playback::Playing);
        QCOMPARE(r.state().shownSongName(), QStringLiteral("nuevo.mp3"));
    }

    // Of the files dropped, the media files and http streams are added in the order dropped
    // and nothing plays; other kinds, folders and other schemes are passed over. A stream,
    // named by its address, leaves the remembered folder as it was.
    void droppedMediaFilesAdded()
    {
        Rig r;
        const QList<QUrl> urls { QUrl::fromLocalFile(r.track("b.MID")),
            QUrl::fromLocalFile(r.track("nota.txt")), QUrl::fromLocalFile(r.folder.path()),
            QUrl("ftp://example.org/a.mp3"), QUrl::fromLocalFile(r.track("a.mpg")),
            QUrl::fromLocalFile(r.track("c.Opus")), QUrl("https://example.org/radio") };
        r.p.addFiles(droppedMediaFiles(urls));
        QCOMPARE(r.p.playlist().names(),
            (QStringList { "b.MID", "a.mpg", "c.Opus", "https://example.org/radio" }));
        QCOMPARE(r.p.playlist().pathAt(3), QStringLiteral("https://example.org/radio"));
        QCOMPARE(readFile(besideProgram(QStringLiteral("Dir.txt"))), (r.folder.path() + "/\r\n").toUtf8());
        QVERIFY(r.fakes.engine.calls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(OpenFiles)
#include "openfiles.moc"
