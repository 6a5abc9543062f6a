#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>

#include <curl/curl.h>

namespace qb::net {

// Lets any thread end every transfer of one client that is in flight. Each transfer notes the
// generation when its request was made and ends as soon as the generation moves on; its
// waiting multi handle is woken at once, so the end does not wait for a poll to run out.
class AbortSignal {
public:
    std::uint64_t generation() const { return generation_.load(std::memory_order_acquire); }

    // Ends every transfer in flight; transfers requested afterwards are not affected.
    void abortAll();

    // A transfer's multi handle, registered while it waits, so abortAll can wake it.
    class Registration {
    public:
        Registration(AbortSignal& signal, CURLM* multi);
        ~Registration();
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

    private:
        AbortSignal& signal_;
        CURLM* multi_;
    };

private:
    std::atomic<std::uint64_t> generation_{0};
    std::mutex mutex_;
    std::set<CURLM*> waiting_;
};

} // namespace qb::net
