#include "settings/initext.h"

#include <algorithm>
#include <vector>

namespace kovaldi {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One line of the text: its content from the first non-blank byte up to an unquoted ";"
// (the rest is a comment) or the line's end, where the key ends ("=") if it has one, and
// where the next line begins.
struct Line
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype equals = -1;
    qsizetype lineEnd = 0;
    qsizetype next = 0;
};

class Lines
{
public:
    explicit Lines(const QByteArray& text) : m_data(text.constData()), m_size(text.size())
    {
        if (m_size >= 3 && text.startsWith("\xEF\xBB\xBF")) // the UTF-8 byte order mark
            m_position = 3;
    }

    bool next(Line& line)
    {
        if (m_position >= m_size)
            return false;
        qsizetype i = m_position;
        while (i < m_size && IsBlank(m_data[i]))
            ++i;
        line.start = i;
        line.equals = -1;
        line.end = -1;
        bool inQuotes = false;
        while (i < m_size && !IsLineEnd(m_data[i])) {
            const char c = m_data[i];
            if (c == '\\' && i + 1 < m_size && !IsLineEnd(m_data[i + 1])) {
                i += 2;
                continue;
            }
            if (c == '"')
                inQuotes = !inQuotes;
            else if (c == '=' && !inQuotes && line.equals < 0 && line.end < 0)
                line.equals = i;
            else if (c == ';' && !inQuotes && line.end < 0)
                line.end = i;
            ++i;
        }
        line.lineEnd = i;
        if (line.end < 0)
            line.end = i;
        if (i < m_size && m_data[i] == '\r' && i + 1 < m_size && m_data[i + 1] == '\n')
            ++i;
        if (i < m_size)
            ++i;
        line.next = m_position = i;
        return true;
    }

    const char* data() const { return m_data; }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_position = 0;
};

// A section or key name: "\" stands for "/", "%XX" and "%UXXXX" for the character with
// that code; every other byte is the Latin-1 character.
QString UnescapedName(const char* data, qsizetype from, qsizetype to)
{
    QString name;
    qsizetype i = from;
    while (i < to) {
        const char c = data[i];
        if (c == '\\') {
            name += QLatin1Char('/');
            ++i;
            continue;
        }
        if (c == '%' && i + 1 < to) {
            const bool wide = data[i + 1] == 'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            int code = 0;
            bool ok = first + digits <= to;
            for (qsizetype k = first; ok && k < first + digits; ++k) {
                const int digit = HexValue(data[k]);
                ok = digit >= 0;
                code = code * 16 + digit;
            }
            if (ok) {
                name += QChar(char16_t(code));
                i = first + digits;
                continue;
            }
        }
        name += QLatin1Char(c);
        ++i;
    }
    return name;
}

QByteArray EscapedName(const QString& name)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray result;
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            result += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                   (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' || c == u'.') {
            result += char(c);
        } else if (c <= 0xFF) {
            result += '%';
            result += hex[c / 16];
            result += hex[c % 16];
        } else {
            result += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                result += hex[(c >> shift) & 0xF];
        }
    }
    return result;
}

void ChopTrailingBlanks(QString& text, qsizetype limit)
{
    qsizetype n = text.size();
    while (n > limit && (text.at(n - 1) == u' ' || text.at(n - 1) == u'\t'))
        --n;
    text.truncate(n);
}

