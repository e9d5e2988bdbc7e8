#include "app/singleinstance.h"

#include "files/textfiles.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

namespace {

// No list of files a start is given comes near this; anything larger is not one of ours.
constexpr qint64 kMaxListBytes = 16 * 1024 * 1024;
// Paths cannot hold a NUL on any system, so it ends each one; a list cut short does not end
// with one and is dropped whole.
constexpr char kEnd = '\0';
// Only the player's own user may drop a list in its mailbox or read one there.
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
// Far longer than a start takes between creating its lock and writing its pid into it.
constexpr int kUnwrittenLockMs = 5000;
// How often a start looks whether the player took its list.
constexpr int kPollMs = 20;

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

// Takes the lock unless a live player holds it. A lock that names its owner is stale only when
// that owner is gone, however old it is: a player runs for days. QLockFile writes the owner
// only after it creates the file, so a lock that names nobody may be one being written; it is
// stale once older than any start takes to write it (a player killed in between).
bool take(QLockFile &lock)
{
    qint64 pid = 0;
    QString host, app;
    lock.setStaleLockTime(lock.getLockInfo(&pid, &host, &app) ? 0 : kUnwrittenLockMs);
    return lock.tryLock();
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

// What a player or a start may leave in the mailbox is a list or the temporary file of one;
// anything else (a link, a folder, a device) is not ours and goes unread.
bool isOurs(const QFileInfo &entry)
{
    return !entry.isSymLink() && entry.isFile();
}

void drop(const QFileInfo &entry)
{
    if (entry.isDir() && !entry.isSymLink())
        QDir(entry.filePath()).removeRecursively();
    else
        QFile::remove(entry.filePath());
}

QFileInfoList entries(const QString &folder)
{
    return QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A list is taken by renaming it, which tells its start that it was received: the start takes
// back a list it gave up on by removing it, and only one of the two can succeed. The list is
// then read once, whole, and removed; one larger than the cap is removed unread.
QStringList takeList(const QString &path)
{
    const QString taken = path + QStringLiteral(".taken");
    if (!QFile::rename(path, taken))
        return {};
    const auto bytes = readRegularFile(taken, kMaxListBytes + 1);
    QFile::remove(taken);
    return bytes && bytes->size() <= kMaxListBytes ? decode(*bytes) : QStringList();
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

SingleInstance::SingleInstance(const QString &name, std::chrono::milliseconds answerTime, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_mailbox(name + QStringLiteral(".d"))
    , m_answerTime(answerTime)
    , m_lock(name + QStringLiteral(".lock"))
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SingleInstance::receive);
}

bool SingleInstance::claim()
{
    if (m_name.isEmpty())
        return true;
    if (!take(m_lock))
        return false;
    // Made by whichever comes first, the player or a start that hands over at once.
    QDir().mkdir(m_mailbox, kOwnerOnly);
    QFile::setPermissions(m_mailbox, kOwnerOnly);
    clearMailbox();
    return true;
}

// Lists older than a start waits were given up by their starts, or meant for a player that died;
// the lists of starts that wait now are this player's to read.
void SingleInstance::clearMailbox() const
{
    const QDateTime givenUp = QDateTime::currentDateTime().addMSecs(-m_answerTime.count());
    for (const QFileInfo &entry : entries(m_mailbox)) {
        if (!isOurs(entry) || entry.lastModified() < givenUp)
            drop(entry);
    }
}

bool SingleInstance::handOver(const QStringList &files) const
{
    if (m_name.isEmpty())
        return false;
    QDir().mkdir(m_mailbox, kOwnerOnly);
    // The list appears under its name only once written whole, so the player never reads half of one.
    const QString path = QDir(m_mailbox).filePath(listName());
    QSaveFile list(path);
    if (!list.open(QIODevice::WriteOnly))
        return false;
    list.write(encode(files));
    if (!list.commit())
        return false;
    const QDeadlineTimer answer(m_answerTime);
    while (QFileInfo::exists(path) && !answer.hasExpired())
        QThread::msleep(kPollMs);
    // The player may take the list while it is taken back; whoever is first has it.
    return !QFile::remove(path) && !QFileInfo::exists(path);
}

void SingleInstance::listen()
{
    if (!m_lock.isLocked() || !m_watcher.directories().isEmpty())
        return;
    m_watcher.addPath(m_mailbox);
    receive();
}

void SingleInstance::release()
{
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_lock.unlock();
}

// A change may bring several lists, or only the temporary file of one still being written,
// which does not end in ".list".
void SingleInstance::receive()
{
    for (const QFileInfo &entry : entries(m_mailbox)) {
        if (!isOurs(entry)) {
            drop(entry);
            continue;
        }
        // Compared by hand rather than by a name filter, which would compile a pattern.
        if (!entry.fileName().endsWith(QLatin1String(".list")))
            continue;
        const QStringList files = takeList(entry.filePath());
        if (!files.isEmpty())
            emit filesReceived(files);
    }
}
