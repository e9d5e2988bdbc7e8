#include "extras/frmLyrics.h"
#include "window.h"

#include <QPlainTextEdit>
#include <QtTest>

namespace {

struct Rig : WindowRig {
    QString shown() const
    {
        return w.existingLyricsWindow() ? w.existingLyricsWindow()->lyrics() : "<no window>";
    }
};

} // namespace

class Lyrics : public QObject {
    Q_OBJECT
private slots:
    // The window has a fixed size without a maximise button, and the user cannot type into its text.
    void windowIsFixedAndReadOnly()
    {
        Rig r;
        trigger(r.w, "SeeLyrics");
        frmLyrics *lyrics = r.w.existingLyricsWindow();
        QVERIFY(lyrics && lyrics->isVisible() && !lyrics->parentWidget());
        QCOMPARE(lyrics->minimumSize(), lyrics->maximumSize());
        QVERIFY(!(lyrics->windowFlags() & Qt::WindowMaximizeButtonHint));
        lyrics->setLyrics(QStringLiteral("letra"));
        auto *box = control<QPlainTextEdit>(*lyrics, "txtLyrics");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("xyz"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(lyrics->lyrics(), QStringLiteral("letra"));
    }

    // Hiding keeps the text (and builds the window when there is none); closing discards
    // the window, and the next showing builds it afresh and empty.
    void hideKeepsCloseDiscards()
    {
        Rig r;
        trigger(r.w, "HideLyrics");
        QVERIFY(r.w.existingLyricsWindow() && !r.w.existingLyricsWindow()->isVisible());
        writeLyrics(QStringLiteral("tema.txt"), "letra");
        r.p.state().setSongName(QStringLiteral("tema.mp3"));
        r.p.LoadLyrics();
        trigger(r.w, "SeeLyrics");
        trigger(r.w, "HideLyrics");
        trigger(r.w, "SeeLyrics");
        QCOMPARE(r.shown(), QStringLiteral("letra"));

        r.w.existingLyricsWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!r.w.existingLyricsWindow());
        trigger(r.w, "SeeLyrics");
        QVERIFY(r.w.existingLyricsWindow()->isVisible());
        QCOMPARE(r.shown(), QString());
    }

    // The window marks the line the player follows, and hiding it stops the following.
    void windowMarksTheSungLine()
    {
        Rig r;
        writeLyrics(QStringLiteral("a.lrc"), "[00:01.00]uno\n[00:02.00]dos\n");
        r.fakes.engine.position = 2.5;
        trigger(r.w, "SeeLyrics");
        r.p.state().setSongPath(QStringLiteral("/m/a.mp3"));
        r.p.state().setSongName(QStringLiteral("a.mp3"));
        click(r.w, "cmdPlay");
        QCOMPARE(r.shown(), QStringLiteral("uno\ndos\n"));
        QTRY_COMPARE(r.w.existingLyricsWindow()->markedLine(), qsizetype(1));
        trigger(r.w, "HideLyrics");
        const int asked = r.fakes.engine.positionQueries;
        QTest::qWait(600);
        QCOMPARE(r.fakes.engine.positionQueries, asked);
    }
};

QTEST_MAIN(Lyrics)
#include "lyrics.moc"
