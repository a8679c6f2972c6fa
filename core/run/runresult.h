#pragma once

#include "journal/journalwriter.h"
#include "run/failurelog.h"
#include "run/maderecord.h"

#include <QString>

namespace kovaldi {

// What a confirmed run did.
struct RunResult
{
    bool confirmed = false;    // the run got past the confirmation
    qint64 total = 0;          // folders it was to make, sub-folders included
    qint64 made = 0;           // sub-folders included
    qint64 subfoldersEach = 0; // the template's folders inside each numbered folder
    qint64 subfoldersMade = 0;
    QString cutTree; // the numbered folder whose sub-folders a stop left unfinished
    FailureLog failures;
    bool stopped = false; // stopped on request with folders left to make
    MadeRecord record;
    QString targetIdentity; // the target folder's (FileSystem::FolderIdentity)
    QString journalPath;    // this run's own journal; empty: none
    QString runId;
    bool journalHoldsRun = false; // the journal at journalPath names every folder made
    JournalWriter::Fate journalFate = JournalWriter::Fate::NoneNoneOlder;

    qint64 Failed() const { return failures.Total(); }
    // Folders not tried because the run was stopped.
    qint64 Remaining() const { return total - made - failures.Total(); }
};

} // namespace kovaldi
