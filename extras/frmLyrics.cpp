#include "extras/frmLyrics.h"

#include "widgets/twips.h"
#include "widgets/widgetstyle.h"

#include <QIcon>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <climits>

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
    // New text, timed or not, starts with no line marked.
    connect(txtLyrics, &QPlainTextEdit::textChanged, this, &frmLyrics::clearMark);
}

void frmLyrics::setLyrics(const QString &text)
{
    txtLyrics->setPlainText(text);
}

QString frmLyrics::lyrics() const
{
    return txtLyrics->toPlainText();
}

void frmLyrics::markLine(qsizetype line)
{
    const QTextBlock block
        = line >= 0 && line <= INT_MAX ? txtLyrics->document()->findBlockByNumber(int(line)) : QTextBlock();
    if (!block.isValid()) {
        clearMark();
        return;
    }
    if (m_marked == line)
        return;
    m_marked = line;
    QTextEdit::ExtraSelection mark;
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.format.setBackground(palette().highlight());
    mark.format.setForeground(palette().highlightedText());
    // The whole line, every row of it when it wraps: the selection runs on to the next line's
    // start, as only a selection over a line's end is drawn out to the right edge. The last
    // line has no end to run over: a mark without a selection is drawn across the row it
    // stands on, and the line's text is selected under it.
    mark.cursor = QTextCursor(block);
    QList<QTextEdit::ExtraSelection> marks { mark };
    if (!marks.last().cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor)) {
        marks << mark;
        marks.last().cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    txtLyrics->setExtraSelections(marks);
    // A user selecting text to copy keeps the selection; the view follows again once it is gone.
    if (txtLyrics->textCursor().hasSelection())
        return;
    txtLyrics->setTextCursor(QTextCursor(block));
    txtLyrics->centerCursor();
}

void frmLyrics::clearMark()
{
    m_marked.reset();
    txtLyrics->setExtraSelections({});
}

void frmLyrics::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit shownChanged(true);
}

void frmLyrics::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit shownChanged(false);
}

std::optional<qsizetype> frmLyrics::markedLine() const
{
    return m_marked;
}
