#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

namespace {

// No list of files a start is given comes near this; anything larger is not one of ours.
constexpr qint64 kMaxListBytes = 16 * 1024 * 1024;
// Paths cannot hold a NUL on any system, so it ends each one; a list cut short does not end
// with one and is dropped whole.
constexpr char kEnd = '\0';
// Only the player's own user may drop a list in its mailbox or read one there.
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QByteArray encode(const QStringList &files)
{
    QByteArray bytes;
    for (const QString &file : files)
        bytes += file.toUtf8() + kEnd;
    return bytes;
}

QStringList decode(const QByteArray &bytes)
{
    if (!bytes.endsWith(kEnd))
        return {};
    return QString::fromUtf8(bytes).split(QChar(kEnd), Qt::SkipEmptyParts);
}

// Takes the lock unless a live player holds it. A player that runs for days keeps its lock, and
// QLockFile finds the lock of one that died by its pid. A lock that cannot be read (a player
// killed before it wrote its pid) names nobody to ask, so it counts as stale: removing it still
// fails while a live player holds it.
bool take(QLockFile &lock)
{
    lock.setStaleLockTime(0);
    if (lock.tryLock())
        return true;
    qint64 pid = 0;
    QString host, app;
    return lock.error() == QLockFile::LockFailedError && !lock.getLockInfo(&pid, &host, &app)
        && lock.removeStaleLockFile() && lock.tryLock();
}

// Names sort in the order the lists were handed over: the time, then a count for the lists one
// start hands over within a millisecond, then a part no other start picks.
QString listName()
{
    static qint64 handedOver = 0;
    return QStringLiteral("%1-%2-%3.list")
        .arg(QDateTime::currentMSecsSinceEpoch(), 16, 10, QLatin1Char('0'))
        .arg(++handedOver, 10, 10, QLatin1Char('0'))
        .arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
}

// A list is read once, whole, and removed; one larger than the cap is removed unread.
QStringList readList(const QString &path)
{
    QFile list(path);
    QByteArray bytes;
    if (list.size() <= kMaxListBytes && list.open(QIODevice::ReadOnly))
        bytes = list.readAll();
    list.remove();
    return decode(bytes);
}

} // namespace

QString defaultInstanceName()
{
    // Named after the home folder too, so that a player started with another home (and so
    // other settings) is a player of its own.
    const QString name = QStringLiteral("velumo-")
        + QString::fromLatin1(
            QCryptographicHash::hash(QDir::homePath().toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
    // The user's own runtime folder, where no other user can take the name first and read the
    // lists. Without that folder (Qt could not make it) every start is a player of its own.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : QDir(runtime).filePath(name);
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_mailbox(name + QStringLiteral(".d"))
    , m_lock(name + QStringLiteral(".lock"))
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SingleInstance::receive);
}

bool SingleInstance::handOver(const QStringList &files) const
{
    if (m_name.isEmpty())
        return false;
    // The probe lets go of the lock as it ends, should it get it.
    QLockFile probe(m_lock.fileName());
    if (take(probe))
        return false;
    // The list appears under its name only once written whole, so the player never reads half of one.
    QSaveFile list(QDir(m_mailbox).filePath(listName()));
    if (!list.open(QIODevice::WriteOnly))
        return false;
    list.write(encode(files));
    return list.commit();
}

bool SingleInstance::listen()
{
    if (m_name.isEmpty() || !take(m_lock))
        return false;
    // Lists a dead player left unread were meant for it; the mailbox is made anew, private from
    // the start.
    if (QDir(m_mailbox).removeRecursively() && QDir().mkdir(m_mailbox, kOwnerOnly)
        && m_watcher.addPath(m_mailbox))
        return true;
    m_lock.unlock();
    return false;
}

// A change may bring several lists, or only the temporary file of one still being written,
// which does not end in ".list".
void SingleInstance::receive()
{
    const QDir mailbox(m_mailbox);
    // Compared by hand rather than by a name filter, which would compile a pattern.
    const QStringList names = mailbox.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (!name.endsWith(QLatin1String(".list")))
            continue;
        const QStringList files = readList(mailbox.filePath(name));
        if (!files.isEmpty())
            emit filesReceived(files);
    }
}
