#include "form1.h"

#include "accessiblefactory.h"
#include "clickablelabel.h"
#include "clientarea.h"
#include "cluepane.h"
#include "cluepaneaccessible.h"
#include "crossworddocument.h"
#include "designfonts.h"
#include "gridcursor.h"
#include "gridlabels.h"
#include "letterkeyboard.h"
#include "mainmenus.h"
#include "menukey.h"
#include "plaintext.h"
#include "popupkeys.h"
#include "readingcaret.h"
#include "twips.h"

#include <QComboBox>
#include <QPushButton>

#include <utility>

namespace {

const QString TitlePrefix = QStringLiteral("Кварцелла 2.0  -  ");
const QColor White(255, 255, 255);
const QColor Yellow(255, 255, 0);

QColor toColour(const GridSolver::Colour &c)
{
    return QColor(c.red, c.green, c.blue);
}

Qt::Alignment toAlignment(GridSolver::Alignment alignment)
{
    return alignment == GridSolver::Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

} // namespace

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Before any control is made: Qt makes a control's accessible object as
    // soon as it is named.
    AccessibleFactory::install();
    MainMenus::buildSolving(this);
    MenuKey::install(this);
    buildControls();
}

void Form1::buildControls()
{
    m_client = new ClientArea(15240, 10830, this);
    m_client->setObjectName(QStringLiteral("Form1ClientArea"));
    setCentralWidget(m_client);
    connect(m_client, &ClientArea::backgroundPressed, this, &Form1::hideKeyboard);

    m_grid = new GridLabels(m_client, GridGeometry::Window::Solving);
    connect(m_grid, &GridLabels::letterClicked, this, &Form1::selectCell);
    connect(m_grid, &GridLabels::numberClicked, this, &Form1::selectCell);

    m_cluePane = new CluePane(m_client);
    m_cluePane->setReadOnly(true);
    m_cluePane->setAccessibleName(QStringLiteral("вопросы"));
    new ReadingCaret(m_cluePane);
    m_cluePane->setGeometry(Twips::toPixels(TwipRect{9360, 0, 5895, 9375}));
    connect(m_cluePane, &CluePane::pressed, this, &Form1::hideKeyboard);

    m_back = new QPushButton(QStringLiteral("назад"), m_client);
    m_back->setObjectName(QStringLiteral("Command1"));
    m_back->setGeometry(Twips::toPixels(TwipRect{9480, 9600, 1215, 435}));
    connect(m_back, &QPushButton::clicked, this, &Form1::backToSolving);

    m_finish = new QPushButton(QStringLiteral("закончить"), m_client);
    m_finish->setObjectName(QStringLiteral("Command2"));
    m_finish->setGeometry(Twips::toPixels(TwipRect{13860, 9600, 1215, 435}));
    connect(m_finish, &QPushButton::clicked, this, &Form1::finishCheck);
    m_finish->installEventFilter(this);

    m_historyCaption = new ClickableLabel(m_client);
    m_historyCaption->setObjectName(QStringLiteral("Label3"));
    m_historyCaption->setText(QStringLiteral("попыток - ошибок"));
    m_historyCaption->setAlignment(Qt::AlignCenter);
    m_historyCaption->setFrameShape(QFrame::Box);
    m_historyCaption->setGeometry(Twips::toPixels(TwipRect{11580, 9480, 1575, 255}));
    connect(m_historyCaption, &ClickableLabel::pressed, this, &Form1::hideKeyboard);
    connect(m_historyCaption, &ClickableLabel::doubleClicked, this, &Form1::aboutRequested);

    m_history = new QComboBox(m_client);
    m_history->setObjectName(QStringLiteral("Combo1"));
    m_history->setEditable(true);
    m_history->setInsertPolicy(QComboBox::NoInsert);
    m_history->setGeometry(Twips::toPixels(TwipRect{11580, 9720, 1575, 315}));
    // The history is one control: a press on its frame, which the combo box
    // leaves unhandled, must not reach the background and close the keyboard.
    m_history->setAttribute(Qt::WA_NoMousePropagation);
    // Named for a screen reader by the caption above it, which is also its
    // label: on Linux Qt names an editable combo box by its text.
    m_history->setAccessibleName(m_historyCaption->text());
    m_historyCaption->setBuddy(m_history);

    m_keyboard = new LetterKeyboard(m_client);
    connect(m_keyboard, &LetterKeyboard::keyClicked, this, &Form1::pressLetterKey);

    m_client->addTopLines(9240);

    // Made last, it is the last stop of the Tab order, so that Shift+Tab from
    // the clues reaches it and the window still opens with the clues focused.
    m_cursor = new GridCursor(
        m_grid,
        [this](int cell) {
            return GridCursor::CellFacts{
                m_solver.isNumberShown(cell) ? m_solver.cellNumber(cell) : QString(),
                m_solver.enteredLetter(cell), m_solver.mark(cell) == GridSolver::Mark::Wrong};
        },
        [this] { return m_solver.puzzle(); }, m_client);
    m_cursor->setLetterKeys(PopupKeys::forLetterKeyboard(m_keyboard));
    connect(m_cursor, &GridCursor::pressingByKey, this, [this] { m_cellByKey = true; });
}

