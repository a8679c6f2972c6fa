// The yardstick for start-up: Qt's own first Widgets program, a window with one line of
// text, at the main window's size. A window without any text would not even start the
// font machinery that every real window needs.
#include "firstpaint.h"

#include <QApplication>
#include <QPushButton>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QPushButton hello(QStringLiteral("Hello world!"));
    hello.resize(446, 223);
    FirstPaintReporter reporter;
    hello.installEventFilter(&reporter);
    hello.show();
    return application.exec();
}
