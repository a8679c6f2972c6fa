// The yardstick for start-up: Qt's own first Widgets program, a window with one line of
// text, at the main window's size. A window without any text would not even start the
// font machinery that every real window needs. With --japanese the line is Japanese, as a
// minimal program with a Japanese interface would show it (the desktop's font choice).
#include "firstpaint.h"

#include <QApplication>
#include <QPushButton>
#include <cstring>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const bool japanese = argc > 1 && std::strcmp(argv[1], "--japanese") == 0;
    QPushButton hello(japanese ? QStringLiteral("こんにちは、世界！")
                               : QStringLiteral("Hello world!"));
    hello.resize(446, 223);
    FirstPaintReporter reporter;
    hello.installEventFilter(&reporter);
    hello.show();
    return application.exec();
}
