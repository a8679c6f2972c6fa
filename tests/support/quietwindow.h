#pragma once

#include "run/runresult.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"

#include <QStringList>

namespace kovaldi::test {

// A window that a run drives without anyone watching: six fixed box texts, Yes to the
// question, and only the latest of what the run reports kept. Stores nothing.
class QuietWindow : public RunWindow, public SettingsStore
{
public:
    // Target, header, footer, minimum, maximum, digit count.
    explicit QuietWindow(QStringList texts) : inputs(std::move(texts)) {}

    QStringList inputs;
    QString told;
    float progress = 0;
    RunResult result;

    QString TargetFolderText() const override { return inputs[0]; }
    QString HeaderText() const override { return inputs[1]; }
    QString FooterText() const override { return inputs[2]; }
    QString MinimumText() const override { return inputs[3]; }
    QString MaximumText() const override { return inputs[4]; }
    QString DigitCountText() const override { return inputs[5]; }
    void SetStatus(const QString&) override {}
    void SetProgress(float value) override { progress = value; }
    bool Ask(const QString&) override { return true; }
    void Tell(const QString& text, MessageKind) override { told += text; }
    void TellOutcome(const QString& text, MessageKind kind, const RunResult& given) override
    {
        result = given;
        Tell(text, kind);
    }
    void LockInputs() override {}
    void UnlockInputs() override {}
    void PumpEvents() override {}
    bool SaveSettings(const QString&, const QString&, const SettingsEntries&) override
    {
        return true;
    }
};

} // namespace kovaldi::test