// The value from..to as text: escapes resolved, quotes removed, blanks around unquoted
// parts dropped; bare commas separate the items of a list, which are joined with ", ".
QString UnescapedValue(const char* data, qsizetype from, qsizetype to)
{
    QStringList items;
    QString current;
    bool isList = false;
    bool inQuotes = false;
    bool currentQuoted = false;
    qsizetype chopLimit = 0;
    qsizetype i = from;
    const auto skipBlanks = [&] {
        while (i < to && IsBlank(data[i]))
            ++i;
        chopLimit = current.size();
    };
    skipBlanks();
    while (i < to) {
        const char c = data[i];
        if (c == '\\') {
            if (++i >= to)
                break;
            const char code = data[i++];
            static const char simple[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'},
                                             {'n', '\n'}, {'r', '\r'}, {'t', '\t'},
                                             {'v', '\v'}, {'"', '"'},  {'?', '?'},
                                             {'\'', '\''}, {'\\', '\\'}};
            const auto match = std::find_if(std::begin(simple), std::end(simple),
                                            [code](const char* pair) { return pair[0] == code; });
            if (match != std::end(simple)) {
                current += QLatin1Char((*match)[1]);
            } else if (code == 'x' && i < to && HexValue(data[i]) >= 0) {
                unsigned value = 0;
                while (i < to && HexValue(data[i]) >= 0)
                    value = ((value << 4) | unsigned(HexValue(data[i++]))) & 0xFFFF;
                current += QChar(char16_t(value));
            } else if (code >= '0' && code <= '7') {
                unsigned value = unsigned(code - '0');
                while (i < to && data[i] >= '0' && data[i] <= '7')
                    value = ((value << 3) | unsigned(data[i++] - '0')) & 0xFFFF;
                current += QChar(char16_t(value));
            } // any other escaped character is dropped
            chopLimit = current.size();
        } else if (c == '"') {
            ++i;
            currentQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            if (!currentQuoted)
                ChopTrailingBlanks(current, chopLimit);
            isList = true;
            items << current;
            current.clear();
            currentQuoted = false;
            ++i;
            skipBlanks();
        } else {
            qsizetype j = i + 1;
            while (j < to && data[j] != '\\' && data[j] != '"' && data[j] != ',')
                ++j;
            current += QString::fromUtf8(data + i, j - i);
            i = j;
        }
    }
    if (!currentQuoted)
        ChopTrailingBlanks(current, chopLimit);
    if (!isList)
        return current;
    items << current;
    return items.join(QStringLiteral(", "));
}

// A stored text as the settings class has always written a text value: "@" doubled at the
// start, a text holding a NUL wrapped in @String(...).
QString StoredForm(const QString& value)
{
    if (value.contains(QChar::Null))
        return QStringLiteral("@String(") + value + QLatin1Char(')');
    if (value.startsWith(QLatin1Char('@')))
        return QLatin1Char('@') + value;
    return value;
}

QString TextOfStoredForm(QString value)
{
    if (value.startsWith(QLatin1String("@@")))
        return value.mid(1);
    if (value.startsWith(QLatin1String("@String(")) && value.endsWith(QLatin1Char(')')))
        return value.mid(8, value.size() - 9);
    return value;
}

QByteArray EscapedValue(const QString& value)
{
    const QString text = StoredForm(value);
    QByteArray result;
    bool needsQuotes = false;
    bool escapeNextIfHexDigit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        if (escapeNextIfHexDigit && c < 0x80 && HexValue(char(c)) >= 0) {
            result += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfHexDigit = false;
        switch (c) {
        case u'\0':
            result += "\\0";
            escapeNextIfHexDigit = true;
            break;
        case u'\a':
            result += "\\a";
            break;
        case u'\b':
            result += "\\b";
            break;
        case u'\f':
            result += "\\f";
            break;
        case u'\n':
            result += "\\n";
            break;
        case u'\r':
            result += "\\r";
            break;
        case u'\t':
            result += "\\t";
            break;
        case u'\v':
            result += "\\v";
            break;
        case u'"':
        case u'\\':
            result += '\\';
            result += char(c);
            break;
        default:
            if (c <= 0x1F) {
                result += "\\x" + QByteArray::number(c, 16);
                escapeNextIfHexDigit = true;
            } else if (c < 0x80) {
                result += char(c);
            } else {
                // A surrogate pair is one character of UTF-8.
                const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                                  text.at(i + 1).isLowSurrogate();
                result += text.mid(i, pair ? 2 : 1).toUtf8();
                i += pair ? 1 : 0;
            }
        }
    }
    if (needsQuotes || result.startsWith(' ') || result.endsWith(' ')) {
        result.prepend('"');
        result += '"';
    }
    return result;
}

