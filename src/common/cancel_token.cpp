#include "common/cancel_token.h"

#include <chrono>

namespace velorin {

void CancelToken::Cancel() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cancelled_ = true;
    }
    wake_.notify_all();
}

bool CancelToken::WaitFor(int milliseconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    return wake_.wait_for(lock, std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0),
                          [this] { return cancelled_.load(); });
}

}  // namespace velorin
