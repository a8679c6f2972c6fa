#include "commandline.h"

#include "files/nativename.h"
#include "paths/itemtarget.h"
#include "version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>
#include <QUrl>
#include <cerrno>
#include <cstdio>

#if !defined(Q_OS_WIN)
#include <unistd.h>
#endif

namespace kovaldi {

namespace {

const char* const kInformationOptions[] = {"-h", "--help", "-?", "--help-all", "-v", "--version"};

// Writes the text as the system's bytes, a name's bytes that are not UTF-8 as they came.
void Write(FILE* stream, const QString& text)
{
    const QByteArray bytes = EncodesWhole(text) ? NativeName(text) : text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void ErrorLine(const QString& text)
{
    Write(stderr, QStringLiteral("kovaldi: ") + text + QLatin1Char('\n'));
}

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();

    Parser()
    {
        parser.setApplicationDescription(
            CommandLine::tr("Opens the window that makes numbered folders. Given a folder, or a "
                            "file:// address as file managers pass it, the window starts with it "
                            "as the target folder (a file gives the folder that holds it). Qt's "
                            "own options, such as -platform and -style, are taken as well."));
        parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                     CommandLine::tr("The folder to make the folders in."),
                                     CommandLine::tr("[FOLDER]"));
    }

    bool AsksForInformation() const
    {
        return parser.isSet(help) || parser.isSet(QStringLiteral("help-all")) ||
               parser.isSet(version);
    }

    // Prints the help or the version; the status to end with.
    int Answer() const
    {
        const bool versionAlone = parser.isSet(version) && !parser.isSet(help) &&
                                  !parser.isSet(QStringLiteral("help-all"));
        Write(stdout, versionAlone ? QCoreApplication::applicationName() + QLatin1Char(' ') +
                                         QCoreApplication::applicationVersion() + QLatin1Char('\n')
                                   : parser.helpText());
        return 0;
    }
};

// A URL rather than a path: a scheme and "://", or "file:" with a path after it.
bool IsUrl(const QString& text)
{
    static const QRegularExpression url(QStringLiteral("^(?:[A-Za-z][A-Za-z0-9+.-]*://|file:)"),
                                        QRegularExpression::CaseInsensitiveOption);
    return url.match(text).hasMatch();
}

// The URL of an argument, its bytes that are not plain ASCII percent-encoded first, so that
// an address given unencoded keeps every byte of its path.
QUrl UrlOf(const QString& text)
{
    QByteArray encoded;
    for (const char byte : NativeName(text)) {
        const auto value = static_cast<unsigned char>(byte);
        if (value > 0x20 && value < 0x7f)
            encoded += byte;
        else
            encoded += '%' + QByteArray::number(value, 16).rightJustified(2, '0').toUpper();
    }
    return QUrl::fromEncoded(encoded, QUrl::TolerantMode);
}

} // namespace

bool CommandLine::AsksForInformation(int argc, char** argv)
{
    for (int i = 1; i < argc && qstrcmp(argv[i], "--") != 0; ++i)
        for (const char* option : kInformationOptions)
            if (qstrcmp(argv[i], option) == 0)
                return true;
    return false;
}

int CommandLine::AnswerInformation(const QStringList& arguments)
{
    // Qt's own options are still among the arguments here: the parser's complaints about
    // them do not matter.
    Parser parsed;
    parsed.parser.parse(QStringList{QCoreApplication::applicationName()} + arguments);
    return parsed.Answer();
}

CommandLine::Start CommandLine::Read(const QStringList& arguments, const QString& currentFolder,
                                     const FileSystem& files)
{
    Parser parsed;
    if (!parsed.parser.parse(QStringList{QCoreApplication::applicationName()} + arguments)) {
        ErrorLine(parsed.parser.errorText());
        return {kUsageError, {}};
    }
    if (parsed.AsksForInformation())
        return {parsed.Answer(), {}};

    const QStringList folders = parsed.parser.positionalArguments();
    if (folders.isEmpty())
        return {};
    if (folders.size() > 1)
        ErrorLine(tr("only the first folder is used; ignored: %1")
                      .arg(folders.mid(1).join(QLatin1Char(' '))));
    const QString& given = folders.first();
    std::optional<QString> path;
    if (IsUrl(given))
        path = LocalPathOfUrl(UrlOf(given));
    else if (!given.isEmpty())
        path = QDir(currentFolder).absoluteFilePath(given);
    const std::optional<QString> target = path ? TargetOfItem(*path, files) : std::nullopt;
    if (!target)
        ErrorLine(
            tr("not a local folder, so the window opens on the stored target: %1").arg(given));
    return {{}, target};
}

QString CommandLine::CurrentFolder()
{
#if defined(Q_OS_WIN)
    return QDir::currentPath();
#else
    QByteArray buffer(4096, Qt::Uninitialized);
    while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
        if (errno != ERANGE)
            return QDir::currentPath();
        buffer.resize(buffer.size() * 2);
    }
    return NameFromNative(QByteArrayView(buffer.constData()));
#endif
}

} // namespace kovaldi
