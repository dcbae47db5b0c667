#include "editing/meaningedit.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

namespace editing {

namespace {

// Marks a block that continues the one before it: the break between them is ours.
constexpr int continuesPrevious = 1;

} // namespace

void MeaningEdit::setMeaning(const QString& meaning)
{
    clear();
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    const QStringView text(meaning);
    bool first = true;
    for (QStringView line : text.split(u'\n')) {
        // A carriage return before a line feed belongs to the line break.
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!first)
            cursor.insertBlock();
        first = false;
        while (line.size() > longestPiece) {
            qsizetype end = longestPiece;
            const qsizetype blank = line.first(longestPiece).lastIndexOf(u' ');
            if (blank > 0)
                end = blank + 1;
            // Never between the two halves of a surrogate pair.
            if (line.at(end - 1).isHighSurrogate())
                ++end;
            cursor.insertText(line.first(end).toString());
            cursor.insertBlock();
            cursor.block().setUserState(continuesPrevious);
            line = line.sliced(end);
        }
        cursor.insertText(line.toString());
    }
    cursor.endEditBlock();
    document()->setUndoRedoEnabled(true);
    moveCursor(QTextCursor::Start);
}

QString MeaningEdit::meaning() const
{
    return textBetween(0, document()->characterCount() - 1);
}

QString MeaningEdit::textBetween(int start, int end) const
{
    QString text;
    text.reserve(end - start);
    for (QTextBlock block = document()->findBlock(start);
         block.isValid() && block.position() <= end; block = block.next()) {
        const int from = qMax(start, block.position());
        const int to = qMin(end, block.position() + block.length() - 1);
        if (block.position() > start && block.userState() != continuesPrevious)
            text += u'\n';
        text += QStringView(block.text()).mid(from - block.position(), to - from);
    }
    return text;
}

QMimeData* MeaningEdit::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    auto* data = new QMimeData;
    data->setText(textBetween(selection.selectionStart(), selection.selectionEnd()));
    return data;
}

} // namespace editing
