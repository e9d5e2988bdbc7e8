#pragma once

#include <QString>
#include <QStringList>

// A file dialog that keeps its properties from one showing to the next, within one run.
// ShowOpen and ShowSave return when the user has closed the dialog. On a confirmed choice
// FileName holds the full path and FileTitle the name without folder; on a cancel FileName
// keeps the value it had, so callers set it to "" first.
class FileDialog {
public:
    virtual ~FileDialog() = default;

    QString FileName;
    // Description and pattern pairs separated by '|': "MP3 Files(*.mp3)|*.mp3|...".
    QString Filter;
    QString InitDir;
    // A flag word some callers set before opening; nothing depends on it.
    qint16 Flags = 0;
    QString FileTitle;
    // The filter entry the user had chosen on a confirmed choice, counted from 1 as the pairs
    // of Filter are written.
    int FilterIndex = 1;
    // For ShowSave: the extension (without its dot) given to a name typed without one while the
    // filter entry i + 1 is picked, before the dialog asks about replacing a file of that name;
    // "" or an entry past the list's end gives none.
    QStringList DefaultExtensions;

    virtual void ShowOpen() = 0;
    virtual void ShowSave() = 0;
};
