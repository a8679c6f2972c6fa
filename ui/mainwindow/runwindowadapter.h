#pragma once

#include "run/runwindow.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kovaldi {

class AutoSizeLabel;
class FileSystem;
struct UndoPlan;

// The main window as a run sees it: its boxes, status line, progress bar, message boxes,
// input lock and event pump. While folders are being made, the Make button reads
// "中止(&M)", stays enabled and has the focus: it, Alt+M and Escape ask the run to stop,
// each at the key press. A held key's repeats stop nothing, so the Enter that answered the
// question cannot stop the run it started. The outcome offers to take the run back,
// which goes as the run did: the status line follows the folder being removed, the bar
// moves, and Make stops it after that folder.
class RunWindowAdapter : public QObject, public RunWindow
{
public:
    // While folders are being made, the status line and the progress bar take their new
    // text and value at every step but are drawn at most once in this many milliseconds:
    // two frames of a 60 Hz display, so they still read as moving smoothly, while every
    // frame drawn is a round trip to the display server, which a machine busy writing
    // thousands of folders answers slowly.
    static constexpr qint64 kFrameMs = 33;

    // A pass of the event loop costs more than making a folder on fast storage, so while
    // folders are being made the loop is entered only once this many milliseconds have
    // passed since the last pass, or after kMostFoldersUnpumped folders, whichever comes
    // first. The clock is read after every folder, so a click, a key or a close request
    // waits at most about this long (plus the creation under way) at any pace, however
    // suddenly the pace changes: far below what a person notices.
    static constexpr qint64 kPumpMs = 2;
    static constexpr int kMostFoldersUnpumped = 2048;

    // The parts of the main window that a run reaches.
    struct Parts
    {
        QWidget* window; // owns the message boxes and holds the focus
        const QLineEdit* target;
        const QLineEdit* header;
        const QLineEdit* footer;
        const QLineEdit* minimum;
        const QLineEdit* maximum;
        const QLineEdit* digitCount;
        AutoSizeLabel* status;
        QProgressBar* bar;
        QPushButton* make;      // the stop button while folders are being made
        FileSystem* fileSystem; // where an undo removes the run's folders
        std::function<void()> lockInputs;
        std::function<void()> unlockInputs;
        // The settings beside the boxes, and what of them a run stores.
        qint64 step = 1;
        const SubfolderTemplate* subfolders = nullptr;
        SettingsEntries furtherSettings = {};
    };

    explicit RunWindowAdapter(Parts parts);
    ~RunWindowAdapter() override;

    QString TargetFolderText() const override;
    QString HeaderText() const override;
    QString FooterText() const override;
    QString MinimumText() const override;
    QString MaximumText() const override;
    QString DigitCountText() const override;
    qint64 Step() const override { return m_parts.step; }
    const SubfolderTemplate* Subfolders() const override { return m_parts.subfolders; }
    SettingsEntries FurtherSettings() const override { return m_parts.furtherSettings; }

    void SetStatus(const QString& text) override;
    void SetFolderStatus(const QString& name, const QString& doing) override;
    void SetProgress(float value) override;
    bool Ask(const QString& text) override;
    void Tell(const QString& text, MessageKind kind) override;
    bool Confirm(const QString& question, const RunFigures& figures) override;
    void TellOutcome(const QString& text, MessageKind kind, const RunResult& result) override;
    bool StopRequested() override { return m_stopRequested; }
    void LockInputs() override;
    void UnlockInputs() override;
    void PumpEvents() override;

    // The Make button pressed during the run; the run stops after the folder being made.
    void RequestStop() { m_stopRequested = true; }

protected:
    // A modal window opened over the window mid-run (the About window) would otherwise
    // stand over a status line and bar a frame behind the disk for as long as it is open:
    // one frame is drawn as it blocks the window. Alt+M and Escape in the window stop the
    // run as they are pressed: the access key would click Make only after showing it
    // pressed for a tenth of a second, a hundred folders or more on fast storage.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Paced, the status line and the bar are drawn once a frame (and the status line
    // measured then); otherwise at every change.
    void pacePainting(bool paced);
    void drawFrame();
    // Make as the stop button, or back as the lock leaves it.
    void offerStop(bool offered);
    // Asks, removes the plan's folders as a run makes them (with the stop button) and
    // reports; after a stop the report offers to take back the rest, and plan then holds
    // it. False when the user declined.
    bool undoRun(UndoPlan& plan);

    // Paced, what the run shows is kept here and given to the status line and the bar just
    // before each pass of the event loop, so that whatever a pass handles or draws sees the
    // folder being made.
    void showLatest();
    // Paced: true when a pass of the event loop is due.
    bool pumpDue();

    Parts m_parts;
    bool m_paced = false;
    QElapsedTimer m_sinceFrame;
    QString m_latestStatus; // or the name and the doing of the folder being made
    QString m_latestName;
    QString m_latestDoing;
    int m_latestValue = 0;
    bool m_latestShown = true;
    QElapsedTimer m_sincePump;
    int m_callsSincePump = 0;
    // Locking moves the focus off the disabled control (onto the version button, the
    // only one left); unlocking gives it back, so that the keyboard is where it was.
    QPointer<QWidget> m_focusBeforeLock;
    bool m_stopRequested = false;
    bool m_stopOffered = false;
};

} // namespace kovaldi
