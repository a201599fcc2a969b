#pragma once
// The memory one step of a benchmark takes beyond what the process held before
// it: the resident size before, and the peak during the step, read from
// /proc/self after the kernel's peak mark was reset to the resident size.

#include <QByteArray>
#include <QFile>

class StepMemory {
public:
    StepMemory()
    {
        QFile marks(QStringLiteral("/proc/self/clear_refs"));
        if (marks.open(QIODevice::WriteOnly))
            marks.write("5");  // the peak mark back to the resident size
        before_ = statusKB("VmRSS:");
    }
    // Megabytes resident before the step, and the peak's growth over them.
    double beforeMB() const { return before_ / 1024.0; }
    double grownMB() const { return (statusKB("VmHWM:") - before_) / 1024.0; }

private:
    static qint64 statusKB(const char* key)
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(key))
                return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
        return 0;
    }

    qint64 before_ = 0;
};
