#include "playlist/playlistbox.h"

#include <QSignalSpy>
#include <QtTest>

class PlayListBoxTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_box = new PlayListBox;
        m_box->setSelectionMode(QAbstractItemView::SingleSelection);
        m_box->resize(300, 200);
        m_box->addItems({ "/m/a.mp3", "/m/b.mp3", "/m/c.mp3" });
        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box));
        m_clicks = std::make_unique<QSignalSpy>(m_box, &PlayListBox::userClicked);
    }

    void cleanup()
    {
        m_clicks.reset();
        delete m_box;
    }

    // Every left click on a row counts, the selected row included; a double-click counts as
    // one click and one double-click.
    void clicks()
    {
        click(1);
        click(1);
        QCOMPARE(m_clicks->count(), 2);
        QSignalSpy doubles(m_box, &QListWidget::itemDoubleClicked);
        click(2);
        QTest::mouseDClick(m_box->viewport(), Qt::LeftButton, {}, centre(2));
        QCOMPARE(m_clicks->count(), 3);
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(m_box->currentRow(), 2);
    }

    // Other buttons and presses below the rows leave the selection as the last click made it.
    void pressesThatPickNothing()
    {
        click(0);
        QSignalSpy doubles(m_box, &QListWidget::itemDoubleClicked);
        QTest::mouseClick(m_box->viewport(), Qt::RightButton, {}, centre(2));
        QTest::mouseDClick(m_box->viewport(), Qt::RightButton, {}, centre(0));
        QTest::mouseClick(m_box->viewport(), Qt::LeftButton, {}, QPoint(20, m_box->viewport()->height() - 3));
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(doubles.count(), 0);
        QVERIFY(m_box->item(0)->isSelected());
    }

    // Dragging the selection with the button held counts each row it reaches.
    void drag()
    {
        QTest::mousePress(m_box->viewport(), Qt::LeftButton, {}, centre(0));
        QTest::mouseMove(m_box->viewport(), centre(1));
        QTest::mouseMove(m_box->viewport(), centre(2));
        QTest::mouseRelease(m_box->viewport(), Qt::LeftButton, {}, centre(2));
        QVERIFY(m_box->item(2)->isSelected());
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
        QVERIFY(m_box->item(2)->isSelected());
    }

    // Selections the program makes, and Qt's own moves after a removal, do not count.
    void programMoves()
    {
        click(1);
        m_box->setCurrentRow(2);
        delete m_box->takeItem(2);
        m_box->clear();
        QCoreApplication::processEvents();
        QCOMPARE(m_clicks->count(), 1);
    }

private:
    QPoint centre(int row) const { return m_box->visualItemRect(m_box->item(row)).center(); }
    void click(int row) { QTest::mouseClick(m_box->viewport(), Qt::LeftButton, {}, centre(row)); }

    PlayListBox *m_box = nullptr;
    std::unique_ptr<QSignalSpy> m_clicks;
};

QTEST_MAIN(PlayListBoxTest)
#include "playlistbox.moc"
