#include "app/openfiles.h"
#include "app/programfolder.h"
#include "app/singleinstance.h"
#include "fakes.h"
#include "playlist/playlistbox.h"

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
    // included, and the first is played when the playlist was empty.
    void commandLineAddsAndPlays()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        const QString a = track(QStringLiteral("uno.mp3"));
        const QString b = track(QStringLiteral("dos.wav"));
        w.openFiles({ a, m_folder.filePath(QStringLiteral("missing.mp3")), b });
        QCOMPARE(w.rowCount(), 2);
        QCOMPARE(w.pathAt(0), a);
        QCOMPARE(w.nameAt(1), QStringLiteral("dos.wav"));
        QVERIFY(fakes.engine.calls.contains(QStringLiteral("MediaFile ") + a));
        QVERIFY(fakes.engine.playing);
        QFile remembered(besideProgram(QStringLiteral("Dir.txt")));
        QVERIFY(remembered.open(QIODevice::ReadOnly));
        QCOMPARE(remembered.readAll(), (m_folder.path() + QStringLiteral("/\r\n")).toUtf8());
    }

    // A file handed over while something is in the playlist is only appended.
    void handedOverFilesAppendWithoutPlaying()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.openFiles({ track(QStringLiteral("uno.mp3")) });
        fakes.engine.calls.clear();
        w.openFiles({ track(QStringLiteral("dos.mp3")) });
        QCOMPARE(w.rowCount(), 2);
        QVERIFY(!fakes.engine.calls.contains(QStringLiteral("StartPlayback")));
    }

    // Dropping files adds the media files among them in the order dropped, plays nothing,
    // and passes over other kinds and folders.
    void dropAddsMediaFilesInOrder()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QList<QUrl> urls { QUrl::fromLocalFile(track(QStringLiteral("b.MID"))),
            QUrl::fromLocalFile(track(QStringLiteral("nota.txt"))), QUrl::fromLocalFile(m_folder.path()),
            QUrl(QStringLiteral("https://example.org/a.mp3")),
            QUrl::fromLocalFile(track(QStringLiteral("a.mpg"))),
            QUrl::fromLocalFile(track(QStringLiteral("c.Opus"))) };
        QMimeData data;
        data.setUrls(urls);
        const QPoint where = w.PlayList->mapTo(&w, w.PlayList->rect().center());
        QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &drop);
        QCOMPARE(w.rowCount(), 3);
        QCOMPARE(w.nameAt(0), QStringLiteral("b.MID"));
        QCOMPARE(w.nameAt(1), QStringLiteral("a.mpg"));
        QCOMPARE(w.nameAt(2), QStringLiteral("c.Opus"));
        QVERIFY(!fakes.engine.calls.contains(QStringLiteral("StartPlayback")));
    }

    // A drag with nothing the player can play is refused.
    void dropOfOtherKindsIsRefused()
    {
        QCOMPARE(
            droppedMediaFiles({ QUrl::fromLocalFile(track(QStringLiteral("foto.jpg"))) }), QStringList());
    }

    // A second start hands its files to the player already running, which receives them
    // whole; with nobody listening the hand-over fails, so the second start plays them itself.
    void secondStartHandsFilesOver()
    {
        QTemporaryDir runtime;
        const QString folder = runtime.filePath(QStringLiteral("velumo"));
        SingleInstance second(folder);
        QVERIFY(!second.handOver({ QStringLiteral("/a.mp3") }));

        SingleInstance first(folder);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::filesReceived);
        const QStringList files { QStringLiteral("/música/uno.mp3"), QStringLiteral("/b, c.wav"),
            QStringLiteral("/línea\nnueva \"x\".mid") };
        QVERIFY(second.handOver(files));
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.first().first().toStringList(), files);
        // Each list is read once and leaves nothing behind.
        QTRY_COMPARE(QDir(folder).entryList({ QStringLiteral("*.list") }, QDir::Files), QStringList());

        // Another start without files keeps the name of the one that runs.
        SingleInstance third(folder);
        QVERIFY(!third.listen());
        QVERIFY(second.handOver(files.mid(1)));
        QVERIFY(second.handOver(files.mid(2)));
        QTRY_COMPARE(received.count(), 3);
        QCOMPARE(received.at(1).first().toStringList(), files.mid(1));
        QCOMPARE(received.at(2).first().toStringList(), files.mid(2));

        // Without a private folder nothing is handed over, and nobody listens.
        SingleInstance nowhere { QString() };
        QVERIFY(!nowhere.handOver(files));
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
