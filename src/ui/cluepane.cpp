#include "cluepane.h"

#include "designfonts.h"

#include <QEvent>
#include <QTextOption>

CluePane::CluePane(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("Text3"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setFont(DesignFonts::cluePane());
    setTextColour(Qt::black);
    viewport()->installEventFilter(this);
}

void CluePane::setText(const QString &crlfText)
{
    QString text = crlfText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    setPlainText(text);
    applyAlignment();
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
