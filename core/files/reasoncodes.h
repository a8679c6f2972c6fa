#pragma once

#include <QString>

#include "files/filesystem.h"

namespace kovaldi {

// Short codes for the reasons that never change with the language, for reports that a
// program reads ("exists-as-folder", "not-empty", ...).
QString ReasonCode(FailureReason reason);
QString ReasonCode(KeptReason reason);

} // namespace kovaldi
