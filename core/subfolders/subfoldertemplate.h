#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kovaldi {

// The same sub-folders inside every numbered folder of a run: relative paths, one a line,
// "/" nesting them (on Windows "\" too); the parents of a path are implied.
class SubfolderTemplate
{
public:
    static constexpr int kMostEntries = 1000;
    static constexpr int kMostLevels = 32;

    struct Entry
    {
        QString path; // from the numbered folder, its names joined with "/"
        QString name; // the last of them
        int depth = 1;
    };

    SubfolderTemplate() = default;

    // From the lines a user wrote: blank lines skipped, a path named twice (or as a parent)
    // taken once. On a fault: nothing, and a message that names the line.
    static std::optional<SubfolderTemplate> FromLines(const QStringList& lines, QString* error);
    static std::optional<SubfolderTemplate> FromText(const QString& text, QString* error)
    {
        return FromLines(text.split(QLatin1Char('\n')), error);
    }
    // The folders inside folder, at any depth: folders only, never a file, never a symbolic
    // link or what it leads to. Refused, with a message, beyond kMostEntries entries or
    // kMostLevels levels, or when the folder cannot be read.
    static std::optional<SubfolderTemplate> FromFolder(const QString& folder, QString* error);

    bool IsEmpty() const { return m_entries.isEmpty(); }
    qsizetype Count() const { return m_entries.size(); }
    // Depth first, each parent right before its children, siblings in the order first
    // named: a folder's children follow it before any later sibling of it.
    const QList<Entry>& Entries() const { return m_entries; }
    // One path a line, in the order of Entries(): the form stored and shown.
    QString Text() const;
    // The path of entry i with the separator given between its names.
    QString PathWith(qsizetype i, QChar separator) const;

    bool operator==(const SubfolderTemplate& other) const { return Text() == other.Text(); }

private:
    QList<Entry> m_entries;
};

// Why a name cannot be a folder's name on this system, or nothing when it can. Shared by the
// template and by anything else that checks a single name.
std::optional<QString> FolderNameFault(const QString& name);

} // namespace kovaldi
