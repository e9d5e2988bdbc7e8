#include "app/singleinstance.h"
#include "window.h"

#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class OpenFiles : public QObject {
    Q_OBJECT
private slots:
    // A drag that holds no media file is refused; a drop hands the media files among it to
    // the player.
    void dropReachesThePlayer()
    {
        WindowRig r;
        const auto sent = [&r](QDropEvent &&event) {
            QApplication::sendEvent(&r.w, &event);
            return event.isAccepted();
        };
        const QString photo = r.folder.filePath("foto.jpg"), song = r.folder.filePath("a.mp3");
        QVERIFY(writeFile(photo, "x") && writeFile(song, "x"));
        const QPoint where = playlistView(r.w)->mapTo(&r.w, playlistView(r.w)->rect().center());
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(photo) });
        QVERIFY(!sent(QDragEnterEvent(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier)));
        data.setUrls({ QUrl::fromLocalFile(photo), QUrl::fromLocalFile(song) });
        QVERIFY(sent(QDragEnterEvent(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier)));
        sent(QDropEvent(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier));
        QCOMPARE(r.p.playlist().names(), QStringList { "a.mp3" });
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
        // Only its own user may drop a list in its mailbox.
        QCOMPARE(QFileInfo(name + ".d").permissions()
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

    // A killed player's leftovers (an unwritten lock, unread lists) neither block nor reach the next one.
    void leftoverOfDeadPlayerIsTakenOver()
    {
        QTemporaryDir runtime;
        const QString name = runtime.filePath(QStringLiteral("velumo"));
        QVERIFY(writeFile(name + ".lock", {}) && QDir().mkdir(name + ".d"));
        QVERIFY(writeFile(name + ".d/0.list", QByteArray("/viejo.mp3\0", 11)));
        SingleInstance start(name);
        QVERIFY(!start.handOver({ QStringLiteral("/a.mp3") }));
        SingleInstance player(name);
        QVERIFY(player.listen());
        QSignalSpy received(&player, &SingleInstance::filesReceived);
        QVERIFY(start.handOver({ QStringLiteral("/a.mp3") }));
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.at(0).first().toStringList(), QStringList { "/a.mp3" });

        // Without a private place nothing is handed over, and nobody listens.
        SingleInstance nowhere { QString() };
        QVERIFY(!nowhere.handOver({ QStringLiteral("/a.mp3") }));
        QVERIFY(!nowhere.listen());
    }
};

QTEST_MAIN(OpenFiles)
#include "openfiles.moc"
