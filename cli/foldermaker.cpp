#include "foldermaker.h"

#include "files/localfilesystem.h"
#include "files/nativename.h"

#include <algorithm>

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
    // Written in place: the buffers keep their room from one folder to the next.
    const int length = FormatNumber(index);
    const qsizetype footerSize = m_series.footer.size();
    m_name.resize(m_headerSize + length + footerSize);
    QChar* name = m_name.data() + m_headerSize;
    for (int i = 0; i < length; ++i)
        name[i] = QLatin1Char(m_digits[i]);
    std::copy_n(m_series.footer.constData(), footerSize, name + length);
#if defined(Q_OS_WIN)
    return m_fileSystem.CreateFolder(m_baseFolder + m_name);
#else
    m_path.resize(m_prefixSize + length + m_footer.size());
    char* path = m_path.data() + m_prefixSize;
    std::copy_n(m_digits, length, path);
    std::copy_n(m_footer.constData(), m_footer.size(), path + length);
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
