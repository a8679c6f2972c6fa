#include "journal/journalreader.h"

#include "journal/journalformat.h"
#include "journal/journallocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>

namespace kovaldi {

namespace {

// Where the reading of the records after the header has got to.
enum class Part { Header, Made, Ended, Undo };

// One line's keyword and value; nothing when the line is not UTF-8 or has no keyword.
struct Line
{
    QString keyword;
    QString value;
};

std::optional<Line> Split(QByteArray bytes)
{
    bytes.chop(1); // "\n"
    // A line break that an editor turned into CR LF; a bare CR is always escaped.
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    if (space <= 0)
        return std::nullopt;
    return Line{text.left(space), text.mid(space + 1)};
}

// The lines of a file read in pieces, none longer than a journal's line may be: a file of
// any size costs one piece of memory.
class Lines
{
public:
    using Reader = std::function<qint64(qint64 offset, char* data, qint64 size)>;
    explicit Lines(Reader read) : m_read(std::move(read)) {}

    // The next line, with its "\n" when it has one (the last may not); false at the end. A
    // line too long for a journal comes back as its start only, without a "\n", and the
    // rest is passed over.
    bool Next(QByteArray& line)
    {
        line.clear();
        bool tooLong = false;
        m_lastTooLong = false;
        for (;;) {
            const qsizetype end = m_piece.indexOf('\n', m_at);
            if (end >= 0) {
                m_lastTooLong = tooLong;
                if (!tooLong)
                    line += QByteArrayView(m_piece).sliced(m_at, end + 1 - m_at);
                m_position += end + 1 - m_at;
                m_at = end + 1;
                return true;
            }
            const qsizetype rest = m_piece.size() - m_at;
            if (!tooLong && line.size() + rest > kMostJournalLineBytes)
                tooLong = true;
            if (!tooLong)
                line += QByteArrayView(m_piece).sliced(m_at);
            m_position += rest;
            m_at = 0;
            m_piece.resize(kPieceBytes);
            const qint64 read = m_read(m_position, m_piece.data(), kPieceBytes);
            m_piece.resize(read > 0 ? qsizetype(read) : 0);
            if (m_piece.isEmpty()) {
                m_lastTooLong = tooLong;
                if (tooLong)
                    line.truncate(0);
                return !line.isEmpty() || tooLong;
            }
        }
    }
    // Where the line after the last one returned starts.
    qint64 Position() const { return m_position; }
    bool LastTooLong() const { return m_lastTooLong; }

private:
    static constexpr qint64 kPieceBytes = 64 * 1024;
    Reader m_read;
    QByteArray m_piece;
    qsizetype m_at = 0;
    qint64 m_position = 0;
    bool m_lastTooLong = false;
};

bool ValidIdentity(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9a-f]{1,16}:[0-9a-f]{1,16}$"));
    return form.match(text).hasMatch();
}

JournalContents Read(const Lines::Reader& reader, qint64 fileSize)
{
    JournalContents contents;
    contents.status = JournalContents::Status::UnknownFormat;
    Lines lines(reader);
    QByteArray bytes;
    if (!lines.Next(bytes))
        return contents;
    // The version line exactly as written (an editor's CR LF aside).
    for (const int version : {1, 2}) {
        const QByteArray expected = kJournalMagic + QByteArray(" ") + QByteArray::number(version);
        if (bytes == expected + '\n' || bytes == expected + "\r\n")
            contents.version = version;
    }
    if (contents.version == 0)
        return contents;

    Part part = Part::Header;
    qint64 readBytes = lines.Position();
    bool lastWasCut = false;
    while (lines.Next(bytes)) {
        const bool whole = bytes.endsWith('\n');
        const std::optional<Line> line = whole ? Split(bytes) : std::nullopt;
        bool valid = line.has_value();
        if (!valid) {
            lastWasCut = !whole && !lines.LastTooLong() && lines.Position() == fileSize;
            break;
        }
        const QString& key = line->keyword;
        if (part == Part::Header &&
            (key == QLatin1String("run") || key == QLatin1String("target") ||
             (key == QLatin1String("identity") && contents.version >= 2))) {
            const std::optional<QString> value = UnescapeJournalText(line->value);
            valid = value.has_value();
            if (valid && key == QLatin1String("identity"))
                valid = ValidIdentity(*value);
            if (valid)
                (key == QLatin1String("run")      ? contents.header.runId
                 : key == QLatin1String("target") ? contents.header.target
                                                  : contents.header.identity) = *value;
        } else if (part == Part::Header && key == QLatin1String("started")) {
            contents.header.started = QDateTime::fromString(line->value, Qt::ISODateWithMs);
            valid = contents.header.started.isValid();
        } else if (part == Part::Header && key == QLatin1String("input")) {
            const qsizetype space = line->value.indexOf(QLatin1Char(' '));
            const std::optional<QString> value =
                space > 0 ? UnescapeJournalText(QStringView(line->value).mid(space + 1))
                          : std::nullopt;
            valid = value.has_value();
            if (valid)
                contents.header.inputs.append({line->value.left(space), *value});
        } else if ((part == Part::Header || part == Part::Made) && key == QLatin1String("+")) {
            const std::optional<QString> name = UnescapeJournalText(line->value);
            valid = name && !name->isEmpty();
            if (valid)
                contents.made.append(*name);
            part = Part::Made;
        } else if ((part == Part::Header || part == Part::Made) && key == QLatin1String("end")) {
            valid = line->value == QLatin1String("done") ||
                    line->value == QLatin1String("stopped") ||
                    line->value == QLatin1String("closed");
            contents.ended = true;
            contents.stopped = line->value == QLatin1String("stopped");
            contents.closed = line->value == QLatin1String("closed");
            part = Part::Ended;
        } else if (key == QLatin1String("undo")) {
            valid = QDateTime::fromString(line->value, Qt::ISODateWithMs).isValid();
            part = Part::Undo;
        } else if (part == Part::Undo && key == QLatin1String("-")) {
            const std::optional<QString> name = UnescapeJournalText(line->value);
            valid = name && !name->isEmpty();
            if (valid)
                contents.removed.append(*name);
        } else if (key == QLatin1String("superseded")) {
            valid = QDateTime::fromString(line->value, Qt::ISODateWithMs).isValid();
            contents.superseded = contents.superseded || valid;
        } else {
            valid = false;
        }
        if (!valid)
            break;
        readBytes = lines.Position();
    }
    contents.validBytes = readBytes;
    contents.cut = readBytes != fileSize;
    contents.cutInLastLine = contents.cut && lastWasCut;
    // A mark that a later run could not write its journal counts wherever it stands.
    while (!contents.superseded && lines.Next(bytes))
        contents.superseded = bytes.startsWith("superseded ") && bytes.endsWith('\n');

    const bool named = !contents.header.target.isEmpty() &&
                       QDir::isAbsolutePath(contents.header.target) &&
                       (contents.version < 2 || !contents.header.identity.isEmpty());
    contents.status = named ? JournalContents::Status::Read : JournalContents::Status::NoTarget;
    return contents;
}

JournalContents::Status StatusOf(JournalFile::Problem problem)
{
    using P = JournalFile::Problem;
    using S = JournalContents::Status;
    switch (problem) {
    case P::Missing:
        return S::Missing;
    case P::NotAFile:
        return S::NotAFile;
    case P::AccessRefused:
        return S::AccessRefused;
    case P::NotTrusted:
        return S::NotTrusted;
    case P::Locked:
        return S::Locked;
    case P::None:
    case P::Other:
        break;
    }
    return S::NotAFile;
}

} // namespace

