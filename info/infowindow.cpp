#include "info/infowindow.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

void setupInfoWindow(QWidget *window, const QSize &clientSize, const QColor &background)
{
    window->setWindowFlags(
        Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFixedSize(clientSize);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, background);
    window->setPalette(palette);
    // Moves over the bare background reach the window only with tracking of its own.
    window->setMouseTracking(true);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), clientSize);
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

void styleInfoLabel(QLabel *label, qreal pointSize, const QRect &geometry)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(pointSize);
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QApplication::palette(label).color(QPalette::Window));
    label->setPalette(palette);
}
