#include "cluepaneaccessible.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <tuple>

namespace {

const char *const ReadWhole = "readWhole";

} // namespace

CluePaneAccessible::CluePaneAccessible(QPlainTextEdit *pane)
    : QAccessibleWidget(pane, QAccessible::EditableText)
{
}

void CluePaneAccessible::setReadWhole(QPlainTextEdit *pane, bool whole)
{
    pane->setProperty(ReadWhole, whole);
}

QPlainTextEdit *CluePaneAccessible::pane() const
{
    return static_cast<QPlainTextEdit *>(widget());
}

void *CluePaneAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface && !pane()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessible::State CluePaneAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = pane()->isReadOnly();
    s.editable = !pane()->isReadOnly();
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

QString CluePaneAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return pane()->toPlainText();
    return QAccessibleWidget::text(t);
}

QTextCursor CluePaneAccessible::cursorAt(int position) const
{
    QTextCursor cursor(pane()->document());
    cursor.setPosition(std::clamp(position, 0, characterCount()));
    return cursor;
}

std::pair<int, int> CluePaneAccessible::lineAround(const QPlainTextEdit *pane, int offset)
{
    const QTextBlock block = pane->document()->findBlock(offset);
    if (!block.isValid())
        return {offset, offset};
    // Very long texts keep several lines in one paragraph, parted by line separators.
    const QString text = block.text();
    const int inBlock = std::clamp(offset - block.position(), 0, int(text.size()));
    const qsizetype before = inBlock > 0 ? text.lastIndexOf(QChar::LineSeparator, inBlock - 1) : -1;
    qsizetype after = text.indexOf(QChar::LineSeparator, inBlock);
    if (after < 0)
        after = text.size();
    return {block.position() + int(before + 1), block.position() + int(after)};
}

QString CluePaneAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset, int *endOffset) const
{
    const int count = characterCount();
    if (offset == -2)
        offset = cursorPosition();
    else if (offset == -1)
        offset = count;
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    int start = offset;
    int end = offset;
    const bool written = boundaryType == QAccessible::ParagraphBoundary ||
                         (boundaryType == QAccessible::LineBoundary && pane()->isReadOnly());
    if (written) {
        std::tie(start, end) = lineAround(pane(), offset);
        // A line comes with its break, as readers expect of a line.
        if (start == 0 && pane()->property(ReadWhole).toBool())
            end = count;
        else if (end < count)
            ++end;
    } else if (offset < count || boundaryType != QAccessible::CharBoundary) {
        const QPair<int, int> item =
            QAccessible::qAccessibleTextBoundaryHelper(cursorAt(offset), boundaryType);
        start = item.first;
        end = item.second;
    }
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

QString CluePaneAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (start <= 0) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString CluePaneAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    if (end < 0 || end >= characterCount() || end == start) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return textAtOffset(end, boundaryType, startOffset, endOffset);
}

QString CluePaneAccessible::text(int startOffset, int endOffset) const
{
    QTextCursor cursor = cursorAt(startOffset);
    cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

int CluePaneAccessible::characterCount() const
{
    return pane()->document()->characterCount() - 1;
}

int CluePaneAccessible::cursorPosition() const
{
    return pane()->textCursor().position();
}

void CluePaneAccessible::setCursorPosition(int position)
{
    pane()->setTextCursor(cursorAt(position));
}

void CluePaneAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const QTextCursor cursor = pane()->textCursor();
    const bool selected = selectionIndex == 0 && cursor.hasSelection();
    *startOffset = selected ? cursor.selectionStart() : 0;
    *endOffset = selected ? cursor.selectionEnd() : 0;
}

int CluePaneAccessible::selectionCount() const
{
    return pane()->textCursor().hasSelection() ? 1 : 0;
}

void CluePaneAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void CluePaneAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = pane()->textCursor();
    cursor.clearSelection();
    pane()->setTextCursor(cursor);
}

void CluePaneAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = cursorAt(startOffset);
    cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
}

QRect CluePaneAccessible::characterRect(int offset) const
{
    const QTextCursor cursor = cursorAt(offset);
    QRect rect = pane()->cursorRect(cursor);
    rect.setWidth(pane()->fontMetrics().horizontalAdvance(text(offset, offset + 1)));
    rect.moveTopLeft(pane()->viewport()->mapToGlobal(rect.topLeft()));
    return rect;
}

int CluePaneAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = pane()->viewport()->mapFromGlobal(point);
    if (!pane()->viewport()->rect().contains(local))
        return -1;
    return pane()->cursorForPosition(local).position();
}

void CluePaneAccessible::scrollToSubstring(int startIndex, int /*endIndex*/)
{
    pane()->setTextCursor(cursorAt(startIndex));
    pane()->ensureCursorVisible();
}

QString CluePaneAccessible::attributes(int /*offset*/, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void CluePaneAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void CluePaneAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void CluePaneAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (pane()->isReadOnly())
        return;
    QTextCursor cursor = cursorAt(startOffset);
    cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
    cursor.insertText(text);
}
