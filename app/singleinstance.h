#pragma once

#include <QFileSystemWatcher>
#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <chrono>

// One player per user receives the files that later starts of the program are given, so
// that "Open with" adds to the running player instead of starting a second one.
//
// The player holds a lock file under the name from the moment it starts and watches a mailbox
// folder beside it that only its own user may enter; a later start that finds the lock held
// drops its list there and waits until the player takes it. A folder and not a local socket
// because this needs Qt Core only: the player then does not load Qt Network and the Kerberos
// and proxy libraries it links, 1.8 MB of a playing player's memory for one message per start.
//
// Everything runs on the main thread.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // answerTime bounds how long a start waits for the player to take its list.
    explicit SingleInstance(const QString &name,
        std::chrono::milliseconds answerTime = std::chrono::seconds(5), QObject *parent = nullptr);

    // Makes this start the player that receives the files, from now until release(); false
    // when a live player holds the name. Without a name every start is a player of its own.
    bool claim();
    // Hands the files to the running player and waits until it takes them; false when nobody
    // took them in time, and then nobody will.
    bool handOver(const QStringList &files) const;
    // Receives the lists handed over, the ones that came while the player was starting first.
    void listen();
    // Lets go of the name, so that a start need not wait for a player that is quitting.
    void release();

signals:
    void filesReceived(const QStringList &files);

private:
    void receive();
    void clearMailbox() const;

    QString m_name;
    QString m_mailbox;
    std::chrono::milliseconds m_answerTime;
    QLockFile m_lock;
    QFileSystemWatcher m_watcher;
};

// The name under which the current user's player receives files; empty when the user has no
// private place for it.
QString defaultInstanceName();
