#pragma once

// Stand-ins for the player's outside parts, for the player's and the window's tests only.

#include "playback/mediaengine.h"
#include "player/filedialog.h"
#include "player/messagebox.h"
#include "player/player.h"
#include "playlist/shufflerandom.h"

#include <QHash>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <optional>

// Records every call as a line ("MediaFile /a.mp3", "StartPlayback", "VolumeLevel -500").
// Each operation can be told to fail; a started file counts as playing until stopped.
class FakeEngine : public MediaEngine {
    Q_OBJECT
public:
    QStringList calls;
    QString file;
    bool playing = false;
    bool paused = false;
    bool muted = false;
    std::optional<double> length = 0.0;
    std::optional<double> position; // where the file stands, as the test sets it
    mutable int positionQueries = 0; // how often the player asked where playback stands
    bool seekable = true; // whether the file can be moved within; a seek fails without
    TrackTags tags;
    QStringList failing; // names of operations that report failure
    QStringList queued; // the files the player last told to follow, in order
    QStringList queuedWhenStarted; // those it had told when it last started a file
    QHash<QString, Gain> gains; // how loud each file told was to play

    bool MediaFile(const QString &path) override
    {
        calls << QStringLiteral("MediaFile ") + path;
        if (failing.contains(QLatin1String("MediaFile")))
            return false;
        file = path;
        return true;
    }
    bool StartPlayback() override { return transport("StartPlayback", true, false); }
    bool PausePlayback() override { return transport("PausePlayback", false, true); }
    bool StopPlayback() override { return transport("StopPlayback", false, false); }
    std::optional<bool> MuteState() const override
    {
        if (failing.contains(QLatin1String("MuteState")))
            return std::nullopt;
        return muted;
    }
    bool setMuteState(bool value) override
    {
        calls << QStringLiteral("MuteState %1").arg(value ? "true" : "false");
        if (failing.contains(QLatin1String("MuteState")))
            return false;
        muted = value;
        return true;
    }
    bool VolumeLevel(int level) override
    {
        calls << QStringLiteral("VolumeLevel %1").arg(level);
        return !failing.contains(QLatin1String("VolumeLevel"));
    }
    std::optional<double> MediaLength() override
    {
        calls << QStringLiteral("MediaLength");
        if (failing.contains(QLatin1String("MediaLength")))
            return std::nullopt;
        return length;
    }
    std::optional<double> Position() const override
    {
        ++positionQueries;
        return position;
    }
    bool Seek(double seconds) override
    {
        calls << QStringLiteral("Seek ") + QString::number(seconds);
        if (failing.contains(QLatin1String("Seek")) || !seekable)
            return false;
        position = seconds;
        return true;
    }
    bool CanSeek() const override { return seekable; }
    TrackTags Tags() const override { return tags; }
    void endOfFile() { emit PlaybackEnded(0); }
    void setTags(const TrackTags &value)
    {
        tags = value;
        emit TagsChanged();
    }
    void QueueNext(const QStringList &paths) override { queued = paths; }
    void setGain(const QString &path, Gain gain) override { gains[path] = gain; }
    // The first file told to follow is heard: it becomes the file the engine plays.
    void queuedFileStarts()
    {
        file = queued.value(0);
        if (!queued.isEmpty())
            queued.removeFirst();
        emit QueuedFileStarted();
    }

private:
    bool transport(const char *name, bool play, bool pause)
    {
        calls << QString::fromLatin1(name);
        if (play)
            queuedWhenStarted = queued;
        if (failing.contains(QLatin1String(name)) || (play && file.isEmpty()))
            return false;
        playing = play;
        paused = pause;
        return true;
    }
};

// Answers each showing with the next scripted path, or a cancel when the script is empty
// or holds an empty path. Records the properties it was shown with.
class FakeDialog : public FileDialog {
public:
    std::deque<QString> answers;
    QStringList shown; // "open <InitDir>" or "save <InitDir>"
    QString lastFilter;
    qint16 lastFlags = 0;
    int chosenFilter = 1; // the filter entry each confirmed answer is given with
    QStringList lastExtensions;

    void ShowOpen() override { answer(QStringLiteral("open ")); }
    void ShowSave() override { answer(QStringLiteral("save ")); }

private:
    void answer(const QString &kind)
    {
        shown << kind + InitDir;
        lastFilter = Filter;
        lastFlags = Flags;
        lastExtensions = DefaultExtensions;
        if (answers.empty())
            return;
        const QString path = answers.front();
        answers.pop_front();
        if (path.isEmpty())
            return;
        FileName = path;
        FilterIndex = chosenFilter;
        FileTitle = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    }
};

class FakeMessages : public MessageBox {
public:
    QStringList shown; // "title: text"
    void error(const QString &text, const QString &title) override
    {
        shown << title + QStringLiteral(": ") + text;
    }
};

// The outside parts of the player, as fakes.
struct FakeParts {
    FakeEngine engine;
    FakeDialog cmdlg;
    FakeDialog common;
    FakeMessages messages;
    std::optional<float> fixedRandom;

    // The draw is read as the player shuffles, so a test may fix it at any time.
    PlayerParts parts()
    {
        return { &engine, &cmdlg, &common, &messages,
            [this] { return fixedRandom ? *fixedRandom : clockRandom(); } };
    }
};
