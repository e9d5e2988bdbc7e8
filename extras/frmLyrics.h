#pragma once

#include <QWidget>

class QPlainTextEdit;

// The lyrics window: one read-only text box filling a fixed window without title text,
// standing right of the main window. It has no code of its own; the main window fills it.
class frmLyrics : public QWidget {
    Q_OBJECT
public:
    explicit frmLyrics(QWidget *parent = nullptr);

    QPlainTextEdit *txtLyrics = nullptr;
};
