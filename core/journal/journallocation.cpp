#include "journal/journallocation.h"

#include <QDir>
#include <QStandardPaths>

namespace kovaldi {

QString DefaultJournalPath()
{
    const QString file = QStringLiteral("/Kovaldi/last-run.journal");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + file;
#else
    // The XDG base directory rules: a relative value is to be ignored.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state))
        return state + file;
    return QDir::homePath() + QStringLiteral("/.local/state") + file;
#endif
}

} // namespace kovaldi
