#pragma once

// Short media files made at test time with the usual command-line tools, so the engine tests
// play real files of every kind the player accepts.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

namespace mediafiles {

inline bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

inline QString wav(const QDir &dir, const QString &name, double seconds, int frequency)
{
    const QString path = dir.filePath(name);
    const bool made = run(QStringLiteral("sox"),
        { QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
            QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"), path, QStringLiteral("synth"),
            QString::number(seconds), QStringLiteral("sine"), QString::number(frequency) });
    return made ? path : QString();
}

// withLengthHeader false leaves out the frame that tells the MP3's length up front.
inline QString mp3(const QDir &dir, const QString &name, double seconds, int frequency, bool withLengthHeader)
{
    const QString source = wav(dir, name + QStringLiteral(".source.wav"), seconds, frequency);
    const QString path = dir.filePath(name);
    QStringList arguments { QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128") };
    if (!withLengthHeader)
        arguments << QStringLiteral("-t");
    arguments << source << path;
    return !source.isEmpty() && run(QStringLiteral("lame"), arguments) ? path : QString();
}

// A file made by ffmpeg from the given inputs, codecs and tags, of the kind the name's
// extension asks for.
inline QString ffmpeg(const QDir &dir, const QString &name, const QStringList &arguments)
{
    const QString path = dir.filePath(name);
    const QStringList quiet { QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y") };
    return run(QStringLiteral("ffmpeg"), quiet + arguments + QStringList { path }) ? path : QString();
}

// An MPEG-1 program stream with a black picture and an MP2 tone.
inline QString mpg(const QDir &dir, const QString &name, double seconds, int frequency)
{
    return ffmpeg(dir, name,
        QStringLiteral("-f lavfi -i sine=f=%1:d=%2 -f lavfi -i color=c=black:s=64x48:d=%2 -c:v mpeg1video "
                       "-c:a mp2 -f vob")
            .arg(frequency)
            .arg(seconds)
            .split(QLatin1Char(' ')));
}

// A tone encoded by ffmpeg with the codec and container that the name's extension asks for
// ("flac", "ogg" with Vorbis, "opus", "m4a" and "aac" with AAC, "wma").
inline QString encoded(const QDir &dir, const QString &name, double seconds, int frequency)
{
    return ffmpeg(dir, name,
        QStringLiteral("-f lavfi -i sine=f=%1:d=%2 -ac 2")
            .arg(frequency)
            .arg(seconds)
            .split(QLatin1Char(' ')));
}

// A tone of 48 kHz mono cut at sample split into first.<kind> and second.<kind>, which end
// at sample samples, in the codec and container that ffmpeg makes of the extension.
inline QStringList splitTone(const QDir &dir, const QString &kind, int frequency, int split, int samples)
{
    const auto part = [&](const char *name, int from, int to) {
        return ffmpeg(dir, QLatin1String(name) + u'.' + kind,
            QStringLiteral("-f lavfi -i sine=f=%1:r=48000:d=2 -af "
                           "atrim=start_sample=%2:end_sample=%3,asetpts=PTS-STARTPTS")
                .arg(frequency)
                .arg(from)
                .arg(to)
                .split(QLatin1Char(' ')));
    };
    return { part("first", 0, split), part("second", split, samples) };
}

inline QByteArray bigEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
    return out;
}

inline QByteArray variableLength(quint32 value)
{
    QByteArray out(1, char(value & 0x7f));
    while (value >>= 7)
        out.prepend(char(0x80 | (value & 0x7f)));
    return out;
}

// A Standard MIDI File of one track holding one note on a flute, whose sound is nearly a
// pure tone. At the default tempo of 120 beats a minute, 960 ticks a second.
inline QString midi(const QDir &dir, const QString &name, double seconds, int note)
{
    const int ticksPerBeat = 480;
    QByteArray track;
    track += variableLength(0) + QByteArray("\xC0\x49", 2);
    track += variableLength(0) + QByteArray(1, '\x90') + char(note) + char(100);
    track
        += variableLength(quint32(seconds * 2 * ticksPerBeat)) + QByteArray(1, '\x80') + char(note) + char(0);
    track += variableLength(0) + QByteArray("\xFF\x2F\x00", 3);

    QByteArray file("MThd");
    file += bigEndian(6, 4) + bigEndian(0, 2) + bigEndian(1, 2) + bigEndian(ticksPerBeat, 2);
    file += QByteArray("MTrk") + bigEndian(quint32(track.size()), 4) + track;

    const QString path = dir.filePath(name);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        return QString();
    return path;
}

// An ID3v2.3 tag holding only a title stored as ISO-8859-1, as older taggers write it. The
// tag is too small for its size to need the 7-bit encoding.
inline QByteArray latin1Id3Tag(const QByteArray &latin1Title)
{
    const QByteArray frame
        = QByteArray("TIT2") + bigEndian(latin1Title.size() + 1, 4) + QByteArray(3, '\0') + latin1Title;
    return QByteArray("ID3\x03\x00\x00", 6) + bigEndian(frame.size(), 4) + frame;
}

inline QString bytes(const QDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
        return QString();
    return path;
}

} // namespace mediafiles
