#include "app/singleinstance.h"
#include "window.h"

#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <future>

namespace {

// Another start's hand-over, on a thread of its own so that this one's player takes the list
// meanwhile; the answer is whether the player took it.
std::future<bool> start(const QString &name, const QStringList &files)
{
    auto answer = std::make_shared<std::promise<bool>>();
    QThread *start = QThread::create([=] { answer->set_value(SingleInstance(name).handOver(files)); });
    QObject::connect(start, &QThread::finished, start, &QObject::deleteLater);
    start->start();
    return answer->get_future();
}

bool taken(std::future<bool> answer)
{
    return QTest::qWaitFor(
               [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 60000)
        && answer.get();
}

bool makeOld(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite)
        && file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
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
    // starts waits until it listens, then lists come whole and in order.
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
        auto early = start(name, files);
        QTRY_VERIFY(!QDir(name + ".d").entryList({ "*.list" }).isEmpty());
        first.listen();
        QVERIFY(taken(std::move(early)));
        QVERIFY(taken(start(name, files.mid(1))));
        QCOMPARE(received.count(), 2);
        QCOMPARE(received.at(0).first().toStringList(), files);
        QCOMPARE(received.at(1).first().toStringList(), files.mid(1));
    }

    // A player that does not answer is handed nothing: the start takes its list back, and the
    // player that lets go of the name leaves it to the next start at once.
    void playerThatDoesNotAnswerGetsNothing()
    {
        QTemporaryDir runtime;
        const QString name = runtime.filePath(QStringLiteral("velumo"));
        SingleInstance player(name);
        QVERIFY(player.claim());
        player.listen();
        QVERIFY(!SingleInstance(name, std::chrono::milliseconds(200)).handOver({ "/a.mp3" }));
        QVERIFY(QDir(name + ".d").isEmpty(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot));
        player.release();
        QVERIFY(SingleInstance(name).claim());
    }

    // A lock that names nobody yet is being written by a live start; a killed player's
    // leftovers (an old unwritten lock, unread lists) neither block nor reach the next one, nor
    // does anything in the mailbox that is not a list (a link to a device that never ends).
    void leftoverOfDeadPlayerIsTakenOver()
    {
        QTemporaryDir runtime;
        const QString name = runtime.filePath(QStringLiteral("velumo"));
        QVERIFY(writeFile(name + ".lock", {}) && QDir().mkdir(name + ".d"));
        QVERIFY(writeFile(name + ".d/0.list", QByteArray("/viejo.mp3\0", 11)));
        QVERIFY(!SingleInstance(name).claim());
        QVERIFY(makeOld(name + ".lock") && makeOld(name + ".d/0.list"));
        SingleInstance player(name);
        QVERIFY(player.claim());
        QSignalSpy received(&player, &SingleInstance::filesReceived);
        player.listen();
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), name + ".d/1.list"));
        QVERIFY(taken(start(name, { QStringLiteral("/a.mp3") })));
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
