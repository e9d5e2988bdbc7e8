#include "app/mpris.h"

#include "app/frmMP3.h"
#include "app/tag.h"

#include <QPushButton>

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QLabel>
#include <QTimer>

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
        return { QStringLiteral("audio/mpeg"), QStringLiteral("audio/midi"), QStringLiteral("audio/x-wav"),
            QStringLiteral("video/mpeg") };
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
    Q_PROPERTY(double Volume READ one)
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

MprisService::MprisService(frmMP3 *window)
    : QObject(window)
    , m_window(window)
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
    // The desktop learns of a new track or state from a change signal; the player's handlers
    // know nothing of the bus, so the state is compared once a second.
    auto *watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, &MprisService::notifyIfChanged);
    watch->start(1000);
    return true;
}

QString MprisService::playbackStatus() const
{
    if (Tag(m_window->cmdPause).toInt() != 0)
        return QStringLiteral("Paused");
    if (m_window->Timer->isActive())
        return QStringLiteral("Playing");
    return QStringLiteral("Stopped");
}

QVariantMap MprisService::metadata() const
{
    const QString title = m_window->LblSongName->text();
    if (title.isEmpty())
        return { { QStringLiteral("mpris:trackid"),
            QVariant::fromValue(
                QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"))) } };
    const qlonglong seconds
        = m_window->lblMM->text().toLongLong() * 60 + m_window->lblSS->text().toLongLong();
    return { { QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(
                     QDBusObjectPath(QStringLiteral("/org/velumo/track/%1")
                                         .arg(m_window->SongIndex < 0 ? 0 : m_window->SongIndex))) },
        { QStringLiteral("xesam:title"), title }, { QStringLiteral("mpris:length"), seconds * 1000000 } };
}

void MprisService::play()
{
    const QString status = playbackStatus();
    if (status == QLatin1String("Paused"))
        m_window->cmdPause_Click();
    else if (status == QLatin1String("Stopped"))
        m_window->cmdPlay_Click();
    notifyIfChanged();
}

void MprisService::pause()
{
    if (playbackStatus() == QLatin1String("Playing"))
        m_window->cmdPause_Click();
    notifyIfChanged();
}

void MprisService::playPause()
{
    if (playbackStatus() == QLatin1String("Stopped"))
        m_window->cmdPlay_Click();
    else
        m_window->cmdPause_Click();
    notifyIfChanged();
}

void MprisService::stop()
{
    m_window->cmdStop_Click();
    notifyIfChanged();
}

void MprisService::next()
{
    m_window->cmdForward_Click();
    notifyIfChanged();
}

void MprisService::previous()
{
    m_window->cmdBack_Click();
    notifyIfChanged();
}

void MprisService::raise()
{
    m_window->IconoBarra_RestoreRequested();
}

void MprisService::quit()
{
    m_window->QuitIcono_Click();
}

void MprisService::notifyIfChanged()
{
    const QString status = playbackStatus();
    const QString title = m_window->LblSongName->text();
    if (status == m_lastStatus && title == m_lastTitle)
        return;
    m_lastStatus = status;
    m_lastTitle = title;
    emit changed();
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface
           << QVariantMap { { QStringLiteral("PlaybackStatus"), status },
                  { QStringLiteral("Metadata"), metadata() } }
           << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "mpris.moc"
