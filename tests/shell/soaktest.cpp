// Thousands of random actions on both main windows at once: a teacher's
// editing window and a pupil's solving window, each run by its own program on
// its own scripted platform, as on two desks of one classroom. After every
// action the invariants a user relies on are checked.
//
// The run is repeatable. KVARCELLA_SOAK_SEED picks another seed (the default is
// fixed), KVARCELLA_SOAK_ACTIONS another length, and KVARCELLA_SOAK_TRACE=1
// prints every action before it is made, for a crash that leaves no report.
// A failure reports the seed, the action's number and the actions before it.
#include "shelltesting.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "controlarray.h"
#include "crosswordfile.h"
#include "dailypassword.h"
#include "filenames.h"
#include "form1.h"
#include "form3.h"
#include "form4.h"
#include "gridcursor.h"
#include "gridgeometry.h"
#include "gridlabels.h"
#include "letterkeyboard.h"
#include "numberpad.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <deque>
#include <random>

namespace {

constexpr quint32 DefaultSeed = 20261208;
constexpr int DefaultActions = 10000;
constexpr int RememberedActions = 40;

const QString TitlePrefix = QStringLiteral("Кварцелла 2.0  -  ");
const QColor Yellow(255, 255, 0);

quint32 seedFromEnvironment()
{
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("KVARCELLA_SOAK_SEED").toUInt(&ok);
    return ok ? seed : DefaultSeed;
}

int actionsFromEnvironment()
{
    bool ok = false;
    const int actions = qEnvironmentVariableIntValue("KVARCELLA_SOAK_ACTIONS", &ok);
    return ok && actions > 0 ? actions : DefaultActions;
}

// The same numbers from the same seed with every standard library.
class Dice
{
public:
    explicit Dice(quint32 seed) : m_engine(seed) {}
    int below(int n) { return int(m_engine() % quint32(n)); }
    bool percent(int p) { return below(100) < p; }
    template <typename T> const T &pick(const QList<T> &list)
    {
        return list[below(int(list.size()))];
    }

private:
    std::mt19937 m_engine;
};

// What a press landed on, found from the window's widgets before the press.
struct Hit
{
    enum class Kind {
        Background, // the design area's own surface
        Beside,     // the window beyond its design area
        LetterLabel,
        NumberLabel,
        LetterKey,
        PadKey,
        Panel,
        CluePane,
        ScrollBar, // the clue pane's: a press there is not one in the text
        BackButton,
        ForwardButton, // "закончить" or "показать"
        HistoryCaption,
        History,
        Grid, // the keyboard's stop in the grid
        Other
    };
    Kind kind = Kind::Other;
    int index = -1;
};

Hit classify(const QMainWindow *window, QWidget *widget)
{
    if (!widget || widget == window)
        return {Hit::Kind::Beside};
    static const QMap<QString, Hit::Kind> byName = {
        {QStringLiteral("Label1"), Hit::Kind::LetterLabel},
        {QStringLiteral("Label2"), Hit::Kind::NumberLabel},
        {QStringLiteral("Command3"), Hit::Kind::LetterKey},
        {QStringLiteral("Command4"), Hit::Kind::PadKey},
        {QStringLiteral("Frame1"), Hit::Kind::Panel},
        {QStringLiteral("Frame2"), Hit::Kind::Panel},
        {QStringLiteral("Text3"), Hit::Kind::CluePane},
        {QStringLiteral("Command1"), Hit::Kind::BackButton},
        {QStringLiteral("Command2"), Hit::Kind::ForwardButton},
        {QStringLiteral("Label3"), Hit::Kind::HistoryCaption},
        {QStringLiteral("Combo1"), Hit::Kind::History},
        {QStringLiteral("GridCursor"), Hit::Kind::Grid}};
    for (QWidget *w = widget; w && w != window; w = w->parentWidget()) {
        if (qobject_cast<QScrollBar *>(w))
            return {Hit::Kind::ScrollBar};
        const auto found = byName.constFind(w->objectName());
        if (found != byName.constEnd())
            return {*found, ControlArray::indexOf(w)};
        if (w == window->centralWidget())
            return {Hit::Kind::Background};
    }
    return {Hit::Kind::Other};
}

QString describe(const Hit &hit)
{
    static const char *const names[] = {
        "background",     "beside the design area", "letter label", "number label", "letter key",
        "pad key",        "pop-up panel",           "clue pane",    "scroll bar",   "\"назад\"",
        "forward button", "history caption",        "history",      "grid",
        "other control"};
    QString text = QString::fromUtf8(names[int(hit.kind)]);
    if (hit.index >= 0)
        text += QStringLiteral(" %1").arg(hit.index);
    return text;
}

// What the teacher sees in the editing window.
struct EditorView
{
    int serial = 0; // which instance of the window; 0 when there is none
    QStringList letters;
    QStringList numbers;
    QList<bool> letterShown;
    QList<bool> numberShown;
    QString clues;
    qreal fontSize = 0;
    QString title;
    QString fileName;
    bool keyboardShown = false;
    bool padShown = false;
    QString padDisplay;
    int selected = 0;
    bool operator==(const EditorView &) const = default;
};

// What the pupil sees in the solving window.
struct SolverView
{
    int serial = 0;
    QStringList entered;
    QList<bool> yellow;
    QList<bool> shown;
    QList<bool> enabled;
    QString pane;
    qreal fontSize = 0;
    QString title;
    bool keyboardShown = false;
    bool finishEnabled = false;
    bool backEnabled = false;
    QStringList history;
    QString historyEdit;
    int selected = 0;
    qint32 attempts = 0;
    bool operator==(const SolverView &) const = default;
};

CrosswordDocument documentOf(const EditorView &view)
{
    CrosswordDocument document;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        document.setLetter(i, view.letters[i]);
        document.setNumber(i, view.numbers[i]);
    }
    document.setClueText(view.clues);
    return document;
}

// Typed into the clue pane: Russian and Latin letters, digits, punctuation and
// markup characters. Nothing here becomes a multi-byte sequence when written
// as Windows-1251 next to Cyrillic letters, so a saved file always reads back
// as Windows-1251.
const QString TypedCharacters =
    QStringLiteral("абвгдежзийклмнопрстуфхцчшщъыьэюяАБВЖЯabcxyzXYZ0123456789 .,:;-?!()<>&\"'/");
// Windows-1251 has no byte for it: a clue holding it cannot be saved.
const QChar Unsavable = u'Ω';

} // namespace

