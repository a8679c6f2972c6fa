#include "files/reasoncodes.h"

#include <iterator>

namespace kovaldi {

// In the order of the enumerations.
QString ReasonCode(FailureReason reason)
{
    static const char* const codes[] = {
        "exists-as-folder", "exists-as-file", "parent-missing", "access-refused", "name-too-long",
        "disk-full",        "read-only",      "invalid-name",   "other",
    };
    static_assert(std::size(codes) == int(FailureReason::Other) + 1);
    return QLatin1String(codes[int(reason)]);
}

QString ReasonCode(KeptReason reason)
{
    static const char* const codes[] = {
        "not-empty",      "gone",  "replaced-by-file", "replaced-by-link", "access-refused",
        "outside-target", "other",
    };
    static_assert(std::size(codes) == int(KeptReason::Other) + 1);
    return QLatin1String(codes[int(reason)]);
}

} // namespace kovaldi
