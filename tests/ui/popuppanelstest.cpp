#include "controlarray.h"
#include "letterkeyboard.h"
#include "numberpad.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(LetterKeyboardTest, ThirtyFourNamedKeysCoverThePanelAndReportTheirNumber)
{
    QWidget window;
    window.resize(1016, 722);
    LetterKeyboard keyboard(&window);
    EXPECT_EQ(keyboard.objectName(), QStringLiteral("Frame1"));
    EXPECT_EQ(keyboard.geometry(), QRect(8, 80, 150, 150));
    EXPECT_FALSE(keyboard.isVisibleTo(&window)) << "hidden until a cell is clicked";

    auto *first = ControlArray::find<QPushButton>(&keyboard, QStringLiteral("Command3"), 1);
    auto *close = ControlArray::find<QPushButton>(&keyboard, QStringLiteral("Command3"), 34);
    auto *last = ControlArray::find<QPushButton>(&keyboard, QStringLiteral("Command3"), 32);
    ASSERT_TRUE(first && close && last);
    EXPECT_EQ(first->geometry(), QRect(0, 0, 25, 25));
    EXPECT_EQ(close->geometry(), QRect(75, 125, 75, 25));
    EXPECT_EQ(close->text(), QStringLiteral("закрыть"));
    EXPECT_EQ(last->text(), QString()) << "key 32 is named when the window loads";
    keyboard.nameLastLetterKey();
    EXPECT_EQ(last->text(), QStringLiteral("я"));

    window.show();
    keyboard.show();
    QSignalSpy spy(&keyboard, &LetterKeyboard::keyClicked);
    QTest::mouseClick(close, Qt::LeftButton);
    QTest::mouseClick(keyboard.key(11), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 34);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 11);
}

TEST(NumberPadTest, DisplayKeyShowsTheTypedNumberOnLightYellow)
{
    QWidget window;
    NumberPad pad(&window);
    EXPECT_EQ(pad.objectName(), QStringLiteral("Frame2"));
    EXPECT_EQ(pad.geometry(), QRect(8, 256, 100, 75));
    QPushButton *display = pad.key(12);
    EXPECT_EQ(display->geometry(), QRect(75, 50, 25, 25));
    EXPECT_EQ(pad.key(1)->text(), QStringLiteral("0"));
    EXPECT_EQ(pad.key(10)->text(), QStringLiteral("9"));
    EXPECT_EQ(pad.key(11)->text(), QString());
    pad.setDisplay(QStringLiteral("07"));
    EXPECT_EQ(display->text(), QStringLiteral("07"));

    window.show();
    pad.show();
    const QImage face = display->grab().toImage();
    EXPECT_EQ(face.pixelColor(face.width() / 2, 3), QColor(255, 255, 128));
}
