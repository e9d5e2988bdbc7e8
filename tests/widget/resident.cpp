#include "extras/frmLyrics.h"
#include "files/programfolder.h"
#include "files/textfiles.h"
#include "info/frmAcerca.h"
#include "info/frmHelp.h"
#include "widgets/picturebox.h"
#include "window.h"
#include "windowfakes.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Runs action inside the application's event loop and tells whether the action ended it.
bool endsProgram(const std::function<void()> &action)
{
    QTimer start;
    QTimer fallback;
    start.setSingleShot(true);
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    QObject::connect(&start, &QTimer::timeout, [&] {
        action();
        fallback.start(0);
    });
    start.start(0);
    return QCoreApplication::exec() == 0;
}

// A tray that, when the icon goes up, names a background picture for the next start.
class PictureOnAdd : public FakeTray {
public:
    explicit PictureOnAdd(const QString &picture)
        : m_picture(picture)
    {
    }
    void AddIcon() override
    {
        FakeTray::AddIcon();
        writeSettingLine(besideProgram(QStringLiteral("Pic.txt")), m_picture);
    }

private:
    QString m_picture;
};

// The window shown with its lyrics window and a track playing.
void showAndPlay(frmMP3 &w, FakeEngine &engine)
{
    w.show();
    fillPlaylist(w, { QStringLiteral("/music/a.mp3") });
    w.player().state().setSongPath(QStringLiteral("/music/a.mp3"));
    w.player().cmdPlay_Click();
    QVERIFY(w.existingLyricsWindow()->isVisible());
    engine.calls.clear();
}

bool lyricsShown(const frmMP3 &w)
{
    return w.existingLyricsWindow() && w.existingLyricsWindow()->isVisible();
}

} // namespace

class Resident : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // As in the player itself: a window closing never ends the program by itself, so
        // only the player's own quitting can end the event loop here.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // The icon goes up before anything is read from the program's folder: a Pic.txt that
    // appears only once the icon is up still gives the window its background.
    void iconComesFirst()
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QString path = m_folder.filePath(QStringLiteral("fondo.png"));
        QVERIFY(picture.save(path));
        PictureOnAdd tray(path);
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, { &tray, &fakes.links });
        QCOMPARE(tray.calls, QStringList { "AddIcon" });
        QCOMPARE(w.player().state().backgroundPath(), path);
        QVERIFY(control<PictureBox>(w, "Image1")->hasPicture());
    }

    void closing_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<bool>("trayAvailable");
        QTest::newRow("close button") << false << true;
        QTest::newRow("file menu") << true << true;
        QTest::newRow("close button, no tray") << false << false;
        QTest::newRow("file menu, no tray") << true << false;
    }

    // Closing the window or the file menu's "Salir" hides the player and its lyrics while
    // the track plays on; without a notification area to hide into, they end the player
    // instead of leaving it running out of reach.
    void closing()
    {
        QFETCH(bool, fromMenu);
        QFETCH(bool, trayAvailable);
        FakePlatform fakes;
        fakes.tray.available = trayAvailable;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        showAndPlay(w, fakes.engine);

        const bool ended = endsProgram([&] {
            if (fromMenu)
                trigger(w, "Exit");
            else
                QCOMPARE(w.close(), !trayAvailable);
        });
        QCOMPARE(ended, !trayAvailable);
        QVERIFY(!w.isVisible());
        QVERIFY(!lyricsShown(w));
        QCOMPARE(w.player().state().resident(), trayAvailable);
        if (trayAvailable) {
            QCOMPARE(fakes.tray.calls, QStringList { "AddIcon" });
            QVERIFY(fakes.engine.calls.isEmpty());
            QCOMPARE(w.player().state().playback(), PlayerState::Playback::Playing);
        } else {
            QCOMPARE(fakes.tray.calls, (QStringList { "AddIcon", "RemoveIcon" }));
            QVERIFY(!fakes.engine.playing);
        }
    }

    // A right click on the icon pops up the icon's menu, with "Acerca" as its default item.
    void iconMenu()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        fakes.tray.menu();
        auto *menu = control<QMenu>(w, "MnuIcono");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->defaultAction()->text(), QStringLiteral("Acerca"));
        menu->close();
    }

    // The icon menu's "Salir" takes the icon away, unloads both windows, stops playback and
    // ends the program with the information windows still open.
    void quitEndsEverything()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        showAndPlay(w, fakes.engine);
        QPointer<frmLyrics> lyrics = w.existingLyricsWindow();
        trigger(w, "HelpMe");
        trigger(w, "AboutOf");
        QPointer<frmHelp> help = w.helpWindow();
        QPointer<frmAcerca> about = w.aboutWindow();

        QVERIFY(endsProgram([&] { trigger(w, "QuitIcono"); }));
        QVERIFY(!w.player().state().resident());
        QCOMPARE(fakes.tray.calls, (QStringList { "AddIcon", "RemoveIcon" }));
        QVERIFY(!fakes.tray.shown);
        QVERIFY(!w.isVisible());
        QVERIFY(!lyrics);
        QVERIFY(!fakes.engine.playing);
        // The information windows go with the process, not through their own closing.
        QVERIFY(help && help->isVisible());
        QVERIFY(about && about->isVisible());
        delete help;
        delete about;
    }

    // Minimising is no way into the notification area: the window stays where it is.
    void minimisingDoesNotHide()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        w.show();
        w.showMinimized();
        QVERIFY(w.isVisible());
        QCOMPARE(fakes.tray.calls, QStringList { "AddIcon" });
        QVERIFY(w.player().state().resident());
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(Resident)
#include "resident.moc"