class SoakTest : public ProgramTest
{
protected:
    enum class Command { None, Font, Help, Open, New, Save, SaveAs, History, Typing };
    enum class Outcome { None, Refused, Cancelled, Failed, Succeeded };

    struct Step
    {
        QString text;
        bool pressed = false;
        Qt::MouseButton button = Qt::LeftButton;
        Hit hit;
        Hit typedInto;
        Command command = Command::None;
        Outcome outcome = Outcome::None;
        QString file;
        QByteArray fileBefore; // a save's target, as it was
    };

    void TearDown() override
    {
        teacher.reset();
        ProgramTest::TearDown();
    }

    void prepareFiles();
    void startBothPrograms();
    void run(quint32 seed, int actions);

    Form4 *editingWindow() const { return teacher->windows().editingWindow(); }
    Form1 *solvingWindow() const { return program->windows().solvingWindow(); }
    int serialOf(QMainWindow *window);

    EditorView editorView();
    SolverView solverView();

    Step teacherStep(Form4 *window);
    Step pupilStep(Form1 *window);
    void press(QMainWindow *window, QPoint windowPoint, Qt::MouseButton button, Step &step);
    void pressWidget(QMainWindow *window, QWidget *widget, Step &step);
    // Repeats the window's last press as the second half of a double click.
    bool pressAgainAtOnce(QMainWindow *window, Step &step);
    void pressAnywhere(QMainWindow *window, Step &step);
    void pressBackground(QMainWindow *window, Step &step);
    void typeKeys(QMainWindow *window, Step &step);
    // A key typed while a pop-up is open, or into the grid: recorded as the
    // click it stands for, so that every check of clicks holds for it too.
    bool typePopupKey(QMainWindow *window, QWidget *target, Step &step);
    bool typeIntoGrid(QWidget *target, Step &step);
    void openInEditor(Form4 *window, Step &step);
    void saveInEditor(Form4 *window, Step &step, bool saveAs);
    void openInSolver(Form1 *window, Step &step);
    QString chooseFileToOpen(Step &step);
    static std::optional<QString> dialogAnswer(const Step &step);
    void announce(const Step &step);
    void menu(QMainWindow *window, const char *item, Step &step);

    void checkEditor(const EditorView &before, const Step &step, const EditorView &after);
    void checkSolver(const SolverView &before, const Step &step, const SolverView &after);
    void checkPopup(QWidget *panel, QPushButton *firstKey, QPushButton *lastKey, const char *name);
    void problem(const QString &text) { m_problems << text; }
    void tally(const char *what) { ++m_tally[QString::fromLatin1(what)]; }

    FakePlatform teacherPlatform;
    int teacherQuits = 0;
    std::unique_ptr<Program> teacher;

    // Every readable file and what it holds; a map, so that picks follow the seed.
    QMap<QString, CrosswordDocument> m_records;
    QStringList m_unreadable;
    QStringList m_saveTargets;
    QStringList m_unwritable;
    std::unique_ptr<Dice> m_dice;
    int m_serials = 0;
    struct
    {
        int serial = 0;
        QPushButton *finish = nullptr;
        QPushButton *back = nullptr;
        QComboBox *history = nullptr;
    } m_solvingControls;
    QStringList m_problems;
    QMap<QString, int> m_tally;
    bool m_trace = false;
    // The press just made, while the next action may still double it.
    struct
    {
        QPointer<QMainWindow> window;
        QPoint point;
        Qt::MouseButton button = Qt::LeftButton;
    } m_lastPress;
    int m_action = 0;
};

void SoakTest::prepareFiles()
{
    // Solved by its first check.
    const CrosswordDocument blank = boardFromRows({}, {{0, "1"}}, QStringLiteral("Пустая сетка."));
    CrosswordDocument small =
        boardFromRows({".кот", "..и", "..т"}, {{1, "1"}, {2, "2"}},
                      QStringLiteral("По горизонтали:\r\n1. Домашнее животное.\r\n\r\n"
                                     "По вертикали:\r\n2. Морской зверь."));
    // Cells in every band where the pop-ups move away from the bottom edge.
    CrosswordDocument edges = boardFromRows(
        {"дом..................я",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "",
         "лес",
         "",
         "",
         "мир",
         "...................ь"},
        {{0, "1"}, {19, "12"}, {300, "7"}, {360, "99"}, {399, "5"}}, QStringLiteral("Края сетки."));
    edges.setLetter(380, QStringLiteral("в"));
    // No keyboard key matches these answers, so it is never solved.
    const CrosswordDocument unsolvable =
        boardFromRows({"ёЖ", "а"}, {{0, "3"}}, QStringLiteral("Ответы вне клавиатуры."));

    const struct
    {
        const char *name;
        const CrosswordDocument &document;
    } files[] = {
        {"пустой.crs", blank}, {"кот.crs", small}, {"края.crs", edges}, {"ёж.crs", unsolvable}};
    for (const auto &file : files) {
        const QString name = QString::fromUtf8(file.name);
        m_records.insert(crosswordFile(name, file.document), file.document);
    }

    m_unreadable = unreadableCrosswords().all();

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("уроки")));
    m_saveTargets = {path(QStringLiteral("уроки/первый.crs")),
                     path(QStringLiteral("уроки/второй.crs")),
                     path(QStringLiteral("уроки/без расширения")), path(QStringLiteral("кот.crs"))};
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("папка.crs")));
    m_unwritable = {path(QStringLiteral("нет такой папки/урок.crs")),
                    path(QStringLiteral("папка.crs"))};
}

void SoakTest::startBothPrograms()
{
    Form1 *solving = startAndOpen(path(QStringLiteral("кот.crs")));
    ASSERT_NE(solving, nullptr);

    teacher = std::make_unique<Program>(teacherPlatform, [this] { ++teacherQuits; });
    teacher->start();
    ASSERT_NE(teacher->windows().startWindow(), nullptr);
    click(teacher->windows().startWindow()->createButton());
    settle();
    ASSERT_NE(editingWindow(), nullptr);
}

int SoakTest::serialOf(QMainWindow *window)
{
    const QVariant serial = window->property("soakSerial");
    if (serial.isValid())
        return serial.toInt();
    // A window seen for the first time: most are enlarged, so that presses can
    // also land beside the design area.
    window->setProperty("soakSerial", ++m_serials);
    if (m_dice->percent(70))
        window->resize(window->size() + QSize(40 + m_dice->below(160), 20 + m_dice->below(100)));
    QCoreApplication::processEvents();
    return m_serials;
}

