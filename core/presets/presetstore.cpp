#include "presetstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace kovaldi {

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kFormat = QStringLiteral("kovaldi-presets");
const QString kVersionKey = QStringLiteral("version");
const QString kPresetsKey = QStringLiteral("presets");
const QString kNameKey = QStringLiteral("name");
const QString kValuesKey = QStringLiteral("values");

// The presets of a document, or nothing when it is not one this program wrote.
std::optional<QList<Preset>> PresetsOf(const QJsonDocument& document)
{
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(kFormatKey).toString() != kFormat ||
        root.value(kVersionKey).toInteger(0) != 1 || !root.value(kPresetsKey).isArray())
        return std::nullopt;
    QList<Preset> presets;
    for (const QJsonValue& entry : root.value(kPresetsKey).toArray()) {
        const QJsonObject object = entry.toObject();
        const QString name = PresetName(object.value(kNameKey).toString());
        if (!entry.isObject() || name.isEmpty() || !object.value(kValuesKey).isObject() ||
            IndexOfPreset(presets, name) >= 0)
            return std::nullopt;
        Preset preset{name, {}};
        const QJsonObject values = object.value(kValuesKey).toObject();
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (!it.value().isString())
                return std::nullopt;
            preset.values.append({it.key(), it.value().toString()});
        }
        presets.append(preset);
    }
    return presets;
}

} // namespace

std::optional<QString> Preset::Value(const QString& key) const
{
    for (const auto& [k, value] : values) {
        if (k == key)
            return value;
    }
    return std::nullopt;
}

QString DefaultPresetsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kovaldi/presets.json");
}

QString PresetName(const QString& typed)
{
    return typed.trimmed();
}

PresetStore::PresetStore(QString path) : m_path(std::move(path)) {}

PresetFile PresetStore::Read() const
{
    PresetFile file;
    // The kind is looked at before the file is opened, so that a FIFO is never waited on.
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return file;
    if (!info.isFile()) {
        file.state = PresetFileState::NotAFile;
        return file;
    }
    if (info.size() > kLargestPresetFile) {
        file.state = PresetFileState::TooLarge;
        return file;
    }
    QFile source(m_path);
    if (!source.open(QIODevice::ReadOnly)) {
        file.state = PresetFileState::Unreadable;
        return file;
    }
    const QByteArray content = source.read(kLargestPresetFile + 1);
    if (source.error() != QFileDevice::NoError) {
        file.state = PresetFileState::Unreadable;
        return file;
    }
    if (content.size() > kLargestPresetFile) {
        file.state = PresetFileState::TooLarge;
        return file;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError) {
        file.state = PresetFileState::Damaged;
        file.detail = error.errorString() + QStringLiteral(" (%1)").arg(error.offset);
        return file;
    }
    const std::optional<QList<Preset>> presets = PresetsOf(document);
    if (!presets) {
        file.state = PresetFileState::Foreign;
        return file;
    }
    file.state = PresetFileState::Read;
    file.presets = *presets;
    return file;
}

bool PresetStore::Save(const QList<Preset>& presets, bool replaceDamaged) const
{
    const PresetFile current = Read();
    if (current.state == PresetFileState::NotAFile ||
        current.state == PresetFileState::Unreadable || (!current.Replaceable() && !replaceDamaged))
        return false;
    QJsonArray list;
    for (const Preset& preset : presets) {
        if (PresetName(preset.name).isEmpty() || PresetName(preset.name) != preset.name)
            return false;
        QJsonObject values;
        for (const auto& [key, value] : preset.values)
            values.insert(key, value);
        list.append(QJsonObject{{kNameKey, preset.name}, {kValuesKey, values}});
    }
    const QJsonObject root{{kFormatKey, kFormat}, {kVersionKey, 1}, {kPresetsKey, list}};
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        return false;
    QSaveFile target(m_path);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    target.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return target.commit();
}

qsizetype IndexOfPreset(const QList<Preset>& presets, const QString& name)
{
    for (qsizetype i = 0; i < presets.size(); ++i) {
        if (presets[i].name == name)
            return i;
    }
    return -1;
}

QList<Preset> WithPreset(QList<Preset> presets, const Preset& preset)
{
    const qsizetype index = IndexOfPreset(presets, preset.name);
    if (index >= 0)
        presets[index] = preset;
    else
        presets.append(preset);
    return presets;
}

QList<Preset> WithoutPreset(QList<Preset> presets, const QString& name)
{
    const qsizetype index = IndexOfPreset(presets, name);
    if (index >= 0)
        presets.removeAt(index);
    return presets;
}

} // namespace kovaldi
