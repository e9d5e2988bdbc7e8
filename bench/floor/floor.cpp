// A bare Qt Widgets window that starts GStreamer and shows one window. With --text the window
// also shows one line of text, to tell what drawing any text at all costs.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <gst/gst.h>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    gst_init(&argc, &argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.resize(398, 302);
    if (app.arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Velumo"), &window))->move(10, 10);
    window.show();
    return app.exec();
}
