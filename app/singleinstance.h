#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One player per user receives the files that later starts of the program are given, so
// that "Open with" adds to the running player instead of starting a second one.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);

    // Hands the files to a running player; false when none answers.
    bool handOver(const QStringList &files) const;
    // Starts receiving files from later starts.
    bool listen();

signals:
    void filesReceived(const QStringList &files);

private:
    void receive();

    QString m_name;
    QLocalServer *m_server = nullptr;
};

// The name under which the current user's player listens.
QString defaultInstanceName();
