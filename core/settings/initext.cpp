#include "settings/initext.h"

#include <QStringDecoder>

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

// What the reader passes over before a line: blanks and line ends.
bool IsSpace(char c)
{
    return IsBlank(c) || IsLineEnd(c);
}

// What a name is trimmed of at both ends.
bool IsTrimmed(char c)
{
    return IsSpace(c) || c == '\v' || c == '\f';
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

// One line of the text as the reader sees it: from the first byte that is not a blank or
// a line end up to an unquoted ";" (the rest is a comment) or an unquoted line end. A
// backslash takes the next byte with it, a line end too, so a line can go on over several
// lines of the file, as it also does inside quotes. `equals` is where the key ends.
struct Line
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype equals = -1;
    // The text ended inside quotes, or with a backslash or an escaped line end, so that
    // a line added after it would be part of this one.
    bool openQuote = false;
    bool openEscape = false;
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
        qsizetype start = m_position;
        while (start < m_size && IsSpace(m_data[start]))
            ++start;
        qsizetype i = start;
        bool inQuotes = false;
        bool escapedEnd = false;
        line.equals = -1;
        while (i < m_size) {
            const char c = m_data[i++];
            escapedEnd = false;
            if (c == '=') {
                if (!inQuotes && line.equals < 0)
                    line.equals = i - 1;
            } else if (IsLineEnd(c)) {
                if (i == start + 1) {
                    ++start;
                } else if (!inQuotes) {
                    --i;
                    break;
                }
            } else if (c == '\\') {
                escapedEnd = i == m_size;
                if (i < m_size) {
                    const char escaped = m_data[i++];
                    escapedEnd = IsLineEnd(escaped);
                    if (i < m_size && IsLineEnd(m_data[i]) && IsLineEnd(escaped) &&
                        m_data[i] != escaped)
                        ++i;
                }
            } else if (c == '"') {
                inQuotes = !inQuotes;
            } else if (c == ';') {
                if (i == start + 1) { // a comment line: the line is what follows it
                    while (i < m_size && !IsLineEnd(m_data[i]))
                        ++i;
                    while (i < m_size && IsSpace(m_data[i]))
                        ++i;
                    start = i;
                } else if (!inQuotes) {
                    --i;
                    break;
                }
            }
        }
        m_position = i;
        line.start = start;
        line.end = i;
        line.openQuote = i == m_size && inQuotes;
        line.openEscape = i == m_size && escapedEnd;
        return i > start;
    }

    // Where the file's line holding the end of `line` ends (after a comment, before the
    // line end), and where the next one begins.
    qsizetype lineEnd(const Line& line) const
    {
        qsizetype i = line.end;
        if (i < m_size && m_data[i] == ';')
            while (i < m_size && !IsLineEnd(m_data[i]))
                ++i;
        return i;
    }
    qsizetype nextLine(const Line& line) const
    {
        qsizetype i = lineEnd(line);
        if (i < m_size && m_data[i] == '\r' && i + 1 < m_size && m_data[i + 1] == '\n')
            ++i;
        return i < m_size ? i + 1 : i;
    }

    const char* data() const { return m_data; }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_position = 0;
};

