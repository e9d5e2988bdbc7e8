#include "app/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUrl>
#include <utility>

namespace {

// Long enough to read a title and two names, short enough not to linger.
constexpr int kShownMs = 6000;

} // namespace

void DesktopNotifier::announce(const QString &title, const QStringList &artists, const QString &coverPath)
{
    // Until the service numbers the notice on screen, a new one could not replace it: the
    // newest waits for the number and the ones between are dropped.
    if (m_asking) {
        m_waiting = Notice { title, artists, coverPath };
        return;
    }
    send({ title, artists, coverPath });
}

// An asynchronous call, so that a service that is missing or slow never holds up the player.
void DesktopNotifier::send(const Notice &notice)
{
    QVariantMap hints { { QStringLiteral("desktop-entry"), QStringLiteral("velumo") },
        { QStringLiteral("transient"), true } };
    if (!notice.coverPath.isEmpty())
        hints.insert(QStringLiteral("image-path"), QUrl::fromLocalFile(notice.coverPath).toString());
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"), QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("Notify"));
    // The body may be read as markup: names from the file's tags are shown as they are written.
    call << QStringLiteral("Velumo MP3 Player") << m_shownId << QStringLiteral("velumo") << notice.title
         << notice.artists.join(QStringLiteral(", ")).toHtmlEscaped() << QStringList() << hints << kShownMs;
    m_asking = true;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<quint32> reply = *watcher;
        replied(reply.isError() ? m_shownId : reply.value());
    });
}

void DesktopNotifier::replied(quint32 id)
{
    m_shownId = id;
    m_asking = false;
    if (m_waiting)
        send(*std::exchange(m_waiting, std::nullopt));
}
