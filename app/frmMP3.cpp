#include "app/frmMP3.h"

#include "app/playlistbox.h"
#include "extras/frmLyrics.h"
#include "extras/pictureloader.h"
#include "extras/trayicon.h"
#include "player/openfiles.h"
#include "player/player.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"
#include "widgets/widgetstyle.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>

namespace {

// Green on black reads like the display of a hi-fi set.
const QColor labelText(0, 255, 0);
const QColor labelBack(0, 0, 0);

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &where, bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    // Names of files are shown as they are, never read as markup. A screen reader reads a
    // label as the text it shows, so it carries no accessible name of its own.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(where);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(9.75);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(bold ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, labelText);
    palette.setColor(QPalette::Window, labelBack);
    label->setPalette(palette);
    return label;
}

QPushButton *makePictureButton(
    QWidget *parent, const char *name, const QString &picture, const QString &tip, const QRect &where)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(where);
    button->setIcon(pictureIcon(picture));
    button->setIconSize(QSize(32, 32));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    return button;
}

QPushButton *makeTextButton(
    QWidget *parent, const char *name, const QString &caption, const QString &tip, const QRect &where)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(where);
    if (!tip.isEmpty())
        button->setToolTip(tip);
    // A screen reader reads the name and then the description: a tooltip that repeats the
    // caption would be read twice.
    if (tip != caption)
        button->setAccessibleDescription(tip);
    button->setAccessibleName(caption);
    return button;
}

QAction *addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

frmMP3::frmMP3(Player &player, const WindowParts &parts, QWidget *parent)
    : QMainWindow(parent)
    , m_player(player)
    , m_state(&player.state())
    , IconoBarra(parts.tray)
    , m_links(parts.links)
{
    setObjectName(QStringLiteral("frmMP3"));
    setWindowTitle(QStringLiteral("Velumo MP3 Player"));
    setWindowIcon(pictureIcon(QStringLiteral(":/resources/velumo")));
    buildControls();
    buildMenus();
    connectSignals();
    connectState();

    // A fixed frame: the client area below the menu bar is 398 x 302 pixels, its top-left
    // corner at 56, 168 on the screen.
    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(centralWidget()->width(), centralWidget()->height() + menuHeight);
    // A window of fixed size has nothing to maximise; it keeps its minimise and close buttons.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setGeometry(QRect(QPoint(twipsToPixels(840), twipsToPixels(2520) - menuHeight), size()));

    setAcceptDrops(true);
    Form_Load();
}

frmMP3::~frmMP3()
{
    // The lyrics window has no parent, so it goes with the main window explicitly.
    delete m_lyrics.data();
}

