#include "probe_process.h"

#include <QDeadlineTimer>

using namespace Qt::Literals::StringLiterals;

ProbeProcess::ProbeProcess(const QProcessEnvironment& environment) {
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

ProbeProcess::~ProbeProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(kWaitMs);
    }
}

void ProbeProcess::start(const QStringList& arguments) {
    process_.start(QString::fromUtf8(QB_HANDOFF_PROBE), arguments);
    process_.waitForStarted(kWaitMs);
}

void ProbeProcess::readLines() {
    pending_ += process_.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = pending_.indexOf('\n')) >= 0) {
        lines_.append(QString::fromUtf8(pending_.left(end)));
        pending_.remove(0, end + 1);
    }
}

bool ProbeProcess::waitForLine(const QString& line, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    readLines();
    while (!lines_.contains(line)) {
        if (process_.state() == QProcess::NotRunning || deadline.hasExpired()) {
            return false;
        }
        process_.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
        readLines();
    }
    return true;
}

int ProbeProcess::waitForExit(int timeoutMs) {
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs)) {
        return -1;
    }
    if (process_.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    readLines();
    return process_.exitCode();
}

QStringList ProbeProcess::lines() {
    readLines();
    return lines_;
}
