// Exit and close requests end the process at once. Each case runs in a child process:
// this executable started again with --child=<case>.
#include "mainwindow/mainwindow.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

int RunChild(const QByteArray& which, int argc, char* argv[])
{
    QApplication application(argc, argv);
    kovaldi::SettingsStore settings;
    kovaldi::MainWindow window(settings);
    const kovaldi::test::MainWindowControls ui(window);
    if (!kovaldi::test::ShowActive(window))
        return 4;
    ui.txtHeader->setText(QStringLiteral("edited"));
    ui.txtMin->setText(QStringLiteral("5"));
    if (which == "exit-button") {
        ui.cmdEnd->click();
    } else if (which == "exit-key") {
        QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
        QTest::qWait(2000); // the button clicks once its brief pressed look is over
    } else if (which == "close") {
        window.close();
    } else { // a handler that pumps events, as a run does, when the close request arrives
        QTimer::singleShot(0, &window, [&window] { window.close(); });
        for (int i = 0; i < 1000; ++i)
            QApplication::processEvents();
    }
    std::puts("still running");
    return 3;
}

QByteArray SettingsFile()
{
    QFile file(kovaldi::test::SettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

} // namespace

class ShutdownTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }

    void endsAtOnceWithoutStoring_data()
    {
        QTest::addColumn<QString>("which");
        for (const char* which : {"exit-button", "exit-key", "close", "close-in-pump"})
            QTest::newRow(which) << QString(which);
    }
    void endsAtOnceWithoutStoring()
    {
        QFETCH(QString, which);
        kovaldi::test::ClearSettings();
        QVERIFY(kovaldi::SettingsStore().SaveSetting("Kovaldi", "Config", "Header", "stored"));
        const QByteArray before = SettingsFile();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--child=" + which});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAllStandardOutput();
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(!output.contains("still running"), output.constData());
        QCOMPARE(SettingsFile(), before);
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]).startsWith("--child="))
        return RunChild(QByteArray(argv[1]).mid(8), argc, argv);
    QApplication application(argc, argv);
    ShutdownTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "shutdown_test.moc"
