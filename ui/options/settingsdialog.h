#pragma once

#include "options/presetsrow.h"
#include "presets/presetstore.h"
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
// Its presets row saves the window's inputs (`windowValues`) with the step and the
// sub-folders as typed here, and loads a preset into the two boxes at once and into the
// window's boxes on OK (LoadedPreset): Cancel leaves the window as it was.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr qint64 kHighestStep = 4294967295;

    SettingsDialog(qint64 step, const SubfolderTemplate& tree, FolderChooser& chooser,
                   SettingsEntries windowValues, PresetMemory& presets, QWidget* parent = nullptr);

    // What OK took.
    qint64 Step() const { return m_step; }
    const SubfolderTemplate& Subfolders() const { return m_tree; }
    // The preset last loaded, for the window's inputs it holds; nothing when none was.
    const std::optional<Preset>& LoadedPreset() const { return m_loaded; }
    // The preset selected when OK was pressed; empty for none.
    QString SelectedPreset() const;

    // The row at the top of the dialog, for the controls that act on the whole of it.
    QBoxLayout* TopRow() const { return m_topRow; }

    void accept() override;

private:
    void cmdReadFolder_Click();
    void UpdateCount();
    // The step and the sub-folders as typed, or nothing once a message has said why not.
    std::optional<std::pair<qint64, SubfolderTemplate>> CheckedInputs();
    // What saving a preset stores: the window's inputs (those of a loaded preset in their
    // place), the step and the sub-folders.
    std::optional<SettingsEntries> PresetValues();
    void LoadPreset(const std::optional<Preset>& preset);

    QLineEdit* txtStep = nullptr;
    QPlainTextEdit* txtSubfolders = nullptr;
    QPushButton* cmdReadFolder = nullptr;
    QLabel* lblCount = nullptr;
    QBoxLayout* m_topRow = nullptr;
    PresetsRow* m_presetsRow = nullptr;
    FolderChooser& m_chooser;
    qint64 m_step;
    SubfolderTemplate m_tree;
    SettingsEntries m_windowValues;
    std::optional<Preset> m_loaded;
};

// What the main window shows under its preview while the settings are in use; empty when
// they are not.
QString SettingsInUseText(qint64 step, const SubfolderTemplate& tree);

} // namespace kovaldi
