#include "player/player.h"

#include "playback/mediaengine.h"

#include <QItemSelectionModel>
#include <QTimer>

Player::Player(const PlayerParts &parts, QObject *parent)
    : QObject(parent)
    , m_state(new PlayerState(this))
    , m_playlist(new PlaylistModel(this))
    , m_selection(new QItemSelectionModel(m_playlist, this))
    , Timer(new QTimer(this))
    , m_lyricsTimer(new QTimer(this))
    , Mplay(parts.engine)
    , Cmdlg(parts.cmdlg)
    , common(parts.common)
    , m_messages(parts.messages)
    , m_random(parts.random)
{
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
    // Often enough that a line is marked as it starts to be sung, seldom enough to cost nothing.
    m_lyricsTimer->setInterval(200);
    connect(Timer, &QTimer::timeout, this, &Player::Timer_Timer);
    connect(m_lyricsTimer, &QTimer::timeout, this, &Player::markSungLine);
    connect(m_state, &PlayerState::playbackChanged, this, &Player::followClock);
    if (Mplay) {
        connect(Mplay, &MediaEngine::PlaybackEnded, this, &Player::Mplay_PlaybackEnded);
        connect(Mplay, &MediaEngine::TagsChanged, this, &Player::tagsChanged);
        connect(Mplay, &MediaEngine::QueuedFileStarted, this, &Player::Mplay_QueuedFileStarted);
        connect(Mplay, &MediaEngine::LengthChanged, this, &Player::Mplay_LengthChanged);
        connect(Mplay, &MediaEngine::StartFailed, this, &Player::Mplay_StartFailed);
    }
    // What follows is told again whenever what the end of the track takes may have changed.
    connect(m_state, &PlayerState::currentTrackChanged, this, [this] {
        if (!m_state->shuffle())
            planNext();
    });
    connect(m_state, &PlayerState::playbackChanged, this, [this] { planNext(); });
    connect(m_state, &PlayerState::shuffleChanged, this, &Player::replan);
    connect(m_playlist, &PlaylistModel::rowsInserted, this, &Player::replan);
    connect(m_playlist, &PlaylistModel::rowsRemoved, this, &Player::replan);
    connect(m_playlist, &PlaylistModel::rowsMoved, this, &Player::replan);
    connect(m_playlist, &PlaylistModel::modelReset, this, &Player::replan);
}

Player::~Player() = default;

// The clock counts only while sound plays; a track started anew starts its second afresh.
// A pause leaves the sung line marked; a stop leaves nothing being sung.
void Player::followClock(PlayerState::Playback playback)
{
    if (playback == PlayerState::Playback::Playing)
        Timer->start();
    else
        Timer->stop();
    if (playback == PlayerState::Playback::Stopped)
        emit sungLineChanged(std::nullopt);
    followLyrics();
}

int Player::selectedRow() const
{
    const QModelIndexList rows = m_selection->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool Player::isRowSelected(int row) const
{
    return m_selection->isSelected(m_playlist->index(row, 0));
}

bool Player::selectRow(int row)
{
    if (row < 0 || row >= m_playlist->count())
        return false;
    m_selection->setCurrentIndex(m_playlist->index(row, 0), QItemSelectionModel::ClearAndSelect);
    PlayList_Click();
    return true;
}

void Player::stopEngine()
{
    if (Mplay)
        Mplay->StopPlayback();
}
