#include "foldermaker.h"

#include "files/localfilesystem.h"
#include "files/nativename.h"

#if !defined(Q_OS_WIN)
#include <cerrno>
#include <sys/stat.h>
#endif

namespace kovaldi::cli {

FolderMaker::FolderMaker(FileSystem& fileSystem, const QString& baseFolder,
                         const FolderSeries& series)
    : m_series(series), m_width(series.zeroMask.size()), m_name(series.header),
      m_headerSize(series.header.size())
#if defined(Q_OS_WIN)
      ,
      m_fileSystem(fileSystem), m_baseFolder(baseFolder)
#endif
{
#if !defined(Q_OS_WIN)
    Q_UNUSED(fileSystem);
#endif
    m_name.reserve(m_headerSize + 24 + m_width + series.footer.size());
#if !defined(Q_OS_WIN)
    m_path = NativeName(baseFolder);
    AppendNativeName(m_path, series.header);
    m_prefixSize = m_path.size();
    m_footer = NativeName(series.footer);
    m_path.reserve(m_prefixSize + 24 + m_width + m_footer.size());
    m_travels =
        EncodesWhole(baseFolder) && EncodesWhole(series.header) && EncodesWhole(series.footer);
#endif
}

int FolderMaker::FormatNumber(qint64 index)
{
    const qint64 number = m_series.NumberAt(index);
    // The magnitude as unsigned, so that the most negative number has one too.
    unsigned long long magnitude =
        number < 0 ? 0ULL - static_cast<unsigned long long>(number) : number;
    char reversed[24];
    int length = 0;
    do {
        reversed[length++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int out = 0;
    if (number < 0)
        m_digits[out++] = '-';
    for (qsizetype pad = length; pad < m_width; ++pad)
        m_digits[out++] = '0';
    while (length > 0)
        m_digits[out++] = reversed[--length];
    return out;
}

CreateResult FolderMaker::Make(qint64 index)
{
    const int length = FormatNumber(index);
    m_name.truncate(m_headerSize);
    m_name.append(QLatin1StringView(m_digits, length));
    m_name.append(m_series.footer);
#if defined(Q_OS_WIN)
    return m_fileSystem.CreateFolder(m_baseFolder + m_name);
#else
    m_path.truncate(m_prefixSize);
    m_path.append(m_digits, length);
    m_path.append(m_footer);
    if (!m_travels)
        return {false, FailureReason::InvalidName, {}};
    if (::mkdir(m_path.constData(), 0777) == 0)
        return {true, {}, {}};
    return Failure(errno);
#endif
}

CreateResult FolderMaker::Failure(int error) const
{
    CreateResult result = LocalFileSystem::FailureFromSystemError(error);
#if !defined(Q_OS_WIN)
    if (result.reason == FailureReason::ExistsAsFolder) {
        struct stat status;
        if (::stat(m_path.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
            result.reason = FailureReason::ExistsAsFile;
    }
#endif
    return result;
}

} // namespace kovaldi::cli