QStringList JournalContents::NamesLeft() const
{
    QHash<QString, int> removedCount;
    for (const QString& name : removed)
        ++removedCount[name];
    QStringList left;
    left.reserve(made.size());
    // The newest folder of a name is the one an undo removed.
    for (qsizetype i = made.size() - 1; i >= 0; --i) {
        const auto found = removedCount.find(made[i]);
        if (found != removedCount.end() && *found > 0)
            --*found;
        else
            left.append(made[i]);
    }
    std::reverse(left.begin(), left.end());
    return left;
}

JournalContents ReadJournal(JournalFile& file)
{
    const qint64 size = file.Size();
    JournalContents contents =
        Read([&file](qint64 offset, char* data,
                     qint64 count) { return file.ReadAt(offset, data, count); },
             size);
    return contents;
}

JournalContents ReadJournal(const QString& path)
{
    JournalContents contents;
    const QFileInfo info(path);
    if (!info.isSymLink() && !info.exists())
        return contents;
    contents.status = JournalContents::Status::NotAFile;
    QFile file(path);
    if (info.isSymLink() || !info.isFile())
        return contents;
    if (!file.open(QIODevice::ReadOnly)) {
        contents.status = JournalContents::Status::AccessRefused;
        return contents;
    }
    return Read(
        [&file](qint64 offset, char* data, qint64 count) {
            return file.seek(offset) ? file.read(data, count) : qint64(-1);
        },
        file.size());
}

OpenedJournal OpenLastRunJournal(const QString& folder)
{
    OpenedJournal opened;
    switch (CheckJournalFolder(folder)) {
    case FolderTrust::Missing:
        opened.path = folder;
        return opened;
    case FolderTrust::NotTrusted:
        opened.path = folder;
        opened.contents.status = JournalContents::Status::FolderNotTrusted;
        return opened;
    case FolderTrust::Trusted:
        break;
    }
    const QStringList journals = JournalsNewestFirst(folder);
    if (journals.isEmpty()) {
        opened.path = folder;
        return opened;
    }
    opened.path = journals.first();
    const JournalFile::Problem problem = opened.file.Open(opened.path);
    if (problem != JournalFile::Problem::None) {
        opened.contents.status = StatusOf(problem);
        return opened;
    }
    opened.contents = ReadJournal(opened.file);
    return opened;
}

bool UndoRecord::Begin(JournalFile& file, const JournalContents& contents, const QString& runId)
{
    m_file = nullptr;
    if (!file.IsOpen() || contents.status != JournalContents::Status::Read ||
        contents.header.runId.isEmpty() || contents.header.runId != runId ||
        (contents.cut && !contents.cutInLastLine))
        return false;
    if (contents.cut && !file.Truncate(contents.validBytes))
        return false;
    m_file = &file;
    m_buffer =
        "undo " + QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() + '\n';
    return Flush();
}

void UndoRecord::Removed(const QString& name)
{
    if (!m_file)
        return;
    m_buffer += "- ";
    AppendEscaped(m_buffer, name);
    m_buffer += '\n';
    if (m_sinceWrite.elapsed() >= JournalWriter::kIntervalMs)
        Flush();
}

bool UndoRecord::Flush()
{
    if (!m_file)
        return false;
    if (m_buffer.isEmpty())
        return true;
    const bool whole = m_file->Append(m_buffer);
    m_buffer.resize(0);
    m_sinceWrite.start();
    if (!whole)
        m_file = nullptr;
    return whole;
}

} // namespace kovaldi
