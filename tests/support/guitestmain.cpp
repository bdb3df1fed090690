// Entry point of the window tests: a QApplication on the offscreen platform
// unless the caller chose another, the design fonts and Qt's Russian texts as
// the program has them, then GoogleTest.
#include "designfonts.h"
#include "russiantranslation.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    DesignFonts::install();
    RussianTranslation::install();
    return RUN_ALL_TESTS();
}
