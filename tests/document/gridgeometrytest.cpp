#include "gridgeometry.h"

#include <gtest/gtest.h>

using Window = GridGeometry::Window;

TEST(GridGeometryTest, LetterLabelsStepAcrossAndDownWithWindowSpecificSizes)
{
    EXPECT_EQ(GridGeometry::letterLabel(0, Window::Solving), (TwipRect{120, 360, 430, 460}));
    EXPECT_EQ(GridGeometry::letterLabel(0, Window::Editing), (TwipRect{120, 360, 435, 465}));
    EXPECT_EQ(GridGeometry::letterLabel(21, Window::Solving), (TwipRect{570, 840, 430, 460}));
    EXPECT_EQ(GridGeometry::letterLabel(399, Window::Editing), (TwipRect{8670, 9480, 435, 465}));
}

TEST(GridGeometryTest, NumberLabelsOfTheFirstRowStartThirtyTwipsFurtherLeft)
{
    EXPECT_EQ(GridGeometry::numberLabel(0), (TwipRect{120, 360, 180, 180}));
    EXPECT_EQ(GridGeometry::numberLabel(1), (TwipRect{570, 360, 180, 180}));
    EXPECT_EQ(GridGeometry::numberLabel(19), (TwipRect{8670, 360, 180, 180}));
    EXPECT_EQ(GridGeometry::numberLabel(20), (TwipRect{150, 840, 180, 180}));
    EXPECT_EQ(GridGeometry::numberLabel(39), (TwipRect{8700, 840, 180, 180}));
}

TEST(GridGeometryTest, LetterKeyboardRisesForTheBottomRows)
{
    EXPECT_EQ(GridGeometry::letterKeyboardPosition(319), (TwipPoint{8670, 7560}));
    EXPECT_EQ(GridGeometry::letterKeyboardPosition(320), (TwipPoint{120, 6915}));
    EXPECT_EQ(GridGeometry::letterKeyboardPosition(379), (TwipPoint{8670, 7875}));
    EXPECT_EQ(GridGeometry::letterKeyboardPosition(380), (TwipPoint{120, 7905}));
    EXPECT_EQ(GridGeometry::letterKeyboardPosition(399), (TwipPoint{8670, 7905}));
    EXPECT_EQ(GridGeometry::letterKeyboardPosition(0), (TwipPoint{120, 360}));
}

TEST(GridGeometryTest, NumberPadRisesOnlyForTheLastRow)
{
    EXPECT_EQ(GridGeometry::numberPadPosition(379), (TwipPoint{8700, 9000}));
    EXPECT_EQ(GridGeometry::numberPadPosition(380), (TwipPoint{150, 8980}));
    EXPECT_EQ(GridGeometry::numberPadPosition(19), (TwipPoint{8670, 360}));
    EXPECT_EQ(GridGeometry::numberPadPosition(39), (TwipPoint{8700, 840}));
}

TEST(GridGeometryTest, KeysFillTheirPanelsEdgeToEdge)
{
    EXPECT_EQ(GridGeometry::letterKeyRect(1), (TwipRect{0, 0, 375, 375}));
    EXPECT_EQ(GridGeometry::letterKeyRect(6), (TwipRect{1875, 0, 375, 375}));
    EXPECT_EQ(GridGeometry::letterKeyRect(33), (TwipRect{750, 1875, 375, 375}));
    EXPECT_EQ(GridGeometry::letterKeyRect(34), (TwipRect{1125, 1875, 1125, 375}));
    EXPECT_EQ(GridGeometry::padKeyRect(11), (TwipRect{750, 750, 375, 375}));
    EXPECT_EQ(GridGeometry::padKeyRect(12), (TwipRect{1125, 750, 375, 375}));

    EXPECT_EQ(GridGeometry::letterKeyCaption(1), QStringLiteral("а"));
    EXPECT_EQ(GridGeometry::letterKeyCaption(10), QStringLiteral("й"));
    EXPECT_EQ(GridGeometry::letterKeyCaption(32), QStringLiteral("я"));
    EXPECT_EQ(GridGeometry::letterKeyCaption(33), QString());
    EXPECT_EQ(GridGeometry::letterKeyCaption(34), QStringLiteral("закрыть"));
    EXPECT_EQ(GridGeometry::padKeyCaption(1), QStringLiteral("0"));
    EXPECT_EQ(GridGeometry::padKeyCaption(10), QStringLiteral("9"));
}