EditorView SoakTest::editorView()
{
    EditorView view;
    Form4 *window = editingWindow();
    if (!window)
        return view;
    view.serial = serialOf(window);
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        const ClickableLabel *letter = window->grid()->letterLabel(i);
        const ClickableLabel *number = window->grid()->numberLabel(i);
        view.letters << letter->text();
        view.numbers << number->text();
        view.letterShown << letter->isVisible();
        view.numberShown << number->isVisible();
    }
    view.clues = window->cluePane()->text();
    view.fontSize = window->clueFontSize();
    view.title = window->windowTitle();
    view.fileName = window->editorFileName();
    view.keyboardShown = window->keyboard()->isVisible();
    view.padShown = window->numberPad()->isVisible();
    view.padDisplay = window->numberPad()->key(GridGeometry::PadDisplayKey)->text();
    view.selected = window->editor().selectedCell();
    return view;
}

SolverView SoakTest::solverView()
{
    SolverView view;
    Form1 *window = solvingWindow();
    if (!window)
        return view;
    view.serial = serialOf(window);
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        const ClickableLabel *letter = window->grid()->letterLabel(i);
        view.entered << letter->text();
        view.yellow << (GridLabels::background(letter) == Yellow);
        view.shown << letter->isVisible();
        view.enabled << (letter->isEnabled() && window->grid()->numberLabel(i)->isEnabled());
    }
    view.pane = window->cluePane()->text();
    view.fontSize = window->clueFontSize();
    view.title = window->windowTitle();
    view.keyboardShown = window->keyboard()->isVisible();
    if (m_solvingControls.serial != view.serial) {
        m_solvingControls = {view.serial,
                             window->findChild<QPushButton *>(QStringLiteral("Command2")),
                             window->findChild<QPushButton *>(QStringLiteral("Command1")),
                             window->findChild<QComboBox *>(QStringLiteral("Combo1"))};
    }
    view.finishEnabled = m_solvingControls.finish->isEnabled();
    view.backEnabled = m_solvingControls.back->isEnabled();
    const QComboBox *history = m_solvingControls.history;
    for (int i = 0; i < history->count(); ++i)
        view.history << history->itemText(i);
    view.historyEdit = history->currentText();
    view.selected = window->solver().selectedCell();
    view.attempts = window->solver().attempts();
    return view;
}

void SoakTest::press(QMainWindow *window, QPoint windowPoint, Qt::MouseButton button, Step &step)
{
    step.pressed = true;
    step.button = button;
    step.hit = classify(window, window->childAt(windowPoint));
    step.text += QStringLiteral(" at (%1, %2)%3 on %4")
                     .arg(windowPoint.x())
                     .arg(windowPoint.y())
                     .arg(button == Qt::LeftButton ? QString() : QStringLiteral(" middle button"))
                     .arg(describe(step.hit));
    announce(step);
    QTest::mouseClick(window->windowHandle(), button, {}, windowPoint);
    m_lastPress = {window, windowPoint, button};
}

bool SoakTest::pressAgainAtOnce(QMainWindow *window, Step &step)
{
    if (m_lastPress.window != window || !m_dice->percent(10))
        return false;
    // The test's mouse clock leaves a pause after every click so that none
    // makes a double click by chance; this one is meant to.
    QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
    step.text += QStringLiteral(" again at once (a double click),");
    press(window, m_lastPress.point, m_lastPress.button, step);
    return true;
}

void SoakTest::pressWidget(QMainWindow *window, QWidget *widget, Step &step)
{
    press(window, widget->mapTo(window, widget->rect().center()), Qt::LeftButton, step);
}

void SoakTest::pressAnywhere(QMainWindow *window, Step &step)
{
    // Anywhere below the menu bar but on the history box, whose list would
    // open as a pop-up of its own; the history action uses its keys instead.
    const int top = window->centralWidget()->y();
    QPoint point;
    Hit::Kind kind = Hit::Kind::Other;
    for (int attempt = 0; attempt < 20; ++attempt) {
        point = QPoint(m_dice->below(window->width()), top + m_dice->below(window->height() - top));
        kind = classify(window, window->childAt(point)).kind;
        if (kind != Hit::Kind::History)
            break;
    }
    // The middle button pastes into text where the platform has a selection
    // clipboard, which is typing by other means.
    const bool middle = kind != Hit::Kind::CluePane && m_dice->percent(15);
    press(window, point, middle ? Qt::MiddleButton : Qt::LeftButton, step);
}

void SoakTest::pressBackground(QMainWindow *window, Step &step)
{
    const QRect design = window->centralWidget()->geometry();
    const bool enlarged =
        window->width() > design.right() + 1 || window->height() > design.bottom() + 1;
    QPoint point = design.topLeft();
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (enlarged && m_dice->percent(20)) {
            point = QPoint(m_dice->below(window->width()),
                           design.top() + m_dice->below(window->height() - design.top()));
        } else {
            point = design.topLeft() +
                    QPoint(m_dice->below(design.width()), m_dice->below(design.height()));
        }
        const Hit::Kind kind = classify(window, window->childAt(point)).kind;
        if (kind == Hit::Kind::Background || kind == Hit::Kind::Beside)
            break;
    }
    press(window, point, m_dice->percent(70) ? Qt::LeftButton : Qt::MiddleButton, step);
}

void SoakTest::typeKeys(QMainWindow *window, Step &step)
{
    // Keys that edit or move rather than type, each with how the report shows it.
    static const struct
    {
        Qt::Key key;
        const char16_t *text;
        const char16_t *shown;
    } moves[] = {{Qt::Key_Return, u"\r", u"⏎"}, {Qt::Key_Backspace, u"", u"⌫"},
                 {Qt::Key_Space, u" ", u" "},   {Qt::Key_Tab, u"\t", u"⇥"},
                 {Qt::Key_Up, u"", u"↑"},       {Qt::Key_Down, u"", u"↓"}};

    step.command = Command::Typing;
    QWidget *target = window->focusWidget() ? window->focusWidget() : window;
    step.typedInto = classify(window, target);
    m_lastPress.window = nullptr;
    if (typePopupKey(window, target, step) || typeIntoGrid(target, step))
        return;
    QString shown;
    QList<std::pair<Qt::Key, QString>> keys;
    for (int count = 1 + m_dice->below(6); count > 0; --count) {
        const int roll = m_dice->below(100);
        if (roll < 24) {
            const auto &move = moves[roll % std::size(moves)];
            keys.append({move.key, QString::fromUtf16(move.text)});
            shown += QString::fromUtf16(move.shown);
        } else {
            const QChar c = roll == 24 && m_dice->percent(25)
                                ? Unsavable
                                : TypedCharacters[m_dice->below(int(TypedCharacters.size()))];
            keys.append({Qt::Key_unknown, QString(c)});
            shown += c;
        }
    }
    step.text += QStringLiteral(" \"%1\" into %2").arg(shown, describe(step.typedInto));
    announce(step);
    for (const auto &[key, text] : keys)
        QTest::sendKeyEvent(QTest::Click, target, key, text, Qt::NoModifier);
}

