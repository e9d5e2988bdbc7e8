#include "app/programfolder.h"
#include "fakes.h"
#include "playlist/playlistbox.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
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
        m_w = std::make_unique<frmMP3>(m_fakes->platform());
        m_fakes->engine.calls.clear();
    }

    void cleanup()
    {
        m_w.reset();
        m_fakes.reset();
    }

    // A clicked entry goes at once from both lists; the current track is forgotten and
    // Qt's move of the selection to a neighbour does not make that neighbour current.
    void clickedEntryGoes()
    {
        fill(5);
        showWindow();
        clickRow(2);
        QCOMPARE(m_w->SongIndex, qint16(2));
        QTest::mouseClick(m_w->cmdDelete, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(paths(), (QStringList { "/m/t0.mp3", "/m/t1.mp3", "/m/t3.mp3", "/m/t4.mp3" }));
        QCOMPARE(names(), (QStringList { "t0.mp3", "t1.mp3", "t3.mp3", "t4.mp3" }));
        QCOMPARE(m_w->SongIndex, qint16(0));
        QCOMPARE(m_w->SongPath, QString());
        QCOMPARE(m_w->LblSongName->text(), QString());

        // With nothing highlighted a second press removes nothing more.
        m_w->Delete->trigger();
        QCOMPARE(m_w->rowCount(), 4);
    }

    // The search starts at the current index: an entry above it needs a second press.
    void entryAboveTheIndexNeedsTwoPresses()
    {
        fill(5);
        showWindow();
        clickRow(1);
        m_w->SongIndex = 3;
        m_w->cmdDelete_Click();
        QCOMPARE(m_w->rowCount(), 5);
        QCOMPARE(m_w->SongIndex, qint16(0));
        QCOMPARE(m_w->SongPath, QString());
        m_w->cmdDelete_Click();
        QCOMPARE(names(), (QStringList { "t0.mp3", "t2.mp3", "t3.mp3", "t4.mp3" }));
    }

    // The keyboard picks an entry just as the mouse does.
    void keyboardPick()
    {
        fill(5);
        showWindow();
        clickRow(0);
        QSignalSpy clicks(m_w->PlayList, &PlayListBox::userClicked);
        QTest::keyClick(m_w->PlayList, Qt::Key_Down);
        QTest::keyClick(m_w->PlayList, Qt::Key_Down);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(m_w->SongIndex, qint16(2));
        QCOMPARE(m_w->SongPath, QStringLiteral("/m/t2.mp3"));
        m_w->cmdDelete_Click();
        QCOMPARE(names(), (QStringList { "t0.mp3", "t1.mp3", "t3.mp3", "t4.mp3" }));
    }

    // Removing from the program never counts as a click on the row that moves up.
    void removalIsNoClick()
    {
        fill(3);
        showWindow();
        clickRow(1);
        QSignalSpy clicks(m_w->PlayList, &PlayListBox::userClicked);
        m_w->removeEntry(1);
        m_w->PlayList->setCurrentRow(0);
        QCoreApplication::processEvents();
        QCOMPARE(clicks.count(), 0);
    }

    // With nothing selected, or an index outside the list, nothing is removed but the
    // current track is forgotten and the index goes to 0.
    void nothingToRemove_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("index");
        QTest::newRow("five entries, none selected") << 5 << 1;
        QTest::newRow("index past the end") << 5 << 7;
        QTest::newRow("index below 0") << 5 << -1;
        QTest::newRow("empty list") << 0 << 4;
    }
    void nothingToRemove()
    {
        QFETCH(int, rows);
        QFETCH(int, index);
        fill(rows);
        m_w->SongIndex = index;
        m_w->SongPath = QStringLiteral("/m/t1.mp3");
        m_w->LblSongName->setText(QStringLiteral("t1.mp3"));
        m_w->cmdDelete_Click();
        QCOMPARE(m_w->rowCount(), rows);
        QCOMPARE(m_w->NameList->count(), rows);
        QCOMPARE(m_w->SongIndex, qint16(0));
        QCOMPARE(m_w->SongPath, QString());
        QCOMPARE(m_w->LblSongName->text(), QString());
    }

    // Removing everything empties both lists and forgets the path, keeps the index and
    // the name, and lets the sound play on.
    void removeAll()
    {
        fill(5);
        m_w->selectRow(3);
        m_w->cmdPlay_Click();
        m_fakes->engine.calls.clear();
        QTest::mouseClick(m_w->cmdDelAll, Qt::LeftButton);
        QCOMPARE(m_w->rowCount(), 0);
        QCOMPARE(m_w->NameList->count(), 0);
        QCOMPARE(m_w->SongPath, QString());
        QCOMPARE(m_w->LblSongName->text(), QString());
        QCOMPARE(m_w->SongIndex, qint16(3));
        QCOMPARE(m_w->SongName, QStringLiteral("t3.mp3"));
        QVERIFY(m_fakes->engine.calls.isEmpty());
        QVERIFY(m_w->Timer->isActive());
    }

    // On an empty list "Borrar Todo" leaves even the label alone.
    void removeAllOfNothing()
    {
        m_w->LblSongName->setText(QStringLiteral("t1.mp3"));
        m_w->SongPath = QStringLiteral("/m/t1.mp3");
        m_w->cmdDelAll_Click();
        QCOMPARE(m_w->LblSongName->text(), QStringLiteral("t1.mp3"));
        QCOMPARE(m_w->SongPath, QStringLiteral("/m/t1.mp3"));
    }

private:
    void fill(int rows)
    {
        for (int row = 0; row < rows; ++row)
            m_w->appendEntry(QStringLiteral("/m/t%1.mp3").arg(row), QStringLiteral("t%1.mp3").arg(row));
    }
    void showWindow()
    {
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }
    void clickRow(int row)
    {
        const QPoint centre = m_w->PlayList->visualItemRect(m_w->PlayList->item(row)).center();
        QTest::mouseClick(m_w->PlayList->viewport(), Qt::LeftButton, {}, centre);
    }
    QStringList paths() const
    {
        QStringList out;
        for (int row = 0; row < m_w->rowCount(); ++row)
            out << m_w->pathAt(row);
        return out;
    }
    QStringList names() const
    {
        QStringList out;
        for (int row = 0; row < m_w->NameList->count(); ++row)
            out << m_w->nameAt(row);
        return out;
    }

    QTemporaryDir m_folder;
    std::unique_ptr<FakePlatform> m_fakes;
    std::unique_ptr<frmMP3> m_w;
};

QTEST_MAIN(Removing)
#include "removing.moc"
