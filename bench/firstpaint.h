#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

// Prints "painted <cpu-ms>" once the window's first paint is over (every child drawn and the
// frame handed to the window system), with the processor time the process has used so far;
// then, once the event loop has been idle for a moment, the process's peak resident memory
// ("peak-kb N"), and ends the process. The mark is taken after the paint, not when the
// paint event arrives: a window whose first layout needs no text metrics would otherwise be
// timed before its fonts are even loaded.
class FirstPaintReporter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                rusage usage{};
                ::getrusage(RUSAGE_SELF, &usage);
                const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
                std::printf("painted %.2f\n", cpuMs);
                std::fflush(stdout);
            });
            QTimer::singleShot(500, [] {
                std::printf("peak-kb %ld\n", PeakResidentKb());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

    static long PeakResidentKb()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        return -1;
    }

private:
    bool m_seen = false;
};