bool SoakTest::typePopupKey(QMainWindow *window, QWidget *target, Step &step)
{
    auto *editor = qobject_cast<Form4 *>(window);
    const bool letters = editor ? editor->keyboard()->isVisible()
                                : static_cast<Form1 *>(window)->keyboard()->isVisible();
    const bool digits = editor && editor->numberPad()->isVisible();
    // In the grid, a move may also close the pop-up.
    if ((!letters && !digits) || (step.typedInto.kind == Hit::Kind::Grid && m_dice->percent(20)))
        return false;
    Qt::Key key = Qt::Key_unknown;
    QString text;
    int index = 0;
    if (letters) {
        index = 1 + m_dice->below(GridGeometry::LetterKeyCount);
        if (index == GridGeometry::EraseKey) {
            key = m_dice->percent(50) ? Qt::Key_Backspace : Qt::Key_Delete;
        } else if (index == GridGeometry::CloseKey) {
            key = Qt::Key_Escape;
        } else {
            text = GridGeometry::letterKeyCaption(index);
            if (text == QStringLiteral("е") && m_dice->percent(30))
                text = QStringLiteral("ё");
            if (m_dice->percent(30))
                text = text.toUpper();
        }
    } else {
        // One roll past the keys: Escape, which closes the pad.
        index = 1 + m_dice->below(GridGeometry::PadKeyCount + 1);
        if (index <= 10) {
            key = Qt::Key(Qt::Key_0 + index - 1);
            text = QString::number(index - 1);
        } else if (index == GridGeometry::PadClearKey) {
            key = m_dice->percent(50) ? Qt::Key_Backspace : Qt::Key_Delete;
        } else if (index == GridGeometry::PadDisplayKey) {
            key = m_dice->percent(50) ? Qt::Key_Return : Qt::Key_Enter;
        } else {
            key = Qt::Key_Escape;
            index = 0;
        }
    }
    step.text += QStringLiteral(" typed %1 into %2 for %3 %4")
                     .arg(text.isEmpty() ? QKeySequence(key).toString() : text,
                          describe(step.typedInto), letters ? u"letter key" : u"pad key")
                     .arg(index);
    if (index > 0) {
        step.command = Command::None;
        step.pressed = true;
        step.button = Qt::LeftButton;
        step.hit = {letters ? Hit::Kind::LetterKey : Hit::Kind::PadKey, index};
    }
    announce(step);
    QTest::sendKeyEvent(QTest::Click, target, key, text, Qt::NoModifier);
    tally("typed: pop-up key");
    return true;
}

bool SoakTest::typeIntoGrid(QWidget *target, Step &step)
{
    if (step.typedInto.kind != Hit::Kind::Grid)
        return false;
    static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                                   Qt::Key_Home, Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown,
                                   Qt::Key_Return, Qt::Key_Space};
    const Qt::Key key = keys[m_dice->below(int(std::size(keys)))];
    auto *cursor = static_cast<GridCursor *>(target);
    step.text += QStringLiteral(" typed %1 into the grid at cell %2")
                     .arg(QKeySequence(key).toString())
                     .arg(cursor->cell());
    if ((key == Qt::Key_Return || key == Qt::Key_Space) && cursor->isExposed(cursor->cell())) {
        // The same as a click on the cell's letter.
        step.command = Command::None;
        step.pressed = true;
        step.button = Qt::LeftButton;
        step.hit = {Hit::Kind::LetterLabel, cursor->cell()};
    }
    announce(step);
    QTest::keyClick(target, key);
    tally("typed: grid");
    return true;
}

void SoakTest::announce(const Step &step)
{
    // Printed before the action is made, so that a crash still names it.
    if (m_trace) {
        std::printf("%d %s\n", m_action, qPrintable(step.text));
        std::fflush(stdout);
    }
}

void SoakTest::menu(QMainWindow *window, const char *item, Step &step)
{
    announce(step);
    trigger(window, item);
}

std::optional<QString> SoakTest::dialogAnswer(const Step &step)
{
    if (step.outcome == Outcome::Cancelled)
        return std::nullopt;
    return step.file;
}

QString SoakTest::chooseFileToOpen(Step &step)
{
    const int roll = m_dice->below(100);
    if (roll < 10) {
        step.outcome = Outcome::Cancelled;
        return {};
    }
    if (roll < 45) {
        step.outcome = Outcome::Failed;
        return m_dice->pick(m_unreadable);
    }
    step.outcome = Outcome::Succeeded;
    return m_dice->pick(m_records.keys());
}

void SoakTest::openInEditor(Form4 *window, Step &step)
{
    step.command = Command::Open;
    const QString password = DailyPassword::forDate(teacherPlatform.date, QLocale::system());
    QString typed = password;
    if (m_dice->percent(15)) {
        typed = m_dice->percent(50) ? QString() : password.left(m_dice->below(4));
        step.outcome = Outcome::Refused;
    } else {
        step.file = chooseFileToOpen(step);
    }
    teacherPlatform.inputAnswers = {typed};
    teacherPlatform.fileAnswers = {dialogAnswer(step)};
    step.text += QStringLiteral(" \"Открыть...\" with password \"%1\" and file \"%2\"")
                     .arg(typed, step.outcome == Outcome::Cancelled ? QStringLiteral("(cancel)")
                                                                    : step.file);
    menu(window, "menuopen", step);
}

