#pragma once

#include <QListWidget>

// The visible playlist. userClicked is raised once for each click of the user on a row
// (the selected row included) and for each keyboard move of the selection, but never
// when Qt moves the selection by itself, as it does after a row is removed.
class PlayListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

signals:
    void userClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
