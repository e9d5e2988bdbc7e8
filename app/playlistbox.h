#pragma once

#include <QListView>

// The visible playlist. userClicked is raised once for each click of the user on a row
// (the selected row included), for each row the mouse drags the selection onto and for
// each keyboard move of the selection, but never when Qt moves the selection by itself,
// as it does after a row is removed. Presses away from the rows and with other buttons
// leave the selection alone, so the highlighted row is always one the click handling saw.
class PlayListBox : public QListView {
    Q_OBJECT
public:
    using QListView::QListView;

    // The highlighted row, or -1.
    int selectedRow() const;

signals:
    void userClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
