#pragma once

#include <QLabel>

// A label that answers a click of its own: a press and a release of the left button, both
// on the label.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

// A web link: blue at rest, red under the pointer and after a click. Its window turns it
// blue again with rest() when the pointer moves over the window's bare background; the
// window needs mouse tracking of its own for that, as moves over this label stay here.
class LinkLabel : public ClickLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

    void rest();
    void highlight();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setTextColour(const QColor &colour);
};
