#include "app/playlistbox.h"
#include "playlist/playlistmodel.h"

#include <QSignalSpy>
#include <QtTest>

// The row-click handling runs on userClicked, playing on doubleClicked.
class PlayListBoxTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_model = new PlaylistModel;
        m_model->append({ "/m/a.mp3", "/m/b.mp3", "/m/c.mp3" }, { "a.mp3", "b.mp3", "c.mp3" });
        m_box = new PlayListBox;
        m_box->setModel(m_model);
        m_box->setSelectionMode(QAbstractItemView::SingleSelection);
        m_box->resize(300, 200);
        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box));
        m_clicks = std::make_unique<QSignalSpy>(m_box, &PlayListBox::userClicked);
        m_doubles = std::make_unique<QSignalSpy>(m_box, &QAbstractItemView::doubleClicked);
    }

    void cleanup()
    {
        m_clicks.reset();
        m_doubles.reset();
        delete m_box;
        delete m_model;
    }

    // Every left click on a row counts once, the selected row included; a left double-click
    // counts as one click and one double-click.
    void clicks()
    {
        click(1);
        click(1);
        QCOMPARE(m_clicks->count(), 2);
        click(2);
        QTest::mouseDClick(m_box->viewport(), Qt::LeftButton, {}, centre(2));
        QCOMPARE(m_clicks->count(), 3);
        QCOMPARE(m_doubles->count(), 1);
        QCOMPARE(m_box->selectedRow(), 2);
    }

    // Other buttons and presses below the rows leave the selection as the last click made it.
    void pressesThatPickNothing()
    {
        click(0);
        QTest::mouseClick(m_box->viewport(), Qt::RightButton, {}, centre(2));
        QTest::mouseDClick(m_box->viewport(), Qt::RightButton, {}, centre(0));
        QTest::mouseClick(m_box->viewport(), Qt::LeftButton, {}, QPoint(20, m_box->viewport()->height() - 3));
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(m_doubles->count(), 0);
        QCOMPARE(m_box->selectedRow(), 0);
    }

    // Dragging the selection with the button held counts each row it reaches.
    void drag()
    {
        QTest::mousePress(m_box->viewport(), Qt::LeftButton, {}, centre(0));
        QTest::mouseMove(m_box->viewport(), centre(1));
        QTest::mouseMove(m_box->viewport(), centre(2));
        QTest::mouseRelease(m_box->viewport(), Qt::LeftButton, {}, centre(2));
        QCOMPARE(m_box->selectedRow(), 2);
        QCOMPARE(m_clicks->count(), 3);
    }

    // Each keyboard move counts; a key that moves nothing does not.
    void keys()
    {
        click(0);
        QTest::keyClick(m_box, Qt::Key_Down);
        QTest::keyClick(m_box, Qt::Key_End);
        QTest::keyClick(m_box, Qt::Key_Down);
        QCOMPARE(m_clicks->count(), 3);
        QCOMPARE(m_box->selectedRow(), 2);
    }

    // Selections the program makes, and Qt's own moves after a removal, do not count.
    void programMoves()
    {
        click(1);
        m_box->selectionModel()->setCurrentIndex(m_model->index(2, 0), QItemSelectionModel::ClearAndSelect);
        m_model->remove(2);
        m_model->remove(0);
        m_model->clear();
        QCoreApplication::processEvents();
        QCOMPARE(m_clicks->count(), 1);
    }

private:
    QPoint centre(int row) const { return m_box->visualRect(m_model->index(row)).center(); }
    void click(int row) { QTest::mouseClick(m_box->viewport(), Qt::LeftButton, {}, centre(row)); }

    PlaylistModel *m_model = nullptr;
    PlayListBox *m_box = nullptr;
    std::unique_ptr<QSignalSpy> m_clicks;
    std::unique_ptr<QSignalSpy> m_doubles;
};

QTEST_MAIN(PlayListBoxTest)
#include "playlistbox.moc"
