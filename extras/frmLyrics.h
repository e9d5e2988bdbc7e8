#pragma once

#include <QWidget>

class QPlainTextEdit;

// The lyrics window: one read-only text box filling a fixed window without title text,
// standing right of the main window. The main window fills it.
class frmLyrics : public QWidget {
    Q_OBJECT
public:
    explicit frmLyrics(QWidget *parent = nullptr);

    // The lyrics as plain text: nothing in them is read as markup.
    void setLyrics(const QString &text);
    QString lyrics() const;

private:
    QPlainTextEdit *txtLyrics = nullptr;
};
