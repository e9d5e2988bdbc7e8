#pragma once

#include <QString>
#include <QStringList>

// Turns a dialog filter written as description and pattern pairs separated by '|'
// ("MP3 Files(*.mp3)|*.mp3|Midi Files (*.mid)|*.mid", several patterns of one pair separated
// by ';') into QFileDialog name filters, "description (pattern pattern)". Any text is accepted:
// a pair without a usable pattern is left out, so the result may be empty (all files shown).
QStringList qtNameFilters(const QString &filter);

// The pair of filter, counted from 1, that became the QFileDialog name filter nameFilter, given
// whole or, as a dialog that hides the patterns gives it, as its description alone; 0 when none did.
int filterIndexOf(const QString &filter, const QString &nameFilter);
