#pragma once

#include <QString>
#include <QStringList>

// Turns a dialog filter written as description and pattern pairs separated by '|'
// ("MP3 Files(*.mp3)|*.mp3|Midi Files (*.mid)|*.mid", several patterns of one pair separated
// by ';') into QFileDialog name filters, "description (pattern pattern)". Any text is accepted:
// a pair without a usable pattern is left out, so the result may be empty (all files shown).
QStringList qtNameFilters(const QString &filter);
