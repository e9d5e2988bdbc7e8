#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A lyrics file is shown up to its first mebibyte, so a huge file cannot exhaust memory
// or freeze the window.
constexpr qint64 maxLyricsBytes = 1024 * 1024;

// The text box lays out a line with nowhere to wrap in time that grows with the square of
// its length (a mebibyte takes minutes), so longer lines are shown broken at this length.
constexpr qsizetype maxLyricsLine = 4096;

// The lyrics base name of a track: its display name less its last four characters (the
// extension and its dot), whatever they are; a track of a newer kind loses its extension,
// however long. Nothing when the name is shorter than four.
std::optional<QString> lyricsBaseName(const QString &songName);

// The lyrics file of a base name: "<base>.txt" in the Lyrics folder beside the program.
QString lyricsPath(const QString &baseName);

// The timed lyrics file of a base name: "<base>.lrc" in the same folder.
QString timedLyricsPath(const QString &baseName);

// The text of a lyrics file as the text box shows it: at most maxLyricsBytes of it, CR LF
// and CR line ends turned into the box's own, lines longer than maxLyricsLine broken. Nothing
// when it is missing, unreadable or not a regular file.
std::optional<QString> readLyrics(const QString &path);

// Decodes the bytes read from a lyrics file, deciding for the whole file: UTF-8 or UTF-16
// (either order) when it starts with their byte-order mark, otherwise as decodeText decodes.
// cut says the file went on past them, so a character split at the cut does not turn valid
// UTF-8 into Windows-1252.
QString decodeLyrics(const QByteArray &bytes, bool cut);

// Text from a file or a tag as the text box shows it: at most maxLyricsBytes characters,
// CR LF and CR line ends turned into the box's own, lines longer than maxLyricsLine broken.
QString shapeLyrics(QString text);

// The text with a line break after every maxLyricsLine characters of a longer line.
QString breakLongLines(const QString &text);
