#include "app/frmMP3.h"
#include "app/programfolder.h"
#include "app/qtfiledialog.h"
#include "app/qtmessagebox.h"
#include "extras/qttrayicon.h"
#include "info/desktoplinks.h"
#include "playback/gstengine.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("velumo"));
    chooseProgramFolder();
    // Only the notification-area menu ends the player, never the last window closing.
    app.setQuitOnLastWindowClosed(false);

    // Qt's own dialogs and buttons speak Spanish like the rest of the player.
    QTranslator qtSpanish;
    if (qtSpanish.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtSpanish);

    GstEngine engine;
    QtFileDialog cmdlg;
    QtFileDialog common;
    QtTrayIcon tray;
    DesktopLinks links;
    QtMessageBox messages;
    Platform platform { &engine, &cmdlg, &common, &tray, &links, &messages, {} };

    frmMP3 window(platform);
    window.show();
    return app.exec();
}
