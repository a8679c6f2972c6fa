#pragma once

#include "files/filesystem.h"

#include <QList>
#include <QStringList>

namespace kovaldi {

// The folders a run could not make, grouped by reason (other errors also by the system's
// text), each group with its count and its first names. Names are kept while fewer than
// kNameCap are kept in all, and each group keeps at least its first kGroupNames, so memory
// stays small however many fail.
class FailureLog
{
public:
    static constexpr qint64 kNameCap = 1000;
    static constexpr qint64 kGroupNames = 10;

    struct Group
    {
        FailureReason reason = FailureReason::Other;
        QString systemText; // for FailureReason::Other
        qint64 count = 0;
        QStringList names; // the first ones, in the order they failed
    };

    void Add(const QString& name, const CreateResult& result);

    qint64 Total() const { return m_total; }
    qint64 NamesKept() const { return m_namesKept; }
    // Failures whose names were not kept.
    qint64 NamesLeftOut() const { return m_total - m_namesKept; }
    // In the order each reason first came up.
    const QList<Group>& Groups() const { return m_groups; }

private:
    QList<Group> m_groups;
    qint64 m_total = 0;
    qint64 m_namesKept = 0;
};

} // namespace kovaldi
