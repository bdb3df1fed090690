#include "gridcursor.h"

#include "accessiblefactory.h"
#include "cellclues.h"
#include "clickablelabel.h"
#include "gridlabels.h"
#include "popupkeys.h"
#include "spokenstatus.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int Rows = CrosswordDocument::Rows;
constexpr int Columns = CrosswordDocument::Columns;

int rowOf(int cell)
{
    return CrosswordDocument::rowOf(cell);
}

int columnOf(int cell)
{
    return CrosswordDocument::columnOf(cell);
}

int cellAt(int row, int column)
{
    return CrosswordDocument::indexOf(row, column);
}

// The first cell on show walking from (row, column) by (dRow, dColumn), or -1.
int walk(int row, int column, int dRow, int dColumn, const std::function<bool(int)> &exposed)
{
    for (row += dRow, column += dColumn; row >= 0 && row < Rows && column >= 0 && column < Columns;
         row += dRow, column += dColumn) {
        if (exposed(cellAt(row, column)))
            return cellAt(row, column);
    }
    return -1;
}

// The nearest cell on show in the rows above or below, the nearest row first
// and in it the nearest column (the left one of two): so that every cell can
// be reached, also a word standing alone in a corner of the grid.
int nearestInRows(int cell, int dRow, const std::function<bool(int)> &exposed)
{
    const int column = columnOf(cell);
    for (int row = rowOf(cell) + dRow; row >= 0 && row < Rows; row += dRow) {
        for (int distance = 0; distance < Columns; ++distance) {
            if (column - distance >= 0 && exposed(cellAt(row, column - distance)))
                return cellAt(row, column - distance);
            if (distance > 0 && column + distance < Columns && exposed(cellAt(row, column + distance)))
                return cellAt(row, column + distance);
        }
    }
    return -1;
}

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool isPadKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return (enter && modifiers == Qt::ControlModifier) || event.text() == QStringLiteral("#") ||
           event.text() == QStringLiteral("№");
}

} // namespace

GridCursor::GridCursor(GridLabels *grid, Describe describe, Crossword crossword,
                       QWidget *clientArea)
    : QWidget(clientArea), m_grid(grid), m_describe(std::move(describe)),
      m_crossword(std::move(crossword)), m_status(new SpokenStatus(clientArea))
{
    AccessibleFactory::install();
    setObjectName(QStringLiteral("GridCursor"));
    setFocusPolicy(Qt::TabFocus);
    // Every press goes to the cell underneath, as if this widget were not there.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(m_grid->letterLabel(0)->geometry());
    connect(m_grid, &GridLabels::letterClicked, this, &GridCursor::moveTo);
    connect(m_grid, &GridLabels::numberClicked, this, &GridCursor::moveTo);
}

GridCursor::~GridCursor() = default;

void GridCursor::setLetterKeys(PopupKeys *keys)
{
    m_letterKeys = keys;
    connect(keys, &PopupKeys::typed, this, &GridCursor::letterTyped);
}

bool GridCursor::isExposed(int cell) const
{
    const ClickableLabel *label = m_grid->letterLabel(cell);
    return label && !label->isHidden();
}

QList<int> GridCursor::exposedCells() const
{
    QList<int> cells;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        if (isExposed(i))
            cells.append(i);
    }
    return cells;
}

bool GridCursor::isFocused() const
{
    // The window's own focus, so that it holds also while no window manager
    // makes the window active, as on a bare X server.
    return window()->focusWidget() == this;
}

bool GridCursor::isFrameShown() const
{
    return m_keyboardUse && isFocused() && isExposed(m_cell);
}

QString GridCursor::cellName(int cell) const
{
    const CellFacts facts = m_describe(cell);
    QString name =
        QStringLiteral("строка %1, столбец %2").arg(rowOf(cell) + 1).arg(columnOf(cell) + 1);
    if (!facts.number.isEmpty())
        name += QStringLiteral(", номер ") + facts.number;
    name += facts.letter.isEmpty() ? QStringLiteral(", пусто")
                                   : QStringLiteral(", буква ") + facts.letter;
    if (facts.wrong)
        name += QStringLiteral(", ошибка");
    return name;
}

QString GridCursor::cellDescription(int cell) const
{
    if (!m_clues)
        m_clues = std::make_unique<CellClues>(m_crossword());
    return m_clues->of(cell);
}

void GridCursor::crosswordChanged()
{
    m_clues.reset();
}

int GridCursor::afterLetter(int cell, bool down, const std::function<bool(int)> &exposed)
{
    const int row = rowOf(cell) + (down ? 1 : 0);
    const int column = columnOf(cell) + (down ? 0 : 1);
    if (row >= Rows || column >= Columns || !exposed(cellAt(row, column)))
        return cell;
    return cellAt(row, column);
}

int GridCursor::step(int cell, int key, const std::function<bool(int)> &exposed)
{
    const int row = rowOf(cell);
    const int column = columnOf(cell);
    int next = -1;
    switch (key) {
    case Qt::Key_Left:
        next = walk(row, column, 0, -1, exposed);
        break;
    case Qt::Key_Right:
        next = walk(row, column, 0, 1, exposed);
        break;
    case Qt::Key_Up:
        next = nearestInRows(cell, -1, exposed);
        break;
    case Qt::Key_Down:
        next = nearestInRows(cell, 1, exposed);
        break;
    case Qt::Key_Home:
        next = walk(row, -1, 0, 1, exposed);
        break;
    case Qt::Key_End:
        next = walk(row, Columns, 0, -1, exposed);
        break;
    case Qt::Key_PageUp:
        next = walk(-1, column, 1, 0, exposed);
        break;
    case Qt::Key_PageDown:
        next = walk(Rows, column, -1, 0, exposed);
        break;
    default:
        return -1;
    }
    return next < 0 ? cell : next;
}

