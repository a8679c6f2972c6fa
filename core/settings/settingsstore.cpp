#include "settings/settingsstore.h"

#include <QSettings>
#include <QStringList>
#include <memory>

namespace kovaldi {

namespace {

std::unique_ptr<QSettings> OpenStore(const QString& application)
{
#if defined(Q_OS_WIN)
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + application,
        QSettings::NativeFormat);
#else
    // On Linux the native format is an INI file ending in .conf; on macOS it is the
    // system's property list store.
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application,
                                       application);
#endif
}

} // namespace

QString SettingsStore::GetSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& defaultValue) const
{
    const auto store = OpenStore(application);
    const QString path = section + QLatin1Char('/') + key;
    if (!store->contains(path))
        return defaultValue;
    const QVariant value = store->value(path);
    // A hand-edited line with bare commas reads back as a list; keep its text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool SettingsStore::SaveSetting(const QString& application, const QString& section,
                                const QString& key, const QString& value)
{
    const auto store = OpenStore(application);
    if (store->status() == QSettings::AccessError)
        return false;
    store->setValue(section + QLatin1Char('/') + key, value);
    store->sync();
    return store->status() == QSettings::NoError;
}

} // namespace kovaldi
