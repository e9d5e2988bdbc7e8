#include "extras/frmLyrics.h"
#include "window.h"

#include <QtTest>

class Transport : public QObject {
    Q_OBJECT
private slots:
    // A new track shows the lyrics window only while the main window is visible, also
    // after the user hid it; a resume leaves it hidden.
    void lyricsWindowFollowsMainWindow()
    {
        WindowRig r;
        r.p.state().setSongPath(QStringLiteral("/m/tema.mp3"));
        click(r.w, "cmdPlay");
        QVERIFY(!r.w.existingLyricsWindow()->isVisible());
        r.w.show();
        click(r.w, "cmdPlay");
        QVERIFY(r.w.existingLyricsWindow()->isVisible());
        trigger(r.w, "HideLyrics");
        click(r.w, "cmdPause");
        click(r.w, "cmdPlay");
        QVERIFY(!r.w.existingLyricsWindow()->isVisible());
        click(r.w, "cmdPlay");
        QVERIFY(r.w.existingLyricsWindow()->isVisible());
    }

    // The label row shows the name and length of the track Play started and each second
    // counted; a fresh count shows from its first second on, and a length the engine cannot
    // tell leaves the old one.
    void labelRow()
    {
        WindowRig r;
        r.p.state().setSongPath(QStringLiteral("/m/a.mp3"));
        r.p.state().setSongName(QStringLiteral("a.mp3"));
        r.fakes.engine.length = 245.4;
        // A track that does not start leaves the clock off, so only the counts made here show.
        r.fakes.engine.failing = QStringList { "StartPlayback" };
        click(r.w, "cmdPlay");
        r.p.Timer_Timer();
        r.p.Timer_Timer();
        QCOMPARE(labelText(r.w, "LblSongName"), QStringLiteral("a.mp3"));
        QCOMPARE(timeRow(r.w), QStringLiteral("0:2 4:5"));
        r.fakes.engine.failing << QStringLiteral("MediaLength");
        click(r.w, "cmdPlay");
        QCOMPARE(timeRow(r.w), QStringLiteral("0:2 4:5"));
        r.p.Timer_Timer();
        QCOMPARE(timeRow(r.w), QStringLiteral("0:1 4:5"));
    }
};

QTEST_MAIN(Transport)
#include "transport.moc"
