#pragma once

#include <QStringList>

namespace kovaldi::cli {

// kovaldi-cli [options] TARGET: makes, or with --dry-run lists, the folders header + number
// + footer in TARGET. The arguments come without the program's name. Returns the exit
// status.
int RunMake(const QStringList& arguments);

} // namespace kovaldi::cli
