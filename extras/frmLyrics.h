#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

class QPlainTextEdit;

// The lyrics window: one read-only text box filling a fixed window without title text,
// standing right of the main window. The main window fills it, and for timed lyrics tells it
// which line is being sung.
class frmLyrics : public QWidget {
    Q_OBJECT
public:
    explicit frmLyrics(QWidget *parent = nullptr);

    // Shows the lines of timed lyrics as plain text, none of them marked.
    void showTimedLines(const QStringList &lines);
    // Marks the line being sung and scrolls it into view; a line out of range clears the mark.
    void markLine(qsizetype line);
    void clearMark();
    // The marked line, if any.
    std::optional<qsizetype> markedLine() const;

    QPlainTextEdit *txtLyrics = nullptr;

private:
    std::optional<qsizetype> m_marked;
};
