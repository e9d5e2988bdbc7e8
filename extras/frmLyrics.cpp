#include "extras/frmLyrics.h"

#include "app/twips.h"
#include "app/widgetstyle.h"

#include <QIcon>
#include <QPlainTextEdit>

frmLyrics::frmLyrics(QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmLyrics"));
    // Closing it with its close button removes it; the next showing builds it afresh, empty.
    setAttribute(Qt::WA_DeleteOnClose);
    // The window has no title text. An empty title would make the window system show the
    // program's name instead, so the title is a single blank.
    setWindowTitle(QStringLiteral(" "));
    setWindowIcon(pictureIcon(QStringLiteral(":/resources/velumo")));
    setFixedSize(twipsSize(4695, 4830));
    // The client area stands directly right of the main window, top edges level.
    setGeometry(QRect(QPoint(twipsToPixels(6945), twipsToPixels(2235)), size()));

    txtLyrics = new QPlainTextEdit(this);
    txtLyrics->setObjectName(QStringLiteral("txtLyrics"));
    txtLyrics->setGeometry(twipsRect(0, 0, 4695, 4815));
    txtLyrics->setReadOnly(true);
    // Read-only, yet the user can still select and copy with the keys as with the mouse.
    txtLyrics->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtLyrics->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtLyrics->setAccessibleName(QStringLiteral("Letras"));
}

void frmLyrics::setLyrics(const QString &text)
{
    txtLyrics->setPlainText(text);
}

QString frmLyrics::lyrics() const
{
    return txtLyrics->toPlainText();
}
