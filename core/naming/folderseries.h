#pragma once

#include <QString>
#include <QStringView>

namespace kovaldi {

// The one place that knows how the names of a series are written and read: the folders of
// one run, by index from 0, each named header + the number formatted with the zero mask +
// footer, the numbers starting at first and step apart. The window's run and its figures,
// kovaldi-cli's run and dry run, the count of existing names and the journal all name
// their folders through it.
//
// Whatever else later names a run's folders (a list of names, sub-folders made inside
// each) keeps the same shape: a count, the longest name, a name written by index into the
// caller's room, and a name read back to its index.
struct FolderSeries
{
    QString header;
    QString footer;
    QString zeroMask; // "0" as many times as the digit count, or empty
    qint64 first = 0;
    qint64 count = 0;
    qint64 step = 1;

    qint64 Count() const { return count; }
    qint64 NumberAt(qint64 index) const { return first + index * step; }

    // The most units a name of this series can take: room enough for WriteName.
    qsizetype LongestName() const;
    // Writes the name of the index at out, which has room for LongestName() units; returns
    // how many it wrote. Allocates nothing.
    qsizetype WriteName(qint64 index, QChar* out) const;
    // The same into name, which keeps its room from one call to the next.
    void NameInto(qint64 index, QString& name) const;
    QString NameAt(qint64 index) const;

    // The index whose name name is, exactly as WriteName writes it (no other padding, no
    // "-0", no other case), or -1 when it is no name of the series.
    qint64 IndexOf(QStringView name) const;
};

// The number text of the naming rule written at out, which has room for the width plus
// kMostNumberUnits units: the decimal digits, zero-padded on the left to width, "-" in front
// of a negative number. Returns how many units it wrote.
inline constexpr qsizetype kMostNumberUnits = 20; // a sign and 19 digits
qsizetype WriteNumberText(qint64 number, qsizetype width, QChar* out);

} // namespace kovaldi
