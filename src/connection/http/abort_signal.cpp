#include "connection/http/abort_signal.h"

namespace qb::net {

void AbortSignal::abortAll() {
    std::lock_guard lock(mutex_);
    generation_.fetch_add(1, std::memory_order_acq_rel);
    for (CURLM* multi : waiting_) {
        curl_multi_wakeup(multi);
    }
}

AbortSignal::Registration::Registration(AbortSignal& signal, CURLM* multi)
    : signal_(signal)
    , multi_(multi) {
    std::lock_guard lock(signal_.mutex_);
    signal_.waiting_.insert(multi_);
}

AbortSignal::Registration::~Registration() {
    // Taken under the lock, so abortAll never wakes a multi handle that is being cleaned up.
    std::lock_guard lock(signal_.mutex_);
    signal_.waiting_.erase(multi_);
}

} // namespace qb::net