void SoakTest::saveInEditor(Form4 *window, Step &step, bool saveAs)
{
    step.command = saveAs ? Command::SaveAs : Command::Save;
    if (saveAs || window->editorFileName().isEmpty()) {
        const int roll = m_dice->below(100);
        if (roll < 10)
            step.outcome = Outcome::Cancelled;
        else
            step.file = roll < 35 ? m_dice->pick(m_unwritable) : m_dice->pick(m_saveTargets);
        teacherPlatform.fileAnswers = {dialogAnswer(step)};
    } else {
        step.file = window->editorFileName();
    }
    if (step.outcome != Outcome::Cancelled) {
        const bool writable = !m_unwritable.contains(step.file);
        step.outcome = writable && !window->cluePane()->text().contains(Unsavable)
                           ? Outcome::Succeeded
                           : Outcome::Failed;
        step.fileBefore = fileBytes(step.file);
    }
    step.text +=
        QStringLiteral(" \"%1\" to \"%2\"")
            .arg(saveAs ? QStringLiteral("Сохранить как...") : QStringLiteral("Сохранить"),
                 step.outcome == Outcome::Cancelled ? QStringLiteral("(cancel)") : step.file);
    menu(window, saveAs ? "menusave2" : "menusave1", step);
}

void SoakTest::openInSolver(Form1 *window, Step &step)
{
    step.command = Command::Open;
    step.file = chooseFileToOpen(step);
    platform.fileAnswers = {dialogAnswer(step)};
    step.text +=
        QStringLiteral(" \"Открыть...\" with file \"%1\"")
            .arg(step.outcome == Outcome::Cancelled ? QStringLiteral("(cancel)") : step.file);
    menu(window, "menuopen", step);
}

SoakTest::Step SoakTest::teacherStep(Form4 *window)
{
    Step step;
    step.text = QStringLiteral("teacher:");
    if (pressAgainAtOnce(window, step))
        return step;
    QWidget *client = window->centralWidget();
    const auto cellPoint = [&](QWidget *label, bool corner) {
        const QRect r = label->geometry();
        return client->mapTo(window, corner ? r.topLeft() + QPoint(r.width() / 6, r.height() / 6)
                                            : r.bottomRight() - QPoint(2, 2));
    };

    const int popupRoll = m_dice->below(100);
    if (window->keyboard()->isVisible() && popupRoll < 55) {
        pressWidget(window,
                    window->keyboard()->key(1 + m_dice->below(GridGeometry::LetterKeyCount)), step);
        return step;
    }
    if (window->numberPad()->isVisible() && popupRoll < 55) {
        const int roll = m_dice->below(100);
        const int key = roll < 55   ? 1 + m_dice->below(10)
                        : roll < 70 ? GridGeometry::PadClearKey
                                    : GridGeometry::PadDisplayKey;
        pressWidget(window, window->numberPad()->key(key), step);
        return step;
    }

    const int roll = m_dice->below(1000);
    const int cell = m_dice->below(CrosswordDocument::CellCount);
    if (roll < 325) {
        press(window, cellPoint(window->grid()->letterLabel(cell), false), Qt::LeftButton, step);
    } else if (roll < 485) {
        press(window, cellPoint(window->grid()->numberLabel(cell), true), Qt::LeftButton, step);
    } else if (roll < 520) {
        pressWidget(window, window->findChild<QPushButton *>(QStringLiteral("Command2")), step);
    } else if (roll < 555) {
        pressWidget(window, window->findChild<QPushButton *>(QStringLiteral("Command1")), step);
    } else if (roll < 665) {
        pressBackground(window, step);
    } else if (roll < 745) {
        pressAnywhere(window, step);
    } else if (roll < 825) {
        typeKeys(window, step);
    } else if (roll < 875) {
        pressWidget(window, window->cluePane()->viewport(), step);
    } else if (roll < 895) {
        step.command = Command::Font;
        step.text += QStringLiteral(" \"Шрифт\"");
        menu(window, "menufont", step);
    } else if (roll < 930) {
        openInEditor(window, step);
    } else if (roll < 960) {
        saveInEditor(window, step, true);
    } else if (roll < 985) {
        saveInEditor(window, step, false);
    } else if (roll < 990) {
        step.command = Command::New;
        step.text += QStringLiteral(" \"Создать\"");
        menu(window, "menunew", step);
    } else {
        step.command = Command::Help;
        step.text += QStringLiteral(" \"Содержание...\"");
        menu(window, "menuhelp1", step);
    }
    return step;
}

SoakTest::Step SoakTest::pupilStep(Form1 *window)
{
    Step step;
    step.text = QStringLiteral("pupil:");
    if (pressAgainAtOnce(window, step))
        return step;
    QWidget *client = window->centralWidget();
    const GridSolver &solver = window->solver();

    if (window->keyboard()->isVisible() && m_dice->percent(60)) {
        // Half the time the pupil knows the answer.
        int key = 1 + m_dice->below(GridGeometry::LetterKeyCount);
        const QString answer = solver.answerLetter(solver.selectedCell());
        if (m_dice->percent(50)) {
            for (int k = 1; k < GridGeometry::EraseKey; ++k) {
                if (GridGeometry::letterKeyCaption(k) == answer)
                    key = k;
            }
        }
        pressWidget(window, window->keyboard()->key(key), step);
        return step;
    }

    const int roll = m_dice->below(1000);
    int cell = m_dice->below(CrosswordDocument::CellCount);
    if (m_dice->percent(75)) {
        QList<int> playable;
        for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
            if (solver.isPlayable(i))
                playable << i;
        }
        if (!playable.isEmpty())
            cell = m_dice->pick(playable);
    }
    if (roll < 360) {
        const QRect r = window->grid()->letterLabel(cell)->geometry();
        press(window, client->mapTo(window, r.bottomRight() - QPoint(2, 2)), Qt::LeftButton, step);
    } else if (roll < 410) {
        const QRect r = window->grid()->numberLabel(cell)->geometry();
        press(window, client->mapTo(window, r.center()), Qt::LeftButton, step);
    } else if (roll < 510) {
        pressWidget(window, window->findChild<QPushButton *>(QStringLiteral("Command2")), step);
    } else if (roll < 610) {
        pressWidget(window, window->findChild<QPushButton *>(QStringLiteral("Command1")), step);
    } else if (roll < 690) {
        pressBackground(window, step);
    } else if (roll < 760) {
        pressAnywhere(window, step);
    } else if (roll < 810) {
        typeKeys(window, step);
    } else if (roll < 840) {
        pressWidget(window, window->cluePane()->viewport(), step);
    } else if (roll < 870) {
        pressWidget(window, window->findChild<QWidget *>(QStringLiteral("Label3")), step);
    } else if (roll < 910) {
        // A pick from the history: into its edit field, then up or down the list.
        QComboBox *history = window->findChild<QComboBox *>(QStringLiteral("Combo1"));
        pressWidget(window, history->lineEdit(), step);
        step.command = Command::History;
        const bool up = m_dice->percent(50);
        step.text += up ? QStringLiteral(", key up") : QStringLiteral(", key down");
        QTest::keyClick(history, up ? Qt::Key_Up : Qt::Key_Down);
    } else if (roll < 930) {
        step.command = Command::Font;
        step.text += QStringLiteral(" \"Шрифт\"");
        menu(window, "menufont", step);
    } else if (roll < 975) {
        openInSolver(window, step);
    } else {
        step.command = Command::Help;
        step.text += QStringLiteral(" \"Содержание...\"");
        menu(window, "menuhelp1", step);
    }
    return step;
}

