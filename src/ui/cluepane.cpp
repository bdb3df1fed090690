#include "cluepane.h"

#include "designfonts.h"

#include <QEvent>
#include <QTextBlock>
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
    QString text = crlfText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    // A change of wrap mode lays the present text out again at once, so
    // wrapping anywhere is switched on before an overlong text comes in, and
    // switched off only after it has gone.
    const bool overlong = hasOverlongWord(text);
    if (overlong)
        setWordWrapMode(QTextOption::WrapAnywhere);
    {
        const QScopedValueRollback<bool> guard(m_settingText, true);
        setPlainText(text);
    }
    if (!overlong)
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
        prepareBlock(block);
    applyAlignment();
}

void CluePane::checkChangedText(int position, int /*removed*/, int added)
{
    if (m_settingText)
        return;
    const QTextBlock last = document()->findBlock(position + added);
    for (QTextBlock block = document()->findBlock(position); block.isValid();
         block = block.next()) {
        prepareBlock(block);
        if (wordWrapMode() != QTextOption::WrapAnywhere && hasOverlongWord(block.text()))
            setWordWrapMode(QTextOption::WrapAnywhere);
        if (block == last)
            break;
    }
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
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void CluePane::setTextAlignment(Qt::Alignment alignment)
{
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
