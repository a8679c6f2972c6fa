#pragma once

#include "run/messagekind.h"
#include "run/runfigures.h"
#include "settings/initext.h"

#include <QString>

namespace kovaldi {

struct RunResult;
class SubfolderTemplate;

// What a batch creation run needs of the window that starts it.
class RunWindow
{
public:
    virtual ~RunWindow() = default;

    // The six box texts, exactly as the boxes hold them at the moment of the call.
    virtual QString TargetFolderText() const = 0;
    virtual QString HeaderText() const = 0;
    virtual QString FooterText() const = 0;
    virtual QString MinimumText() const = 0;
    virtual QString MaximumText() const = 0;
    virtual QString DigitCountText() const = 0;

    // What the window holds beside its boxes: the step between consecutive numbers (at
    // least 1) and the sub-folders made inside every numbered folder (nullptr or an empty
    // template: none). By default neither is in use.
    virtual qint64 Step() const { return 1; }
    virtual const SubfolderTemplate* Subfolders() const { return nullptr; }
    // Entries stored after the six box texts when a confirmed run stores them.
    virtual SettingsEntries FurtherSettings() const { return {}; }

    virtual void SetStatus(const QString& text) = 0;
    // The status line of the folder being made: its name followed by what is being done.
    // A window that shows only some of a run's folders may join the two only for those.
    virtual void SetFolderStatus(const QString& name, const QString& doing)
    {
        SetStatus(name + doing);
    }
    // 0 to 100.
    virtual void SetProgress(float value) = 0;

    // A modal question with Yes and No, Yes the default; true on Yes.
    virtual bool Ask(const QString& text) = 0;
    // A modal message with one OK button.
    virtual void Tell(const QString& text, MessageKind kind) = 0;

    // The confirmation: the question, with the figures of what the run is about to do.
    // By default the plain question.
    virtual bool Confirm(const QString& question, const RunFigures& figures)
    {
        Q_UNUSED(figures);
        return Ask(question);
    }

    // The outcome message, with what the run did. By default the plain message.
    virtual void TellOutcome(const QString& text, MessageKind kind, const RunResult& result)
    {
        Q_UNUSED(result);
        Tell(text, kind);
    }

    // Asked after every folder but the last: true once the user has asked the run to stop.
    // Called once per folder, so it should only read a flag.
    virtual bool StopRequested() { return false; }

    virtual void LockInputs() = 0;
    virtual void UnlockInputs() = 0;

    // Processes every pending window event, then returns; a window may do so less often
    // than it is called, within a delay bound of its own (the main window: 2 ms). The
    // window may be closed, and the process ended, from in here.
    virtual void PumpEvents() = 0;
};

} // namespace kovaldi
