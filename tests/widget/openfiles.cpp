#include "app/singleinstance.h"
#include "window.h"

#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

// Another start hands the files over from a thread of its own while this one's player does
// what meanwhile says; true when the player took them.
bool handedOver(const QString &name, const QStringList &files, const std::function<void()> &meanwhile)
{
    std::atomic_bool taken = false;
    const std::unique_ptr<QThread> start(
        QThread::create([&] { taken = SingleInstance(name).handOver(files); }));
    start->start();
    meanwhile();
    const bool answered = QTest::qWaitFor([&] { return start->isFinished(); }, 60000);
    return start->wait() && answered && taken;
}

} // namespace

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

    // The start that claims the name is the player from then on; a list handed over while it
    // starts waits until it listens, then lists come whole and in order. A player that does not
    // answer is handed nothing, and one that lets go of the name leaves it to the next start.
    void secondStartHandsFilesOver()
    {
        QTemporaryDir runtime;
        const QString name = runtime.filePath(QStringLiteral("velumo"));
        SingleInstance first(name);
        QVERIFY(first.claim());
        QVERIFY(!SingleInstance(name).claim());
        // Only its own user may drop a list in its mailbox.
        QCOMPARE(QFileInfo(name + ".d").permissions()
                & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
            QFile::Permissions());
        QSignalSpy received(&first, &SingleInstance::filesReceived);
        const QStringList files { QStringLiteral("/música/uno.mp3"), QStringLiteral("/b, c.wav"),
            QStringLiteral("/línea\nnueva \"x\".mid") };
        QVERIFY(handedOver(name, files, [&] {
            QTRY_VERIFY(!QDir(name + ".d").entryList({ "*.list" }).isEmpty());
            first.listen();
        }));
        QVERIFY(handedOver(name, files.mid(1), [] {}));
        QCOMPARE(received.count(), 2);
        QCOMPARE(received.at(0).first().toStringList(), files);
        QCOMPARE(received.at(1).first().toStringList(), files.mid(1));
        QVERIFY(!SingleInstance(name, std::chrono::milliseconds(200)).handOver(files));
        QVERIFY(QDir(name + ".d").isEmpty(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot));
        first.release();
        QVERIFY(SingleInstance(name).claim());
    }

    // A lock that names nobody yet is being written by a live start; a killed player's
    // leftovers (an old unwritten lock, unread lists) neither block nor reach the next one, nor
    // does anything in the mailbox that is not a list (a link to a device that never ends).
    void leftoverOfDeadPlayerIsTakenOver()
    {
        QTemporaryDir runtime;
        const QString name = runtime.filePath(QStringLiteral("velumo"));
        QVERIFY(writeFile(name + ".lock", {})
            && writeFile(name + ".d/0.list", QByteArray("/viejo.mp3\0", 11), 3600));
        QVERIFY(!SingleInstance(name).claim());
        QVERIFY(writeFile(name + ".lock", {}, 3600));
        SingleInstance player(name);
        QVERIFY(player.claim());
        QSignalSpy received(&player, &SingleInstance::filesReceived);
        player.listen();
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), name + ".d/1.list"));
        QVERIFY(handedOver(name, { QStringLiteral("/a.mp3") }, [] {}));
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.at(0).first().toStringList(), QStringList { "/a.mp3" });
        QTRY_VERIFY(QDir(name + ".d").isEmpty(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot));

        // Without a private place nothing is handed over, and every start is a player of its own.
        SingleInstance nowhere { QString() };
        QVERIFY(!nowhere.handOver({ QStringLiteral("/a.mp3") }));
        QVERIFY(nowhere.claim());
    }
};

QTEST_MAIN(OpenFiles)
#include "openfiles.moc"
