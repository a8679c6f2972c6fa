#pragma once

#include <QString>

namespace kovaldi {

// The folder naming rule: header + number padded with zeros + footer, made
// directly inside BaseFolder. Pure functions, shared by the run and the preview.

// "0" repeated digitCount times; empty for zero or a negative count.
QString BuildZeroMask(int digitCount);

// The number's decimal digits, zero-padded on the left to the mask's length.
// A negative number gets "-" in front of the padded digits; the sign does not
// count toward the mask's length. Longer numbers are never cut.
QString FormatFolderNumber(long long number, const QString& zeroMask);

QString BuildFolderName(const QString& header, const QString& numberText, const QString& footer);

// The same as BuildFolderName(header, FormatFolderNumber(number, zeroMask), footer), built
// in one piece: a run makes a name for every folder.
QString BuildFolderName(const QString& header, long long number, const QString& zeroMask,
                        const QString& footer);

// The target folder text ending in the file system's separator: unchanged when its last
// character is the separator already, else with one appended. Nothing else is looked at or
// normalised.
QString BuildBaseFolder(const QString& targetFolder, QChar separator);

// A name as a file system that ignores case and Unicode form compares it: two names that
// fold alike may name the same entry there.
QString FoldedName(const QString& name);

} // namespace kovaldi