void frmMP3::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Qt::black);
    client->setPalette(palette);
    client->setFixedSize(twipsSize(5970, 4530));
    setCentralWidget(client);

    // The background picture lies behind every other control, so it is made first.
    Image1 = new PictureBox(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(0, 240, 6015, 4575));

    LblSongName = makeLabel(client, "LblSongName", QString(), twipsRect(0, 0, 4095, 255), false);
    LblSongTimer1
        = makeLabel(client, "LblSongTimer1", QStringLiteral("0"), twipsRect(4080, 0, 375, 255), true);
    Label1 = makeLabel(client, "Label1", QStringLiteral(":"), twipsRect(4440, 0, 255, 255), true);
    LblSongTimer2
        = makeLabel(client, "LblSongTimer2", QStringLiteral("0"), twipsRect(4680, 0, 375, 255), true);
    lblMM = makeLabel(client, "lblMM", QStringLiteral("0"), twipsRect(5040, 0, 375, 255), true);
    Label2 = makeLabel(client, "Label2", QStringLiteral(":"), twipsRect(5400, 0, 255, 255), true);
    lblSS = makeLabel(client, "lblSS", QStringLiteral("0"), twipsRect(5640, 0, 375, 255), true);

    cmdBack = makePictureButton(client, "cmdBack", QStringLiteral(":/resources/back"),
        QStringLiteral("Retroceder"), twipsRect(1440, 360, 495, 495));
    cmdPlay = makePictureButton(client, "cmdPlay", QStringLiteral(":/resources/play"),
        QStringLiteral("Empezar"), twipsRect(2040, 360, 495, 495));
    cmdPause = makePictureButton(client, "cmdPause", QStringLiteral(":/resources/pause"),
        QStringLiteral("Pausa"), twipsRect(2640, 360, 495, 495));
    cmdStop = makePictureButton(client, "cmdStop", QStringLiteral(":/resources/stop"),
        QStringLiteral("Parar"), twipsRect(3240, 360, 495, 495));
    cmdForward = makePictureButton(client, "cmdForward", QStringLiteral(":/resources/forward"),
        QStringLiteral("Avanzar"), twipsRect(3840, 360, 495, 495));

    cmdShuffle = makeTextButton(
        client, "cmdShuffle", QStringLiteral("Shuffle"), QString(), twipsRect(4560, 480, 855, 255));
    QFont shuffleFont(QStringLiteral("MS Sans Serif"));
    shuffleFont.setPointSizeF(8.25);
    shuffleFont.setBold(true);
    cmdShuffle->setFont(shuffleFont);
    setFaceColour(cmdShuffle, QColor(192, 192, 192));

    PlayList = new PlayListBox(client);
    PlayList->setObjectName(QStringLiteral("PlayList"));
    PlayList->setModel(&m_player.playlist());
    PlayList->setSelectionModel(m_player.selection());
    PlayList->setGeometry(twipsRect(120, 960, 5175, 2010));
    PlayList->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is one line of text, so a long playlist need not measure each of them.
    PlayList->setUniformItemSizes(true);
    PlayList->setAccessibleName(QStringLiteral("Lista de reproducción"));

    Slider = new QSlider(Qt::Vertical, client);
    Slider->setObjectName(QStringLiteral("Slider"));
    Slider->setGeometry(twipsRect(5400, 960, 495, 1575));
    Slider->setRange(0, 10);
    Slider->setPageStep(1);
    Slider->setTickPosition(QSlider::TicksBothSides);
    // The engine starts at full volume, and the slider shows it so.
    Slider->setValue(10);
    Slider->setToolTip(QStringLiteral("Volumen"));
    Slider->setAccessibleName(QStringLiteral("Volumen"));

    cmdMute = makePictureButton(client, "cmdMute", QStringLiteral(":/resources/mute"),
        QStringLiteral("Sin Sonido"), twipsRect(5400, 2520, 495, 495));

    cdmAdd = makeTextButton(client, "cdmAdd", QStringLiteral("Agregar"), QStringLiteral("Agregar"),
        twipsRect(240, 4080, 975, 375));
    cmdDelete = makeTextButton(client, "cmdDelete", QStringLiteral("Borrar"), QStringLiteral("Borrar"),
        twipsRect(1320, 4080, 975, 375));
    cmdDelAll = makeTextButton(client, "cmdDelAll", QStringLiteral("Borrar Todo"), QStringLiteral("Borrar"),
        twipsRect(2400, 4080, 1215, 375));
    cmdSave = makeTextButton(client, "cmdSave", QStringLiteral("Guardar"), QStringLiteral("Guardar"),
        twipsRect(3720, 4080, 975, 375));
    cmdLoad = makeTextButton(
        client, "cmdLoad", QStringLiteral("Abrir"), QStringLiteral("Abrir"), twipsRect(4800, 4080, 975, 375));
}