void GridCursor::pressCell(int cell)
{
    if (!isExposed(cell))
        return;
    moveTo(cell);
    emit m_grid->letterClicked(cell);
}

void GridCursor::keyPressEvent(QKeyEvent *event)
{
    setKeyboardUse(true);
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool plain = modifiers == Qt::NoModifier;
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        if (isExposed(m_cell))
            emit pressingByKey(m_cell);
        pressCell(m_cell);
        sayOpenedPopup();
        return;
    }
    if (m_numberKeys && isPadKey(*event)) {
        if (isExposed(m_cell)) {
            moveTo(m_cell);
            emit m_grid->numberClicked(m_cell);
            sayOpenedPopup();
        }
        return;
    }
    const int next = plain ? step(m_cell, key, [this](int c) { return isExposed(c); }) : -1;
    if (next >= 0) {
        dismissPopups();
        if (isArrow(key))
            m_down = key == Qt::Key_Up || key == Qt::Key_Down;
        if (next == m_cell && isArrow(key) && isExposed(m_cell))
            m_status->say(QStringLiteral("дальше клеток нет"));
        moveTo(next);
        return;
    }
    // A letter, or the erase key, goes into the focused cell through its
    // keyboard; letterTyped() then moves on.
    const int letterKey = m_letterKeys ? m_letterKeys->keyFor(*event) : 0;
    if (letterKey > 0 && letterKey != GridGeometry::CloseKey && isExposed(m_cell)) {
        emit pressingByKey(m_cell);
        pressCell(m_cell);
        m_letterKeys->press(*event);
        return;
    }
    QWidget::keyPressEvent(event);
}

void GridCursor::letterTyped(int key)
{
    if (key == GridGeometry::CloseKey || !isFocused() || !isExposed(m_cell))
        return;
    // Orca echoes the key as the layout names it ("r" for "к"), and Qt 6.4
    // reports a cell's new name garbled: the letter that went in is said.
    const QString letter = m_describe(m_cell).letter;
    m_status->say(letter.isEmpty() ? QStringLiteral("пусто") : QStringLiteral("буква ") + letter);
    if (key != GridGeometry::EraseKey)
        moveTo(afterLetter(m_cell, m_down, [this](int c) { return isExposed(c); }));
}

void GridCursor::sayOpenedPopup()
{
    if (m_letterKeys && m_letterKeys->isOpen())
        m_status->say(QStringLiteral("открыта клавиатура: напечатайте букву, Escape закрывает"));
    else if (m_numberKeys && m_numberKeys->isOpen())
        m_status->say(QStringLiteral("открыта панель с цифрами: наберите номер, Enter "
                                     "записывает, Escape закрывает"));
}

void GridCursor::dismissPopups()
{
    for (PopupKeys *keys : {m_letterKeys, m_numberKeys}) {
        if (keys)
            keys->dismiss();
    }
}

void GridCursor::moveTo(int cell)
{
    const bool moved = cell != m_cell;
    m_cell = cell;
    if (moved) {
        if (const ClickableLabel *label = m_grid->letterLabel(cell))
            setGeometry(label->geometry());
    }
    update();
    if (moved)
        announceFocus();
}

void GridCursor::focusInEvent(QFocusEvent *event)
{
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        setKeyboardUse(true);
    if (!isExposed(m_cell)) {
        const QList<int> cells = exposedCells();
        if (!cells.isEmpty())
            moveTo(cells.first());
    }
    update();
    QWidget::focusInEvent(event);
    // Qt reports the grid itself as focused after this returns; the cell
    // comes after it, or a screen reader keeps the grid and never says the cell.
    QTimer::singleShot(0, this, &GridCursor::announceFocus);
}

void GridCursor::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void GridCursor::setKeyboardUse(bool used)
{
    if (used == m_keyboardUse)
        return;
    m_keyboardUse = used;
    // Only a frame on show needs to hear of mouse presses.
    if (used)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    update();
}

bool GridCursor::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == window())
            setKeyboardUse(false);
    }
    return false;
}

void GridCursor::paintEvent(QPaintEvent *)
{
    if (!isFrameShown())
        return;
    // Black with a white edge inside, to be seen on white and yellow cells alike.
    QPainter painter(this);
    const QRect outer = rect();
    painter.fillRect(outer.adjusted(0, 0, 0, -outer.height() + 2), Qt::black);
    painter.fillRect(outer.adjusted(0, outer.height() - 2, 0, 0), Qt::black);
    painter.fillRect(outer.adjusted(0, 0, -outer.width() + 2, 0), Qt::black);
    painter.fillRect(outer.adjusted(outer.width() - 2, 0, 0, 0), Qt::black);
    painter.setPen(Qt::white);
    painter.drawRect(outer.adjusted(2, 2, -3, -3));
}

void GridCursor::announceFocus()
{
    if (!QAccessible::isActive() || !isFocused() || !isExposed(m_cell))
        return;
    QAccessibleEvent event(m_grid->letterLabel(m_cell), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void GridCursor::cellRenamed(int cell)
{
    if (!QAccessible::isActive() || !isExposed(cell))
        return;
    QAccessibleEvent event(m_grid->letterLabel(cell), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void GridCursor::cellsRenamed()
{
    if (!QAccessible::isActive())
        return;
    for (int cell : exposedCells())
        cellRenamed(cell);
}
