#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace kovaldi {

// Names as POSIX systems keep them: bytes, mostly UTF-8. A byte that is not part of valid
// UTF-8 travels inside a QString as one lone surrogate, U+DC80 to U+DCFF for the bytes 0x80
// to 0xFF, and goes back to the system as that byte; so every name that a listing or a
// command line holds can be named again exactly. (Windows names are UTF-16 and need none
// of this.)

// Whether the text can go to the system whole: no NUL, and no lone surrogate but those
// that stand for a byte.
bool EncodesWhole(QStringView text);

// The bytes for the system: UTF-8, with the byte surrogates back as their bytes. Call only
// for a text that EncodesWhole.
void AppendNativeName(QByteArray& bytes, QStringView text);
// The same bytes written at destination, which has room for kMostNativeBytesPerUnit bytes
// for each unit of the text (no NUL is added), and whether the text EncodesWhole: both in
// one pass, for a path made for every folder of a run.
inline constexpr qsizetype kMostNativeBytesPerUnit = 3;
struct NativeWrite
{
    qsizetype size;
    bool whole;
};
NativeWrite WriteNativeName(char* destination, QStringView text);
QByteArray NativeName(QStringView text);

// The text of bytes from the system: valid UTF-8 read as such, every other byte as its
// surrogate.
QString NameFromNative(QByteArrayView bytes);

// The program's arguments as given, after its name. On POSIX each is read as a name is, so
// that a byte that is not UTF-8 is kept; Windows hands the program UTF-16, which Qt reads
// (a QCoreApplication must exist there).
QStringList ProgramArguments(int argc, char* argv[]);

// The system's own words for an error code: errno's on POSIX, GetLastError's on Windows.
QString SystemText(unsigned long code);

// Whether the text holds a byte that is not UTF-8.
bool HoldsRawBytes(QStringView text);

} // namespace kovaldi
