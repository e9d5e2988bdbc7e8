#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QFileSystemWatcher;
class QLockFile;

// One player per user receives the files that later starts of the program are given, so
// that "Open with" adds to the running player instead of starting a second one.
//
// The running player holds a lock file in a folder of the user's own; a later start leaves
// its files there as a list of its own, which the player reads and deletes. Only files and
// a folder watch are needed, the same on every desktop, bus or no bus.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Hands the files to a running player; false when none runs.
    bool handOver(const QStringList &files) const;
    // Starts receiving files from later starts; false when another player already does.
    bool listen();

signals:
    void filesReceived(const QStringList &files);

private:
    void receive();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QFileSystemWatcher *m_watcher = nullptr;
};

// The folder where the current user's player receives files; empty when the user has no
// private folder for it.
QString defaultInstanceFolder();
