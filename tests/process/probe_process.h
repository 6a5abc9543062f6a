#pragma once

#include <QProcess>
#include <QStringList>

// One run of handoff_probe, read line by line.
class ProbeProcess {
public:
    static constexpr int kWaitMs = 15000;

    explicit ProbeProcess(const QProcessEnvironment& environment);
    ~ProbeProcess();

    void start(const QStringList& arguments);
    // Waits until the probe has printed `line`; false when it ended or the time ran out first.
    bool waitForLine(const QString& line, int timeoutMs = kWaitMs);
    // The exit code, or -1 when the probe crashed or did not end in time.
    int waitForExit(int timeoutMs = kWaitMs);
    QStringList lines();
    qint64 pid() const { return process_.processId(); }

private:
    void readLines();

    QProcess process_;
    QByteArray pending_;
    QStringList lines_;
};
