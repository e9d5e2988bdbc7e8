#pragma once

#include <QFileSystemWatcher>
#include <QLockFile>
#include <QObject>
#include <QStringList>

// One player per user receives the files that later starts of the program are given, so
// that "Open with" adds to the running player instead of starting a second one.
//
// The running player holds a lock file under the name and watches a mailbox folder beside it
// that only its own user may enter; a later start that finds the lock held drops its list
// there and goes. A folder and not a local socket because this needs Qt Core only: the
// player then does not load Qt Network and the Kerberos and proxy libraries it links, 1.8 MB of
// a playing player's memory for one message per start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);

    // Hands the files to a running player; false when none runs or the list cannot be written.
    bool handOver(const QStringList &files) const;
    // Starts receiving files from later starts; false when another player already does.
    bool listen();

signals:
    void filesReceived(const QStringList &files);

private:
    void receive();

    QString m_name;
    QString m_mailbox;
    QLockFile m_lock;
    QFileSystemWatcher m_watcher;
};

// The name under which the current user's player receives files; empty when the user has no
// private place for it.
QString defaultInstanceName();
