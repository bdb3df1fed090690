// The dialog that makes a crossword from a word list, on a scripted platform.
#include "fakeplatform.h"
#include "gridpreview.h"
#include "makerdialog.h"
#include "makerreport.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QPushButton *button(const MakerDialog &dialog, const char *name)
{
    auto *found = dialog.findChild<QPushButton *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

bool finishMaking(const MakerDialog &dialog)
{
    return QTest::qWaitFor([&dialog] { return !dialog.isMaking(); }, 30000);
}

CrosswordMaker::Result madeByTheTool(const WordList &list, quint64 seed)
{
    QList<CrosswordMaker::Word> words;
    for (const WordList::Entry &entry : list.entries())
        words.append({entry.answer, entry.clue});
    return CrosswordMaker(words).make(seed);
}

} // namespace

TEST(MakerDialogTest, MakesWhatTheToolMakesOffTheWindowsThreadAndAnotherLayoutOnRequest)
{
    FakePlatform platform;
    int offers = 0;
    MakerDialog dialog(platform, [&offers](QWidget *, const CrosswordDocument &) {
        return ++offers > 1; // the first is declined, as "Отмена" over unsaved work does
    });
    // Nothing usable: said in the report, nothing to move to the editor.
    dialog.listEdit()->setPlainText(QStringLiteral("дом\nя - Буква."));
    button(dialog, "make")->click();
    EXPECT_FALSE(dialog.isMaking() || dialog.made() || button(dialog, "makeagain")->isEnabled() ||
                 button(dialog, "take")->isEnabled());
    EXPECT_TRUE(dialog.report()->toPlainText().endsWith(
        QStringLiteral("В списке нет ни одного слова, из которого можно составить кроссворд.")));

    const QString list = QStringLiteral("кот - Мурлычет.\nток - Бежит по проводам.\n"
                                        "окно - В него смотрят.\nкот - Ещё раз.\n");
    dialog.listEdit()->setPlainText(list);

    QSignalSpy closed(&dialog, &QDialog::finished);
    button(dialog, "make")->click();
    ASSERT_TRUE(dialog.isMaking());
    EXPECT_FALSE(dialog.listEdit()->isEnabled() || button(dialog, "make")->isEnabled() ||
                 button(dialog, "close")->isEnabled());
    dialog.reject(); // Escape or the close box while the maker runs
    ASSERT_TRUE(finishMaking(dialog));
    EXPECT_EQ(closed.count(), 0);

    const WordList words = WordList::fromText(list);
    const CrosswordMaker::Result first = madeByTheTool(words, 1);
    ASSERT_TRUE(dialog.made());
    EXPECT_EQ(*dialog.made(), first.document);
    EXPECT_EQ(dialog.preview()->crossword(), first.document);
    EXPECT_EQ(dialog.report()->toPlainText(),
              MakerReport::listNotes(words) + MakerReport::placement(words, first));

    button(dialog, "makeagain")->click();
    ASSERT_TRUE(finishMaking(dialog));
    EXPECT_EQ(*dialog.made(), madeByTheTool(words, 2).document);

    button(dialog, "take")->click();
    EXPECT_EQ(closed.count(), 0) << "a declined crossword keeps the dialog open";
    button(dialog, "take")->click();
    EXPECT_EQ(offers, 2);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