void frmMP3::buildMenus()
{
    File = menuBar()->addMenu(QStringLiteral("&Archivo"));
    File->setObjectName(QStringLiteral("File"));
    Add = addItem(File, "Add", QStringLiteral("Agregar"));
    Delete = addItem(File, "Delete", QStringLiteral("Borrar"));
    Save = addItem(File, "Save", QStringLiteral("Guardar"));
    Open = addItem(File, "Open", QStringLiteral("Abrir"));
    Actions = File->addMenu(QStringLiteral("Acciones"));
    Actions->setObjectName(QStringLiteral("Actions"));
    Back = addItem(Actions, "Back", QStringLiteral("Retroceder"));
    Play = addItem(Actions, "Play", QStringLiteral("Empezar"));
    Pause = addItem(Actions, "Pause", QStringLiteral("Pausa"));
    Stop = addItem(Actions, "Stop", QStringLiteral("Detener"));
    Forward = addItem(Actions, "Forward", QStringLiteral("Avanzar"));
    Exit = addItem(File, "Exit", QStringLiteral("Salir"));

    Options = menuBar()->addMenu(QStringLiteral("Opciones"));
    Options->setObjectName(QStringLiteral("Options"));
    Mute = addItem(Options, "Mute", QStringLiteral("Sin Sonido"));
    BackPic = addItem(Options, "BackPic", QStringLiteral("Imagen de Fondo"));
    Hide = addItem(Options, "Hide", QStringLiteral("Ocultar Todo"));
    Show = addItem(Options, "Show", QStringLiteral("Mostrar Todo"));

    Lyrics = menuBar()->addMenu(QStringLiteral("Letras"));
    Lyrics->setObjectName(QStringLiteral("Lyrics"));
    SeeLyrics = addItem(Lyrics, "SeeLyrics", QStringLiteral("Ver Letras"));
    HideLyrics = addItem(Lyrics, "HideLyrics", QStringLiteral("Ocultar Letras"));

    Help = menuBar()->addMenu(QStringLiteral("Ayuda"));
    Help->setObjectName(QStringLiteral("Help"));
    HelpMe = addItem(Help, "HelpMe", QStringLiteral("Ayuda"));
    AboutOf = addItem(Help, "AboutOf", QStringLiteral("Acerca de"));

    // The notification-area menu belongs to the window but never shows in its menu bar.
    MnuIcono = new QMenu(this);
    MnuIcono->setObjectName(QStringLiteral("MnuIcono"));
    AboutIcono = addItem(MnuIcono, "AboutIcono", QStringLiteral("Acerca"));
    QFont bold = AboutIcono->font();
    bold.setBold(true);
    AboutIcono->setFont(bold);
    MnuIcono->setDefaultAction(AboutIcono);
    OpenPlayer = addItem(MnuIcono, "OpenPlayer", QStringLiteral("Abrir Velumo MP3 Player"));
    BlinkIcono = MnuIcono->addSeparator();
    BlinkIcono->setObjectName(QStringLiteral("BlinkIcono"));
    QuitIcono = addItem(MnuIcono, "QuitIcono", QStringLiteral("Salir"));
}

void frmMP3::connectSignals()
{
    Player *player = &m_player;
    connect(cmdPlay, &QPushButton::clicked, player, &Player::cmdPlay_Click);
    connect(cmdPause, &QPushButton::clicked, player, &Player::cmdPause_Click);
    connect(cmdStop, &QPushButton::clicked, player, &Player::cmdStop_Click);
    connect(cmdMute, &QPushButton::clicked, player, &Player::cmdMute_Click);
    connect(cmdBack, &QPushButton::clicked, player, &Player::cmdBack_Click);
    connect(cmdForward, &QPushButton::clicked, player, &Player::cmdForward_Click);
    connect(cmdShuffle, &QPushButton::clicked, player, &Player::cmdShuffle_Click);
    connect(cdmAdd, &QPushButton::clicked, player, &Player::cdmAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, player, &Player::cmdDelete_Click);
    connect(cmdDelAll, &QPushButton::clicked, player, &Player::cmdDelAll_Click);
    connect(cmdSave, &QPushButton::clicked, player, &Player::cmdSave_Click);
    connect(cmdLoad, &QPushButton::clicked, player, &Player::cmdLoad_Click);
    connect(PlayList, &PlayListBox::userClicked, player, &Player::PlayList_Click);
    connect(PlayList, &QAbstractItemView::doubleClicked, player, &Player::PlayList_DblClick);
    // The volume follows the user's hand only (drag, click, wheel, keys), never a value
    // the program sets; the slider holds its new value once the action is done.
    connect(Slider, &QSlider::actionTriggered, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { m_player.Slider_Scroll(Slider->value()); }, Qt::QueuedConnection);
    });
    // Ctrl+Right and Ctrl+Left move within the track from whichever of the player's windows
    // has the focus: the lyrics window takes it as a track starts. The lyrics' read-only text
    // box leaves them be, the plain arrows stay the list's and the slider's, and the menus stay
    // as they are; a modal dialog keeps them for itself.
    constexpr double seekStep = 5.0;
    auto *seekForward = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Right), this);
    seekForward->setContext(Qt::ApplicationShortcut);
    connect(seekForward, &QShortcut::activated, player, [player] { player->seekBy(seekStep); });
    auto *seekBack = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Left), this);
    seekBack->setContext(Qt::ApplicationShortcut);
    connect(seekBack, &QShortcut::activated, player, [player] { player->seekBy(-seekStep); });
    if (IconoBarra) {
        connect(IconoBarra, &TrayIcon::RestoreRequested, this, &frmMP3::IconoBarra_RestoreRequested);
        connect(IconoBarra, &TrayIcon::MenuRequested, this, &frmMP3::IconoBarra_MenuRequested);
    }

    connect(Add, &QAction::triggered, player, &Player::cdmAdd_Click);
    connect(Delete, &QAction::triggered, player, &Player::cmdDelete_Click);
    connect(Save, &QAction::triggered, player, &Player::cmdSave_Click);
    connect(Open, &QAction::triggered, player, &Player::cmdLoad_Click);
    connect(Back, &QAction::triggered, player, &Player::cmdBack_Click);
    connect(Play, &QAction::triggered, player, &Player::cmdPlay_Click);
    connect(Pause, &QAction::triggered, player, &Player::cmdPause_Click);
    connect(Stop, &QAction::triggered, player, &Player::cmdStop_Click);
    connect(Forward, &QAction::triggered, player, &Player::cmdForward_Click);
    connect(Exit, &QAction::triggered, this, &frmMP3::Exit_Click);
    connect(Mute, &QAction::triggered, player, &Player::cmdMute_Click);
    connect(BackPic, &QAction::triggered, player, &Player::BackPic_Click);
    connect(Hide, &QAction::triggered, this, &frmMP3::Hide_Click);
    connect(Show, &QAction::triggered, this, &frmMP3::Show_Click);
    connect(SeeLyrics, &QAction::triggered, this, &frmMP3::SeeLyrics_Click);
    connect(HideLyrics, &QAction::triggered, this, &frmMP3::HideLyrics_Click);
    connect(HelpMe, &QAction::triggered, this, &frmMP3::HelpMe_Click);
    connect(AboutOf, &QAction::triggered, this, &frmMP3::AboutOf_Click);
    connect(AboutIcono, &QAction::triggered, this, &frmMP3::AboutIcono_Click);
    connect(OpenPlayer, &QAction::triggered, this, &frmMP3::OpenPlayer_Click);
    connect(QuitIcono, &QAction::triggered, this, &frmMP3::QuitIcono_Click);
}

