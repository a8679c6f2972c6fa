#include "files/nativename.h"

#include <QCoreApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cstring>
#endif

namespace kovaldi {

namespace {

constexpr char16_t kFirstByteSurrogate = 0xDC80;
constexpr char16_t kLastByteSurrogate = 0xDCFF;

bool IsByteSurrogate(char16_t c)
{
    return c >= kFirstByteSurrogate && c <= kLastByteSurrogate;
}

// The length of the valid UTF-8 sequence at bytes[i], or 0.
int ValidSequence(const unsigned char* bytes, qsizetype size, qsizetype i)
{
    const unsigned char lead = bytes[i];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        else if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (i + length > size)
        return 0;
    if (bytes[i + 1] < low || bytes[i + 1] > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

bool EncodesWhole(QStringView text)
{
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = units[i];
        // Most names are of characters below the surrogates, none of them NUL.
        if (char16_t(c - 1) < 0xD7FF)
            continue;
        if (c == 0)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 == size || !QChar::isLowSurrogate(units[i + 1]))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c) && !IsByteSurrogate(c)) {
            return false;
        }
    }
    return true;
}

NativeWrite WriteNativeName(char* destination, QStringView text)
{
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    char* out = destination;
    bool whole = true;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = units[i];
        if (c < 0x80) {
            whole = whole && c != 0;
            *out++ = char(c);
        } else if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (IsByteSurrogate(c)) {
            *out++ = char(c - 0xDC00);
        } else if (QChar::isHighSurrogate(c) && i + 1 < size &&
                   QChar::isLowSurrogate(units[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(c, units[++i]);
            *out++ = char(0xF0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3F));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            // A surrogate without its partner cannot go to the system whole.
            whole = whole && !QChar::isSurrogate(c);
            *out++ = char(0xE0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3F));
            *out++ = char(0x80 | (c & 0x3F));
        }
    }
    return {out - destination, whole};
}

void AppendNativeName(QByteArray& bytes, QStringView text)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + kMostNativeBytesPerUnit * text.size());
    bytes.truncate(start + WriteNativeName(bytes.data() + start, text).size);
}

QByteArray NativeName(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    AppendNativeName(bytes, text);
    return bytes;
}

QString NameFromNative(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size && data[i] < 0x80)
        ++i;
    if (i == size)
        return QString::fromLatin1(bytes.data(), size);
    QString text = QString::fromLatin1(bytes.data(), i);
    text.reserve(size);
    while (i < size) {
        const int length = ValidSequence(data, size, i);
        if (length == 0) {
            text += QChar(char16_t(0xDC00 + data[i]));
            ++i;
        } else {
            // Decoded here, not by a converter that may drop a byte order mark: every
            // character goes back to the same bytes.
            char32_t u = length == 1 ? data[i] : data[i] & (0x7F >> length);
            for (int k = 1; k < length; ++k)
                u = (u << 6) | (data[i + k] & 0x3F);
            if (QChar::requiresSurrogates(u)) {
                text += QChar(QChar::highSurrogate(u));
                text += QChar(QChar::lowSurrogate(u));
            } else {
                text += QChar(char16_t(u));
            }
            i += length;
        }
    }
    return text;
}

bool HoldsRawBytes(QStringView text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        else if (IsByteSurrogate(c))
            return true;
    }
    return false;
}

QStringList ProgramArguments(int argc, char* argv[])
{
    QStringList arguments;
#if defined(Q_OS_WIN)
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    arguments = QCoreApplication::arguments().mid(1);
#else
    for (int i = 1; i < argc; ++i)
        arguments << NameFromNative(QByteArrayView(argv[i]));
#endif
    return arguments;
}

QString SystemText(unsigned long code)
{
#if defined(Q_OS_WIN)
    wchar_t* buffer = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    QString text = size ? QString::fromWCharArray(buffer, int(size)).trimmed()
                        : QStringLiteral("error %1").arg(code);
    LocalFree(buffer);
    return text;
#else
    return QString::fromLocal8Bit(std::strerror(int(code)));
#endif
}

} // namespace kovaldi
