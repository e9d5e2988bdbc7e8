#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One player per user receives the files that later starts of the program are given, so
// that "Open with" adds to the running player instead of starting a second one.
//
// The running player listens on a local socket (a named pipe on Windows) that only its own
// user may connect to; a later start connects, writes its list and goes.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);

    // Hands the files to a running player; false when none answers.
    bool handOver(const QStringList &files) const;
    // Starts receiving files from later starts; false when another player already does.
    bool listen();

signals:
    void filesReceived(const QStringList &files);

private:
    void accept();
    void receive(QLocalSocket *socket);

    QString m_name;
    QLocalServer *m_server;
};

// The name under which the current user's player receives files; empty when the user has no
// private place for it.
QString defaultInstanceName();
