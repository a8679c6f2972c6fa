#pragma once

#include "subfolders/subfoldertemplate.h"

#include <QDialog>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kovaldi {

class FolderChooser;

// The settings beside the main window's boxes: the step between consecutive numbers and
// the sub-folders made inside every numbered folder. OK takes them only once both are
// valid; a fault is told in a message and the dialog stays open.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr qint64 kHighestStep = 4294967295;

    SettingsDialog(qint64 step, const SubfolderTemplate& tree, FolderChooser& chooser,
                   QWidget* parent = nullptr);

    // What OK took.
    qint64 Step() const { return m_step; }
    const SubfolderTemplate& Subfolders() const { return m_tree; }

    // The row at the top of the dialog, empty for now, for the controls that act on the
    // whole of it.
    QBoxLayout* TopRow() const { return m_topRow; }

    void accept() override;

private:
    void cmdReadFolder_Click();
    void UpdateCount();

    QLineEdit* txtStep = nullptr;
    QPlainTextEdit* txtSubfolders = nullptr;
    QPushButton* cmdReadFolder = nullptr;
    QLabel* lblCount = nullptr;
    QBoxLayout* m_topRow = nullptr;
    FolderChooser& m_chooser;
    qint64 m_step;
    SubfolderTemplate m_tree;
};

// What the main window shows under its preview while the settings are in use; empty when
// they are not.
QString SettingsInUseText(qint64 step, const SubfolderTemplate& tree);

} // namespace kovaldi
