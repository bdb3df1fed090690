#pragma once

#include <QPlainTextEdit>

// The clue pane Text3: a multi-line text box with a vertical scroll bar whose
// alignment, font size and colour apply to the whole text. Text goes in and
// out with CR LF line breaks, as the crossword file keeps them. A plain-text
// editor lays out only what is on screen, which keeps long clues cheap.
//
// Ordinary text wraps at word boundaries. A text holding a "word" longer than
// any real one (a run of LongestWord characters without a space or tab) wraps
// anywhere instead: finding word boundaries costs a scan to the end of the
// word for every screen line, which grows with the square of the word's length
// and froze the window on one long unbroken line.
//
// A text of very many lines keeps up to LinesPerParagraph of them in one
// paragraph, joined by line separators, which look and wrap like line breaks:
// the text document spends microseconds and a layout object on every
// paragraph, which took seconds for a file of half a million short lines.
class CluePane : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr qsizetype LongestWord = 256;
    // Texts of up to this many lines keep one paragraph per line.
    static constexpr qsizetype ManyLines = 2000;
    static constexpr qsizetype LinesPerParagraph = 32;

    explicit CluePane(QWidget *parent = nullptr);

    void setText(const QString &crlfText);
    QString text() const;
    // Selects line 1.. of text() and shows it; a line past the end selects nothing.
    void selectLine(int line);

    void setTextAlignment(Qt::Alignment alignment);
    Qt::Alignment textAlignment() const;
    void setFontSize(qreal points);
    qreal fontSize() const;
    void setTextColour(const QColor &colour);
    QColor textColour() const;

signals:
    // Any mouse button went down in the text; the pane still takes the click.
    void pressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // An X clipboard or selection that no program owns offers data of no
    // format at all, and Qt 6.4 reads the first format of such data without
    // looking: Ctrl+V, Shift+Insert, a middle click or a drop ended the
    // program. Such data is ignored.
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void applyAlignment();
    void layOutAtFinalWidth();
    // Typing or pasting can bring an overlong word or a right-to-left letter
    // too; the pane then wraps anywhere, or finds each line's direction, until
    // the next setText.
    void checkChangedText(int position, int removed, int added);
    void prepareBlock(const QTextBlock &block);
    void setTextDirection(Qt::LayoutDirection direction);

    bool m_settingText = false;
    // What text() last returned, until the document changes; the solving
    // window compares the pane with its clues after every click.
    mutable QString m_text;
    mutable bool m_textKnown = false;

    Qt::Alignment m_alignment = Qt::AlignLeft;
};
