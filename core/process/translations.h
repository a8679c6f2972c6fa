#pragma once

#include <QString>

class QObject;

namespace kovaldi {

// A program's own messages in the user's language, from share/kovaldi/translations beside
// its bin folder (as installed) or from translations beside the program (as built), and
// Qt's own texts (a command-line parser's among them) in that language. The translators
// belong to owner and stop translating when it goes.
void InstallTranslations(QObject& owner, const QString& catalogue);

} // namespace kovaldi
