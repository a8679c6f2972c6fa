#include "command.h"
#include "presetfile.h"
#include "utils.h"

#include "presets/presetstore.h"

#include <QJsonArray>

namespace kovaldi::cli {

namespace {

// "kovaldi-cli presets": the names of the saved presets, one a line, in the user's order.
class PresetsCommand : public Command
{
    Q_DECLARE_TR_FUNCTIONS(PresetsCommand)

public:
    QString Name() const override { return QStringLiteral("presets"); }
    CommandLine Declare() const override
    {
        CommandLine line;
        line.description = tr("Lists the names of the saved presets, in their order, one a "
                              "line; \"--preset NAME\" makes the folders of one.");
        line.options = {Texts::JsonOption()};
        return line;
    }
    int Execute(const QCommandLineParser& parser) override
    {
        if (!parser.positionalArguments().isEmpty()) {
            ErrorLine(tr("presets takes no arguments"));
            return kUsageError;
        }
        const PresetStore store;
        const PresetFile file = store.Read();
        const QString error = PresetFileError(file, store.Path());
        if (!error.isEmpty()) {
            ErrorLine(error);
            return kUsageError;
        }
        if (parser.isSet(QStringLiteral("json"))) {
            QJsonArray presets;
            for (const Preset& preset : file.presets) {
                QJsonObject values;
                for (const auto& [key, value] : preset.values)
                    values.insert(key, value);
                presets.append(QJsonObject{{QStringLiteral("name"), preset.name},
                                           {QStringLiteral("values"), values}});
            }
            OutJson({{QStringLiteral("command"), QStringLiteral("presets")},
                     {QStringLiteral("file"), store.Path()},
                     {QStringLiteral("presets"), presets}});
            return kAllMade;
        }
        for (const Preset& preset : file.presets)
            Out(Escaped(preset.name) + QLatin1Char('\n'));
        return kAllMade;
    }
};

class PresetTexts
{
    Q_DECLARE_TR_FUNCTIONS(PresetTexts)

public:
    static QString Error(const PresetFile& file, const QString& path)
    {
        const QString where = Escaped(path);
        switch (file.state) {
        case PresetFileState::Read:
        case PresetFileState::Missing:
            return {};
        case PresetFileState::NotAFile:
            return tr("the presets file is not a file: %1").arg(where);
        case PresetFileState::TooLarge:
            return tr("the presets file is too large to be one: %1").arg(where);
        case PresetFileState::Unreadable:
            return tr("the presets file cannot be read: %1").arg(where);
        case PresetFileState::Damaged:
            return tr("the presets file is damaged (%1) and left as it is: %2")
                .arg(Escaped(file.detail), where);
        case PresetFileState::Foreign:
            return tr("the presets file was not written by this program and is left as it "
                      "is: %1")
                .arg(where);
        }
        return {};
    }
    static QString EmptyName() { return tr("a preset name cannot be empty or only blanks"); }
    static QString NoSuchPreset(const QString& name)
    {
        return tr("no preset called \"%1\"").arg(Escaped(name));
    }
};

} // namespace

QString PresetFileError(const PresetFile& file, const QString& path)
{
    return PresetTexts::Error(file, path);
}

std::optional<Preset> FindPreset(const QString& typed, QString& error)
{
    const QString name = PresetName(typed);
    if (name.isEmpty()) {
        error = PresetTexts::EmptyName();
        return std::nullopt;
    }
    const PresetStore store;
    const PresetFile file = store.Read();
    error = PresetFileError(file, store.Path());
    if (!error.isEmpty())
        return std::nullopt;
    const qsizetype index = IndexOfPreset(file.presets, name);
    if (index < 0) {
        error = PresetTexts::NoSuchPreset(name);
        return std::nullopt;
    }
    return file.presets[index];
}

std::unique_ptr<Command> NewPresetsCommand()
{
    return std::make_unique<PresetsCommand>();
}

} // namespace kovaldi::cli
