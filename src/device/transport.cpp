#include "device/transport.h"

#include <chrono>
#include <thread>

#include "device/serial_port.h"

namespace velorin {

TransactResult Transact(CSerialPort& port, const uint8_t* request, size_t requestLength, uint8_t* reply,
                        size_t replyCapacity) {
    port.PurgeInput();
    port.WriteBlock(request, static_cast<int>(requestLength));
    int c2 = 0;
    for (int pass = 0; pass < kTransactMaxPasses; ++pass) {
        const int c1 = port.BytesWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(kTransactPassMs));
        c2 = port.BytesWaiting();
        if (c1 == c2 || c2 > kTransactEnoughBytes) break;
    }
    TransactResult result;
    if (c2 <= 0) return result;
    const size_t toStore = static_cast<size_t>(c2) < replyCapacity ? static_cast<size_t>(c2) : replyCapacity;
    result.stored = toStore > 0 ? static_cast<size_t>(port.ReadAvailable(reply, static_cast<int>(toStore))) : 0;
    result.received = result.stored;
    // What does not fit is read off the line and dropped, so the count still tells the truth.
    uint8_t sink[256];
    size_t excess = static_cast<size_t>(c2) - toStore;
    while (excess > 0) {
        const int n = port.ReadAvailable(sink, static_cast<int>(excess < sizeof sink ? excess : sizeof sink));
        if (n <= 0) break;
        result.received += static_cast<size_t>(n);
        excess -= static_cast<size_t>(n);
    }
    return result;
}

}  // namespace velorin
