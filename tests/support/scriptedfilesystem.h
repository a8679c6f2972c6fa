#pragma once

#include "files/localfilesystem.h"

#include <QString>
#include <functional>
#include <optional>

namespace kovaldi::test {

// The machine's file system with a test's hand in it: a creation or a removal may answer
// for itself instead of reaching the disk, and something may happen right after each
// folder of a run is tried (inside the run, before its next pump of events).
class ScriptedFileSystem : public LocalFileSystem
{
public:
    // A result that stands in for the real creation of the folder name; nothing: the
    // folder is made for real.
    std::function<std::optional<CreateResult>(const QString& name)> create;
    // Called after each creation with how many folders have been tried so far.
    std::function<void(int tried)> afterCreate;
    // A result that stands in for the real removal; nothing: removed for real.
    std::function<std::optional<RemoveResult>(const QString& name)> remove;

    CreateResult CreateFolder(const QString& path) override
    {
        const QString name = path.section(Separator(), -1);
        const std::optional<CreateResult> scripted = create ? create(name) : std::nullopt;
        const CreateResult result = scripted ? *scripted : LocalFileSystem::CreateFolder(path);
        ++m_tried;
        if (afterCreate)
            afterCreate(m_tried);
        return result;
    }

    RemoveResult RemoveEmptyFolder(const QString& target, const QString& name, bool dryRun) override
    {
        if (const std::optional<RemoveResult> scripted = remove ? remove(name) : std::nullopt)
            return *scripted;
        return LocalFileSystem::RemoveEmptyFolder(target, name, dryRun);
    }

private:
    int m_tried = 0;
};

} // namespace kovaldi::test
