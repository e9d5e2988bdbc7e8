// A bare Qt Widgets window that starts GStreamer and shows one window.
#include <QApplication>
#include <QWidget>
#include <gst/gst.h>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    gst_init(&argc, &argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.resize(398, 302);
    window.show();
    return app.exec();
}
