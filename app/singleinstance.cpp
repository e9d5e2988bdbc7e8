#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// Long enough for a player busy on a two-core machine, short enough that a start never hangs.
constexpr int kWaitMs = 5000;
// No list of files a start is given comes near this; anything larger is not one of ours.
constexpr qint64 kMaxListBytes = 16 * 1024 * 1024;
// Paths cannot hold a NUL on any system, so it ends each one; a list cut short does not end
// with one and is dropped whole.
constexpr char kEnd = '\0';

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

// Whether a player listens under the name, rather than a socket left by one that died.
bool answers(const QString &name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(kWaitMs);
}

} // namespace

QString defaultInstanceName()
{
    // The home folder tells users apart where they share a machine.
    const QString name = QStringLiteral("velumo-")
        + QString::fromLatin1(
            QCryptographicHash::hash(QDir::homePath().toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
#ifdef Q_OS_WIN
    // A named pipe, which the user access option keeps to this user.
    return name;
#else
    // A socket file in the user's own runtime folder, where no other user can take the name
    // first and listen in. Without that folder (Qt could not make it) every start is a player
    // of its own.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : QDir(runtime).filePath(name);
#endif
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

bool SingleInstance::handOver(const QStringList &files) const
{
    if (m_name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(encode(files));
    // Closing sends what is still queued first.
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kWaitMs);
}

bool SingleInstance::listen()
{
    // Asked first: listening would take the name from a player that runs.
    if (m_name.isEmpty() || answers(m_name))
        return false;
    // A player that was killed leaves its socket behind.
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [socket] {
            if (socket->bytesAvailable() > kMaxListBytes)
                socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { receive(socket); });
    }
}

// A start's list is whole once it has closed its end.
void SingleInstance::receive(QLocalSocket *socket)
{
    socket->deleteLater();
    const QStringList files = decode(socket->readAll());
    if (!files.isEmpty())
        emit filesReceived(files);
}
