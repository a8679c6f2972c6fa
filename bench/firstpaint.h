#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

// Prints "painted" on the window's first paint, then, once the event loop has been idle
// for a moment, the process's peak resident memory ("peak-kb N"), and ends the process.
class FirstPaintReporter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::puts("painted");
            std::fflush(stdout);
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
