// Entry point of the window tests: a QApplication on the offscreen platform
// unless the caller chose another, the design fonts, then GoogleTest.
#include "designfonts.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    DesignFonts::install();
    return RUN_ALL_TESTS();
}
