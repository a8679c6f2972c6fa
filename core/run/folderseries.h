#pragma once

#include <QString>

namespace kovaldi {

// The folders of one run, by index from 0: header + the number formatted with the zero
// mask + footer, the numbers starting at first and step apart.
struct FolderSeries
{
    QString header;
    QString footer;
    QString zeroMask;
    qint64 first = 0;
    qint64 count = 0;
    qint64 step = 1;

    qint64 NumberAt(qint64 index) const { return first + index * step; }
    QString NameAt(qint64 index) const;
};

} // namespace kovaldi
