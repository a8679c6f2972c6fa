#include "journal/journalreader.h"

#include "journal/journalformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

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
            left.prepend(made[i]);
    }
    return left;
}

JournalContents ReadJournal(const QString& path)
{
    JournalContents contents;
    const QFileInfo info(path);
    if (!info.isSymLink() && !info.exists())
        return contents;
    contents.status = JournalContents::Status::NotAFile;
    QFile file(path);
    if (info.isSymLink() || !info.isFile() || !file.open(QIODevice::ReadOnly))
        return contents;

    const QByteArray first = file.readLine();
    const QByteArray magic = QByteArray(kJournalMagic) + ' ';
    contents.status = JournalContents::Status::UnknownFormat;
    if (!first.startsWith(magic) || !first.endsWith('\n'))
        return contents;
    bool isNumber = false;
    contents.version = first.mid(magic.size()).trimmed().toInt(&isNumber);
    if (!isNumber || contents.version != kJournalVersion)
        return contents;

    Part part = Part::Header;
    qint64 readBytes = file.pos();
    while (!file.atEnd()) {
        const QByteArray bytes = file.readLine();
        const std::optional<Line> line = bytes.endsWith('\n') ? Split(bytes) : std::nullopt;
        if (!line)
            break;
        const QString& key = line->keyword;
        bool valid = true;
        if (part == Part::Header &&
            (key == QLatin1String("run") || key == QLatin1String("target"))) {
            const std::optional<QString> value = UnescapeJournalText(line->value);
            valid = value.has_value();
            if (valid)
                (key == QLatin1String("run") ? contents.header.runId : contents.header.target) =
                    *value;
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
            valid = line->value == QLatin1String("done") || line->value == QLatin1String("stopped");
            contents.ended = true;
            contents.stopped = line->value == QLatin1String("stopped");
            part = Part::Ended;
        } else if (key == QLatin1String("undo")) {
            valid = QDateTime::fromString(line->value, Qt::ISODateWithMs).isValid();
            part = Part::Undo;
        } else if (part == Part::Undo && key == QLatin1String("-")) {
            const std::optional<QString> name = UnescapeJournalText(line->value);
            valid = name && !name->isEmpty();
            if (valid)
                contents.removed.append(*name);
        } else {
            valid = false;
        }
        if (!valid)
            break;
        readBytes = file.pos();
    }
    contents.validBytes = readBytes;
    contents.cut = readBytes != file.size();
    if (contents.cut && file.seek(readBytes))
        contents.cutInLastLine = !file.readAll().contains('\n');

    contents.status =
        contents.header.target.isEmpty() || !QDir::isAbsolutePath(contents.header.target)
            ? JournalContents::Status::NoTarget
            : JournalContents::Status::Read;
    return contents;
}

bool AppendUndoToJournal(const QString& path, const QString& runId, const QStringList& removed)
{
    const JournalContents contents = ReadJournal(path);
    if (contents.status != JournalContents::Status::Read || contents.header.runId.isEmpty() ||
        contents.header.runId != runId || (contents.cut && !contents.cutInLastLine))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || (contents.cut && !file.resize(contents.validBytes)) ||
        !file.seek(contents.validBytes))
        return false;
    QByteArray lines =
        "undo " + QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() + '\n';
    for (const QString& name : removed) {
        lines += "- ";
        AppendEscaped(lines, name);
        lines += '\n';
    }
    return file.write(lines) == lines.size() && file.flush();
}

} // namespace kovaldi
