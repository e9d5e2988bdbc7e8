#include "app/picturebox.h"
#include "app/programfolder.h"
#include "app/tag.h"
#include "app/textfiles.h"
#include "extras/frmLyrics.h"
#include "fakes.h"
#include "info/frmAcerca.h"
#include "info/frmHelp.h"

#include <QAction>
#include <QLineEdit>
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

// A tray that notes the flag it finds at each call, to check the order of quitting.
class FlagTray : public FakeTray {
public:
    void RemoveIcon() override
    {
        FakeTray::RemoveIcon();
        calls.last() += QStringLiteral(" with tag ") + Tag(this);
    }
};

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
        Platform platform = fakes.platform();
        platform.tray = &tray;
        frmMP3 w(platform);
        QCOMPARE(tray.calls, QStringList { "AddIcon" });
        QVERIFY(w.Image1->hasPicture());
        QCOMPARE(w.Text1->text(), path);
    }

    // Closing the window while resident hides it and the lyrics window; playback and the clock go on.
    void closeHidesBothAndKeepsPlaying()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        w.lyricsWindow()->show();
        fakes.engine.MediaFile(QStringLiteral("/music/a.mp3"));
        fakes.engine.StartPlayback();
        w.Timer->start();
        fakes.engine.calls.clear();

        QVERIFY(!endsProgram([&] { QVERIFY(!w.close()); }));
        QVERIFY(!w.isVisible());
        QVERIFY(w.existingLyricsWindow());
        QVERIFY(!w.existingLyricsWindow()->isVisible());
        QVERIFY(fakes.engine.playing);
        QVERIFY(fakes.engine.calls.isEmpty());
        QVERIFY(w.Timer->isActive());
        QCOMPARE(fakes.tray.calls, QStringList { "AddIcon" });
        QCOMPARE(Tag(w.IconoBarra), QStringLiteral("1"));
    }

    // "Salir" of the file menu hides both windows, even a lyrics window never opened, and
    // the program stays.
    void fileExitOnlyHides()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        QVERIFY(!w.existingLyricsWindow());
        QVERIFY(!endsProgram([&] { w.Exit->trigger(); }));
        QVERIFY(!w.isVisible());
        QVERIFY(w.existingLyricsWindow());
        QVERIFY(!w.existingLyricsWindow()->isVisible());
        QCOMPARE(fakes.tray.calls, QStringList { "AddIcon" });
    }

    // The icon and its menu's "Abrir Velumo MP3 Player" bring back the player and the lyrics
    // window, even when the user had hidden the lyrics.
    void restoreShowsBothWindows_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("click on the icon") << false;
        QTest::newRow("menu of the icon") << true;
    }
    void restoreShowsBothWindows()
    {
        QFETCH(bool, fromMenu);
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        w.lyricsWindow()->show();
        w.HideLyrics->trigger();
        QVERIFY(!w.existingLyricsWindow()->isVisible());
        w.close();
        QVERIFY(!w.isVisible());

        if (fromMenu)
            w.OpenPlayer->trigger();
        else
            fakes.tray.restore();
        QVERIFY(w.isVisible());
        QVERIFY(w.existingLyricsWindow()->isVisible());
        QVERIFY(!w.existingLyricsWindow()->parentWidget());
        delete w.existingLyricsWindow();
    }

    // A right click on the icon pops up the icon's menu, with "Acerca" as its default item.
    void iconMenu()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.tray.menu();
        QTRY_VERIFY(w.MnuIcono->isVisible());
        QCOMPARE(w.MnuIcono->defaultAction(), w.AboutIcono);
        w.MnuIcono->close();
    }

    // The tray's "Salir" lowers the flag, takes the icon away, unloads both windows, stops
    // playback and ends the program with the information windows still open.
    void quitEndsEverything()
    {
        FakePlatform fakes;
        FlagTray tray;
        Platform platform = fakes.platform();
        platform.tray = &tray;
        frmMP3 w(platform);
        w.show();
        QPointer<frmLyrics> lyrics = w.lyricsWindow();
        lyrics->show();
        w.HelpMe->trigger();
        w.AboutOf->trigger();
        QPointer<frmHelp> help = w.helpWindow();
        QPointer<frmAcerca> about = w.aboutWindow();
        fakes.engine.MediaFile(QStringLiteral("/music/a.mp3"));
        fakes.engine.StartPlayback();
        w.Timer->start();

        QVERIFY(endsProgram([&] { w.QuitIcono->trigger(); }));
        QCOMPARE(Tag(w.IconoBarra), QStringLiteral("0"));
        QCOMPARE(tray.calls, (QStringList { "AddIcon", "RemoveIcon with tag 0" }));
        QVERIFY(!tray.shown);
        QVERIFY(!w.isVisible());
        QVERIFY(!lyrics);
        QVERIFY(!w.existingLyricsWindow());
        QVERIFY(!fakes.engine.playing);
        QCOMPARE(fakes.engine.calls.last(), QStringLiteral("StopPlayback"));
        // The information windows go with the process, not through their own closing.
        QVERIFY(help && help->isVisible());
        QVERIFY(about && about->isVisible());
        delete help;
        delete about;
    }

    // Without a notification area to hide into, closing the window or the file menu's "Salir"
    // ends the player instead of leaving it running out of reach.
    void withoutTrayClosingEnds_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("close button") << false;
        QTest::newRow("file menu") << true;
    }
    void withoutTrayClosingEnds()
    {
        QFETCH(bool, fromMenu);
        FakePlatform fakes;
        fakes.tray.available = false;
        frmMP3 w(fakes.platform());
        w.show();
        fakes.engine.MediaFile(QStringLiteral("/music/a.mp3"));
        fakes.engine.StartPlayback();

        QVERIFY(endsProgram([&] {
            if (fromMenu)
                w.Exit->trigger();
            else
                QVERIFY(w.close());
        }));
        QVERIFY(!w.isVisible());
        QCOMPARE(Tag(w.IconoBarra), QStringLiteral("0"));
        QCOMPARE(fakes.tray.calls, (QStringList { "AddIcon", "RemoveIcon" }));
        QVERIFY(!fakes.engine.playing);
    }

    // Minimising is no way into the notification area: the window stays where it is.
    void minimisingDoesNotHide()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        w.showMinimized();
        QVERIFY(w.isVisible());
        QCOMPARE(fakes.tray.calls, QStringList { "AddIcon" });
        QCOMPARE(Tag(w.IconoBarra), QStringLiteral("1"));
    }

    // Each information window opens once, without an owner and without a modal wait; opening
    // it again shows the same one, and after its own closing the next opening builds a new one.
    void informationWindows()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.HelpMe->trigger();
        QPointer<frmHelp> help = w.helpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY(!help->parentWidget() && !help->isModal());
        w.HelpMe->trigger();
        QCOMPARE(w.helpWindow(), help.data());
        help->close();
        QTRY_VERIFY(!help);
        QVERIFY(!w.helpWindow());
        w.HelpMe->trigger();
        QVERIFY(w.helpWindow() && w.helpWindow()->isVisible());

        w.AboutOf->trigger();
        QPointer<frmAcerca> about = w.aboutWindow();
        QVERIFY(about && about->isVisible());
        QVERIFY(!about->parentWidget() && !about->isModal());
        w.AboutIcono->trigger();
        QCOMPARE(w.aboutWindow(), about.data());
        about->close();
        QTRY_VERIFY(!about);
        w.AboutIcono->trigger();
        QVERIFY(w.aboutWindow() && w.aboutWindow()->isVisible());
        delete w.helpWindow();
        delete w.aboutWindow();
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(Resident)
#include "resident.moc"
