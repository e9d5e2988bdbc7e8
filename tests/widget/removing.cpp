#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class Removing : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
        m_fakes = std::make_unique<FakePlatform>();
        m_core = std::make_unique<Player>(m_fakes->parts());
        m_w = std::make_unique<frmMP3>(*m_core, windowParts(*m_fakes));
        fillPlaylist(*m_w, { "/m/t0.mp3", "/m/t1.mp3", "/m/t2.mp3", "/m/t3.mp3", "/m/t4.mp3" });
    }

    void cleanup()
    {
        m_w.reset();
        m_core.reset();
        m_fakes.reset();
    }

    // The clicked entry goes; the current track is forgotten, and Qt's move of the selection
    // to a neighbour neither makes it current nor lets a second press remove it.
    void clickedEntryGoes()
    {
        showWindow();
        clickRow(2);
        click(*m_w, "cmdPlay");
        QCOMPARE(labelText(*m_w, "LblSongName"), QStringLiteral("t2.mp3"));
        click(*m_w, "cmdDelete");
        QCoreApplication::processEvents();
        QCOMPARE(m_w->player().playlist().names(), (QStringList { "t0.mp3", "t1.mp3", "t3.mp3", "t4.mp3" }));
        QCOMPARE(m_w->player().playlist().pathAt(2), QStringLiteral("/m/t3.mp3"));
        QCOMPARE(m_w->player().state().SongIndex(), qint16(0));
        QCOMPARE(m_w->player().state().SongPath(), QString());
        QCOMPARE(labelText(*m_w, "LblSongName"), QString());
        QCOMPARE(highlightedRow(*m_w), -1);
        trigger(*m_w, "Delete");
        QCOMPARE(m_w->player().playlist().count(), 4);
    }

    // The search starts at the current index: an entry above it needs a second press.
    void entryAboveTheIndexNeedsTwoPresses()
    {
        showWindow();
        clickRow(1);
        m_w->player().state().setSongIndex(3);
        m_w->player().cmdDelete_Click();
        QCOMPARE(m_w->player().playlist().count(), 5);
        QCOMPARE(m_w->player().state().SongIndex(), qint16(0));
        QCOMPARE(m_w->player().state().SongPath(), QString());
        m_w->player().cmdDelete_Click();
        QCOMPARE(m_w->player().playlist().names(), (QStringList { "t0.mp3", "t2.mp3", "t3.mp3", "t4.mp3" }));
    }

    void nothingToRemove_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("index");
        QTest::newRow("none selected") << 5 << 1;
        QTest::newRow("index past the end") << 5 << 7;
        QTest::newRow("index below 0") << 5 << -1;
        QTest::newRow("empty list") << 0 << 4;
    }

    // With nothing selected, or an index outside the list, nothing is removed but the
    // current track is forgotten and the index goes to 0.
    void nothingToRemove()
    {
        QFETCH(int, rows);
        QFETCH(int, index);
        if (rows == 0)
            m_w->player().playlist().clear();
        m_w->player().state().setSongIndex(index);
        m_w->player().state().setSongPath(QStringLiteral("/m/t1.mp3"));
        m_w->player().state().setShownSongName(QStringLiteral("t1.mp3"));
        m_w->player().cmdDelete_Click();
        QCOMPARE(m_w->player().playlist().count(), rows);
        QCOMPARE(m_w->player().state().SongIndex(), qint16(0));
        QCOMPARE(m_w->player().state().SongPath(), QString());
        QCOMPARE(labelText(*m_w, "LblSongName"), QString());
    }

    // "Borrar Todo" empties the list and forgets the path, keeps the index and the name,
    // and lets the sound play on.
    void removeAll()
    {
        m_w->player().state().setSongIndex(3);
        m_w->player().state().setSongPath(QStringLiteral("/m/t3.mp3"));
        m_w->player().state().setSongName(QStringLiteral("t3.mp3"));
        m_w->player().cmdPlay_Click();
        m_fakes->engine.calls.clear();
        click(*m_w, "cmdDelAll");
        QCOMPARE(m_w->player().playlist().count(), 0);
        QCOMPARE(m_w->player().state().SongPath(), QString());
        QCOMPARE(labelText(*m_w, "LblSongName"), QString());
        QCOMPARE(m_w->player().state().SongIndex(), qint16(3));
        QCOMPARE(m_w->player().state().SongName(), QStringLiteral("t3.mp3"));
        QVERIFY(m_fakes->engine.calls.isEmpty());
        QCOMPARE(m_w->player().state().playback(), PlayerState::Playback::Playing);
    }

    // On an empty list "Borrar Todo" leaves even the label and the path alone.
    void removeAllOfNothing()
    {
        m_w->player().playlist().clear();
        m_w->player().state().setShownSongName(QStringLiteral("t1.mp3"));
        m_w->player().state().setSongPath(QStringLiteral("/m/t1.mp3"));
        m_w->player().cmdDelAll_Click();
        QCOMPARE(labelText(*m_w, "LblSongName"), QStringLiteral("t1.mp3"));
        QCOMPARE(m_w->player().state().SongPath(), QStringLiteral("/m/t1.mp3"));
    }

private:
    void showWindow()
    {
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }
    void clickRow(int row)
    {
        PlayListBox *view = playlistView(*m_w);
        const QPoint centre = view->visualRect(m_w->player().playlist().index(row)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    }

    QTemporaryDir m_folder;
    std::unique_ptr<FakePlatform> m_fakes;
    std::unique_ptr<Player> m_core;
    std::unique_ptr<frmMP3> m_w;
};

QTEST_MAIN(Removing)
#include "removing.moc"
