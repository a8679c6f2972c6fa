#include "journal/journalwriter.h"

#include "journal/journalformat.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace kovaldi {

QString JournalHeader::NewRunId()
{
    return QString::number(QRandomGenerator::system()->generate64(), 16)
        .rightJustified(16, QLatin1Char('0'));
}

JournalWriter::~JournalWriter()
{
    Flush();
}

bool JournalWriter::Start(const QString& path, const JournalHeader& header)
{
    Stop();
    m_started = m_failed = false;
    if (path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The old journal goes first, so that the new one is created afresh: a link put in
    // its place is removed, never followed.
    QFile::remove(path);
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return false;

    m_buffer = kJournalMagic;
    m_buffer += ' ' + QByteArray::number(kJournalVersion) + '\n';
    m_buffer += "run ";
    AppendEscaped(m_buffer, header.runId);
    m_buffer += "\nstarted " + header.started.toUTC().toString(Qt::ISODateWithMs).toUtf8();
    m_buffer += "\ntarget ";
    AppendEscaped(m_buffer, header.target);
    for (const auto& [name, text] : header.inputs) {
        m_buffer += "\ninput " + name.toUtf8() + ' ';
        AppendEscaped(m_buffer, text);
    }
    m_buffer += '\n';
    m_atEnd = std::make_unique<BeforeEndProcess>([this] { Flush(); });
    Flush();
    m_started = m_file.isOpen();
    return m_started;
}

void JournalWriter::AppendName(const QString& name)
{
    AppendEscaped(m_buffer, name);
    m_buffer += '\n';
    // The clock is read every few folders: even on the fastest file system that is well
    // under a millisecond.
    if (++m_sinceLook % 16 == 0 && m_sinceWrite.elapsed() >= kIntervalMs)
        Flush();
}

void JournalWriter::Flush()
{
    if (!m_file.isOpen() || m_buffer.isEmpty())
        return;
    const bool whole = m_file.write(m_buffer) == m_buffer.size();
    m_buffer.resize(0);
    m_sinceWrite.start();
    if (!whole) {
        m_failed = true;
        Stop();
    }
}

void JournalWriter::Finish(bool stopped)
{
    if (!m_file.isOpen())
        return;
    m_buffer += stopped ? "end stopped\n" : "end done\n";
    Flush();
    Stop();
}

void JournalWriter::Stop()
{
    m_atEnd.reset();
    m_file.close();
    m_buffer.clear();
}

} // namespace kovaldi
