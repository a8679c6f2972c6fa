#pragma once

#include "mainwindow/runwindowadapter.h"
#include "options/presetsrow.h"
#include "paths/targetdefaults.h"
#include "settings/initext.h"
#include "subfolders/subfoldertemplate.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kovaldi {

class AutoSizeLabel;
class FolderChooser;
class FileSystem;
class RunWindowAdapter;
class SettingsStore;
class UpDown;
struct NumberBoxLimits;

// frmMain: the program's only working window, with the fixed layout of its controls.
// Each handled event has one handler named control_event.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(SettingsStore& settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The folder whose path becomes ProgramFolder at load; the executable's folder
    // unless a test says otherwise.
    void setExecutableFolder(const QString& folder) { m_executableFolder = folder; }
    const QString& programFolder() const { return m_programFolder; }

    // The picker behind Browse; the real dialog unless a test says otherwise. Not owned.
    void setFolderChooser(FolderChooser* chooser);

    // The file system that runs create their folders in: the machine's own unless a test
    // gives another (nullptr goes back to the machine's own). Not owned.
    void setFileSystem(FileSystem* fileSystem);

    // Load handling: fills the boxes from the store (each fill runs that box's change
    // handling), clears the status line, puts the program's folder (the home folder when
    // the user cannot create folders there) into an empty target box, sets the title and
    // hides the progress bar. Runs once: at the first show unless called before it, so the
    // window is never seen unloaded.
    void Form_Load();

    // A target named when the program is started on a folder: the load handling puts it
    // into the target box over the stored one, as a drop would, before the window is shown.
    void setStartTarget(const QString& target) { m_startTarget = target; }

    // Centres the window on the screen it will be shown on.
    void centreOnScreen();

    // Event handlers.
    void Form_QueryUnload();
    void cmdMake_Click();
    void cmdBrowse_Click();
    void cmdEnd_Click();
    void Command1_Click();
    // Opens the settings dialog; what it takes shows under the preview.
    void cmdOptions_Click();
    // Opens the list dialog; its Make runs the list in this window.
    void cmdList_Click();

    // The numbering options of the list dialog, as a run from a list stores them.
    bool listNumbered() const { return m_listNumbered; }
    const QString& listSeparator() const { return m_listSeparator; }
    void setListOptions(bool numbered, const QString& separator)
    {
        m_listNumbered = numbered;
        m_listSeparator = separator;
    }
    // The file the list is kept in for the next start: list.txt beside the settings unless a
    // test says otherwise.
    void setListFile(const QString& path) { m_listFile = path; }
    void txtHeader_Change();
    void txtFooter_Change();
    void txtMin_Change();
    void txtMax_Change();
    void txtBeam_Change();

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter in any of the six boxes presses Make; Up and Down in the digit box step the
    // digit count as the spinner does.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A folder dropped anywhere on the window becomes the target; a dropped file gives its
    // folder. Anything else is refused, and so is every drop while the inputs are locked.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void UpdatePreview();
    // The line under the preview that says which of the dialog's settings are in use.
    void UpdateSettingsInUse();
    // The step and the sub-folders as a run stores them: each once it is in use or stored
    // before (the store cannot remove a key), so that a user who never uses them keeps a
    // store of the six inputs alone.
    // A run from a list stores its numbering options too, as does every run once they are
    // stored.
    SettingsEntries FurtherSettings(bool listRun = false) const;
    // The parts of the window a run reaches, for the file system it makes the folders in.
    RunWindowAdapter::Parts RunParts(FileSystem& fileSystem, bool listRun);
    // What a confirmed run leaves stored beside the six boxes.
    void NoteStored(bool listRun);
    // The window's part of a preset, under the keys the settings store them by: the six
    // box texts, and the list's numbering (ListNumbered, ListSeparator) once the window
    // has a list. The settings dialog adds its own step and sub-folders.
    SettingsEntries PresetValues() const;
    // Puts what a preset holds of the window's part (as above) into it, each box through
    // its change handling as the load handling fills it; what the preset lacks stays.
    void ApplyPreset(const Preset& preset);
    void RunNumberBoxChange(QLineEdit* box, const NumberBoxLimits& limits);
    void LockInputs();
    void UnlockInputs();
    // The sixteen switches of the lock, in their order, then the event pump.
    void SwitchInputs(bool enabled);

    // Whether the window takes this drop, with the action it takes it by; the target text
    // it gives.
    std::optional<QString> AcceptDrop(QDropEvent* event) const;

    // The six boxes in the order of the stored inputs.
    std::array<QLineEdit*, 6> InputBoxes() const;
    void createControls();
    void chainTabOrder();
    // Where an empty target box starts and what relative targets resolve against. Finding
    // out creates a probe folder in the program's folder, so it is done the first time the
    // answer is needed (an empty box at load, a relative target at Make or Browse), once.
    const TargetDefaults& targetDefaults();
    // Makes the current directory what relative target texts are taken from, when the text
    // at hand is one (or whenever the answer is known already).
    void EnterRelativeBase(const QString& targetText);

    // The controls, by their design names (also their object names).
    QPushButton* Command1 = nullptr;
    QGroupBox* FrameMain = nullptr;
    AutoSizeLabel* lblStatus = nullptr;
    QProgressBar* pbStatus = nullptr;
    QPushButton* cmdEnd = nullptr;
    AutoSizeLabel* lblPath = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowse = nullptr;
    std::array<AutoSizeLabel*, 6> lblETC{};
    QLineEdit* txtHeader = nullptr;
    QLineEdit* txtMin = nullptr;
    QLineEdit* txtBeam = nullptr;
    UpDown* udBeam = nullptr;
    QLineEdit* txtFooter = nullptr;
    QLineEdit* txtMax = nullptr;
    QPushButton* cmdMake = nullptr;
    QLabel* lblTest = nullptr;
    // Beside the design's controls: the settings dialog's button, shown while idle, and the
    // line under the preview, shown while its settings are in use.
    QPushButton* cmdOptions = nullptr;
    QPushButton* cmdList = nullptr;
    QLabel* lblOptions = nullptr;

    SettingsStore& m_settings;
    std::unique_ptr<FileSystem> m_localFileSystem;
    FileSystem* m_fileSystem = nullptr;
    QString m_executableFolder;
    QString m_programFolder;
    std::optional<QString> m_startTarget;
    std::optional<TargetDefaults> m_targetDefaults;
    // Browse leads relative targets to the program's folder (or the home folder standing in
    // for it) from then on.
    bool m_browsed = false;
    FolderChooser* m_folderChooser;
    bool m_loaded = false;
    RunWindowAdapter* m_run = nullptr; // the run in progress
    qint64 m_step = 1;
    SubfolderTemplate m_subfolders;
    bool m_stepStored = false;
    bool m_subfoldersStored = false;
    PresetMemory m_presets;
    // The list dialog's text (read from the kept file when it first opens) and options.
    std::optional<QString> m_listText;
    QString m_listFile;
    bool m_listNumbered = false;
    QString m_listSeparator = QStringLiteral("_");
    bool m_listOptionsStored = false;
};

} // namespace kovaldi
