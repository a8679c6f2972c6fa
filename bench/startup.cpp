#include "firstpaint.h"

#include "application.h"
#include "mainwindow/mainwindow.h"

int main(int argc, char* argv[])
{
    FirstPaintReporter* reporter = nullptr;
    return kovaldi::RunApplication(argc, argv, [&reporter](kovaldi::MainWindow& window) {
        reporter = new FirstPaintReporter(&window);
        window.installEventFilter(reporter);
    });
}