void SoakTest::checkPopup(QWidget *panel, QPushButton *firstKey, QPushButton *lastKey,
                          const char *name)
{
    // The design area the pop-up belongs to.
    const QWidget *client = panel->parentWidget();
    if (!client->rect().contains(panel->geometry())) {
        problem(QStringLiteral("the %1 reaches outside the window: (%2, %3) %4 x %5")
                    .arg(QString::fromLatin1(name))
                    .arg(panel->x())
                    .arg(panel->y())
                    .arg(panel->width())
                    .arg(panel->height()));
    }
    for (QPushButton *key : {firstKey, lastKey}) {
        const QPoint centre = key->mapTo(client, key->rect().center());
        if (client->childAt(centre) != key)
            problem(QStringLiteral("a key of the %1 is covered").arg(QString::fromLatin1(name)));
    }
}

void SoakTest::checkEditor(const EditorView &before, const Step &step, const EditorView &after)
{
    Form4 *window = editingWindow();
    if (!window || after.serial == 0) {
        problem(QStringLiteral("the editing window is gone"));
        return;
    }
    const bool fresh = after.serial != before.serial;
    if (fresh != (step.command == Command::New))
        problem(QStringLiteral("the editing window was replaced only by \"Создать\""));

    // The pop-ups: at most one, inside the window, above the grid.
    if (after.keyboardShown && after.padShown)
        problem(QStringLiteral("the letter keyboard and the number pad are open together"));
    if (after.keyboardShown) {
        checkPopup(window->keyboard(), window->keyboard()->key(1),
                   window->keyboard()->key(GridGeometry::LetterKeyCount), "letter keyboard");
    }
    if (after.padShown) {
        checkPopup(window->numberPad(), window->numberPad()->key(1),
                   window->numberPad()->key(GridGeometry::PadKeyCount), "number pad");
    }
    const bool closesPopups =
        (step.command != Command::None && step.command != Command::Typing) ||
        (step.pressed &&
         (step.hit.kind == Hit::Kind::Background || step.hit.kind == Hit::Kind::CluePane ||
          step.hit.kind == Hit::Kind::Beside));
    if (closesPopups && (after.keyboardShown || after.padShown))
        problem(QStringLiteral("a pop-up stayed open"));
    const bool leftPress = step.pressed && step.button == Qt::LeftButton;
    if (leftPress && step.hit.kind == Hit::Kind::LetterLabel && !after.keyboardShown)
        problem(QStringLiteral("a click on a cell opened no keyboard"));
    if (leftPress && step.hit.kind == Hit::Kind::NumberLabel && !after.padShown)
        problem(QStringLiteral("a click on a cell's corner opened no number pad"));

    // The cells change only through the keyboard and the pad, or when a whole
    // crossword is opened or started afresh.
    CrosswordDocument expected = documentOf(before);
    QString why = QStringLiteral("a keyboard or pad key");
    if (fresh) {
        expected = CrosswordDocument();
    } else if (step.command == Command::Open && step.outcome == Outcome::Succeeded) {
        expected = m_records.value(step.file);
    } else if (leftPress && step.hit.kind == Hit::Kind::LetterKey) {
        if (!before.keyboardShown)
            problem(QStringLiteral("a letter key was hit while the keyboard was closed"));
        else if (step.hit.index != GridGeometry::CloseKey)
            expected.setLetter(before.selected, GridGeometry::letterKeyCaption(step.hit.index));
        if (after.keyboardShown)
            problem(QStringLiteral("the keyboard stayed open after a key"));
    } else if (leftPress && step.hit.kind == Hit::Kind::PadKey &&
               step.hit.index == GridGeometry::PadDisplayKey) {
        expected.setNumber(before.selected, before.padDisplay);
        if (after.padShown)
            problem(QStringLiteral("the number pad stayed open after its display key"));
    } else if (step.command == Command::Typing && step.typedInto.kind == Hit::Kind::CluePane) {
        expected.setClueText(after.clues);
    }
    const CrosswordDocument shown = documentOf(after);
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        if (shown.letter(i) != expected.letter(i) || shown.number(i) != expected.number(i)) {
            problem(
                QStringLiteral("cell %1 shows \"%2\",\"%3\" where \"%4\",\"%5\" was due")
                    .arg(i)
                    .arg(shown.letter(i), shown.number(i), expected.letter(i), expected.number(i)));
            break;
        }
    }
    if (shown.clueText() != expected.clueText())
        problem(QStringLiteral("the clues changed without being typed or opened"));

    // A letter is never hidden, and a cell's two labels go together.
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        if (after.letterShown[i] != after.numberShown[i] ||
            (!after.letters[i].isEmpty() && !after.letterShown[i])) {
            problem(QStringLiteral("cell %1 is shown wrongly").arg(i));
            break;
        }
    }
    if (leftPress && step.hit.kind == Hit::Kind::ForwardButton) {
        for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
            if (after.letterShown[i] != !after.letters[i].isEmpty()) {
                problem(QStringLiteral("\"показать\" left cell %1 as it was").arg(i));
                break;
            }
        }
    }
    if (fresh || (leftPress && step.hit.kind == Hit::Kind::BackButton) ||
        (step.command == Command::Open && step.outcome == Outcome::Succeeded)) {
        if (after.letterShown.contains(false))
            problem(QStringLiteral("not every cell is shown"));
    }
    if (!QList<qreal>{12, 14, 16, 18}.contains(after.fontSize))
        problem(QStringLiteral("the clue font is %1 points").arg(after.fontSize));

    // File commands: a success shows the file, a failure changes nothing and says so.
    EditorView unchanged = before;
    unchanged.keyboardShown = unchanged.padShown = false;
    unchanged.selected = after.selected;
    switch (step.outcome) {
    case Outcome::None:
        break;
    case Outcome::Refused:
        unchanged.title = TitlePrefix + before.fileName;
        if (after != unchanged)
            problem(QStringLiteral("a refused password changed more than the title"));
        break;
    case Outcome::Cancelled:
        if (after != unchanged)
            problem(QStringLiteral("a cancelled dialog changed the window"));
        break;
    case Outcome::Failed:
        if (after != unchanged)
            problem(QStringLiteral("a failed open or save changed the window"));
        if (step.command != Command::Open && fileBytes(step.file) != step.fileBefore)
            problem(QStringLiteral("a failed save changed the file"));
        tally(step.command == Command::Open ? "teacher: open failed" : "teacher: save failed");
        break;
    case Outcome::Succeeded:
        if (after.fileName != step.file || after.title != TitlePrefix + step.file)
            problem(QStringLiteral("the window does not name the file it holds"));
        if (step.command == Command::Open) {
            if (after.fontSize != 12)
                problem(QStringLiteral("the clue font was not set back to 12 points"));
            tally("teacher: open");
        } else {
            const CrosswordDocument saved = documentOf(before);
            CrosswordDocument readBack;
            CrosswordFileError error;
            if (!CrosswordFile::read(step.file, &readBack, &error))
                problem(QStringLiteral("a saved file cannot be read: ") + error.message());
            else if (readBack != saved)
                problem(QStringLiteral("a saved file reads back different"));
            m_records.insert(step.file, saved);
            tally("teacher: saved");
        }
        break;
    }
}

