#include "app/tracknotices.h"

#include "app/desktopnotifier.h"
#include "app/mpris.h"
#include "player/player.h"

#include <QUrl>
#include <QWidget>

namespace {

constexpr int kTagsWaitMs = 3000;

} // namespace

TrackNotices::TrackNotices(Player *player, const MprisService *media, const QWidget *window,
    DesktopNotifier *notifier, QObject *parent)
    : QObject(parent)
    , m_media(media)
    , m_window(window)
    , m_notifier(notifier)
{
    connect(player, &Player::trackStarted, this, [this] {
        m_tagsUntil = m_window->isVisible() ? QDeadlineTimer() : QDeadlineTimer(kTagsWaitMs);
        m_told.clear();
        announceLater();
    });
    // A stream tells each new title as it comes, long after it started.
    connect(player, &Player::tagsChanged, this, [this, player] {
        if (player->streamHeard())
            QMetaObject::invokeMethod(this, &TrackNotices::announce, Qt::QueuedConnection);
        else
            announceLater();
    });
}

// The media controls learn of the track and its cover in the same turn of the event loop;
// the notice is made once they have.
void TrackNotices::announceLater()
{
    if (!m_tagsUntil.hasExpired())
        QMetaObject::invokeMethod(this, &TrackNotices::announce, Qt::QueuedConnection);
}

void TrackNotices::announce()
{
    if (m_window->isVisible())
        return;
    const QVariantMap data = m_media->metadata();
    const QString title = data.value(QStringLiteral("xesam:title")).toString();
    const QStringList artists = data.value(QStringLiteral("xesam:artist")).toStringList();
    const QString cover = QUrl(data.value(QStringLiteral("mpris:artUrl")).toString()).toLocalFile();
    const QStringList told = QStringList { title, cover } + artists;
    if (title.isEmpty() || told == m_told)
        return;
    m_told = told;
    m_notifier->announce(title, artists, cover);
}
