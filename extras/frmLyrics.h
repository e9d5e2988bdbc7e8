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

    // The lyrics as plain text: nothing in them is read as markup. New text starts with no
    // line marked.
    void setLyrics(const QString &text);
    QString lyrics() const;
    // Marks the line being sung and scrolls it into view; a line out of range clears the mark.
    void markLine(qsizetype line);
    void clearMark();
    // The marked line, if any.
    std::optional<qsizetype> markedLine() const;

signals:
    // The window was shown or hidden; the main window follows the sung line only while it shows.
    void shownChanged(bool shown);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPlainTextEdit *txtLyrics = nullptr;
    std::optional<qsizetype> m_marked;
};
