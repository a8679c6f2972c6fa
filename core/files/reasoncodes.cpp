#include "files/reasoncodes.h"

namespace kovaldi {

QString ReasonCode(FailureReason reason)
{
    switch (reason) {
    case FailureReason::ExistsAsFolder:
        return QStringLiteral("exists-as-folder");
    case FailureReason::ExistsAsFile:
        return QStringLiteral("exists-as-file");
    case FailureReason::ParentMissing:
        return QStringLiteral("parent-missing");
    case FailureReason::AccessRefused:
        return QStringLiteral("access-refused");
    case FailureReason::NameTooLong:
        return QStringLiteral("name-too-long");
    case FailureReason::DiskFull:
        return QStringLiteral("disk-full");
    case FailureReason::ReadOnly:
        return QStringLiteral("read-only");
    case FailureReason::InvalidName:
        return QStringLiteral("invalid-name");
    case FailureReason::Other:
        break;
    }
    return QStringLiteral("other");
}

QString ReasonCode(KeptReason reason)
{
    switch (reason) {
    case KeptReason::NotEmpty:
        return QStringLiteral("not-empty");
    case KeptReason::Gone:
        return QStringLiteral("gone");
    case KeptReason::ReplacedByFile:
        return QStringLiteral("replaced-by-file");
    case KeptReason::ReplacedByLink:
        return QStringLiteral("replaced-by-link");
    case KeptReason::AccessRefused:
        return QStringLiteral("access-refused");
    case KeptReason::OutsideTarget:
        return QStringLiteral("outside-target");
    case KeptReason::Other:
        break;
    }
    return QStringLiteral("other");
}

} // namespace kovaldi
