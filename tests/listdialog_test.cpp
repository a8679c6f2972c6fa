// The list dialog behind 一覧から作成 as a user drives it: the live check of each line, a
// bad line refused with the dialog kept open, a run in the main window, the list and its
// numbering kept for the next start, and a long list checked without holding the dialog.
#include "files/localfilesystem.h"
#include "lists/listdialog.h"
#include "lists/listrun.h"
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using kovaldi::ListDialog;
using kovaldi::ListEdit;
using kovaldi::test::MainWindowControls;
using kovaldi::test::ModalDriver;

namespace {

QStringList Entries(const QString& folder)
{
    QStringList found = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    found.sort();
    return found;
}

// Types text at the cursor as an input method commits it.
void Commit(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

QStringList MarkTexts(const ListEdit* edit)
{
    QStringList texts;
    for (const ListEdit::Mark& mark : edit->marks())
        texts << mark.text;
    return texts;
}

} // namespace

class ListDialogTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;

    QStringList ListSettings() const
    {
        return m_store.GetSettings(kovaldi::kSettingsApplication, kovaldi::kSettingsSection,
                                   {{"ListNumbered", "none"}, {"ListSeparator", "none"}});
    }

private slots:
    void initTestCase() { kovaldi::test::UseTemporaryConfigHome(); }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    // Typed, checked line by line, numbered, made in the main window; the next start has
    // the list and its numbering back.
    void runFromTheDialog()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("01-企画"));
        {
            const MainWindowControls& ui = m_windows.show(m_store);
            ui.setBoxTexts({dir.path(), "h", "f", "1", "1", "2"});
            ModalDriver driver;
            driver.expect([](QWidget* modal) {
                QCOMPARE(modal->objectName(), QString("frmList"));
                QCOMPARE(modal->windowTitle(), QString("一覧から作成"));
                auto* edit = modal->findChild<ListEdit*>("txtList");
                auto* summary = modal->findChild<QLabel*>("lblSummary");
                QVERIFY(edit && summary);
                Commit(edit, "企画");
                QTest::keyClick(edit, Qt::Key_Return);
                Commit(edit, "デザイン/ラフ");
                QTest::keyClick(edit, Qt::Key_Return);
                Commit(edit, "企画");
                auto* dialog = static_cast<ListDialog*>(modal);
                QTRY_VERIFY(dialog->Checked());
                QCOMPARE(MarkTexts(edit), (QStringList{"新規", "新規", "重複（1 行目）"}));
                QCOMPARE(summary->text(), QString("新規 2 個、既存 0 個、重複 1 個、無効 0 個"));
                // Numbered, each line is a name of its own; the first is there already.
                modal->findChild<QCheckBox*>("chkNumbered")->click();
                auto* separator = modal->findChild<QLineEdit*>("txtSeparator");
                separator->selectAll();
                QTest::keyClicks(separator, "-");
                QTRY_VERIFY(dialog->Checked());
                QCOMPARE(MarkTexts(edit), (QStringList{"既存（フォルダ）", "新規", "新規"}));
                QTimer::singleShot(0, modal->findChild<QPushButton*>("cmdMake"),
                                   &QPushButton::click);
            });
            driver.expectMessage(QMessageBox::Yes, [](QMessageBox* box) {
                const QString details = ModalDriver::Read(box).informative;
                QVERIFY2(details.contains("途中のフォルダ: 1\u00A0個"), qPrintable(details));
            });
            driver.expectMessage(QMessageBox::Ok);
            ui.cmdList->click();
            QCOMPARE(driver.failures(), QStringList());
            QCOMPARE(driver.messages().last().section('|', 1, 1),
                     QString("完了！（一部作成できなかったフォルダがあります）"));
            QCOMPARE(Entries(dir.path()), (QStringList{"01-企画", "02-デザイン", "03-企画"}));
            QVERIFY(QDir(dir.path()).exists("02-デザイン/ラフ"));
            QCOMPARE(ListSettings(), (QStringList{"1", "-"}));
            m_windows.reset();
        }
        const MainWindowControls& ui = m_windows.show(m_store);
        ModalDriver driver;
        driver.expect([](QWidget* modal) {
            QCOMPARE(modal->findChild<ListEdit*>("txtList")->toPlainText(),
                     QString("企画\nデザイン/ラフ\n企画"));
            QVERIFY(modal->findChild<QCheckBox*>("chkNumbered")->isChecked());
            QCOMPARE(modal->findChild<QLineEdit*>("txtSeparator")->text(), QString("-"));
            QTimer::singleShot(0, modal->findChild<QPushButton*>("cmdClose"), &QPushButton::click);
        });
        ui.cmdList->click();
        QCOMPARE(driver.failures(), QStringList());
    }

    // A bad line is marked with its reason; Make names it and keeps the dialog open; closing
    // makes, keeps and stores nothing.
    void badLineKeepsTheDialogOpen()
    {
        QTemporaryDir dir;
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.txtPath->setText(dir.path());
        ModalDriver driver;
        driver.expect([&driver](QWidget* modal) {
            auto* edit = modal->findChild<ListEdit*>("txtList");
            edit->setPlainText("a\n\n b/../c");
            QTRY_VERIFY(static_cast<ListDialog*>(modal)->Checked());
            QCOMPARE(MarkTexts(edit),
                     (QStringList{"新規", "", "無効: 「.」と「..」はフォルダ名に使えません。"}));
            QVERIFY(modal->findChild<QLabel*>("lblSummary")->text().contains("無効 1 個"));
            // The line under the cursor is told to a screen reader with its mark.
            edit->moveCursor(QTextCursor::End);
            QCOMPARE(edit->accessibleDescription(),
                     QString("3 行目: 無効: 「.」と「..」はフォルダ名に使えません。"));
            edit->moveCursor(QTextCursor::Start);
            QCOMPARE(edit->accessibleDescription(), QString("1 行目: 新規"));
            driver.expectMessage(QMessageBox::Ok);
            modal->findChild<QPushButton*>("cmdMake")->click();
            QVERIFY(modal->isVisible());
            QTimer::singleShot(0, modal->findChild<QPushButton*>("cmdClose"), &QPushButton::click);
        });
        ui.cmdList->click();
        QCOMPARE(driver.failures(), QStringList());
        QCOMPARE(
            driver.messages().value(0).section('|', 1, 1),
            QString("一覧の 3 行目は作成できません。\n「.」と「..」はフォルダ名に使えません。"));
        QCOMPARE(Entries(dir.path()), QStringList());
        QCOMPARE(ListSettings(), (QStringList{"none", "none"}));
        QVERIFY(!QFile::exists(kovaldi::DefaultListPath()));
    }

    // 100,000 lines are checked a page at a time, the dialog answering between pages; a
    // paste past that many lines is refused whole.
    void longListDoesNotHoldTheDialog()
    {
        QTemporaryDir dir;
        kovaldi::LocalFileSystem fileSystem;
        ListDialog dialog({}, {}, fileSystem, dir.path() + '/');
        dialog.show();
        auto* edit = dialog.findChild<ListEdit*>("txtList");
        QString text;
        for (int i = 0; i < kovaldi::kMostListLines; ++i)
            text += QString::number(i) + '\n';
        edit->setPlainText(text);
        QTRY_VERIFY(!dialog.Checked() && !edit->marks().isEmpty() &&
                    !edit->marks()[ListDialog::kLinesAPass].text.isEmpty());
        QVERIFY(edit->marks().last().text.isEmpty()); // not reached yet: the loop ran between
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Checked(), 60000);
        QVERIFY(dialog.findChild<QLabel*>("lblSummary")->text().startsWith("新規 100,000 個"));

        QApplication::clipboard()->setText("x\ny\n");
        ModalDriver driver;
        driver.expectMessage(QMessageBox::Ok);
        edit->moveCursor(QTextCursor::End);
        edit->paste();
        QCOMPARE(driver.failures(), QStringList());
        QVERIFY(driver.messages().value(0).contains("100,000 行を超えるため"));
        QCOMPARE(edit->document()->blockCount(), kovaldi::kMostListLines + 1);
    }
};

QTEST_MAIN(ListDialogTest)
#include "listdialog_test.moc"
