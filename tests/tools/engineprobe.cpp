// Drives the real engine from lines on standard input, one command a line, and answers each
// on standard output; "ended" is printed whenever the engine raises the end of a file, and
// "started" when a queued file is heard.
//
//   file <path>   -> ok | fail
//   next <path>[|<path>...] -> ok   (the files to follow the one named, in order)
//   start         -> ok <milliseconds> <length seconds|none> | fail <milliseconds>
//   pause, stop   -> ok | fail
//   volume <n>    -> ok | fail
//   mute <0|1>    -> ok | fail
//   position      -> position <seconds|none>
//   quit
//
// Usage: engineprobe [audio sink description]

#include "playback/gstreamer/gstengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString okOrFail(bool ok)
{
    return ok ? QStringLiteral("ok") : QStringLiteral("fail");
}

QString seconds(std::optional<double> value)
{
    return value ? QString::number(*value, 'f', 3) : QStringLiteral("none");
}

QString start(GstEngine &engine)
{
    QElapsedTimer clock;
    clock.start();
    const bool ok = engine.StartPlayback();
    const auto length = engine.MediaLength();
    const QString ms = QString::number(clock.nsecsElapsed() / 1e6, 'f', 1);
    return ok ? QStringLiteral("ok %1 %2").arg(ms, seconds(length)) : QStringLiteral("fail ") + ms;
}

void run(GstEngine &engine, const QString &line)
{
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString argument = line.section(QLatin1Char(' '), 1);
    if (command == QLatin1String("file"))
        say(okOrFail(engine.MediaFile(argument)));
    else if (command == QLatin1String("next")) {
        engine.QueueNext(argument.split(QLatin1Char('|'), Qt::SkipEmptyParts));
        say(QStringLiteral("ok"));
    } else if (command == QLatin1String("start"))
        say(start(engine));
    else if (command == QLatin1String("pause"))
        say(okOrFail(engine.PausePlayback()));
    else if (command == QLatin1String("stop"))
        say(okOrFail(engine.StopPlayback()));
    else if (command == QLatin1String("volume"))
        say(okOrFail(engine.VolumeLevel(argument.toInt())));
    else if (command == QLatin1String("mute"))
        say(okOrFail(engine.setMuteState(argument == QLatin1String("1"))));
    else if (command == QLatin1String("position"))
        say(QStringLiteral("position ") + seconds(engine.Position()));
    else if (command == QLatin1String("quit"))
        QCoreApplication::quit();
    else
        say(QStringLiteral("unknown ") + command);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    GstEngine engine(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    QObject::connect(&engine, &MediaEngine::PlaybackEnded, &app, [] { say(QStringLiteral("ended")); });
    QObject::connect(&engine, &MediaEngine::QueuedFileStarted, &app, [] { say(QStringLiteral("started")); });

    // Standard input is read on a thread of its own; each line is run on the UI thread, where
    // the player drives the engine.
    std::thread reader([&engine] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const QString text = QString::fromStdString(line).trimmed();
            QMetaObject::invokeMethod(
                &engine, [&engine, text] { run(engine, text); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    reader.detach();
    return app.exec();
}
