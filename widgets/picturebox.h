#pragma once

#include <QImage>
#include <QWidget>

// A picture area that stretches whatever picture it holds to its own size.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    void setPicture(const QImage &picture);
    bool hasPicture() const { return !m_picture.isNull(); }
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
