#pragma once

#include <QPlainTextEdit>

namespace editing {

// A meaning's box, in the name windows and in the main window's details. A text box lays out
// each paragraph whole, and a paragraph of a million characters takes it seconds (far longer
// without blanks). So a meaning is shown in pieces of at most a thousand characters, broken
// after a blank where there is one: the box then lays out only the pieces it shows. A piece
// continues the one before it without a line break, and the text reads back (and is copied)
// exactly as it was given, with what the user typed; typing, selecting and moving work on the
// whole text as ever.
class MeaningEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    void setMeaning(const QString& meaning);
    // The text: the line breaks the user sees as such, never those between pieces, and every
    // character as it is (also no-break spaces and line separators).
    QString meaning() const;

    // The longest piece, in characters.
    static constexpr qsizetype longestPiece = 1000;

protected:
    // Copying and dragging a selection carry its text as meaning() would give it.
    QMimeData* createMimeDataFromSelection() const override;

private:
    QString textBetween(int start, int end) const;
};

} // namespace editing
