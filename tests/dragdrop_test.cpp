// Drops on the main window through real drag events, handed to its window as the window
// system hands them over, at a point over one control or another: the window decides
// wherever the point lies.
#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "settings/settingsstore.h"
#include "testenv.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

using kovaldi::test::MainWindowControls;

namespace {

// What the window made of one drag: whether it took it (and by which action) when it
// entered and moved, and the target box afterwards.
struct Outcome
{
    bool entered = false;
    bool moved = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

Outcome Drag(const MainWindowControls& ui, const QString& over, const QMimeData& data,
             Qt::DropActions offered)
{
    const auto* control = ui.window.findChild<QWidget*>(over);
    const QPoint at = control ? control->mapTo(&ui.window, control->rect().center())
                              : QPoint(ui.window.width() - 4, ui.window.height() - 4);
    QWindow* window = ui.window.windowHandle();
    Outcome outcome;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    outcome.entered = enter.isAccepted();
    QDragMoveEvent move(at + QPoint(1, 0), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    outcome.moved = move.isAccepted();
    outcome.action = move.dropAction();
    // Dropped even when refused, as a careless window system might: nothing may change.
    QDropEvent drop(QPointF(at + QPoint(1, 0)), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return outcome;
}

} // namespace

class DragDropTest : public QObject
{
    Q_OBJECT
private:
    kovaldi::SettingsStore m_store;
    kovaldi::test::MainWindowFixture m_windows;
    QTemporaryDir m_root;

    QString Native(const QString& name) const
    {
        return QDir::toNativeSeparators(m_root.filePath(name));
    }

private slots:
    void initTestCase()
    {
        kovaldi::test::UseTemporaryConfigHome();
        QVERIFY(QDir(m_root.path()).mkpath("folder/inner"));
        QFile file(m_root.filePath("folder/file.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    void init() { kovaldi::test::ClearSettings(); }
    void cleanup()
    {
        m_windows.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void drop_data()
    {
        QTest::addColumn<QString>("over");     // a control's name, or the free area
        QTest::addColumn<QStringList>("urls"); // "@" is the test's folder
        QTest::addColumn<QString>("text");     // plain text besides
        QTest::addColumn<int>("offered");
        QTest::addColumn<QString>("target"); // the box afterwards; empty: unchanged
        const int copyMoveLink = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        const auto row = [&](const char* name, const char* over, QStringList urls, const char* text,
                             int offered, const char* target) {
            QTest::newRow(name) << over << urls << text << offered << target;
        };
        row("folder over the target box", "txtPath", {"@/folder"}, "", copyMoveLink, "folder");
        row("folder over the header box", "txtHeader", {"@/folder/inner"}, "", copyMoveLink,
            "folder/inner");
        row("folder over the preview", "lblTest", {"@/folder"}, "", copyMoveLink, "folder");
        row("folder over Make", "cmdMake", {"@/folder"}, "", copyMoveLink, "folder");
        row("folder over the free area", "", {"@/folder"}, "", copyMoveLink, "folder");
        row("folder with a trailing separator", "txtMin", {"@/folder/"}, "", copyMoveLink,
            "folder");
        row("folder with the file manager's text", "txtPath", {"@/folder"}, "@/folder",
            copyMoveLink, "folder");
        row("folder offered as a link only", "txtPath", {"@/folder"}, "", Qt::LinkAction, "folder");
        row("file: its folder", "txtPath", {"@/folder/file.txt"}, "", copyMoveLink, "folder");
        row("gone: set as dropped", "txtPath", {"@/gone"}, "", copyMoveLink, "gone");
        row("two folders", "txtPath", {"@/folder", "@/folder/inner"}, "", copyMoveLink, "");
        row("remote address", "txtPath", {"https://example.org/folder"}, "", copyMoveLink, "");
        row("text", "txtHeader", {}, "@/folder", copyMoveLink, "");
        row("line break in the name", "txtPath", {"@/a\nb"}, "", copyMoveLink, "");
        row("offered for a move only", "txtPath", {"@/folder"}, "", Qt::MoveAction, "");
    }
    void drop()
    {
        QFETCH(QString, over);
        QFETCH(QStringList, urls);
        QFETCH(QString, text);
        QFETCH(int, offered);
        QFETCH(QString, target);
        const MainWindowControls& ui = m_windows.show(m_store);
        const QStringList before = ui.boxTexts();
        QMimeData data;
        QList<QUrl> list;
        for (const QString& url : urls)
            list << (url.startsWith('@') ? QUrl::fromLocalFile(m_root.path() + url.mid(1))
                                         : QUrl(url));
        if (!list.isEmpty())
            data.setUrls(list);
        if (!text.isEmpty())
            data.setText(text.replace('@', m_root.path()));
        const Outcome outcome = Drag(ui, over, data, Qt::DropActions(offered));
        const bool taken = !target.isEmpty();
        QCOMPARE(outcome.entered, taken);
        QCOMPARE(outcome.moved, taken);
        if (taken)
            QCOMPARE(outcome.action, offered & Qt::CopyAction ? Qt::CopyAction : Qt::LinkAction);
        QStringList after = before;
        if (taken)
            after[0] = Native(target);
        QCOMPARE(ui.boxTexts(), after);
    }

    // While a run holds the inputs locked (here while its outcome is shown), drops are
    // refused.
    void noDropDuringARun()
    {
        QTemporaryDir made;
        const MainWindowControls& ui = m_windows.show(m_store);
        ui.setBoxTexts({QDir::toNativeSeparators(made.path()), "n", "", "1", "1", "0"});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(m_root.filePath("folder"))});
        Outcome during;
        kovaldi::test::ModalDriver driver;
        driver.expectMessage(QMessageBox::Yes);
        driver.expect([&](QWidget* modal) {
            during = Drag(ui, "txtPath", data, Qt::CopyAction);
            modal->close();
        });
        ui.cmdMake->click();
        QCOMPARE(driver.failures(), QStringList());
        QVERIFY(!during.entered && !during.moved);
        QCOMPARE(ui.txtPath->text(), QDir::toNativeSeparators(made.path()));
        // Unlocked again, the same drop is taken.
        QVERIFY(Drag(ui, "txtPath", data, Qt::CopyAction).entered);
        QCOMPARE(ui.txtPath->text(), Native("folder"));
    }
};

QTEST_MAIN(DragDropTest)
#include "dragdrop_test.moc"
