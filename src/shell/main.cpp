#include "designfonts.h"
#include "program.h"
#include "qtplatform.h"
#include "russiantranslation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The windows decide when the program ends, not the last visible window.
    QApplication::setQuitOnLastWindowClosed(false);
    DesignFonts::install();
    RussianTranslation::install();

    QtPlatform platform;
    Program program(platform);
    program.start();
    return QApplication::exec();
}