void frmMP3::connectState()
{
    connect(m_state, &PlayerState::shownSongChanged, this, &frmMP3::showShownSong);
    connect(m_state, &PlayerState::lengthChanged, this, &frmMP3::showLength);
    connect(m_state, &PlayerState::elapsedCounted, this, &frmMP3::showElapsed);
    connect(m_state, &PlayerState::shuffleChanged, this, &frmMP3::showShuffle);
    connect(m_state, &PlayerState::backgroundChanged, this, &frmMP3::showBackground);
    connect(m_state, &PlayerState::compactViewChanged, this, &frmMP3::showCompactView);
    connect(&m_player, &Player::lyricsWindowWanted, this, &frmMP3::showLyricsWindow);
    connect(&m_player, &Player::lyricsChanged, this, &frmMP3::showLyrics);
    connect(&m_player, &Player::sungLineChanged, this, &frmMP3::showSungLine);
    connect(&m_player, &Player::greetingWanted, this, &frmMP3::showGreeting);
}

void frmMP3::showShownSong(const QString &name)
{
    LblSongName->setText(name);
}

void frmMP3::showLength()
{
    const MinutesSeconds shown = m_state->shownLength();
    lblMM->setText(QString::number(shown.minutes));
    lblSS->setText(QString::number(shown.seconds));
}

void frmMP3::showElapsed(MinutesSeconds elapsed)
{
    LblSongTimer2->setText(QString::number(elapsed.seconds));
    LblSongTimer1->setText(QString::number(elapsed.minutes));
}

void frmMP3::showShuffle(bool on)
{
    setFaceColour(cmdShuffle, on ? QColor(255, 0, 0) : QColor(192, 192, 192));
}

// A picture that cannot be read leaves the window's plain background.
void frmMP3::showBackground(const QString &path)
{
    Image1->setPicture(loadPicture(path, Image1->size()));
}

// The compact view hides the controls and keeps the label row and the background picture.
void frmMP3::showCompactView(bool compact)
{
    const QList<QWidget *> controls { cmdPlay, cmdStop, cmdBack, cmdForward, cmdPause, PlayList, cdmAdd,
        cmdDelete, cmdSave, cmdLoad, cmdMute, Slider, cmdShuffle, cmdDelAll };
    for (QWidget *control : controls)
        control->setVisible(!compact);
}

void frmMP3::closeEvent(QCloseEvent *event)
{
    if (Form_Unload())
        event->ignore();
    else
        event->accept();
}

void frmMP3::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedMediaFiles(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void frmMP3::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedMediaFiles(event->mimeData()->urls());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    m_player.addFiles(files);
}

void frmMP3::Hide_Click()
{
    m_state->setCompactView(true);
}

void frmMP3::Show_Click()
{
    m_state->setCompactView(false);
}
