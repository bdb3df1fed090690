#include "form4.h"

#include "accessiblefactory.h"
#include "clickablelabel.h"
#include "clientarea.h"
#include "cluepane.h"
#include "crossworddocument.h"
#include "gridcursor.h"
#include "gridlabels.h"
#include "letterkeyboard.h"
#include "mainmenus.h"
#include "menukey.h"
#include "numberpad.h"
#include "plaintext.h"
#include "popupkeys.h"
#include "twips.h"

#include <QPushButton>

const QString Form4::Caption = QStringLiteral("Кварцелла 2.0");

Form4::Form4(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Caption);
    // Before any control is made: Qt makes a control's accessible object as
    // soon as it is named.
    AccessibleFactory::install();
    MainMenus::buildEditing(this);
    MenuKey::install(this);
    buildControls();
}

void Form4::buildControls()
{
    m_client = new ClientArea(15240, 10830, this);
    m_client->setObjectName(QStringLiteral("Form4ClientArea"));
    setCentralWidget(m_client);
    connect(m_client, &ClientArea::backgroundPressed, this, &Form4::hidePopups);

    m_cluePane = new CluePane(m_client);
    m_cluePane->setAccessibleName(QStringLiteral("вопросы"));
    m_cluePane->setGeometry(Twips::toPixels(TwipRect{9360, 0, 5895, 9375}));
    connect(m_cluePane, &CluePane::pressed, this, &Form4::hidePopups);

    m_back = new QPushButton(QStringLiteral("назад"), m_client);
    m_back->setObjectName(QStringLiteral("Command1"));
    m_back->setGeometry(Twips::toPixels(TwipRect{9480, 9600, 1215, 435}));
    connect(m_back, &QPushButton::clicked, this, [this] { apply(&GridEditor::backToGrid); });

    m_preview = new QPushButton(QStringLiteral("показать"), m_client);
    m_preview->setObjectName(QStringLiteral("Command2"));
    m_preview->setGeometry(Twips::toPixels(TwipRect{13860, 9600, 1215, 435}));
    connect(m_preview, &QPushButton::clicked, this, [this] { apply(&GridEditor::showPuzzle); });

    m_client->addTopLines(9240);

    m_grid = new GridLabels(m_client, GridGeometry::Window::Editing);
    connect(m_grid, &GridLabels::letterClicked, this,
            [this](int cell) { apply([cell](GridEditor &e) { e.openLetterKeyboard(cell); }); });
    connect(m_grid, &GridLabels::numberClicked, this,
            [this](int cell) { apply([cell](GridEditor &e) { e.openNumberPad(cell); }); });

    // The pop-ups lie above the grid and the clue pane.
    m_numberPad = new NumberPad(m_client);
    connect(m_numberPad, &NumberPad::keyClicked, this,
            [this](int key) { apply([key](GridEditor &e) { e.pressPadKey(key); }); });
    m_keyboard = new LetterKeyboard(m_client);
    connect(m_keyboard, &LetterKeyboard::keyClicked, this,
            [this](int key) { apply([key](GridEditor &e) { e.pressLetterKey(key); }); });

    // Made last, it is the last stop of the Tab order, so that Shift+Tab from
    // the clues reaches it and the window still opens with the clues focused.
    m_cursor = new GridCursor(
        m_grid,
        [this](int cell) {
            return GridCursor::CellFacts{m_editor.number(cell), m_editor.letter(cell)};
        },
        [this] { return document(); }, m_client);
    connect(m_cluePane, &QPlainTextEdit::textChanged, m_cursor, &GridCursor::crosswordChanged);
    m_cursor->setLetterKeys(PopupKeys::forLetterKeyboard(m_keyboard));
    PopupKeys *padKeys = PopupKeys::forNumberPad(m_numberPad);
    connect(padKeys, &PopupKeys::dismissRequested, this, &Form4::hidePopups);
    m_cursor->setNumberKeys(padKeys);
    // A number written by the pad renames its cell; letters rename theirs.
    connect(m_numberPad, &NumberPad::keyClicked, this, [this](int key) {
        if (key == GridGeometry::PadDisplayKey)
            m_cursor->cellRenamed(m_editor.selectedCell());
    });
}

void Form4::load()
{
    setWindowTitle(Caption);
    m_editorFileName.clear();
    m_keyboard->nameLastLetterKey();
    m_grid->createElements();
    m_cursor->raise();
    m_numberPad->raise();
    m_keyboard->raise();
    redraw();
}

template <typename Operation> void Form4::apply(Operation operation)
{
    std::invoke(operation, m_editor);
    redraw();
}

void Form4::hidePopups()
{
    apply(&GridEditor::hidePopups);
}

void Form4::showFileNameInTitle()
{
    setWindowTitle(PlainText::windowTitle(Caption + QStringLiteral("  -  ") + m_editorFileName));
}

CrosswordDocument Form4::document() const
{
    return m_editor.toDocument(m_cluePane->text());
}

void Form4::showDocument(const CrosswordDocument &document)
{
    m_editor.loadDocument(document);
    redraw();
    m_cluePane->setText(document.clueText());
}

qreal Form4::clueFontSize() const
{
    return m_cluePane->fontSize();
}

void Form4::setClueFontSize(qreal points)
{
    m_cluePane->setFontSize(points);
}

void Form4::redraw()
{
    m_cursor->crosswordChanged();
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        ClickableLabel *letter = m_grid->letterLabel(i);
        if (!letter)
            continue;
        ClickableLabel *number = m_grid->numberLabel(i);
        GridLabels::setCaption(letter, m_editor.letter(i));
        GridLabels::setCaption(number, m_editor.number(i));
        letter->setVisible(m_editor.isShown(i));
        number->setVisible(m_editor.isShown(i));
    }
    m_keyboard->moveTo(m_editor.letterKeyboardPosition());
    m_keyboard->setVisible(m_editor.isLetterKeyboardShown());
    m_numberPad->moveTo(m_editor.numberPadPosition());
    m_numberPad->setDisplay(m_editor.padDisplay());
    m_numberPad->setVisible(m_editor.isNumberPadShown());
}
