#pragma once

#include <QAccessibleWidget>

class QPlainTextEdit;
class QTextCursor;

// A clue pane before a screen reader. In a read-only pane a line, for the
// reader, is a line of the text as it was written, however the pane wraps it:
// Qt gives the screen's lines, and a reader arriving at a result in large type
// said "К сожалению, ты не смог" and stopped mid-sentence. While the pane
// shows a result to be read whole (see setReadWhole), its first line stands
// for the whole text, so that arriving there reads all of it. A pane one
// types in keeps the screen's lines, which its caret moves along.
class CluePaneAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit CluePaneAccessible(QPlainTextEdit *pane);

    // Whether arriving at the pane's first line reads the whole text.
    static void setReadWhole(QPlainTextEdit *pane, bool whole);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int *startOffset, int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                         int *startOffset, int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

    // The written line around a position of the text: [start, end), without
    // its line break.
    static std::pair<int, int> lineAround(const QPlainTextEdit *pane, int offset);

private:
    QPlainTextEdit *pane() const;
    QTextCursor cursorAt(int position) const;
};
