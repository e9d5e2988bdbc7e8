#include "app/mpris.h"

#include "player/player.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

class RootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
public:
    explicit RootAdaptor(MprisService *service)
        : QDBusAbstractAdaptor(service)
        , m_service(service)
    {
    }
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Velumo MP3 Player"); }
    QString desktopEntry() const { return QStringLiteral("velumo"); }
    QStringList uriSchemes() const { return { QStringLiteral("file") }; }
    QStringList mimeTypes() const
    {
        // The kinds the desktop entry offers the player for.
        return { QStringLiteral("audio/mpeg"), QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi"),
            QStringLiteral("audio/x-wav"), QStringLiteral("audio/wav"), QStringLiteral("video/mpeg"),
            QStringLiteral("audio/flac"), QStringLiteral("audio/x-flac"), QStringLiteral("audio/ogg"),
            QStringLiteral("audio/x-vorbis+ogg"), QStringLiteral("audio/x-opus+ogg"),
            QStringLiteral("audio/mp4"), QStringLiteral("audio/x-m4a"), QStringLiteral("audio/aac"),
            QStringLiteral("audio/x-aac"), QStringLiteral("audio/x-ms-wma") };
    }

public slots:
    void Raise() { m_service->raise(); }
    void Quit() { m_service->quit(); }

private:
    MprisService *m_service;
};

class PlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Rate READ one)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(double Volume READ volume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ yes)
    Q_PROPERTY(bool CanGoPrevious READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ no)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit PlayerAdaptor(MprisService *service)
        : QDBusAbstractAdaptor(service)
        , m_service(service)
    {
    }
    QString playbackStatus() const { return m_service->playbackStatus(); }
    QVariantMap metadata() const { return m_service->metadata(); }
    double one() const { return 1.0; }
    double volume() const { return m_service->volume(); }
    qlonglong position() const { return 0; }
    bool yes() const { return true; }
    bool no() const { return false; }

public slots:
    void Play() { m_service->play(); }
    void Pause() { m_service->pause(); }
    void PlayPause() { m_service->playPause(); }
    void Stop() { m_service->stop(); }
    void Next() { m_service->next(); }
    void Previous() { m_service->previous(); }
    void Seek(qlonglong) { }
    void SetPosition(const QDBusObjectPath &, qlonglong) { }
    void OpenUri(const QString &) { }

private:
    MprisService *m_service;
};

} // namespace

MprisService::MprisService(Player *player, QObject *parent)
    : QObject(parent)
    , m_player(player)
{
}

bool MprisService::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    new RootAdaptor(this);
    new PlayerAdaptor(this);
    if (!bus.registerObject(kObjectPath, this)
        || !bus.registerService(QStringLiteral("org.mpris.MediaPlayer2.velumo")))
        return false;
    const PlayerState *state = &m_player->state();
    connect(state, &PlayerState::playbackChanged, this, [this] { changed(Status); });
    connect(state, &PlayerState::shownSongChanged, this, [this] { changed(Track); });
    connect(state, &PlayerState::lengthChanged, this, [this] { changed(Track); });
    connect(state, &PlayerState::volumeChanged, this, [this] { changed(Volume); });
    m_lastStatus = playbackStatus();
    return true;
}

QString MprisService::playbackStatus() const
{
    switch (m_player->state().playback()) {
    case PlayerState::Playback::Playing:
        return QStringLiteral("Playing");
    case PlayerState::Playback::Paused:
        return QStringLiteral("Paused");
    case PlayerState::Playback::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MprisService::metadata() const
{
    const PlayerState &state = m_player->state();
    if (state.shownSongName().isEmpty())
        return { { QStringLiteral("mpris:trackid"),
            QVariant::fromValue(
                QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"))) } };
    QVariantMap data {
        { QStringLiteral("mpris:trackid"),
            QVariant::fromValue(QDBusObjectPath(
                QStringLiteral("/org/velumo/track/%1").arg(std::max<int>(state.SongIndex(), 0)))) },
        { QStringLiteral("xesam:title"), state.shownSongName() }
    };
    if (const std::optional<double> length = state.length(); length && *length >= 0)
        data.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(*length * 1e6));
    return data;
}

double MprisService::volume() const
{
    return m_player->state().volume() / 10.0;
}

void MprisService::play()
{
    const QString status = playbackStatus();
    if (status == QLatin1String("Paused"))
        m_player->cmdPause_Click();
    else if (status == QLatin1String("Stopped"))
        m_player->cmdPlay_Click();
}

void MprisService::pause()
{
    if (playbackStatus() == QLatin1String("Playing"))
        m_player->cmdPause_Click();
}

void MprisService::playPause()
{
    if (playbackStatus() == QLatin1String("Stopped"))
        m_player->cmdPlay_Click();
    else
        m_player->cmdPause_Click();
}

void MprisService::stop()
{
    m_player->cmdStop_Click();
}

void MprisService::next()
{
    m_player->cmdForward_Click();
}

void MprisService::previous()
{
    m_player->cmdBack_Click();
}

void MprisService::raise()
{
    emit raiseRequested();
}

void MprisService::quit()
{
    emit quitRequested();
}

// Changes are announced once the handler that made them has run to its end, in one signal:
// a track that follows another passes through Stopped, and a new track's name and length
// change one after the other, within one handler. The status is announced only when it
// differs from the last one announced, since the state also reports a track started anew
// while another played.
void MprisService::changed(Change change)
{
    if (m_pending == 0)
        QMetaObject::invokeMethod(this, &MprisService::announcePending, Qt::QueuedConnection);
    m_pending |= change;
}

void MprisService::announcePending()
{
    QVariantMap properties;
    const QString status = playbackStatus();
    if ((m_pending & Status) && status != m_lastStatus)
        properties.insert(QStringLiteral("PlaybackStatus"), status);
    if (m_pending & Track)
        properties.insert(QStringLiteral("Metadata"), metadata());
    if (m_pending & Volume)
        properties.insert(QStringLiteral("Volume"), volume());
    m_pending = 0;
    m_lastStatus = status;
    if (!properties.isEmpty())
        announce(properties);
}

void MprisService::announce(const QVariantMap &properties)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << properties << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "mpris.moc"
