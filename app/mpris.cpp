#include "app/mpris.h"

#include "files/coverart.h"
#include "files/mediatypes.h"
#include "player/openfiles.h"
#include "player/player.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStandardPaths>
#include <QUrl>

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
    QStringList uriSchemes() const
    {
        return { QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https") };
    }
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
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit PlayerAdaptor(MprisService *service)
        : QDBusAbstractAdaptor(service)
        , m_service(service)
    {
        connect(service, &MprisService::seeked, this, &PlayerAdaptor::Seeked);
    }
    QString playbackStatus() const { return m_service->playbackStatus(); }
    QVariantMap metadata() const { return m_service->metadata(); }
    double one() const { return 1.0; }
    double volume() const { return m_service->volume(); }
    qlonglong position() const { return m_service->position(); }
    bool canSeek() const { return m_service->canSeek(); }
    bool yes() const { return true; }
    bool no() const { return false; }

public slots:
    void Play() { m_service->play(); }
    void Pause() { m_service->pause(); }
    void PlayPause() { m_service->playPause(); }
    void Stop() { m_service->stop(); }
    void Next() { m_service->next(); }
    void Previous() { m_service->previous(); }
    void Seek(qlonglong offset) { m_service->seek(offset); }
    void SetPosition(const QDBusObjectPath &track, qlonglong position)
    {
        m_service->setPosition(track.path(), position);
    }
    void OpenUri(const QString &uri) { m_service->openUri(uri); }

signals:
    void Seeked(qlonglong Position);

private:
    MprisService *m_service;
};

} // namespace

MprisService::MprisService(Player *player, QObject *parent)
    : QObject(parent)
    , m_player(player)
{
    // Each track started is a new track for the desktop, also the same file played again.
    connect(player, &Player::trackStarted, this, [this] {
        ++m_tracksStarted;
        m_playingPath = m_player->state().SongPath();
        findCover();
        changed(Track);
    });
    connect(player, &Player::seeked, this, [this](double seconds) { emit seeked(qRound64(seconds * 1e6)); });
}

// The cover is looked for when the track or its tags change, not at every reading of the
// metadata: an embedded picture is written to the cache folder once.
void MprisService::findCover()
{
    const TrackTags tags = m_player->tags();
    // A stream's address has no folder to look for a picture in.
    if (isStreamAddress(m_playingPath)) {
        m_artUrl.clear();
        return;
    }
    const QString file = coverArtFile(m_playingPath, tags.cover, tags.coverMimeType,
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/covers"));
    m_artUrl = file.isEmpty() ? QString() : QUrl::fromLocalFile(file).toString();
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
    connect(m_player, &Player::tagsChanged, this, [this] {
        findCover();
        changed(Track);
    });
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

QString MprisService::trackId() const
{
    if (m_player->state().shownSongName().isEmpty())
        return QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
    return QStringLiteral("/org/velumo/track/%1").arg(m_tracksStarted);
}

// The tags where the file has them; the title falls back on the name the window shows. A
// stream's station stands for its album, and for its title until the stream sends one.
QVariantMap MprisService::metadata() const
{
    const PlayerState &state = m_player->state();
    QVariantMap data { { QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId())) } };
    if (state.shownSongName().isEmpty())
        return data;
    const TrackTags tags = m_player->tags();
    const QString title = !tags.title.isEmpty() ? tags.title : tags.station;
    data.insert(QStringLiteral("xesam:title"), title.isEmpty() ? state.shownSongName() : title);
    if (!tags.artists.isEmpty())
        data.insert(QStringLiteral("xesam:artist"), tags.artists);
    if (const QString album = tags.album.isEmpty() ? tags.station : tags.album; !album.isEmpty())
        data.insert(QStringLiteral("xesam:album"), album);
    if (tags.trackNumber > 0)
        data.insert(QStringLiteral("xesam:trackNumber"), tags.trackNumber);
    if (!m_playingPath.isEmpty())
        data.insert(QStringLiteral("xesam:url"),
            isStreamAddress(m_playingPath) ? m_playingPath : QUrl::fromLocalFile(m_playingPath).toString());
    if (!m_artUrl.isEmpty())
        data.insert(QStringLiteral("mpris:artUrl"), m_artUrl);
    if (const std::optional<double> length = state.length(); length && *length >= 0)
        data.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(*length * 1e6));
    return data;
}

qlonglong MprisService::position() const
{
    return static_cast<qlonglong>(m_player->position().value_or(0.0) * 1e6);
}

bool MprisService::canSeek() const
{
    return m_player->canSeek();
}

// A seek before the start goes to the start; past the end, the track ends as it would by itself.
void MprisService::seek(qlonglong offset)
{
    m_player->seekBy(offset / 1e6);
}

// A position for another track, or outside this one, is ignored as the desktop expects.
void MprisService::setPosition(const QString &track, qlonglong position)
{
    const std::optional<double> length = m_player->state().length();
    if (track != trackId() || position < 0 || !length || position > *length * 1e6)
        return;
    m_player->seekTo(position / 1e6);
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

// A file or a stream the desktop opens with the player is taken as one dropped on the list:
// it joins the list, and plays when the list was empty.
void MprisService::openUri(const QString &uri)
{
    if (const QStringList files = droppedMediaFiles({ QUrl(uri) }); !files.isEmpty())
        m_player->openFiles(files);
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