void SoakTest::checkSolver(const SolverView &before, const Step &step, const SolverView &after)
{
    Form1 *window = solvingWindow();
    if (!window || after.serial == 0) {
        problem(QStringLiteral("the solving window is gone"));
        return;
    }
    const bool fresh = after.serial != before.serial;
    const bool opened = step.command == Command::Open && step.outcome == Outcome::Succeeded;
    if (fresh != opened)
        problem(QStringLiteral("the solving window was replaced only by a good \"Открыть...\""));

    const bool solved = !after.finishEnabled && !after.backEnabled;
    const bool reviewing = after.backEnabled;
    if (after.finishEnabled && after.backEnabled)
        problem(QStringLiteral("\"закончить\" and \"назад\" are both enabled"));
    if (after.keyboardShown) {
        if (!after.finishEnabled)
            problem(QStringLiteral("the keyboard is open after a check"));
        checkPopup(window->keyboard(), window->keyboard()->key(1),
                   window->keyboard()->key(GridGeometry::LetterKeyCount), "letter keyboard");
    }
    // A solved grid opens nothing and takes no letters.
    if (solved) {
        for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
            if (after.shown[i] && after.enabled[i])
                problem(QStringLiteral("a cell of the solved grid still takes clicks"));
        }
        if (after.pane != GridSolver::successText())
            problem(QStringLiteral("the solved grid does not say so"));
    }
    if (reviewing) {
        int marked = 0;
        for (int i = 0; i < CrosswordDocument::CellCount; ++i)
            marked += after.shown[i] && after.yellow[i];
        if (after.pane != GridSolver::failureText(qint16(marked)) &&
            after.pane != GridSolver::hintText())
            problem(QStringLiteral("the result does not count the %1 yellow cells").arg(marked));
    }
    if (after.finishEnabled && after.pane != window->solver().clueText())
        problem(QStringLiteral("the clues are not shown while solving"));
    const QList<qreal> sizes =
        after.finishEnabled ? QList<qreal>{12, 14, 16, 18} : QList<qreal>{22};
    if (!sizes.contains(after.fontSize))
        problem(QStringLiteral("the clue pane's font is %1 points").arg(after.fontSize));
    if (after.history.size() != after.attempts)
        problem(QStringLiteral("the history holds %1 lines after %2 checks")
                    .arg(after.history.size())
                    .arg(after.attempts));
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        if (!after.shown[i] && !after.entered[i].isEmpty()) {
            problem(QStringLiteral("hidden cell %1 holds a letter").arg(i));
            break;
        }
    }

    const bool closesPopups =
        (step.command != Command::None && step.command != Command::Typing &&
         step.command != Command::History) ||
        (step.pressed &&
         (step.hit.kind == Hit::Kind::Background || step.hit.kind == Hit::Kind::CluePane ||
          step.hit.kind == Hit::Kind::HistoryCaption ||
          step.hit.kind == Hit::Kind::Beside));
    if (closesPopups && after.keyboardShown)
        problem(QStringLiteral("the keyboard stayed open"));
    const bool leftPress = step.pressed && step.button == Qt::LeftButton;

    if (fresh) {
        // A crossword opened afresh: only its shape, its numbers and its clues.
        const CrosswordDocument file = m_records.value(step.file);
        if (after.title != TitlePrefix + step.file || currentFileName() != step.file)
            problem(QStringLiteral("the solving window does not name its file"));
        if (after.attempts != 0 || !after.history.isEmpty() || !after.finishEnabled)
            problem(QStringLiteral("an opened crossword does not start afresh"));
        if (after.pane != file.clueText())
            problem(QStringLiteral("the opened crossword's clues are not shown"));
        for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
            const bool numbered = file.isPlayable(i) && !file.number(i).isEmpty();
            if (after.shown[i] != file.isPlayable(i) || !after.entered[i].isEmpty() ||
                window->grid()->numberLabel(i)->isVisible() != numbered ||
                (numbered && window->grid()->numberLabel(i)->text() != file.number(i))) {
                problem(QStringLiteral("cell %1 of the opened crossword is shown wrongly").arg(i));
                break;
            }
        }
        tally("pupil: open");
        return;
    }

    // Within one window: counters never go down, the history only grows, a
    // solved grid stays solved and the shape never changes.
    if (after.attempts < before.attempts)
        problem(QStringLiteral("the checks counter went down"));
    if (after.history.mid(0, before.history.size()) != before.history)
        problem(QStringLiteral("an earlier history line changed"));
    if (!before.finishEnabled && !before.backEnabled && !solved)
        problem(QStringLiteral("a solved grid became unsolved"));
    if (after.shown != before.shown)
        problem(QStringLiteral("the shape of the crossword changed"));
    if (solved && !(!before.finishEnabled && !before.backEnabled))
        tally("pupil: solved");
    if (after.attempts > before.attempts)
        tally("pupil: checked");

    // Entered letters change only through a key of the keyboard, or are
    // cleared where a check found them wrong.
    const bool keyPressed = leftPress && step.hit.kind == Hit::Kind::LetterKey;
    const bool backToSolving = before.backEnabled && after.finishEnabled;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        if (after.entered[i] == before.entered[i])
            continue;
        const bool typed = keyPressed && i == before.selected &&
                           after.entered[i] == GridGeometry::letterKeyCaption(step.hit.index);
        const bool cleared = backToSolving && before.yellow[i] && after.entered[i].isEmpty();
        if (!typed && !cleared) {
            problem(QStringLiteral("cell %1 changed from \"%2\" to \"%3\"")
                        .arg(i)
                        .arg(before.entered[i], after.entered[i]));
            break;
        }
    }
    if (keyPressed && after.keyboardShown)
        problem(QStringLiteral("the keyboard stayed open after a key"));
    if (leftPress &&
        (step.hit.kind == Hit::Kind::LetterLabel || step.hit.kind == Hit::Kind::NumberLabel) &&
        before.finishEnabled && !after.keyboardShown)
        problem(QStringLiteral("a click on a cell opened no keyboard"));

    if (step.command == Command::Open) {
        SolverView unchanged = before;
        unchanged.keyboardShown = false;
        if (after != unchanged)
            problem(QStringLiteral("a failed or cancelled open changed the window"));
        if (step.outcome == Outcome::Failed)
            tally("pupil: open failed");
    }
    // Only a check sets the history's edit field; otherwise it keeps what the
    // pupil picked or typed there.
    if (after.attempts == before.attempts &&
        step.command != Command::History &&
        !(step.command == Command::Typing && step.typedInto.kind == Hit::Kind::History) &&
        after.historyEdit != before.historyEdit)
        problem(QStringLiteral("the history's edit field was set back"));
}

