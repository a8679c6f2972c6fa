// The Make button through the real main window: real message boxes answered by the modal
// driver, real folders in a temporary folder, the real settings file. A close request in
// the middle of a run ends the process, so that case runs in this executable started again
// with --child.
#include "journal/journallocation.h"
#include "journal/journalreader.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "widgets/autosizelabel.h"
#include "widgets/updown.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

using kovaldi::MainWindow;
using kovaldi::test::MainWindowControls;
using kovaldi::test::ModalDriver;

namespace {

const QString kAsk =
    QStringLiteral("question|フォルダ作成の一括処理を行います。|Kovaldi|Yes,No|Yes");
const QString kDone = QStringLiteral("information|完了！|Kovaldi|Ok|Ok");

// Records what a message box shows and presses the button; never leaves a box open.
QString Answer(QWidget* modal, QMessageBox::StandardButton press)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    const QString seen = box ? ModalDriver::Describe(box) : QStringLiteral("not a message box");
    if (QAbstractButton* button = box ? box->button(press) : nullptr)
        button->click();
    else
        modal->close();
    return seen;
}

QStringList Entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

int CloseMidRun(int argc, char* argv[])
{
    QApplication application(argc, argv);
    kovaldi::SettingsStore settings;
    MainWindow window(settings);
    const MainWindowControls ui(window);
    if (!kovaldi::test::ShowActive(window))
        return 4;
    ui.setBoxTexts({QString::fromLocal8Bit(argv[2]), "f", "", "1", "2000", "4"});
    // Asks the window to close once the fiftieth folder is made.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, &window, [&window, &ui] {
        if (ui.lblStatus->text() >= QStringLiteral("f0051"))
            window.close();
    });
    closer.start(0);
    ModalDriver driver;
    driver.expectMessage(QMessageBox::Yes);
    driver.expectMessage(QMessageBox::Ok, 60000);
    ui.cmdMake->click();
    std::puts("still running");
    return 3;
}

} // namespace

class MakeRunTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;

    QStringList Stored() const { return kovaldi::LoadInputs(m_store); }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup() { QCOMPARE(QApplication::topLevelWidgets().size(), 0); }

    // "@" is the temporary folder, which holds a file named "file". A run refused or declined
    // changes nothing; a confirmed one is still locked, its folders all made and nothing yet
    // stored when the outcome shows, and stores the six texts as typed afterwards.
    void run_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("messages");

        const auto row = [](const char* name, const QString& target, const char* min,
                            const QStringList& existing, const QStringList& messages) {
            QTest::newRow(name) << target << min << existing << messages;
        };
        row("empty target", "", "-2", {}, {"warning|パスを入力してください。|Kovaldi|Ok|"});
        row("min above max", "@", "2", {},
            {"warning|最小値は最大値より小さい値にしてください。|Kovaldi|Ok|"});
        row("target is a file", "@/file", "-2", {},
            {"warning|指定したパスが見つかりません。|Kovaldi|Ok|"});
        row("declined", "@", "-2", {}, {kAsk});
        row("all made", "@", "-2", {}, {kAsk, kDone});
        row("some exist, target ending in a separator", QStringLiteral("@") + QDir::separator(),
            "-2", {"n-01f", "n01f"},
            {kAsk, "information|完了！（一部作成できなかったフォルダがあります）|Kovaldi|Ok|Ok"});
        row("all exist", "@", "-2", {"n-01f", "n-02f", "n00f", "n01f"},
            {kAsk, "error|フォルダの作成に失敗しました。|Kovaldi|Ok|"});
    }
    void run()
    {
        QFETCH(QString, target);
        QFETCH(QString, min);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (const QString& name : existing)
            QVERIFY(QDir(dir.path()).mkdir(name));
        const QStringList before = Entries(dir.path());
        const QStringList after{"file", "n-01f", "n-02f", "n00f", "n01f"};
        MainWindow window(m_store);
        const MainWindowControls ui(window);
        QVERIFY(kovaldi::test::ShowActive(window));
        const QStringList inputs{target.replace("@", dir.path()), "n", "f", min, "1", "2"};
        ui.setBoxTexts(inputs);
        ui.cmdMake->setFocus();

        ModalDriver driver;
        QStringList seen;
        QString states;
        const bool confirm = messages.size() == 2;
        const auto answer = [&](QWidget* modal) {
            const bool outcome = !seen.isEmpty();
            states += ui.lockMismatch(outcome);
            if (outcome &&
                (ui.pbStatus->value() != 100 || ui.lblStatus->text() != "n01f 作成中・・・" ||
                 Entries(dir.path()) != after || modal->parentWidget() != &window ||
                 QFile::exists(kovaldi::test::SettingsFilePath())))
                states += " not as the last folder left it, or settings stored early";
            seen << Answer(modal, outcome || messages[0] != kAsk ? QMessageBox::Ok
                                  : confirm                      ? QMessageBox::Yes
                                                                 : QMessageBox::No);
        };
        driver.expect(answer);
        if (confirm)
            driver.expect(answer);
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(driver.pending(), 0);
        QCOMPARE(seen, messages);
        QCOMPARE(states, QString());
        QCOMPARE(ui.lockMismatch(false), QString());
        QCOMPARE(window.focusWidget(), ui.cmdMake); // the keyboard is back
        QCOMPARE(Entries(dir.path()), confirm ? after : before);
        if (confirm)
            QCOMPARE(Stored(), inputs);
        else
            QVERIFY(!QFile::exists(kovaldi::test::SettingsFilePath()));
    }

    void closeRequestMidRunEndsTheProcess()
    {
        QTemporaryDir dir;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--child", dir.path()});
        QVERIFY(child.waitForFinished(120000));
        const QByteArray output = child.readAllStandardOutput();
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(!output.contains("still running"), output.constData());

        // The folders made so far stay, in order from the first; no more followed.
        const QStringList made = Entries(dir.path());
        QVERIFY2(made.size() >= 50 && made.size() < 2000, qPrintable(made.join(' ')));
        for (int i = 0; i < made.size(); ++i)
            QCOMPARE(made[i], QStringLiteral("f%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        QVERIFY(!QFile::exists(kovaldi::test::SettingsFilePath()));
        // Ending at once still writes out the journal: it names every folder made.
        QCOMPARE(kovaldi::ReadJournal(
                     kovaldi::JournalsNewestFirst(kovaldi::DefaultJournalFolder()).value(0))
                     .made,
                 made);
    }
};

int main(int argc, char* argv[])
{
    if (argc > 2 && QByteArray(argv[1]) == "--child")
        return CloseMidRun(argc, argv);
    QApplication application(argc, argv);
    MakeRunTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "makerun_test.moc"
