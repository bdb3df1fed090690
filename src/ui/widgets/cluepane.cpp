#include "cluepane.h"

#include "designfonts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextOption>

#include <QScopedValueRollback>

namespace {

// Lines longer than this keep their layout between paints. Qt otherwise drops
// it after every layout and rebuilds it, for the whole line, at each paint and
// click; on a line of a million characters that took a tenth of a second.
constexpr int CachedLineLength = 10000;

bool breaksWords(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

bool hasOverlongWord(QStringView text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        if (breaksWords(c))
            run = 0;
        else if (++run > CluePane::LongestWord)
            return true;
    }
    return false;
}

// Whether Qt would find a right-to-left paragraph in the text. Left-to-right
// text gets that direction stated: left to guess it, Qt looks for the first
// letter of a line at every cursor move and every screen line, which on a
// megabyte of spaces took a tenth of a second per click.
bool holdsRightToLeft(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x0590)
            continue;
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text.at(++i));
        switch (QChar::direction(code)) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
            return true;
        default:
            break;
        }
    }
    return false;
}

// A paragraph of joined lines stays about this short, so that laying it out
// for the screen stays cheap.
constexpr qsizetype ParagraphLength = 4096;

// The text as the document should hold it: one kind of line break, and for a
// text of very many lines, several lines to a paragraph.
QString documentText(const QString &crlfText)
{
    QString text = crlfText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    if (text.count(u'\n') <= CluePane::ManyLines)
        return text;
    qsizetype lines = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\n')
            continue;
        if (lines < CluePane::LinesPerParagraph && i - start < ParagraphLength) {
            text[i] = QChar::LineSeparator;
            ++lines;
        } else {
            lines = 1;
            start = i + 1;
        }
    }
    return text;
}

} // namespace

CluePane::CluePane(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("Text3"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setFont(DesignFonts::cluePane());
    setTextColour(Qt::black);
    viewport()->installEventFilter(this);
    connect(document(), &QTextDocument::contentsChange, this, &CluePane::checkChangedText);
}

void CluePane::setText(const QString &crlfText)
{
    const QString text = documentText(crlfText);
    const QTextOption::WrapMode wrap = hasOverlongWord(text) ? QTextOption::WrapAnywhere
                                                             : QTextOption::WrapAtWordBoundaryOrAnywhere;
    const Qt::LayoutDirection direction =
        holdsRightToLeft(text) ? Qt::LayoutDirectionAuto : Qt::LeftToRight;
    const QScopedValueRollback<bool> guard(m_settingText, true);
    // A change of wrap mode or direction lays the present text out again at
    // once, so the old text goes first.
    if (wordWrapMode() != wrap || document()->defaultTextOption().textDirection() != direction) {
        setPlainText(QString());
        setWordWrapMode(wrap);
        setTextDirection(direction);
    }
    layOutAtFinalWidth();
    setPlainText(QString());
    // Inserting a single paragraph lays it out at once. A long one keeps that
    // layout from the start, or the cursor and the first paint would shape
    // the whole line again.
    const qsizetype firstBreak = text.indexOf(u'\n');
    if ((firstBreak < 0 ? text.size() : firstBreak) >= CachedLineLength)
        document()->firstBlock().layout()->setCacheEnabled(true);
    const bool undo = document()->isUndoRedoEnabled();
    document()->setUndoRedoEnabled(false);
    QTextCursor(document()).insertText(text);
    document()->setUndoRedoEnabled(undo);
    document()->setModified(false);
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
        prepareBlock(block);
    moveCursor(QTextCursor::Start);
    // Until it is edited the pane gives back what it was given, line breaks
    // made CR LF: the separators the document keeps for itself (U+2028,
    // U+2029) would otherwise come back as line breaks.
    m_text = crlfText;
    m_text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text.replace(u'\r', u'\n');
    m_text.replace(u'\n', QStringLiteral("\r\n"));
    m_textKnown = true;
}

void CluePane::layOutAtFinalWidth()
{
    // A hidden pane and its viewport learn their sizes only when first shown,
    // and the whole text would then be laid out once more for that width. The
    // window places the pane before it fills it, so the sizes are known now.
    for (QWidget *widget : {static_cast<QWidget *>(this), viewport()}) {
        if (!widget->testAttribute(Qt::WA_PendingResizeEvent))
            continue;
        QResizeEvent event(widget->size(), QSize());
        QCoreApplication::sendEvent(widget, &event);
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
}

void CluePane::checkChangedText(int position, int /*removed*/, int added)
{
    m_textKnown = false;
    if (m_settingText)
        return;
    const QTextBlock last = document()->findBlock(position + added);
    for (QTextBlock block = document()->findBlock(position); block.isValid();
         block = block.next()) {
        prepareBlock(block);
        if (wordWrapMode() != QTextOption::WrapAnywhere && hasOverlongWord(block.text()))
            setWordWrapMode(QTextOption::WrapAnywhere);
        if (document()->defaultTextOption().textDirection() != Qt::LayoutDirectionAuto &&
            holdsRightToLeft(block.text()))
            setTextDirection(Qt::LayoutDirectionAuto);
        if (block == last)
            break;
    }
}

void CluePane::setTextDirection(Qt::LayoutDirection direction)
{
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(direction);
    document()->setDefaultTextOption(option);
}

void CluePane::prepareBlock(const QTextBlock &block)
{
    if (block.length() > CachedLineLength)
        block.layout()->setCacheEnabled(true);
}

QString CluePane::text() const
{
    // The raw text, since toPlainText() turns no-break spaces into spaces: the
    // clues would change on saving, and the solving window, which compares the
    // pane with its clues, would set them again at every click.
    if (!m_textKnown) {
        m_text = document()->toRawText();
        m_text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
        m_text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
        m_textKnown = true;
    }
    return m_text;
}

void CluePane::setTextAlignment(Qt::Alignment alignment)
{
    // A new alignment lays the whole text out again.
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    applyAlignment();
}

Qt::Alignment CluePane::textAlignment() const
{
    return m_alignment;
}

void CluePane::applyAlignment()
{
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(m_alignment);
    // Plain-text paragraphs carry no alignment of their own, so the default
    // option aligns the whole text, present and future.
    document()->setDefaultTextOption(option);
}

void CluePane::setFontSize(qreal points)
{
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

qreal CluePane::fontSize() const
{
    return font().pointSizeF();
}

void CluePane::setTextColour(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Text, colour);
    setPalette(p);
}

QColor CluePane::textColour() const
{
    return palette().color(QPalette::Text);
}

bool CluePane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == viewport() && event->type() == QEvent::MouseButtonPress)
        emit pressed();
    return QPlainTextEdit::eventFilter(watched, event);
}

void CluePane::selectLine(int line)
{
    // Every line break is one character in the document, whichever it is.
    const QStringList lines = text().split(QStringLiteral("\r\n"));
    if (line < 1 || line > lines.size())
        return;
    int start = 0;
    for (int i = 0; i + 1 < line; ++i)
        start += lines[i].size() + 1;
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(start + lines[line - 1].size(), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool CluePane::canInsertFromMimeData(const QMimeData *source) const
{
    return source && !source->formats().isEmpty() && QPlainTextEdit::canInsertFromMimeData(source);
}

void CluePane::insertFromMimeData(const QMimeData *source)
{
    if (source && !source->formats().isEmpty())
        QPlainTextEdit::insertFromMimeData(source);
}
