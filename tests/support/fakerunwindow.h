#pragma once

// A run's window and settings store without widgets, for runs on real folders, and what
// such a run leaves in its folder.
#include "run/runwindow.h"
#include "settings/settingsstore.h"
#include "subfolders/subfoldertemplate.h"

#include <QDir>
#include <QDirIterator>
#include <QStringList>

namespace kovaldi::test {

// Confirms every question, keeps the figures and the last message, asks to stop after a
// number of status lines, and stores nothing but counts the stores.
class FakeRunWindow : public RunWindow, public SettingsStore
{
public:
    QStringList in{"", "", "", "1", "1", "0"}; // target, header, footer, min, max, digits
    qint64 step = 1;
    SubfolderTemplate tree;
    int stopAfter = -1; // status lines before Stop is pressed; -1: never
    int statuses = 0;
    int saves = 0;
    QString told; // the last message
    RunFigures figures;

    QString TargetFolderText() const override { return in[0]; }
    QString HeaderText() const override { return in[1]; }
    QString FooterText() const override { return in[2]; }
    QString MinimumText() const override { return in[3]; }
    QString MaximumText() const override { return in[4]; }
    QString DigitCountText() const override { return in[5]; }
    qint64 Step() const override { return step; }
    const SubfolderTemplate* Subfolders() const override { return &tree; }
    void SetStatus(const QString&) override { ++statuses; }
    void SetProgress(float) override {}
    bool Ask(const QString&) override { return true; }
    bool Confirm(const QString& question, const RunFigures& given) override
    {
        figures = given;
        return Ask(question);
    }
    void Tell(const QString& text, MessageKind) override { told = text; }
    bool StopRequested() override { return stopAfter >= 0 && statuses >= stopAfter; }
    void LockInputs() override {}
    void UnlockInputs() override {}
    void PumpEvents() override {}
    bool SaveSettings(const QString&, const QString&, const SettingsEntries&) override
    {
        ++saves;
        return true;
    }
};

// Every entry inside folder, files too, as sorted relative paths.
inline QStringList Entries(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

} // namespace kovaldi::test
