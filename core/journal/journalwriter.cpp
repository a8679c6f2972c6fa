#include "journal/journalwriter.h"

#include "journal/journalformat.h"
#include "journal/journallocation.h"

#include <QRandomGenerator>

namespace kovaldi {

namespace {

// Older journals beyond this many are deleted when a run starts its own.
constexpr qsizetype kJournalsKept = 16;

void PruneJournals(const QStringList& newestFirst)
{
    for (qsizetype i = kJournalsKept; i < newestFirst.size(); ++i) {
        JournalFile old;
        // Only one nobody holds, and only one that undo would trust.
        if (old.Open(newestFirst[i]) == JournalFile::Problem::None)
            old.Remove();
    }
}

} // namespace

QString JournalHeader::NewRunId()
{
    return QString::number(QRandomGenerator::system()->generate64(), 16)
        .rightJustified(16, QLatin1Char('0'));
}

JournalWriter::~JournalWriter()
{
    Flush();
}

bool JournalWriter::Start(const QString& folder, const JournalHeader& header)
{
    Stop();
    m_path.clear();
    m_fate = Fate::NoneNoneOlder;
    if (folder.isEmpty())
        return false;
    const QString path = folder + QLatin1Char('/') + JournalFileName(header.started, header.runId);
    if (!EnsureJournalFolder(folder) || header.identity.isEmpty() || !m_file.Create(path)) {
        Supersede(folder);
        return false;
    }
    m_path = path;
    m_fate = Fate::Holds;

    m_buffer = kJournalMagic;
    m_buffer += ' ' + QByteArray::number(kJournalVersion) + '\n';
    m_buffer += "run ";
    AppendEscaped(m_buffer, header.runId);
    m_buffer += "\nstarted " + header.started.toUTC().toString(Qt::ISODateWithMs).toUtf8();
    m_buffer += "\ntarget ";
    AppendEscaped(m_buffer, header.target);
    m_buffer += "\nidentity ";
    AppendEscaped(m_buffer, header.identity);
    for (const auto& [name, text] : header.inputs) {
        m_buffer += "\ninput " + name.toUtf8() + ' ';
        AppendEscaped(m_buffer, text);
    }
    m_buffer += '\n';
    if (!m_file.Append(m_buffer)) {
        // Not even its header: as though it had never been made.
        m_file.Remove();
        m_path.clear();
        m_buffer.clear();
        Supersede(folder);
        return false;
    }
    m_buffer.resize(0);
    m_sinceWrite.start();
    m_atEnd = std::make_unique<BeforeEndProcess>([this] {
        if (ProcessIsEnding())
            m_buffer += "end closed\n";
        Flush();
    });
    PruneJournals(JournalsNewestFirst(folder));
    return true;
}

void JournalWriter::Supersede(const QString& folder)
{
    const QStringList journals = JournalsNewestFirst(folder);
    if (journals.isEmpty())
        m_fate = Fate::NoneNoneOlder;
    else
        m_fate = MarkJournalSuperseded(journals.first()) ? Fate::NoneMarked : Fate::NoneUnmarked;
}

void JournalWriter::AppendName(const QString& name)
{
    AppendEscaped(m_buffer, name);
    m_buffer += '\n';
}

void JournalWriter::Flush()
{
    if (!m_file.IsOpen() || m_buffer.isEmpty())
        return;
    const bool whole = m_file.Append(m_buffer);
    m_buffer.resize(0);
    m_sinceWrite.start();
    if (!whole) {
        m_fate = Fate::Cut;
        Stop();
    }
}

void JournalWriter::Finish(bool stopped, bool madeAny)
{
    if (!m_file.IsOpen())
        return;
    if (!madeAny) {
        m_atEnd.reset();
        m_buffer.clear();
        m_file.Remove();
        m_path.clear();
        return;
    }
    m_buffer += stopped ? "end stopped\n" : "end done\n";
    Flush();
    Stop();
}

void JournalWriter::Stop()
{
    m_atEnd.reset();
    m_file.Close();
    m_buffer.clear();
}

} // namespace kovaldi
