#include "run/folderseries.h"

#include "naming/naming.h"

namespace kovaldi {

QString FolderSeries::NameAt(qint64 index) const
{
    return BuildFolderName(header, NumberAt(index), zeroMask, footer);
}

} // namespace kovaldi
