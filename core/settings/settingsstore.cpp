#include "settings/settingsstore.h"

#include <QtGlobal>

#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
#include <QSettings>
#include <memory>
#else
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovaldi {

#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)

namespace {

std::unique_ptr<QSettings> OpenStore(const QString& application)
{
#if defined(Q_OS_WIN)
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + application,
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application,
                                       application);
#endif
}

} // namespace

std::optional<QStringList> SettingsStore::ReadSettings(const QString& application,
                                                       const QString& section,
                                                       const SettingsEntries& keysAndDefaults) const
{
    const auto store = OpenStore(application);
    if (store->status() != QSettings::NoError)
        return std::nullopt;
    QStringList values;
    for (const auto& [key, defaultValue] : keysAndDefaults) {
        const QString path = section + QLatin1Char('/') + key;
        const QVariant value = store->contains(path) ? store->value(path) : QVariant();
        // A hand-edited value with bare commas reads back as a list; keep its text.
        if (!value.isValid())
            values << defaultValue;
        else if (value.typeId() == QMetaType::QStringList)
            values << value.toStringList().join(QStringLiteral(", "));
        else
            values << value.toString();
    }
    return values;
}

bool SettingsStore::SaveSettings(const QString& application, const QString& section,
                                 const SettingsEntries& keysAndValues)
{
    const auto store = OpenStore(application);
    if (store->status() == QSettings::AccessError)
        return false;
    for (const auto& [key, value] : keysAndValues)
        store->setValue(section + QLatin1Char('/') + key, value);
    store->sync();
    return store->status() == QSettings::NoError;
}

#else

namespace {

QString StoreFile(const QString& application)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + application + QLatin1Char('/') + application +
           QStringLiteral(".conf");
}

enum class FileState { Read, Missing, Unreadable };

// The whole file, read only when it is a regular file or a link to one. The check is made
// on the opened file, without waiting for a writer, so a FIFO, a device or a folder put in
// its place is never read from.
FileState ReadRegularFile(const QString& path, QByteArray& content)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT ? FileState::Missing : FileState::Unreadable;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return FileState::Unreadable;
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return FileState::Unreadable;
    }
    content = file.readAll();
    return file.error() == QFileDevice::NoError ? FileState::Read : FileState::Unreadable;
}

} // namespace

std::optional<QStringList> SettingsStore::ReadSettings(const QString& application,
                                                       const QString& section,
                                                       const SettingsEntries& keysAndDefaults) const
{
    QByteArray content;
    const FileState state = ReadRegularFile(StoreFile(application), content);
    if (state == FileState::Unreadable)
        return std::nullopt;
    const bool read = state == FileState::Read;
    QStringList keys;
    for (const auto& entry : keysAndDefaults)
        keys << entry.first;
    const QList<std::optional<QString>> stored =
        read ? ReadIniValues(content, section, keys) : QList<std::optional<QString>>();
    QStringList values;
    for (qsizetype i = 0; i < keysAndDefaults.size(); ++i)
        values << stored.value(i).value_or(keysAndDefaults[i].second);
    return values;
}

bool SettingsStore::SaveSettings(const QString& application, const QString& section,
                                 const SettingsEntries& keysAndValues)
{
    const QString path = StoreFile(application);
    QByteArray content;
    if (ReadRegularFile(path, content) == FileState::Unreadable)
        return false;
    const QByteArray replacement = WriteIniValues(content, section, keysAndValues);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // A new file beside the old one, synced to disk and renamed over it.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(replacement) == replacement.size() &&
           file.commit();
}

#endif

QStringList SettingsStore::GetSettings(const QString& application, const QString& section,
                                       const SettingsEntries& keysAndDefaults) const
{
    if (std::optional<QStringList> values = ReadSettings(application, section, keysAndDefaults))
        return *values;
    QStringList defaults;
    for (const auto& entry : keysAndDefaults)
        defaults << entry.second;
    return defaults;
}

QString SettingsStore::GetSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& defaultValue) const
{
    return GetSettings(application, section, {{key, defaultValue}}).value(0, defaultValue);
}

bool SettingsStore::SaveSetting(const QString& application, const QString& section,
                                const QString& key, const QString& value)
{
    return SaveSettings(application, section, {{key, value}});
}

namespace {

SettingsEntries StoredInputDefaults()
{
    SettingsEntries keysAndDefaults;
    for (const StoredInput& input : kStoredInputs)
        keysAndDefaults.append({QLatin1String(input.key), QLatin1String(input.defaultValue)});
    return keysAndDefaults;
}

} // namespace

QStringList LoadInputs(const SettingsStore& store)
{
    return store.GetSettings(kSettingsApplication, kSettingsSection, StoredInputDefaults());
}

std::optional<QStringList> ReadInputs(const SettingsStore& store)
{
    return store.ReadSettings(kSettingsApplication, kSettingsSection, StoredInputDefaults());
}

bool SaveInputs(SettingsStore& store, const QStringList& texts, const SettingsEntries& further)
{
    SettingsEntries keysAndValues;
    for (qsizetype i = 0; i < qsizetype(std::size(kStoredInputs)); ++i)
        keysAndValues.append({QLatin1String(kStoredInputs[i].key), texts.value(i)});
    keysAndValues += further;
    return store.SaveSettings(kSettingsApplication, kSettingsSection, keysAndValues);
}

} // namespace kovaldi
