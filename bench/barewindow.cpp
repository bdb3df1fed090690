// A bare Qt window built like the program, to measure how long Qt itself
// takes to start and show a window on this machine.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(252, 195);
    window.show();
    return QApplication::exec();
}
