#include "command.h"

#include "utils.h"

#include <QCoreApplication>
#include <QSet>
#include <array>

namespace kovaldi::cli {

namespace {

constexpr qsizetype kLineColumns = 80;
// Names wider than this put their description on the next line, as Qt's help does.
constexpr qsizetype kWidestNameColumn = 34;

class CommandTexts
{
    Q_DECLARE_TR_FUNCTIONS(CommandTexts)

public:
    static QCommandLineOption Help()
    {
        return {{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                tr("Show this help and end.")};
    }
    static QCommandLineOption HelpAll()
    {
        return {QStringLiteral("help-all"), tr("Show this help and end (as --help).")};
    }
    static QCommandLineOption Version()
    {
        return {{QStringLiteral("v"), QStringLiteral("version")}, tr("Show the version and end.")};
    }
    static QString Usage() { return tr("Usage: %1"); }
    static QString Options() { return tr("Options:"); }
    static QString Arguments() { return tr("Arguments:"); }
    static QString OptionsWord() { return tr("[options]"); }
};

bool IsWide(char32_t c)
{
    static constexpr std::array<std::pair<char32_t, char32_t>, 13> kWide{{
        {0x1100, 0x115F},
        {0x2E80, 0x303E},
        {0x3041, 0x33FF},
        {0x3400, 0x4DBF},
        {0x4E00, 0x9FFF},
        {0xA000, 0xA4CF},
        {0xAC00, 0xD7A3},
        {0xF900, 0xFAFF},
        {0xFE30, 0xFE4F},
        {0xFF00, 0xFF60},
        {0xFFE0, 0xFFE6},
        {0x1F300, 0x1F64F},
        {0x20000, 0x3FFFD},
    }};
    for (const auto& [first, last] : kWide) {
        if (c >= first && c <= last)
            return true;
    }
    return false;
}

// A line may not start with these: they stay with the text before them.
bool ClosesText(QChar c)
{
    return QStringView(u"、。，．）」』】〉》・ー：；？！,.)").contains(c);
}

// Appends text to out, wrapped to the columns from `indent` to kLineColumns, every line
// after the first indented.
void AppendWrapped(QString& out, QStringView text, qsizetype indent)
{
    const QString blank(indent, QLatin1Char(' '));
    const qsizetype room = qMax<qsizetype>(20, kLineColumns - indent);
    for (QStringView paragraph : text.split(u'\n')) {
        qsizetype used = 0;
        qsizetype i = 0;
        while (i < paragraph.size()) {
            // The next unit: a word, or one wide character with what may not start a line.
            qsizetype end = i;
            if (paragraph[i] == u' ') {
                end = i + 1;
            } else if (IsWide(paragraph[i].unicode()) || paragraph[i].isSurrogate()) {
                end = i + (paragraph[i].isHighSurrogate() ? 2 : 1);
            } else {
                while (end < paragraph.size() && paragraph[end] != u' ' &&
                       !IsWide(paragraph[end].unicode()))
                    ++end;
            }
            while (end < paragraph.size() && ClosesText(paragraph[end]))
                ++end;
            end = qMin(end, paragraph.size());
            const QStringView unit = paragraph.sliced(i, end - i);
            const qsizetype width = Columns(unit);
            if (used > 0 && used + width > room && unit != u" ") {
                while (out.endsWith(QLatin1Char(' ')))
                    out.chop(1);
                out += QLatin1Char('\n') + blank;
                used = 0;
            }
            if (!(used == 0 && unit == u" ")) {
                out += unit;
                used += width;
            }
            i = end;
        }
        out += QLatin1Char('\n') + blank;
    }
    out.chop(blank.size() + 1);
    out += QLatin1Char('\n');
}

QString NamesOf(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names()) {
        if (name != QLatin1String("?"))
            names << (name.size() == 1 ? QLatin1String("-") : QLatin1String("--")) + name;
    }
    QString text = names.join(QLatin1String(", "));
    if (!option.valueName().isEmpty())
        text += QLatin1String(" <") + option.valueName() + QLatin1Char('>');
    return text;
}

void AppendEntries(QString& out, const QList<std::pair<QString, QString>>& entries)
{
    qsizetype column = 0;
    for (const auto& entry : entries)
        column = qMax(column, qMin(kWidestNameColumn, Columns(entry.first)));
    column += 4; // two blanks before a name, two after the widest
    for (const auto& [name, help] : entries) {
        out += QLatin1String("  ") + name;
        const qsizetype used = 2 + Columns(name);
        if (used + 2 > column)
            out += QLatin1Char('\n') + QString(column, QLatin1Char(' '));
        else
            out += QString(column - used, QLatin1Char(' '));
        AppendWrapped(out, help, column);
    }
}

// The command a command line names: its word, wherever it stands among the options, and
// the arguments without it. Options that take a value are skipped with their value, so
// that "--header undo" is a header.
std::pair<std::unique_ptr<Command>, QStringList> ChooseCommand(const QStringList& arguments)
{
    std::array<std::unique_ptr<Command>, 3> commands{NewMakeCommand(), NewUndoCommand(),
                                                     NewPresetsCommand()};
    QSet<QString> longWithValue;
    QSet<QChar> shortWithValue;
    for (const auto& command : commands) {
        for (const QCommandLineOption& option : command->Declare().options) {
            if (option.valueName().isEmpty())
                continue;
            for (const QString& name : option.names()) {
                if (name.size() == 1)
                    shortWithValue.insert(name.front());
                else
                    longWithValue.insert(name);
            }
        }
    }
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1String("--"))) {
            if (!argument.contains(QLatin1Char('=')) && longWithValue.contains(argument.mid(2)))
                ++i;
            continue;
        }
        if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            for (qsizetype c = 1; c < argument.size(); ++c) {
                if (shortWithValue.contains(argument[c])) {
                    if (c + 1 == argument.size())
                        ++i; // the value is the next argument
                    break;
                }
            }
            continue;
        }
        for (auto& command : commands) {
            if (!command->Name().isEmpty() && command->Name() == argument) {
                QStringList rest = arguments;
                rest.removeAt(i);
                return {std::move(command), rest};
            }
        }
        break; // the first positional argument is not a command's word
    }
    return {std::move(commands.front()), arguments};
}

} // namespace

