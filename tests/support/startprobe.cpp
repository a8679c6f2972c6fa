// The window program as started, but it ends as soon as its window is loaded, after
// writing the target box's text (as the system's bytes) on one line of standard output.
#include "application.h"
#include "files/nativename.h"
#include "mainwindow/mainwindow.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    return kovaldi::RunApplication(argc, argv, [](kovaldi::MainWindow& window) {
        window.Form_Load();
        const auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtPath"));
        const QByteArray line = (box ? kovaldi::NativeName(box->text()) : "no target box") + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
}
