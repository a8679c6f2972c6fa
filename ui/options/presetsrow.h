#pragma once

#include "presets/presetstore.h"

#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QPushButton;

namespace kovaldi {

// What the main window keeps of the presets from one opening of the settings dialog to
// the next.
struct PresetMemory
{
    // The preset the window's inputs were last loaded from or saved as, selected (not
    // loaded again) when the dialog opens.
    QString selected;
    // The state of a presets file that cannot be used, once told, so that it is told once.
    std::optional<PresetFileState> told;
};

// The row of saved presets at the top of the settings dialog: a list to load one from and
// the buttons that save over the selected one, save under a new name and delete. A presets
// file that cannot be used is told of once and never replaced without the user's Yes; one
// that is not a file is never replaced.
class PresetsRow : public QWidget
{
    Q_OBJECT
public:
    struct Hooks
    {
        // What a save stores, or nothing when the inputs do not do (the caller has said why).
        std::function<std::optional<SettingsEntries>()> values;
        // Loads a preset into the inputs; nothing goes back to what they were before.
        std::function<void(const std::optional<Preset>&)> load;
    };

    // Reads the presets file and tells of a file that cannot be used, over `reportParent`.
    PresetsRow(PresetMemory& memory, Hooks hooks, QWidget* reportParent, QWidget* parent);

    // The preset selected in the list; empty for none.
    QString Selected() const;

private:
    void cboPreset_Activated(int index);
    void cmdSavePreset_Click();
    void cmdSavePresetAs_Click();
    void cmdDeletePreset_Click();

    // Adds or replaces the preset called name, asking first where the user would lose a
    // preset or a file.
    void SavePreset(const QString& name, const SettingsEntries& values);
    void TellNotWritten();
    // The presets file read afresh for a change, or nothing after the user has been told why
    // it cannot be changed or has declined to replace it. `replace` says whether the file
    // is to be replaced.
    std::optional<QList<Preset>> PresetsToChange(const QString& name, bool& replace);
    // The name typed into a small dialog; nothing when cancelled.
    std::optional<QString> AskName();
    // The list from the file read afresh, the preset called name selected when there.
    void FillList(const QList<Preset>& presets, const QString& name);
    void UpdateButtons();

    QComboBox* cboPreset = nullptr;
    QPushButton* cmdSavePreset = nullptr;
    QPushButton* cmdSavePresetAs = nullptr;
    QPushButton* cmdDeletePreset = nullptr;
    PresetStore m_store;
    PresetMemory& m_memory;
    Hooks m_hooks;
    QList<Preset> m_presets; // as listed
};

} // namespace kovaldi
