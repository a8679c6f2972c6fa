// Feeds arbitrary texts to the number boxes' parser and normalisation and checks them
// against the independent reference: the parser agrees with it, every box ends canonical
// within the bounded nesting, and a canonical text stays as it is.

#include "numberreference.h"
#include "numbers/numbertext.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses how the rest becomes a text: as UTF-16 code units (any of
    // them, unpaired surrogates included), or byte by byte as Latin-1, which lets the
    // fuzzer's dictionary of ASCII pieces take effect.
    const uint8_t* rest = data + 1;
    const size_t restSize = size - 1;
    QString text;
    if (data[0] & 1) {
        text = QString::fromLatin1(reinterpret_cast<const char*>(rest), qsizetype(restSize));
    } else {
        text.resize(qsizetype(restSize / 2));
        for (size_t i = 0; i < restSize / 2; ++i)
            text[qsizetype(i)] = QChar(char16_t(rest[2 * i] | rest[2 * i + 1] << 8));
    }
    const QString failure = kovaldi::test::CheckNumberBoxProperties(text);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        std::abort();
    }
    return 0;
}
