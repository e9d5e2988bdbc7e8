#include "extras/frmLyrics.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

class Lyrics : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
        setProgramFolder(m_folder->path());
        QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("Lyrics")));
        m_fakes.emplace();
        m_core.emplace(m_fakes->parts());
        m_window.emplace(*m_core, windowParts(*m_fakes));
    }
    void cleanup()
    {
        m_window.reset();
        m_core.reset();
        m_fakes.reset();
    }

    // Play empties the window first, so a track without lyrics never shows the last track's.
    void playEmptiesTheWindow()
    {
        write(QStringLiteral("a.txt"), "letra de a");
        play(QStringLiteral("a.mp3"));
        QCOMPARE(shown(), QStringLiteral("letra de a"));
        play(QStringLiteral("sin letra.mp3"));
        QCOMPARE(shown(), QString());
    }

    // The window has a fixed size without a maximise button, and the user cannot type into its text.
    void windowIsFixedAndReadOnly()
    {
        trigger(*m_window, "SeeLyrics");
        frmLyrics *lyrics = m_window->existingLyricsWindow();
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
        trigger(*m_window, "HideLyrics");
        QVERIFY(m_window->existingLyricsWindow() && !m_window->existingLyricsWindow()->isVisible());
        write(QStringLiteral("tema.txt"), "letra");
        m_window->player().state().setSongName(QStringLiteral("tema.mp3"));
        m_window->player().LoadLyrics();
        trigger(*m_window, "SeeLyrics");
        trigger(*m_window, "HideLyrics");
        trigger(*m_window, "SeeLyrics");
        QCOMPARE(shown(), QStringLiteral("letra"));

        m_window->existingLyricsWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m_window->existingLyricsWindow());
        trigger(*m_window, "SeeLyrics");
        QVERIFY(m_window->existingLyricsWindow()->isVisible());
        QCOMPARE(shown(), QString());
    }

    // A .lrc shows its lines without tags, and while the track plays the line at the engine's
    // position is marked; a pause keeps the mark and stops asking, a stop clears it, and the
    // track played again starts over from its first line.
    void timedLyricsFollowThePosition()
    {
        write(QStringLiteral("a.lrc"), "[ti:Tema]\n[00:01.00]uno\n[00:02.00]dos\n[00:03.00]tres\n");
        trigger(*m_window, "SeeLyrics");
        FakeEngine &engine = m_fakes->engine;
        engine.position = 0.5;
        play(QStringLiteral("a.mp3"));
        QCOMPARE(shown(), QStringLiteral("uno\ndos\ntres\n"));
        QTRY_VERIFY(engine.positionQueries > 0);
        QVERIFY(!marked());
        engine.position = 2.5;
        QTRY_COMPARE(marked(), qsizetype(1));

        click(*m_window, "cmdPause");
        QVERIFY(!askedWithin(600));
        QCOMPARE(marked(), qsizetype(1));
        engine.position = 3.5;
        click(*m_window, "cmdPause");
        QTRY_COMPARE(marked(), qsizetype(2));

        click(*m_window, "cmdStop");
        QVERIFY(!marked());
        QVERIFY(!askedWithin(600));

        engine.position = 1.2;
        click(*m_window, "cmdPlay");
        QTRY_COMPARE(marked(), qsizetype(0));
    }

    // The engine is never asked while the lyrics window is hidden, nor for a track whose
    // lyrics have no times: a .txt beside the .lrc wins, and a track with no .lrc follows
    // nothing even after one that had.
    void noQuestionsWithNothingToMark()
    {
        write(QStringLiteral("timed.lrc"), "[00:00.00]uno\n");
        write(QStringLiteral("both.lrc"), "[00:00.00]con tiempo\n");
        write(QStringLiteral("both.txt"), "sin tiempo");
        FakeEngine &engine = m_fakes->engine;
        engine.position = 0.5;
        fillPlaylist(*m_window, { "/m/timed.mp3", "/m/both.mp3", "/m/plain.mp3" });
        m_window->player().state().setSongPath(QStringLiteral("/m/timed.mp3"));
        m_window->player().state().setSongName(QStringLiteral("timed.mp3"));
        trigger(*m_window, "Play");
        QVERIFY(!askedWithin(600));
        trigger(*m_window, "SeeLyrics");
        QTRY_COMPARE(marked(), qsizetype(0));
        trigger(*m_window, "HideLyrics");
        QVERIFY(!askedWithin(600));
        trigger(*m_window, "SeeLyrics");

        trigger(*m_window, "Forward");
        QCOMPARE(shown(), QStringLiteral("sin tiempo"));
        QVERIFY(!askedWithin(600));
        engine.endOfFile();
        QCOMPARE(m_window->player().state().SongIndex(), qint16(2));
        QVERIFY(!askedWithin(600));
    }

private:
    // Whether the player asks the engine where the track stands within ms milliseconds.
    bool askedWithin(int ms)
    {
        const int before = m_fakes->engine.positionQueries;
        QTest::qWait(ms);
        return m_fakes->engine.positionQueries != before;
    }

    std::optional<qsizetype> marked() const
    {
        const frmLyrics *lyrics = m_window->existingLyricsWindow();
        return lyrics ? lyrics->markedLine() : std::nullopt;
    }

    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(besideProgram(QStringLiteral("Lyrics/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void play(const QString &name)
    {
        m_window->player().state().setSongPath(QStringLiteral("/m/") + name);
        m_window->player().state().setSongName(name);
        m_window->player().cmdPlay_Click();
    }

    QString shown() const
    {
        const frmLyrics *lyrics = m_window->existingLyricsWindow();
        return lyrics ? lyrics->lyrics() : QStringLiteral("<no window>");
    }

    std::optional<QTemporaryDir> m_folder;
    std::optional<FakePlatform> m_fakes;
    std::optional<Player> m_core;
    std::optional<frmMP3> m_window;
};

QTEST_MAIN(Lyrics)
#include "lyrics.moc"
