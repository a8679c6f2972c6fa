#include "files/filesystem.h"

namespace kovaldi {

namespace {

// Makes each folder by its whole path, built in one buffer that keeps its room.
class PathTarget : public TargetFolder
{
public:
    PathTarget(FileSystem& fileSystem, const QString& baseFolder)
        : m_fileSystem(fileSystem), m_baseSize(baseFolder.size()), m_path(baseFolder)
    {}

    CreateResult MakeFolder(QStringView name) override
    {
        m_path.truncate(m_baseSize);
        m_path += name;
        return m_fileSystem.CreateFolder(m_path);
    }

    void MakeSubfolders(QStringView name, const SubfolderTemplate& tree,
                        const SubfolderVisitor& each) override
    {
        m_path.truncate(m_baseSize);
        m_path += name;
        m_fileSystem.MakeSubfolders(m_path, tree, each);
    }

private:
    FileSystem& m_fileSystem;
    qsizetype m_baseSize;
    QString m_path;
};

} // namespace

std::unique_ptr<TargetFolder> FileSystem::OpenTarget(const QString& baseFolder)
{
    return std::make_unique<PathTarget>(*this, baseFolder);
}

} // namespace kovaldi
