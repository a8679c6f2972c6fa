#include "journal/journalformat.h"

namespace kovaldi {

namespace {

bool NeedsEscape(const QString& text, qsizetype i)
{
    const char16_t c = text.at(i).unicode();
    if (c < 0x20 || c == 0x7F || c == u'%' || c == 0x85 || c == 0x2028 || c == 0x2029 ||
        c == 0xFEFF)
        return true;
    if (c == u' ')
        return i + 1 == text.size();
    if (QChar::isHighSurrogate(c))
        return i + 1 == text.size() || !text.at(i + 1).isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

QString EscapeJournalText(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && !NeedsEscape(text, i))
        ++i;
    if (i == text.size())
        return text;
    QString escaped = text.left(i);
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!NeedsEscape(text, i)) {
            escaped += QChar(c);
            continue;
        }
        const int width = c < 0x100 ? 2 : 4;
        escaped += QLatin1String(width == 2 ? "%" : "%u") +
                   QString::number(c, 16).toUpper().rightJustified(width, QLatin1Char('0'));
    }
    return escaped;
}

void AppendEscaped(QByteArray& line, const QString& text)
{
    // Written straight into the line: this runs once for every folder a run makes.
    const qsizetype start = line.size();
    line.resize(start + 6 * text.size()); // "%uXXXX" is the longest any code unit becomes
    char* out = line.data() + start;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80 && c > 0x20 && c != u'%' && c != 0x7F) {
            *out++ = char(c);
        } else if (NeedsEscape(text, i)) {
            const char* hex = "0123456789ABCDEF";
            *out++ = '%';
            if (c >= 0x100) {
                *out++ = 'u';
                *out++ = hex[c >> 12];
                *out++ = hex[(c >> 8) & 15];
            }
            *out++ = hex[(c >> 4) & 15];
            *out++ = hex[c & 15];
        } else if (c < 0x80) {
            *out++ = char(c);
        } else if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c)) {
            // Paired, or NeedsEscape would have taken it.
            const char32_t u = QChar::surrogateToUcs4(c, text.at(++i).unicode());
            *out++ = char(0xF0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3F));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            *out++ = char(0xE0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3F));
            *out++ = char(0x80 | (c & 0x3F));
        }
    }
    line.resize(out - line.constData());
}

std::optional<QString> UnescapeJournalText(QStringView escaped)
{
    QString text;
    text.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped.at(i);
        if (c != QLatin1Char('%')) {
            text += c;
            continue;
        }
        int digits = 2;
        if (i + 1 < escaped.size() && escaped.at(i + 1) == QLatin1Char('u')) {
            digits = 4;
            ++i;
        }
        if (i + digits >= escaped.size())
            return std::nullopt;
        uint value = 0;
        for (int d = 1; d <= digits; ++d) {
            const int hex = HexValue(escaped.at(i + d));
            if (hex < 0)
                return std::nullopt;
            value = value * 16 + uint(hex);
        }
        text += QChar(char16_t(value));
        i += digits;
    }
    // What EscapeJournalText would have escaped must not stand bare.
    if (EscapeJournalText(text) != escaped)
        return std::nullopt;
    return text;
}

} // namespace kovaldi
