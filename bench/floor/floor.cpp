// A bare Qt Widgets window that starts GStreamer and shows one window: the benchmarks' floor.
//   floor               the window alone
//   floor --text        the window showing one line of text, to tell what drawing text costs
//   floor --play FILE   the file prerolled in a playbin before the window shows; a button
//                       on the window's upper half sets it playing, and the next press stops
//                       it and prerolls it again at its start, so every press plays a ready
//                       file; a button on the lower half does nothing, so that a first press
//                       there pays what a program's first click costs
//   floor --play-now FILE  the file set playing as soon as the window is shown
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <gst/gst.h>

namespace {

GstElement *prerolled(const QString &path)
{
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    g_object_set(
        playbin, "flags", 0x2 | 0x10, "uri", QUrl::fromLocalFile(path).toEncoded().constData(), nullptr);
    gst_element_set_state(playbin, GST_STATE_PAUSED);
    gst_element_get_state(playbin, nullptr, nullptr, GST_CLOCK_TIME_NONE);
    return playbin;
}

void toggle(GstElement *playbin)
{
    GstState state = GST_STATE_NULL;
    gst_element_get_state(playbin, &state, nullptr, 0);
    if (state != GST_STATE_PLAYING) {
        gst_element_set_state(playbin, GST_STATE_PLAYING);
        return;
    }
    gst_element_set_state(playbin, GST_STATE_PAUSED);
    gst_element_seek_simple(playbin, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH), 0);
    gst_element_get_state(playbin, nullptr, nullptr, GST_CLOCK_TIME_NONE);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    gst_init(&argc, &argv);
    const QStringList arguments = app.arguments();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.resize(398, 302);
    if (arguments.contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Velumo"), &window))->move(10, 10);
    const qsizetype play = arguments.indexOf(QStringLiteral("--play"));
    if (play > 0 && play + 1 < arguments.size()) {
        GstElement *playbin = prerolled(arguments.at(play + 1));
        auto *button = new QPushButton(QStringLiteral("Empezar"), &window);
        button->setGeometry(0, 0, 398, 151);
        QObject::connect(button, &QPushButton::clicked, [playbin] { toggle(playbin); });
        (new QPushButton(QStringLiteral("Nada"), &window))->setGeometry(0, 151, 398, 151);
    }
    const qsizetype playNow = arguments.indexOf(QStringLiteral("--play-now"));
    if (playNow > 0 && playNow + 1 < arguments.size()) {
        const QByteArray uri = QUrl::fromLocalFile(arguments.at(playNow + 1)).toEncoded();
        QTimer::singleShot(0, [uri] {
            GstElement *playbin = gst_element_factory_make("playbin", nullptr);
            g_object_set(playbin, "flags", 0x2 | 0x10, "uri", uri.constData(), nullptr);
            gst_element_set_state(playbin, GST_STATE_PLAYING);
        });
    }
    window.show();
    return app.exec();
}