void SoakTest::run(quint32 seed, int actions)
{
    m_dice = std::make_unique<Dice>(seed);
    m_trace = qEnvironmentVariableIntValue("KVARCELLA_SOAK_TRACE") != 0;
    std::printf("soak: seed %u, %d actions (KVARCELLA_SOAK_SEED=%u repeats this run)\n", seed,
                actions, seed);
    std::fflush(stdout);

    std::deque<QString> recent;
    bool teacherWasLast = false;
    bool teacherActs = false;
    for (int action = 1; action <= actions; ++action) {
        const EditorView editorBefore = editorView();
        const SolverView solverBefore = solverView();
        const std::size_t teacherMessages = teacherPlatform.messages.size();
        const std::size_t pupilMessages = platform.messages.size();
        const std::size_t teacherRequests = teacherPlatform.fileRequests.size();
        m_action = action;

        // Each user makes a run of actions before the other one's turn.
        if (action == 1 || m_dice->percent(10))
            teacherActs = m_dice->percent(50);
        QMainWindow *acting = teacherActs ? static_cast<QMainWindow *>(editingWindow())
                                          : static_cast<QMainWindow *>(solvingWindow());
        if (teacherActs != teacherWasLast) {
            // Moving to the other desk's window brings it to the front.
            acting->activateWindow();
            QCoreApplication::processEvents();
            teacherWasLast = teacherActs;
        }
        Step step = teacherActs ? teacherStep(editingWindow()) : pupilStep(solvingWindow());
        if (!step.pressed || step.command != Command::None)
            m_lastPress.window = nullptr;
        if (step.command != Command::None && step.command != Command::Typing &&
            step.command != Command::History)
            settle();
        else if (action % 500 == 0)
            QCoreApplication::processEvents();

        recent.push_back(QStringLiteral("%1 %2").arg(action).arg(step.text));
        if (recent.size() > RememberedActions)
            recent.pop_front();

        const EditorView editorAfter = editorView();
        const SolverView solverAfter = solverView();
        m_problems.clear();
        if (teacherActs) {
            checkEditor(editorBefore, step, editorAfter);
            if (solverAfter != solverBefore || platform.messages.size() != pupilMessages)
                problem(QStringLiteral("the teacher's action changed the pupil's window"));
        } else {
            checkSolver(solverBefore, step, solverAfter);
            if (editorAfter != editorBefore || teacherPlatform.messages.size() != teacherMessages)
                problem(QStringLiteral("the pupil's action changed the teacher's window"));
        }
        // A failure says so in a message; nothing else does.
        const std::size_t messages = teacherActs ? teacherPlatform.messages.size() - teacherMessages
                                                 : platform.messages.size() - pupilMessages;
        const std::size_t expectedMessages = step.outcome == Outcome::Failed ? 1 : 0;
        if (messages != expectedMessages)
            problem(QStringLiteral("%1 message(s) where %2 was due")
                        .arg(messages)
                        .arg(expectedMessages));
        if (teacherActs && step.outcome == Outcome::Refused &&
            teacherPlatform.fileRequests.size() != teacherRequests)
            problem(QStringLiteral("a refused password still led to the file dialog"));
        if (QApplication::activePopupWidget())
            problem(QStringLiteral("a menu or list was left open"));
        if (quits != 0 || teacherQuits != 0)
            problem(QStringLiteral("the program ended"));
        teacherPlatform.fileAnswers.clear();
        teacherPlatform.inputAnswers.clear();
        platform.fileAnswers.clear();

        if (!m_problems.isEmpty() || HasFailure()) {
            QString report;
            for (const QString &line : recent)
                report += QStringLiteral("  ") + line + u'\n';
            FAIL() << "soak seed " << seed << ", action " << action << " of " << actions << ": "
                   << m_problems.join(QStringLiteral("; ")).toStdString() << "\nthe last actions:\n"
                   << report.toStdString() << "repeat with KVARCELLA_SOAK_SEED=" << seed;
        }
    }

    QStringList counts;
    for (auto it = m_tally.cbegin(); it != m_tally.cend(); ++it)
        counts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    std::printf("soak: %s\n", qPrintable(counts.join(QStringLiteral(", "))));
    // A full run reaches every outcome it is meant to watch; a short one may not.
    if (actions < DefaultActions)
        return;
    for (const char *outcome :
         {"pupil: solved", "pupil: checked", "pupil: open", "pupil: open failed", "teacher: open",
          "teacher: open failed", "teacher: saved", "teacher: save failed", "typed: pop-up key",
          "typed: grid"}) {
        EXPECT_GT(m_tally.value(QString::fromLatin1(outcome)), 0)
            << outcome << " never happened with seed " << seed;
    }
}

TEST_F(SoakTest, BothWindowsKeepTheirInvariantsThroughThousandsOfRandomActions)
{
    prepareFiles();
    ASSERT_FALSE(HasFatalFailure());
    startBothPrograms();
    ASSERT_FALSE(HasFatalFailure());
    run(seedFromEnvironment(), actionsFromEnvironment());
}