qsizetype Columns(QStringView text)
{
    qsizetype columns = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        columns += IsWide(c) ? 2 : 1;
    }
    return columns;
}

QString HelpText(const QString& usage, const CommandLine& line,
                 const QList<QCommandLineOption>& common)
{
    QString out = CommandTexts::Usage().arg(usage) + QLatin1Char('\n');
    AppendWrapped(out, line.description, 0);
    out += QLatin1Char('\n') + CommandTexts::Options() + QLatin1Char('\n');
    QList<std::pair<QString, QString>> entries;
    for (const QCommandLineOption& option : common + line.options)
        entries.append({NamesOf(option), option.description()});
    AppendEntries(out, entries);
    if (!line.positionalName.isEmpty()) {
        out += QLatin1Char('\n') + CommandTexts::Arguments() + QLatin1Char('\n');
        AppendEntries(out, {{line.positionalName, line.positionalHelp}});
    }
    return out;
}

int RunCommandLine(const QStringList& arguments)
{
    auto [command, rest] = ChooseCommand(arguments);
    const CommandLine line = command->Declare();
    const QCommandLineOption help = CommandTexts::Help();
    const QCommandLineOption helpAll = CommandTexts::HelpAll();
    const QCommandLineOption version = CommandTexts::Version();
    QCommandLineParser parser;
    parser.addOptions({help, helpAll, version});
    parser.addOptions(line.options);
    if (!line.positionalName.isEmpty())
        parser.addPositionalArgument(line.positionalName, line.positionalHelp,
                                     line.positionalSyntax);

    // Help and version win over everything else on the line, a refused option included.
    const bool parsed = parser.parse(QStringList{QCoreApplication::applicationName()} + rest);
    int status = kAllMade;
    if (parser.isSet(help) || parser.isSet(helpAll)) {
        QString usage =
            QCoreApplication::applicationName() + QLatin1Char(' ') + CommandTexts::OptionsWord();
        if (!command->Name().isEmpty())
            usage += QLatin1Char(' ') + command->Name();
        if (!line.positionalSyntax.isEmpty())
            usage += QLatin1Char(' ') + line.positionalSyntax;
        Out(HelpText(usage, line, {help, helpAll, version}));
    } else if (parser.isSet(version)) {
        Out(QCoreApplication::applicationName() + QLatin1Char(' ') +
            QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    } else if (!parsed) {
        ErrorLine(Escaped(parser.errorText()));
        return kUsageError;
    } else {
        status = command->Execute(parser);
    }
    if (!FinishOutput()) {
        ErrorLine(OutputErrorText());
        // Usage and journal errors say more about what went wrong than a lost report.
        if (status != kUsageError && status != kNoInput && status != kJournalBusy &&
            status != kJournalNotTrusted)
            status = kOutputError;
    }
    return status;
}

} // namespace kovaldi::cli
