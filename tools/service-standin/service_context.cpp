#include "service_context.h"

namespace qb::standin {

void ServiceContext::sleepFor(std::chrono::milliseconds ms) {
    std::unique_lock lock(mutex_);
    stopped_.wait_for(lock, ms, [this] { return stopping_; });
}

void ServiceContext::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
}

} // namespace qb::standin
