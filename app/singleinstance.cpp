#include "app/singleinstance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

namespace {

const QString kListSuffix = QStringLiteral(".list");
// No list of files a start is given comes near this; anything larger is not one of ours.
constexpr qint64 kMaxListBytes = 16 * 1024 * 1024;
// Paths cannot hold a NUL on any system, so it separates them.
constexpr QChar kSeparator = QChar(0);

// The lists in the folder, oldest first. Matched by hand: a name filter would start the
// regular-expression engine, which the player otherwise never needs.
QStringList listsIn(const QDir &folder)
{
    QStringList lists = folder.entryList(QDir::Files, QDir::Name);
    lists.removeIf([](const QString &name) { return !name.endsWith(kListSuffix); });
    return lists;
}

std::unique_ptr<QLockFile> lockIn(const QString &folder)
{
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral("player.lock")));
    // A lock is stale only when the player that took it has gone, however long it has run.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QString defaultInstanceFolder()
{
    // Only a folder nobody else may write to: a list dropped there is played. Without one
    // (Qt could not make it), every start is a player of its own.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        return {};
    // The home folder tells users apart where they share the folder.
    return QDir(base).filePath(QStringLiteral("velumo-") + QString::number(qHash(QDir::homePath()), 16));
}

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::handOver(const QStringList &files) const
{
    if (m_folder.isEmpty())
        return false;
    const auto probe = lockIn(m_folder);
    if (probe->tryLock(0)) {
        probe->unlock();
        return false;
    }
    if (probe->error() != QLockFile::LockFailedError)
        return false;
    // Named by the time, so that the player takes lists in the order they came.
    static int sent = 0;
    const QString name = QStringLiteral("%1-%2-%3")
                             .arg(QDateTime::currentMSecsSinceEpoch(), 16, 10, QLatin1Char('0'))
                             .arg(++sent, 6, 10, QLatin1Char('0'))
                             .arg(QUuid::createUuid().toString(QUuid::Id128));
    // Written whole before it appears under its name, so the player never reads half a list.
    QSaveFile list(QDir(m_folder).filePath(name + kListSuffix));
    if (!list.open(QIODevice::WriteOnly))
        return false;
    list.write(files.join(kSeparator).toUtf8());
    return list.commit();
}

bool SingleInstance::listen()
{
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return false;
    auto lock = lockIn(m_folder);
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    // Lists left for a player that ended before it read them are not for this one.
    const QDir inbox(m_folder);
    for (const QString &name : listsIn(inbox))
        QFile::remove(inbox.filePath(name));
    m_watcher = new QFileSystemWatcher({ m_folder }, this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &SingleInstance::receive);
    return true;
}

void SingleInstance::receive()
{
    const QDir inbox(m_folder);
    for (const QString &name : listsIn(inbox)) {
        QFile list(inbox.filePath(name));
        if (!list.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = list.size() <= kMaxListBytes ? list.readAll() : QByteArray();
        list.remove();
        QStringList files = QString::fromUtf8(bytes).split(kSeparator, Qt::SkipEmptyParts);
        if (!files.isEmpty())
            emit filesReceived(files);
    }
}
