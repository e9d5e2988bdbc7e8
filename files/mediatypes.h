#pragma once

#include <QString>
#include <QStringList>

// The kinds of file the player plays, named by their extensions, lower case, without the dot.
QStringList playableSuffixes();

// The kinds played beyond the original four (MP3, MIDI, WAV, MPG), as playableSuffixes names them.
QStringList newerSuffixes();

// Whether a file name ends in one of the playable extensions, in any case.
bool isPlayableName(const QString &fileName);

// The filter "Agregar" shows, as "description|pattern" pairs: the four original kinds first,
// the first of them the default, then one entry for every kind and one for each newer kind.
QString addFilter();

// Whether text is the address of an internet stream or of a station's playlist: an http or
// https URL, in any case, naming a host. Only such addresses are taken from outside as rows.
bool isStreamAddress(const QString &text);