void Form1::load(const QString &fileName, const CrosswordDocument &document)
{
    setWindowTitle(PlainText::windowTitle(TitlePrefix + fileName));
    m_keyboard->nameLastLetterKey();
    m_solver.loadPuzzle(document);
    m_cursor->crosswordChanged();
    m_grid->createElements();
    // Cell 0 keeps its design colour until it is first marked; the copies start white.
    for (int i = 1; i < CrosswordDocument::CellCount; ++i)
        GridLabels::setBackground(m_grid->letterLabel(i), White);
    m_cursor->raise();
    m_keyboard->raise();
    redraw();
    showLastHistoryLine();
}

void Form1::selectCell(int cell)
{
    // A key on a cell in review shows the hint, and the focus goes there
    // first: a screen reader takes a text that changes before the focus
    // arrives for one it has read already, and says nothing.
    if (std::exchange(m_cellByKey, false) && m_solver.state() == GridSolver::State::Reviewing)
        m_cluePane->setFocus(Qt::OtherFocusReason);
    m_solver.selectCell(cell);
    redraw();
}

void Form1::pressLetterKey(int key)
{
    m_solver.pressLetterKey(key);
    redraw();
}

void Form1::finishCheck()
{
    const qsizetype lines = m_solver.history().size();
    // The button is about to be disabled; a pupil at the keyboard, perhaps
    // with a screen reader, goes on to the result rather than to the
    // history, and before the result is shown, as for the hint.
    if (std::exchange(m_checkByKey, false) && m_solver.isFinishEnabled())
        m_cluePane->setFocus(Qt::OtherFocusReason);
    m_solver.finishCheck();
    redraw();
    if (m_solver.history().size() != lines) {
        showLastHistoryLine();
        m_cursor->cellsRenamed();
    }
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_finish) {
        if (event->type() == QEvent::KeyPress)
            m_checkByKey = true;
        else if (event->type() == QEvent::FocusOut || event->type() == QEvent::MouseButtonPress)
            m_checkByKey = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::showLastHistoryLine()
{
    m_history->setEditText(m_solver.historyEditText());
}

void Form1::backToSolving()
{
    const bool reviewing = m_solver.state() == GridSolver::State::Reviewing;
    m_solver.backToSolving();
    redraw();
    if (reviewing)
        m_cursor->cellsRenamed();
}

void Form1::hideKeyboard()
{
    m_solver.hideKeyboard();
    redraw();
}

qreal Form1::clueFontSize() const
{
    return m_cluePane->fontSize();
}

void Form1::setClueFontSize(qreal points)
{
    m_solver.setClueFontSize(points);
    redraw();
}

void Form1::redrawCell(int cell)
{
    ClickableLabel *letter = m_grid->letterLabel(cell);
    ClickableLabel *number = m_grid->numberLabel(cell);
    GridLabels::setCaption(letter, m_solver.enteredLetter(cell));
    switch (m_solver.mark(cell)) {
    case GridSolver::Mark::Wrong:
        GridLabels::setBackground(letter, Yellow);
        break;
    case GridSolver::Mark::Correct:
        GridLabels::setBackground(letter, White);
        break;
    case GridSolver::Mark::None:
        break;
    }
    if (m_solver.isNumberShown(cell))
        GridLabels::setCaption(number, m_solver.cellNumber(cell));
    letter->setVisible(m_solver.isPlayable(cell));
    number->setVisible(m_solver.isNumberShown(cell));
    // Only labels on show take clicks, so only they are disabled: Qt tells a
    // screen reader of every label's new state, and all 800 at once kept
    // Orca busy for seconds before it read the result.
    if (m_solver.isPlayable(cell))
        letter->setEnabled(m_solver.isCellEnabled(cell));
    if (m_solver.isNumberShown(cell))
        number->setEnabled(m_solver.isCellEnabled(cell));
}

void Form1::redraw()
{
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        if (m_grid->letterLabel(i))
            redrawCell(i);
    }

    const GridSolver::PaneStyle &style = m_solver.cluePaneStyle();
    // A change of style lays the whole text out again, so a text about to be
    // replaced goes before the style changes and its successor comes after.
    const bool newText = m_cluePane->text() != m_solver.cluePaneText();
    if (newText)
        m_cluePane->setText(QString());
    if (m_cluePane->textAlignment() != toAlignment(style.alignment))
        m_cluePane->setTextAlignment(toAlignment(style.alignment));
    if (m_cluePane->fontSize() != style.fontSize)
        m_cluePane->setFontSize(style.fontSize);
    if (m_cluePane->textColour() != toColour(style.colour))
        m_cluePane->setTextColour(toColour(style.colour));
    if (newText) {
        // A result or the hint is read whole on arriving; the clues a line at a time.
        CluePaneAccessible::setReadWhole(m_cluePane,
                                         style.alignment == GridSolver::Alignment::Centre);
        m_cluePane->setText(m_solver.cluePaneText());
    }

    m_finish->setEnabled(m_solver.isFinishEnabled());
    m_back->setEnabled(m_solver.isBackEnabled());

    if (m_history->count() != m_solver.history().size()) {
        m_history->clear();
        m_history->addItems(m_solver.history());
    }

    m_keyboard->moveTo(m_solver.keyboardPosition());
    m_keyboard->setVisible(m_solver.isKeyboardShown());
}
