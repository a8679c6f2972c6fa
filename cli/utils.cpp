#include "utils.h"

#include "files/nativename.h"
#include "numbers/numbertext.h"

#include <QJsonDocument>
#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kovaldi::cli {

QCommandLineOption Texts::JsonOption()
{
    return {QStringLiteral("json"),
            tr("Write one JSON document on standard output as the report.")};
}

QCommandLineOption Texts::QuietOption()
{
    return {{QStringLiteral("q"), QStringLiteral("quiet")},
            tr("Show nothing but errors on standard error.")};
}

QString Texts::CannotWrite(bool standardError, const QString& systemText)
{
    return standardError ? tr("cannot write to standard error: %1").arg(systemText)
                         : tr("cannot write to standard output: %1").arg(systemText);
}

QString Texts::Reason(FailureReason reason, const QString& systemText)
{
    switch (reason) {
    case FailureReason::ExistsAsFolder:
        return tr("exists already as a folder");
    case FailureReason::ExistsAsFile:
        return tr("a file of that name exists");
    case FailureReason::ParentMissing:
        return tr("the folder it belongs in is missing");
    case FailureReason::AccessRefused:
        return tr("access refused");
    case FailureReason::NameTooLong:
        return tr("name too long");
    case FailureReason::DiskFull:
        return tr("no space left on the disk");
    case FailureReason::ReadOnly:
        return tr("read-only file system");
    case FailureReason::InvalidName:
        return tr("not a valid folder name");
    case FailureReason::Other:
        break;
    }
    return systemText.isEmpty() ? tr("other error") : systemText;
}

QString Texts::Reason(KeptReason reason, const QString& systemText)
{
    switch (reason) {
    case KeptReason::NotEmpty:
        return tr("not empty");
    case KeptReason::Gone:
        return tr("no longer there");
    case KeptReason::ReplacedByFile:
        return tr("replaced by a file");
    case KeptReason::ReplacedByLink:
        return tr("replaced by a link");
    case KeptReason::AccessRefused:
        return tr("access refused");
    case KeptReason::OutsideTarget:
        return tr("outside the target folder");
    case KeptReason::Other:
        break;
    }
    return systemText.isEmpty() ? tr("other error") : systemText;
}

namespace {

bool NeedsUnicodeEscape(char16_t c)
{
    return (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

void AppendHex(QString& out, unsigned value, int digits)
{
    out += QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

// The first write that failed: its stream and the system's error number.
struct OutputError
{
    std::FILE* stream = nullptr;
    int error = 0;
};
OutputError failedWrite;

// A write interrupted by a signal is resumed by the system (the stop handlers ask for
// that), so a short write here is a real failure: a full disk, a closed pipe.
void WriteBytes(std::FILE* stream, const char* data, size_t size)
{
    if (std::ferror(stream))
        return; // a stream that failed once takes nothing more
    errno = 0;
    if ((std::fwrite(data, 1, size, stream) != size || std::ferror(stream)) && !failedWrite.stream)
        failedWrite = {stream, errno ? errno : EIO};
}

void Write(std::FILE* stream, QStringView text)
{
    const QByteArray bytes = text.toUtf8();
    WriteBytes(stream, bytes.constData(), size_t(bytes.size()));
}

} // namespace

QString Escaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c != 0x7F && c != u'\\' && c < 0x80) {
            out += QChar(c);
        } else if (c == u'\\') {
            out += QLatin1String("\\\\");
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else if (c == u'\r') {
            out += QLatin1String("\\r");
        } else if (c == u'\t') {
            out += QLatin1String("\\t");
        } else if (c < 0x20 || c == 0x7F) {
            out += QLatin1String("\\x");
            AppendHex(out, c, 2);
        } else if (QChar::isHighSurrogate(c) && i + 1 < size &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += QChar(c);
            out += text[++i];
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            out += QLatin1String("\\x"); // a byte that is not UTF-8
            AppendHex(out, c - 0xDC00, 2);
        } else if (QChar::isSurrogate(c) || NeedsUnicodeEscape(c)) {
            out += QLatin1String("\\u{");
            AppendHex(out, c, 4);
            out += QLatin1Char('}');
        } else {
            out += QChar(c);
        }
    }
    return out;
}

void Out(QStringView text)
{
    Write(stdout, text);
}

void Err(QStringView text)
{
    std::fflush(stdout);
    Write(stderr, text);
    std::fflush(stderr);
}

bool OutputFailed()
{
    return failedWrite.stream != nullptr;
}

bool FinishOutput()
{
    for (std::FILE* stream : {stdout, stderr}) {
        errno = 0;
        if ((std::fflush(stream) != 0 || std::ferror(stream)) && !failedWrite.stream)
            failedWrite = {stream, errno ? errno : EIO};
    }
    return !OutputFailed();
}

QString OutputErrorText()
{
    return Texts::CannotWrite(failedWrite.stream == stderr,
                              QString::fromLocal8Bit(std::strerror(failedWrite.error)));
}

void ErrorLine(const QString& text)
{
    Err(QCoreApplication::applicationName() + QLatin1String(": ") + text + QLatin1Char('\n'));
}

void OutJson(const QJsonObject& document)
{
    OutRaw(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

QByteArray CompactJson(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void OutRaw(const QByteArray& bytes)
{
    WriteBytes(stdout, bytes.constData(), size_t(bytes.size()));
}

bool ErrIsTerminal()
{
#if defined(Q_OS_WIN)
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

std::optional<qint64> WholeNumber(const QString& text, qint64 lowest, qint64 highest)
{
    // Typed with a Japanese input method, digits and signs may come full-width.
    const std::optional<long long> value = WholeNumberIn(FoldWideNumberText(text), lowest, highest);
    if (!value)
        return std::nullopt;
    return qint64(*value);
}

} // namespace kovaldi::cli
