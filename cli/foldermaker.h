#pragma once

#include "files/filesystem.h"
#include "run/folderseries.h"

#include <QByteArray>
#include <QString>

namespace kovaldi::cli {

// Makes the folders of a series one by one with as little work per folder as the system
// call allows: the name is written into one reused buffer, and on POSIX the path is built
// once as the bytes the system takes, never through a temporary text.
class FolderMaker
{
public:
    // The zero mask is at most 99 characters long, as the digit count allows.
    FolderMaker(FileSystem& fileSystem, const QString& baseFolder, const FolderSeries& series);

    // Makes the folder of the series' index; Name() is its name until the next call.
    CreateResult Make(qint64 index);
    const QString& Name() const { return m_name; }

private:
    // Writes the number text of the index into m_digits; returns its length.
    int FormatNumber(qint64 index);
    CreateResult Failure(int error) const;

    FolderSeries m_series;
    qsizetype m_width;
    QString m_name; // header, then the number text and the footer of the latest folder
    qsizetype m_headerSize;
    char m_digits[128]; // a sign, a mask of at most 99 digits or 20 digits
#if defined(Q_OS_WIN)
    FileSystem& m_fileSystem;
    QString m_baseFolder;
#else
    QByteArray m_path; // the same with the base folder in front, as the system's bytes
    qsizetype m_prefixSize;
    QByteArray m_footer;
    bool m_travels; // no NUL or stray surrogate in the path: it reaches the system whole
#endif
};

} // namespace kovaldi::cli
