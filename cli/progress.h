#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

namespace kovaldi::cli {

// The one-line progress indicator of a run on a terminal: count, percentage and rate,
// redrawn at most kRedrawMs apart. Tick is cheap: it reads the clock only every
// kFoldersPerLook folders.
class ProgressLine
{
public:
    static constexpr qint64 kRedrawMs = 100;
    static constexpr qint64 kFoldersPerLook = 64;

    ProgressLine(qint64 total, bool shown);

    void Tick(qint64 done)
    {
        if (m_shown && done % kFoldersPerLook == 0 && m_sinceDraw.elapsed() >= kRedrawMs)
            Draw(done);
    }
    // Takes the line off the terminal.
    void Clear();

private:
    void Draw(qint64 done);

    qint64 m_total;
    bool m_shown;
    bool m_drawn = false;
    qsizetype m_width = 0;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceDraw;
};

} // namespace kovaldi::cli
