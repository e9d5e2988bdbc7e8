#include "app/desktopnotifier.h"
#include "app/frmMP3.h"
#include "app/mpris.h"
#include "app/singleinstance.h"
#include "app/tracknotices.h"
#include "dialogs/qtfiledialog.h"
#include "dialogs/qtmessagebox.h"
#include "extras/qttrayicon.h"
#include "files/mediatypes.h"
#include "files/programfolder.h"
#include "info/desktoplinks.h"
#include "playback/enginerouter.h"
#include "playback/gstreamer/gstengine.h"
#include "playback/gstreamer/startup.h"
#include "playback/gstreamer/streamengine.h"
#include "player/player.h"
#include "widgets/widgetstyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPixmapCache>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

// The files named on the command line ("Open with" of a file manager), made absolute so
// that a player started elsewhere finds them too; a stream's address is kept as it is.
QStringList filesFromCommandLine(int argc, char *argv[])
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        files << (isStreamAddress(argument) ? argument : QFileInfo(argument).absoluteFilePath());
    }
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    // The patterns the player matches are few and short (the file dialog's name filters, the
    // lines of a timed lyrics file), so Qt's pattern engine runs them without its just-in-time
    // compiler, whose code would otherwise stay in memory (0.2 MB) once a dialog has shown.
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_REGEXP_JIT"))
        qputenv("QT_ENABLE_REGEXP_JIT", "0");
    // A file named on the command line plays as soon as the window is up; GStreamer's start, the
    // longest step on the way to its sound, runs from now on beside Qt's own start.
    EarlyStart gstreamer(argc, argv);
    QApplication app(argc, argv);
    app.setStyle(new PlayerStyle);
    // Each file dialog paints its file and folder pictures into Qt's pixmap cache under keys
    // that no later dialog uses; a small player needs far less than the 10 MB Qt allows it,
    // so the oldest pictures give way sooner.
    QPixmapCache::setCacheLimit(2048);
    app.setApplicationName(QStringLiteral("velumo"));
    const QStringList files = filesFromCommandLine(argc, argv);
    // The start that claims the name is the player from this moment on; the others hand their
    // files to it. A start without files while a player runs is a player of its own.
    SingleInstance instance(defaultInstanceName());
    if (!instance.claim() && !files.isEmpty()) {
        if (instance.handOver(files))
            return EXIT_SUCCESS;
        // Nobody took the list: either the player was quitting and the name is free now, or
        // it does not answer.
        if (!instance.claim()) {
            std::fputs("velumo: el reproductor abierto no responde\n", stderr);
            return EXIT_FAILURE;
        }
    }
    chooseProgramFolder();
    // Only the notification-area menu ends the player, never the last window closing.
    app.setQuitOnLastWindowClosed(false);

    // Qt's own dialogs and buttons speak Spanish like the rest of the player.
    QTranslator qtSpanish;
    if (qtSpanish.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtSpanish);

    // Files and internet streams are played by engines of their own; a player that never plays
    // a stream never loads the network's libraries.
    GstEngine fileEngine;
    // Now that this start is the player, the first file named is readied on the early thread.
    fileEngine.prepareFirstFile(gstreamer);
    StreamEngine streamEngine;
    EngineRouter engine(&fileEngine, &streamEngine);
    QtFileDialog cmdlg;
    QtFileDialog common;
    QtTrayIcon tray;
    DesktopLinks links;
    QtMessageBox messages;
    Player player({ &engine, &cmdlg, &common, &messages, {} });
    frmMP3 window(player, { &tray, &links });
    window.show();
    // GStreamer starts on a thread of its own once the playlist has something to play, ready
    // for the kinds of file it holds, so that the first click need not wait for it, while a
    // player with nothing to play stays small.
    QObject::connect(
        &player.playlist(), &PlaylistModel::rowsInserted, &fileEngine,
        [&fileEngine, &player](const QModelIndex &, int first, int last) {
            QStringList paths;
            for (int row = first; row <= last; ++row)
                paths << player.playlist().pathAt(row);
            fileEngine.warmUp(paths);
        },
        Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::filesReceived, &player, &Player::openFiles);
    // What may take a moment (a track to start, the session bus) waits until the window is up.
    // The player's own files come before those handed over while it started.
    QTimer::singleShot(0, &player, [&player, &instance, files] {
        if (!files.isEmpty())
            player.openFiles(files);
        instance.listen();
    });
    MprisService media(&player);
    QObject::connect(&media, &MprisService::raiseRequested, &window, &frmMP3::IconoBarra_RestoreRequested);
    QObject::connect(&media, &MprisService::quitRequested, &window, &frmMP3::QuitIcono_Click);
    QTimer::singleShot(100, &media, &MprisService::publish);
    DesktopNotifier notifier;
    TrackNotices notices(&player, &media, &window, &notifier);
    const int status = app.exec();
    // A start that comes while the player ends finds the name free rather than a player that
    // never reads its list.
    instance.release();
    return status;
}