// A section or key name, read as UTF-8: "\" stands for "/", "%XX" and "%UXXXX" for the
// character with that code.
QString UnescapedName(const char* data, qsizetype from, qsizetype to)
{
    while (from < to && IsTrimmed(data[from]))
        ++from;
    while (to > from && IsTrimmed(data[to - 1]))
        --to;
    const QString decoded = QString::fromUtf8(data + from, to - from);
    QString name;
    qsizetype i = 0;
    while (i < decoded.size()) {
        const QChar c = decoded.at(i);
        if (c == u'\\') {
            name += u'/';
            ++i;
            continue;
        }
        if (c == u'%' && i + 1 < decoded.size()) {
            const bool wide = decoded.at(i + 1) == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            bool ok = first + digits <= decoded.size();
            const ushort code = ok ? decoded.mid(first, digits).toUShort(&ok, 16) : 0;
            if (ok) {
                name += QChar(code);
                i = first + digits;
                continue;
            }
        }
        name += c;
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

// The value from..to: escapes resolved, quotes removed, blanks around unquoted parts
// dropped; bare commas separate the items of a list. The plain runs between escapes,
// quotes and commas are UTF-8, decoded by one decoder for the whole value, so a byte
// order mark at the start of the first run is dropped, and a character cut by an escape
// is completed by the next run.
QStringList UnescapedValue(const char* data, qsizetype from, qsizetype to)
{
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
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
    // The text of an escape that ran to the end of the value, as it is.
    const auto endAfterEscape = [&] {
        items << current;
        return isList ? items : QStringList{current};
    };
    skipBlanks();
    while (i < to) {
        const char c = data[i];
        if (c == '\\') {
            if (++i >= to)
                return endAfterEscape();
            const char code = data[i++];
            static const char simple[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                             {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                             {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
            const auto match = std::find_if(std::begin(simple), std::end(simple),
                                            [code](const char* pair) { return pair[0] == code; });
            const bool octal = code >= '0' && code <= '7';
            if (match != std::end(simple)) {
                current += QLatin1Char((*match)[1]);
            } else if ((code == 'x' && i < to && HexValue(data[i]) >= 0) || octal) {
                const int base = octal ? 8 : 16;
                const auto digit = [&](char d) {
                    return octal ? (d >= '0' && d <= '7' ? d - '0' : -1) : HexValue(d);
                };
                char16_t value = octal ? char16_t(code - '0') : 0;
                while (i < to && digit(data[i]) >= 0)
                    value = char16_t(value * base + digit(data[i++]));
                current += QChar(value);
                if (i >= to)
                    return endAfterEscape();
            } else if (code == 'x' && i >= to) {
                return endAfterEscape();
            } else if (IsLineEnd(code) && i < to && IsLineEnd(data[i]) && data[i] != code) {
                ++i; // a line end of two bytes, escaped
            }        // any other escaped character is dropped
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
            current += fromUtf8(QByteArrayView(data + i, j - i));
            i = j;
        }
    }
    if (!currentQuoted)
        ChopTrailingBlanks(current, chopLimit);
    return endAfterEscape();
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

// The text a stored form stands for, as the settings class reads it, or nothing for
// @Invalid(). Of its other forms only @ByteArray(...) is decoded (its bytes as UTF-8):
// any other is kept as it is written.
std::optional<QString> TextOfStoredForm(const QString& value)
{
    if (!value.startsWith(u'@'))
        return value;
    if (value.endsWith(u')')) {
        if (value.startsWith(QLatin1String("@ByteArray(")))
            return QString::fromUtf8(QStringView(value).sliced(11).chopped(1).toLatin1());
        if (value.startsWith(QLatin1String("@String(")))
            return value.sliced(8).chopped(1);
        if (value == QLatin1String("@Invalid()"))
            return std::nullopt;
    }
    return value.startsWith(QLatin1String("@@")) ? value.sliced(1) : value;
}

QByteArray EscapedValue(const QString& value)
{
    const QString text = StoredForm(value);
    QByteArray result;
    bool needsQuotes = false;
    bool escapeNextIfHexDigit = false;
    bool plainWritten = false; // a byte the reader's UTF-8 decoder sees
    const auto escapeCode = [&](char16_t c) {
        result += "\\x" + QByteArray::number(c, 16);
        escapeNextIfHexDigit = true;
    };
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
                escapeCode(c);
            } else if (c < 0x80) {
                result += char(c);
                plainWritten = true;
            } else if (QChar::isSurrogate(c) &&
                       !(QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                         text.at(i + 1).isLowSurrogate())) {
                // A lone surrogate (a byte of a name that is not UTF-8) has no UTF-8 form,
                // and a byte order mark first in the decoded text would be dropped: both
                // as the escape of their code, which reads back the same.
                escapeCode(c);
            } else if (c == 0xFEFF && !plainWritten) {
                escapeCode(c);
            } else {
                const bool pair = QChar::isHighSurrogate(c);
                result += text.mid(i, pair ? 2 : 1).toUtf8();
                i += pair ? 1 : 0;
                plainWritten = true;
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
    if (line.start >= line.end || data[line.start] != '[')
        return false;
    qsizetype close = line.start + 1;
    while (close < line.end && data[close] != ']')
        ++close;
    const QByteArray name = QByteArray(data + line.start + 1, close - line.start - 1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        section.clear();
    else if (name.compare("%general", Qt::CaseInsensitive) == 0)
        section = QString::fromLatin1(name.sliced(1));
    else
        section = UnescapedName(name.constData(), 0, name.size());
    return true;
}

QString KeyOf(const char* data, const Line& line)
{
    return UnescapedName(data, line.start, line.equals);
}

// The value's text as read back: a list's items each as its text, joined with ", ".
std::optional<QString> ValueOf(const char* data, const Line& line)
{
    const QStringList items = UnescapedValue(data, line.equals + 1, line.end);
    if (items.size() == 1)
        return TextOfStoredForm(items.front());
    QStringList texts;
    for (const QString& item : items)
        texts << TextOfStoredForm(item).value_or(QString());
    return texts.join(QStringLiteral(", "));
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
            values[index] = ValueOf(lines.data(), line);
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
    Line last; // the text's last line
    bool lastIsHeader = false;
    QString current;            // the section of the text's last line
    bool inSection = false;     // in a section of that name
    bool inFirst = false;       // in the first of them
    qsizetype header = -1;      // where the first such section's header starts
    qsizetype afterHeader = -1; // and where the line after it begins
    qsizetype insertAt = -1;    // after the last line of the first such section
    QString name;
    while (lines.next(line)) {
        last = line;
        lastIsHeader = SectionOf(lines.data(), line, name);
        if (lastIsHeader) {
            current = name;
            inSection = name == section;
            inFirst = inSection && insertAt < 0;
            if (inFirst) {
                header = line.start;
                insertAt = afterHeader = lines.nextLine(line);
            }
            continue;
        }
        if (inFirst)
            insertAt = lines.nextLine(line);
        if (!inSection || line.equals < 0)
            continue;
        const QString key = KeyOf(lines.data(), line);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (entries[i].first == key) {
                found[i] = true;
                // A comment after the value stays, and so do the blanks before it.
                qsizetype end = line.end;
                if (lines.lineEnd(line) > end)
                    while (end > line.equals && IsBlank(text.at(end - 1)))
                        --end;
                edits.push_back({line.start, end, lineOf(entries[i])});
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
        const bool atEnd = insertAt < 0 || insertAt == text.size();
        bool beforeLast = false;
        if (atEnd && last.openQuote) {
            // The last line takes in whatever follows it: the keys go right after the
            // header, or else in a new section before that line, which then goes on in
            // the section it was in.
            if (header >= 0 && header != last.start) {
                insertAt = afterHeader;
            } else {
                block += '[' + EscapedName(section) + "]\n";
                insertAt = last.start;
                beforeLast = true;
            }
        } else {
            // After a backslash, the first line end added may be taken by it.
            if (atEnd && last.openEscape)
                block += "\n\n";
            else if (atEnd && !endsWithLineEnd)
                block += '\n';
            if (insertAt < 0) {
                if (!text.isEmpty())
                    block += '\n';
                block += '[' + EscapedName(section) + "]\n";
                insertAt = text.size();
            }
        }
        for (const auto& entry : missing)
            block += lineOf(entry) + '\n';
        if (beforeLast && !lastIsHeader)
            block +=
                '[' + (current.isEmpty() ? QByteArray("General") : EscapedName(current)) + "]\n";
        edits.push_back({insertAt, insertAt, block});
    }

    // An insertion goes before a line rewritten at the same place.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.from < b.from || (a.from == b.from && a.to < b.to);
    });
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