// Whether the line is a section header, and which section it opens.
bool SectionOf(const char* data, const Line& line, QString& section)
{
    if (line.start >= line.lineEnd || data[line.start] != '[')
        return false;
    qsizetype close = line.start + 1;
    while (close < line.lineEnd && data[close] != ']')
        ++close;
    const QByteArray name = QByteArray(data + line.start + 1, close - line.start - 1).trimmed();
    section = UnescapedName(name.constData(), 0, name.size());
    return true;
}

QString KeyOf(const char* data, const Line& line)
{
    qsizetype keyEnd = line.equals;
    while (keyEnd > line.start && IsBlank(data[keyEnd - 1]))
        --keyEnd;
    return UnescapedName(data, line.start, keyEnd);
}

} // namespace

QList<std::optional<QString>> ReadIniValues(const QByteArray& text, const QString& section,
                                            const QStringList& keys)
{
    QList<std::optional<QString>> values(keys.size());
    Lines lines(text);
    Line line;
    bool inSection = false;
    QString name;
    while (lines.next(line)) {
        if (SectionOf(lines.data(), line, name)) {
            inSection = name == section;
            continue;
        }
        if (!inSection || line.equals < 0)
            continue;
        const qsizetype index = keys.indexOf(KeyOf(lines.data(), line));
        if (index >= 0)
            values[index] =
                TextOfStoredForm(UnescapedValue(lines.data(), line.equals + 1, line.end));
    }
    return values;
}

QByteArray WriteIniValues(const QByteArray& text, const QString& section,
                          const SettingsEntries& entries)
{
    struct Edit
    {
        qsizetype from;
        qsizetype to;
        QByteArray replacement;
    };
    std::vector<Edit> edits;
    std::vector<bool> found(entries.size(), false);
    const auto lineOf = [](const std::pair<QString, QString>& entry) {
        return EscapedName(entry.first) + '=' + EscapedValue(entry.second);
    };

    Lines lines(text);
    Line line;
    bool inSection = false; // in a section of that name
    bool inFirst = false;   // in the first of them
    qsizetype insertAt = -1; // after the last line with content of the first such section
    QString name;
    while (lines.next(line)) {
        if (SectionOf(lines.data(), line, name)) {
            inSection = name == section;
            inFirst = inSection && insertAt < 0;
            if (inFirst)
                insertAt = line.next;
            continue;
        }
        if (inFirst && line.start < line.lineEnd)
            insertAt = line.next;
        if (!inSection || line.equals < 0)
            continue;
        const QString key = KeyOf(lines.data(), line);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (entries[i].first == key) {
                found[i] = true;
                edits.push_back({line.start, line.lineEnd, lineOf(entries[i])});
            }
        }
    }

    SettingsEntries missing;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (!found[i])
            missing << entries[i];
    if (!missing.isEmpty()) {
        // In key order, as a new file has always been written.
        std::stable_sort(missing.begin(), missing.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QByteArray block;
        const bool endsWithLineEnd = text.isEmpty() || IsLineEnd(text.back());
        if (insertAt < 0) {
            if (!endsWithLineEnd)
                block += '\n';
            if (!text.isEmpty())
                block += '\n';
            block += '[' + EscapedName(section) + "]\n";
            insertAt = text.size();
        } else if (insertAt == text.size() && !endsWithLineEnd) {
            block += '\n';
        }
        for (const auto& entry : missing)
            block += lineOf(entry) + '\n';
        edits.push_back({insertAt, insertAt, block});
    }

    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.from < b.from; });
    QByteArray result;
    result.reserve(text.size() + 64 * entries.size());
    qsizetype copied = 0;
    for (const Edit& edit : edits) {
        result.append(text.constData() + copied, edit.from - copied);
        result += edit.replacement;
        copied = edit.to;
    }
    result.append(text.constData() + copied, text.size() - copied);
    return result;
}

} // namespace kovaldi
