#pragma once

#include "files/localfilesystem.h"

#include <QString>
#include <functional>
#include <memory>
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

    // Each folder by its path, so that every creation passes the script.
    std::unique_ptr<TargetFolder> OpenTarget(const QString& baseFolder) override
    {
        return FileSystem::OpenTarget(baseFolder);
    }

    OpenedFolder OpenForUndo(const QString& target, const QString& identity) override
    {
        OpenedFolder opened = LocalFileSystem::OpenForUndo(target, identity);
        if (opened.folder)
            opened.folder = std::make_unique<Scripted>(*this, std::move(opened.folder));
        return opened;
    }

private:
    class Scripted : public UndoFolder
    {
    public:
        Scripted(ScriptedFileSystem& owner, std::unique_ptr<UndoFolder> real)
            : m_owner(owner), m_real(std::move(real))
        {}
        RemoveResult RemoveEmptyFolder(const QString& name, bool dryRun) override
        {
            if (m_owner.remove)
                if (const std::optional<RemoveResult> scripted = m_owner.remove(name))
                    return *scripted;
            return m_real->RemoveEmptyFolder(name, dryRun);
        }

    private:
        ScriptedFileSystem& m_owner;
        std::unique_ptr<UndoFolder> m_real;
    };

    int m_tried = 0;
};

} // namespace kovaldi::test
