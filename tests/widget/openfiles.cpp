#include "app/singleinstance.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class OpenFiles : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.filePath(QStringLiteral("program")));
        QDir().mkpath(programFolder());
    }

    // Files from the command line are added as "Agregar" adds them, remembered folder
    // included, missing ones passed over, and the first is played when the playlist was
    // empty; files handed over later are only appended.
    void commandLineAddsAndPlays()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        const QString a = track(QStringLiteral("uno.mp3"));
        const QString b = track(QStringLiteral("dos.wav"));
        w.player().openFiles({ a, m_folder.filePath(QStringLiteral("missing.mp3")), b });
        QCOMPARE(w.player().playlist().names(), (QStringList { "uno.mp3", "dos.wav" }));
        QCOMPARE(w.player().playlist().pathAt(0), a);
        QCOMPARE(fakes.engine.calls.mid(0, 2), (QStringList { "MediaFile " + a, "StartPlayback" }));
        QFile remembered(besideProgram(QStringLiteral("Dir.txt")));
        QVERIFY(remembered.open(QIODevice::ReadOnly));
        QCOMPARE(remembered.readAll(), (m_folder.path() + QStringLiteral("/\r\n")).toUtf8());

        fakes.engine.calls.clear();
        w.player().openFiles({ track(QStringLiteral("tres.mp3")) });
        QCOMPARE(w.player().playlist().count(), 3);
        QVERIFY(fakes.engine.calls.isEmpty());
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
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        if (before == "forward") {
            click(w, "cmdForward");
        } else {
            fillPlaylist(w, { track("a.mp3"), track("b.mp3"), track("c.mp3") });
            w.player().state().setSongIndex(before == "paused" ? 0 : 2);
            w.player().state().setSongPath(w.player().playlist().pathAt(w.player().state().SongIndex()));
            click(w, "cmdPlay");
            if (before == "paused")
                click(w, "cmdPause");
            click(w, "cmdDelAll");
        }
        const QString fresh = track(QStringLiteral("nuevo.mp3"));
        fakes.engine.calls.clear();
        w.player().openFiles({ fresh });
        QCOMPARE(fakes.engine.calls.mid(0, 2), (QStringList { "MediaFile " + fresh, "StartPlayback" }));
        QCOMPARE(w.player().state().playback(), PlayerState::Playback::Playing);
        QCOMPARE(labelText(w, "LblSongName"), QStringLiteral("nuevo.mp3"));
    }

    // Dropping files adds the media files among them in the order dropped, plays nothing,
    // and passes over other kinds, folders and remote files; a drag of none is refused.
    void dropAddsMediaFilesInOrder()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint where = playlistView(w)->mapTo(&w, playlistView(w)->rect().center());
        QMimeData photo;
        photo.setUrls({ QUrl::fromLocalFile(track(QStringLiteral("foto.jpg"))) });
        QDragEnterEvent refused(where, Qt::CopyAction, &photo, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(track(QStringLiteral("b.MID"))),
            QUrl::fromLocalFile(track(QStringLiteral("nota.txt"))), QUrl::fromLocalFile(m_folder.path()),
            QUrl(QStringLiteral("https://example.org/a.mp3")),
            QUrl::fromLocalFile(track(QStringLiteral("a.mpg"))),
            QUrl::fromLocalFile(track(QStringLiteral("c.Opus"))) });
        QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &drop);
        QCOMPARE(w.player().playlist().names(), (QStringList { "b.MID", "a.mpg", "c.Opus" }));
        QVERIFY(fakes.engine.calls.isEmpty());
    }

    // A second start hands its files to the player already running, which receives each list
    // whole and in order; with nobody listening the hand-over fails, so the start plays them itself.
    void secondStartHandsFilesOver()
    {
        QTemporaryDir runtime;
        const QString name = runtime.filePath(QStringLiteral("velumo"));
        SingleInstance second(name);
        QVERIFY(!second.handOver({ QStringLiteral("/a.mp3") }));

        SingleInstance first(name);
        QVERIFY(first.listen());
        // Only its own user may connect.
        QCOMPARE(QFileInfo(name).permissions()
                & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
            QFile::Permissions());
        QSignalSpy received(&first, &SingleInstance::filesReceived);
        const QStringList files { QStringLiteral("/música/uno.mp3"), QStringLiteral("/b, c.wav"),
            QStringLiteral("/línea\nnueva \"x\".mid") };
        QVERIFY(second.handOver(files));
        QVERIFY(second.handOver(files.mid(1)));
        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(received.at(0).first().toStringList(), files);
        QCOMPARE(received.at(1).first().toStringList(), files.mid(1));

        // Another start without files leaves the name to the one that runs.
        SingleInstance third(name);
        QVERIFY(!third.listen());
        QVERIFY(second.handOver(files.mid(2)));
        QTRY_COMPARE(received.count(), 3);
        QCOMPARE(received.at(2).first().toStringList(), files.mid(2));
    }

    // What a killed player leaves under the name does not keep the next one from listening.
    void leftoverOfDeadPlayerIsTakenOver()
    {
        QTemporaryDir runtime;
        const QString name = runtime.filePath(QStringLiteral("velumo"));
        QFile leftover(name);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        SingleInstance start(name);
        QVERIFY(!start.handOver({ QStringLiteral("/a.mp3") }));
        SingleInstance player(name);
        QVERIFY(player.listen());
        QSignalSpy received(&player, &SingleInstance::filesReceived);
        QVERIFY(start.handOver({ QStringLiteral("/a.mp3") }));
        QTRY_COMPARE(received.count(), 1);

        // Without a private place nothing is handed over, and nobody listens.
        SingleInstance nowhere { QString() };
        QVERIFY(!nowhere.handOver({ QStringLiteral("/a.mp3") }));
        QVERIFY(!nowhere.listen());
    }

private:
    QString track(const QString &name)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("x");
        return path;
    }

    QTemporaryDir m_folder;
};

QTEST_MAIN(OpenFiles)
#include "openfiles.moc"
