#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "picker/folderchooser.h"
#include "picker/folderdialog.h"
#include "settings/settingsstore.h"
#include "testenv.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

using kovaldi::test::ModalDriver;

namespace {

// Stands in for the dialog: records what Browse asked and answers as told.
class FakeChooser : public kovaldi::FolderChooser
{
public:
    QString answer;
    QStringList asked;
    QWidget* owner = nullptr;
    QString currentDirectoryWhenAsked;

    QString chooseFolder(QWidget* ownerWindow, const QString& initialPath) override
    {
        owner = ownerWindow;
        asked << initialPath;
        currentDirectoryWhenAsked = QDir::currentPath();
        return answer;
    }
};

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

class FolderPickerTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    std::unique_ptr<kovaldi::MainWindow> m_window;
    QTemporaryDir m_programFolder;
    QTemporaryDir m_elsewhere;
    QString m_startDirectory;

    kovaldi::MainWindow& LoadedWindow(FakeChooser* chooser)
    {
        m_window = std::make_unique<kovaldi::MainWindow>(m_store);
        m_window->setExecutableFolder(Native(m_programFolder.path()));
        m_window->Form_Load();
        m_window->setFolderChooser(chooser);
        return *m_window;
    }

    // Runs the real dialog and answers it with answer, which sees the dialog.
    QString RunDialog(const QString& initialPath, const ModalDriver::Answer& answer)
    {
        QWidget owner;
        owner.show();
        ModalDriver driver;
        driver.expect([&owner, answer](QWidget* modal) {
            QCOMPARE(modal->parentWidget(), &owner);
            answer(modal);
        });
        const QString chosen = kovaldi::ShowFolderDialog(&owner, initialPath);
        [&] {
            QCOMPARE(driver.failures(), QStringList());
        }();
        return chosen;
    }

private slots:
    void initTestCase()
    {
        kovaldi::test::UseTemporaryConfigHome();
        QVERIFY(m_programFolder.isValid() && m_elsewhere.isValid());
        m_startDirectory = QDir::currentPath();
    }
    void init()
    {
        kovaldi::test::ClearSettings();
        QVERIFY(QDir::setCurrent(m_elsewhere.path()));
    }
    void cleanup()
    {
        m_window.reset();
        QDir::setCurrent(m_startDirectory);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void browse_data()
    {
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        const QString chosen = Native(QDir::tempPath() + QStringLiteral("/選んだ フォルダ"));
        QTest::newRow("OK puts the chosen folder into the box")
            << "/some/where" << chosen << chosen;
        QTest::newRow("OK from an empty box") << "" << chosen << chosen;
        QTest::newRow("cancel leaves the box") << "/some/where"
                                               << ""
                                               << "/some/where";
        QTest::newRow("cancel leaves a blank box") << " "
                                                   << ""
                                                   << " ";
    }
    void browse()
    {
        QFETCH(QString, boxText);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        FakeChooser chooser;
        chooser.answer = answer;
        kovaldi::MainWindow& window = LoadedWindow(&chooser);
        window.txtPath->setText(boxText);
        window.cmdBrowse->click();
        QCOMPARE(chooser.asked, QStringList{boxText});
        QCOMPARE(chooser.owner, &window);
        QCOMPARE(window.txtPath->text(), expected);
        // Relative paths resolve against the program's folder from then on, whatever the
        // user answered.
        QCOMPARE(chooser.currentDirectoryWhenAsked, QDir(m_programFolder.path()).canonicalPath());
        QCOMPARE(QDir::currentPath(), QDir(m_programFolder.path()).canonicalPath());
    }

    void browseWhenTheProgramFolderIsGone()
    {
        FakeChooser chooser;
        chooser.answer = Native(m_elsewhere.path());
        kovaldi::MainWindow& window = LoadedWindow(&chooser);
        window.setExecutableFolder(m_programFolder.path() + QStringLiteral("/removed"));
        window.cmdBrowse->click();
        QCOMPARE(chooser.asked.size(), 1);
        QCOMPARE(window.txtPath->text(), Native(m_elsewhere.path()));
        QCOMPARE(QDir::currentPath(), QDir(m_elsewhere.path()).canonicalPath());
    }

    void startFolder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // relative to the temporary folder; ~ home
        QTest::newRow("existing folder") << "<tmp>/a"
                                         << "a";
        QTest::newRow("Japanese name") << "<tmp>/a/日本語 フォルダ"
                                       << "a/日本語 フォルダ";
        QTest::newRow("missing last folder") << "<tmp>/a/missing"
                                             << "a";
        QTest::newRow("missing deeper folders") << "<tmp>/a/missing/and/more"
                                                << "a";
        QTest::newRow("a file") << "<tmp>/a/file.txt"
                                << "a";
        QTest::newRow("relative, from the current folder") << "a/missing"
                                                           << "a";
        QTest::newRow("empty") << ""
                               << "~";
        QTest::newRow("blanks") << "   "
                                << "~";
    }
    void startFolder()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("a/日本語 フォルダ")));
        QFile file(root.filePath(QStringLiteral("a/file.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QDir::setCurrent(root.path()));
        text.replace(QStringLiteral("<tmp>"), root.path());
        const QString wanted =
            expected == QLatin1String("~") ? QDir::homePath() : root.filePath(expected);
        QCOMPARE(kovaldi::FolderDialogStartFolder(text), Native(wanted));
    }

    void realDialog()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("ここ/下")));
        const QString start = root.filePath(QStringLiteral("ここ"));

        // Opened at the box's folder, for folders only, OK at once takes that folder.
        QString chosen = RunDialog(start + QStringLiteral("/not yet"), [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("フォルダの選択"));
            QVERIFY(dialog->isModal());
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
            QVERIFY(!dialog->testOption(QFileDialog::ReadOnly));
            QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(start).canonicalPath());
            auto* newFolder = dialog->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
            QVERIFY(newFolder && newFolder->isVisibleTo(dialog) && newFolder->isEnabled());
            QVERIFY(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(chosen, Native(start));

        // A typed folder name is taken from the folder shown.
        chosen = RunDialog(start, [](QWidget* modal) {
            auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(QStringLiteral("下"));
            qobject_cast<QDialog*>(modal)->accept(); // runs the file dialog's own accept
        });
        QCOMPARE(chosen, Native(start + QStringLiteral("/下")));

        chosen = RunDialog(start, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QCOMPARE(chosen, QString());
    }
};

QTEST_MAIN(FolderPickerTest)
#include "folderpicker_test.moc"
