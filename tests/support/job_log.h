#pragma once

// The warnings of the window's workers (log category "quillbrook.jobs"), taken from any thread
// while an object of this lives.
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <mutex>
#include <vector>

namespace qb::test {

class JobLog {
public:
    JobLog() {
        instance_ = this;
        previous_ = qInstallMessageHandler(&JobLog::record);
    }
    ~JobLog() {
        qInstallMessageHandler(previous_);
        instance_ = nullptr;
    }
    JobLog(const JobLog&) = delete;
    JobLog& operator=(const JobLog&) = delete;

    std::vector<QString> lines() const {
        const std::lock_guard guard(lock_);
        return lines_;
    }

    bool contains(const QString& text) const {
        const std::vector<QString> all = lines();
        return std::any_of(all.begin(), all.end(),
                           [&text](const QString& line) { return line.contains(text); });
    }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && context.category == QByteArrayView("quillbrook.jobs")) {
            const std::lock_guard guard(instance_->lock_);
            instance_->lines_.push_back(text);
        }
    }

    static inline JobLog* instance_ = nullptr;
    QtMessageHandler previous_ = nullptr;
    mutable std::mutex lock_;
    std::vector<QString> lines_;
};

} // namespace qb::test
