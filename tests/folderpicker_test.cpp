#include "desktop/appearance.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "picker/folderchooser.h"
#include "picker/folderdialog.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// Stands in for the dialog: records what Browse asked and answers as told.
class FakeChooser : public kovaldi::FolderChooser
{
public:
    QString answer;
    QStringList asked; // owner's name, box text, current directory
    QString chooseFolder(QWidget* owner, const QString& initialPath) override
    {
        asked << owner->objectName() << initialPath << QDir::currentPath();
        return answer;
    }
};

} // namespace

class FolderPickerTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_root;
    QString m_startDirectory;

private slots:
    void initTestCase()
    {
        kovaldi::test::UseTemporaryConfigHome();
        QVERIFY(QDir(m_root.path()).mkpath(QStringLiteral("program")));
        QVERIFY(QDir(m_root.path()).mkpath(QStringLiteral("a/日本語 フォルダ")));
        QFile file(m_root.filePath(QStringLiteral("a/file.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        m_startDirectory = QDir::currentPath();
    }
    void init() { QVERIFY(QDir::setCurrent(m_root.filePath(QStringLiteral("a")))); }
    void cleanup()
    {
        QDir::setCurrent(m_startDirectory);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void browseOkAndCancel()
    {
        kovaldi::SettingsStore store;
        kovaldi::MainWindow window(store);
        const QString program = m_root.filePath(QStringLiteral("program"));
        window.setExecutableFolder(QDir::toNativeSeparators(program));
        window.Form_Load();
        const kovaldi::test::MainWindowControls ui(window);
        FakeChooser chooser;
        window.setFolderChooser(&chooser);
        ui.txtPath->setText(QStringLiteral(" /some/where"));
        ui.cmdBrowse->click(); // cancelled: the box stays as it was
        QCOMPARE(ui.txtPath->text(), QStringLiteral(" /some/where"));
        // Relative paths resolve against the program's folder from then on, whatever the
        // user answered.
        const QString current = QDir(program).canonicalPath();
        QCOMPARE(QDir::currentPath(), current);
        QVERIFY(QDir::setCurrent(m_root.path()));
        chooser.answer = QDir::toNativeSeparators(QDir::tempPath() + "/選んだ フォルダ");
        ui.cmdBrowse->click();
        QCOMPARE(ui.txtPath->text(), chooser.answer);
        QCOMPARE(QDir::currentPath(), current);
        QCOMPARE(chooser.asked, (QStringList{"frmMain", " /some/where", current, "frmMain",
                                             " /some/where", current}));
        // Should the program's folder be gone since the start, the picker still opens.
        const QString gone = m_root.filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkdir(gone));
        kovaldi::MainWindow orphan(store);
        orphan.setExecutableFolder(QDir::toNativeSeparators(gone));
        orphan.Form_Load();
        orphan.setFolderChooser(&chooser);
        QVERIFY(QDir().rmdir(gone));
        kovaldi::test::MainWindowControls(orphan).cmdBrowse->click();
        QCOMPARE(chooser.asked.size(), 9);
        QCOMPARE(QDir::currentPath(), current);
        // Enter on the focused button presses it, as Space does; a held key's repeat not.
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(ui.cmdBrowse, &repeat);
        QTest::keyClick(ui.cmdBrowse, Qt::Key_Return);
        QCOMPARE(chooser.asked.size(), 12);
    }

    // Qt's dialog names the kind of each item in Japanese.
    void typeColumnIsJapanese()
    {
        kovaldi::InstallQtTranslations(*QCoreApplication::instance());
        QCOMPARE(QAbstractFileIconProvider().type(QFileInfo(m_root.path())), "フォルダ");
    }

    void startFolder()
    {
        // The nearest existing folder above what the box names; home for a blank box.
        const QString a = QDir::toNativeSeparators(m_root.filePath(QStringLiteral("a")));
        QCOMPARE(kovaldi::FolderDialogStartFolder(a + "/missing/and/more"), a);
        QCOMPARE(kovaldi::FolderDialogStartFolder(a + "/file.txt"), a);
        QCOMPARE(kovaldi::FolderDialogStartFolder("missing"), a); // from the current folder
        QCOMPARE(kovaldi::FolderDialogStartFolder("   "), QDir::homePath());
#if !defined(Q_OS_WIN)
        // "\" is part of a name here, as in the folders a run makes: "b\c" is not "b/c".
        QVERIFY(QDir(m_root.path()).mkpath("b/c") && QDir(m_root.path()).mkdir("b\\c"));
        QCOMPARE(kovaldi::FolderDialogStartFolder(m_root.path() + "/b\\c"),
                 m_root.path() + "/b\\c");
        QCOMPARE(kovaldi::FolderDialogStartFolder(m_root.path() + "/b\\c\\missing"), m_root.path());
#endif
    }

    void realDialog()
    {
        const QString start = m_root.filePath(QStringLiteral("a/日本語 フォルダ"));
        QWidget owner;
        owner.show();
        kovaldi::test::ModalDriver driver;
        driver.expect([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog && dialog->parentWidget() == &owner && dialog->isModal());
            QCOMPARE(dialog->windowTitle(), QStringLiteral("フォルダの選択"));
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
            QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(start).canonicalPath());
            auto* newFolder = dialog->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
            QVERIFY(newFolder && newFolder->isVisibleTo(dialog) && newFolder->isEnabled());
            QVERIFY(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")));
            static_cast<QDialog*>(dialog)->accept(); // OK at once takes the folder shown
        });
        const QString chosen = kovaldi::ShowFolderDialog(&owner, start + "/not yet");
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(chosen, QDir::toNativeSeparators(start));
    }
};

QTEST_MAIN(FolderPickerTest)
#include "folderpicker_test.moc"
