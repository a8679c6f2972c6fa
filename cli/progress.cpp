#include "progress.h"

#include "command.h"
#include "utils.h"

#include <QCoreApplication>
#include <QLocale>

namespace kovaldi::cli {

namespace {

class ProgressTexts
{
    Q_DECLARE_TR_FUNCTIONS(ProgressTexts)

public:
    static QString Line(qint64 done, qint64 total, double percent, qint64 rate)
    {
        return tr("%1 of %2 folders (%3%), %4 a second")
            .arg(done)
            .arg(total)
            .arg(percent, 0, 'f', 0)
            .arg(rate);
    }
};

} // namespace

ProgressLine::ProgressLine(qint64 total, bool shown) : m_total(total), m_shown(shown)
{
    m_sinceStart.start();
    m_sinceDraw.start();
}

void ProgressLine::Draw(qint64 done)
{
    m_sinceDraw.start();
    const qint64 ms = qMax<qint64>(1, m_sinceStart.elapsed());
    const double percent = m_total > 0 ? 100.0 * double(done) / double(m_total) : 100.0;
    const QString line = ProgressTexts::Line(done, m_total, percent, done * 1000 / ms);
    // Shorter than the last one: blanks over what it leaves.
    const qsizetype columns = Columns(line);
    const qsizetype blanks = qMax<qsizetype>(0, m_width - columns);
    m_width = columns;
    Err(QLatin1Char('\r') + line + QString(blanks, QLatin1Char(' ')));
    m_drawn = true;
}

void ProgressLine::Clear()
{
    if (m_drawn)
        Err(QLatin1Char('\r') + QString(m_width, QLatin1Char(' ')) + QLatin1Char('\r'));
    m_drawn = false;
}

} // namespace kovaldi::cli
