#pragma once

// What the benchmarks share: the series they make, the paths of its bare loop, and the
// median of their figures.
#include "naming/naming.h"
#include "naming/folderseries.h"

#include <QString>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kovaldi::bench {

inline const QString kHeader = QStringLiteral("img");
inline constexpr int kDigits = 5;

// The numbers of a run of `size` folders, as the window's boxes would hold them: the
// largest size runs over the boxes' whole range.
inline std::pair<int, int> RangeOf(int size)
{
    return size >= 109999 ? std::pair{-9999, 99999} : std::pair{1, size};
}

inline FolderSeries SeriesOf(int size)
{
    const auto [min, max] = RangeOf(size);
    return {kHeader, QString(), BuildZeroMask(kDigits), min, max - min + 1, 1};
}

// The series' paths in folder, as the bare loop hands them to mkdir: built before its clock
// starts.
inline std::vector<std::string> BarePaths(const QString& folder, int size)
{
    const FolderSeries series = SeriesOf(size);
    std::vector<std::string> paths;
    paths.reserve(size_t(series.count));
    for (qint64 index = 0; index < series.count; ++index)
        paths.push_back((folder + QLatin1Char('/') + series.NameAt(index)).toStdString());
    return paths;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace kovaldi::bench
