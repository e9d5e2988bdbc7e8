#include "app/singleinstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
// A running player answers at once; one that does not within this time is taken as gone.
constexpr int kTimeoutMs = 2000;
} // namespace

QString defaultInstanceName()
{
    // The home folder tells users apart on a shared machine.
    return QStringLiteral("velumo-") + QString::number(qHash(QDir::homePath()), 16);
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
{
}

bool SingleInstance::handOver(const QStringList &files) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << files;
    socket.write(message);
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    // A player that answers is running and keeps the name; one that ended without closing
    // leaves its socket behind, and nobody answers on it.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(kTimeoutMs))
        return false;
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::receive);
    return m_server->listen(m_name);
}

void SingleInstance::receive()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
            QStringList files;
            QDataStream stream(socket->readAll());
            stream >> files;
            if (stream.status() == QDataStream::Ok && !files.isEmpty())
                emit filesReceived(files);
        });
    }
}
