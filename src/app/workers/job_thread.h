#pragma once

#include <atomic>

namespace qb::app {

// The thread of one running job, as the job sees it: the only thing a job may ask of it is
// whether it has been asked to stop. The request is a flag; it never interrupts the job.
class JobThread {
public:
    JobThread() = default;
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    bool stopRequested() const { return Stop_.load(std::memory_order_acquire); }
    void requestStop() { Stop_.store(true, std::memory_order_release); }

    // Set when the window's teardown stops waiting for the job: the window it served is gone,
    // and none of its calls to the window's thread is carried out any more.
    bool abandoned() const { return Abandoned_.load(std::memory_order_acquire); }
    void abandon() { Abandoned_.store(true, std::memory_order_release); }

private:
    std::atomic<bool> Stop_{false};
    std::atomic<bool> Abandoned_{false};
};

} // namespace qb::app
