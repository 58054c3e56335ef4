// PtyPeer: a scripted serial peer on a real pseudo-terminal.
//
// The peer owns the master side of a pty (raw mode) and keeps one descriptor of the slave side
// open for its whole life, so the master never sees EIO while the code under test closes and
// reopens the slave. Open SlavePath() with CSerialPort (directly, or through a COM<N> link in the
// port folder) and it behaves like a logger on a serial line.
//
// One thread reads what the code under test writes, cuts it into request frames ('<' ... '>',
// found with ScanFrame) and hands each complete frame to the responder. The responder runs on the
// peer's thread; it may Write, Pause and Write again (a reply split in time), or write nothing
// (a silent logger). While it runs, later requests wait in the pty. Bytes that form no frame are
// dropped.
//
//   velorin::test::PtyPeer peer;
//   ASSERT_TRUE(peer.Ok());
//   peer.Start([](velorin::test::PtyPeer& p, const velorin::test::PtyPeer::Request& req, size_t n) {
//       p.Write(reply);            // answer
//       if (!p.Pause(200)) return; // returns false once Stop() was called
//       p.Write(rest);
//   });
//   ...
//   peer.Stop();  // also done by the destructor; joins the thread
//
// Requests(), RequestCount() and WaitForRequests() tell what arrived, in order, from any thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velorin::test {

class PtyPeer {
public:
    using Request = std::vector<uint8_t>;
    // `index` counts requests from 0 in the order they arrived.
    using Responder = std::function<void(PtyPeer& peer, const Request& request, size_t index)>;

    PtyPeer();  // opens the pty pair; Ok() tells whether that worked
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool Ok() const { return master_ >= 0 && slave_ >= 0; }
    const std::string& SlavePath() const { return slavePath_; }

    // Starts the reading thread. Call once.
    void Start(Responder responder);
    // Stops and joins the thread; interrupts a responder's Pause. Idempotent.
    void Stop();

    // Writes bytes towards the code under test (they queue in the slave's input). Callable from
    // the responder or from the test thread. False when not everything could be written.
    bool Write(const uint8_t* bytes, size_t count);
    bool Write(const std::vector<uint8_t>& bytes) { return Write(bytes.data(), bytes.size()); }
    // Sleeps `milliseconds`; returns false at once when Stop() is called meanwhile.
    bool Pause(int milliseconds);

    size_t RequestCount() const;
    std::vector<Request> Requests() const;
    // Waits until at least `count` requests arrived or `timeoutMs` passed.
    bool WaitForRequests(size_t count, int timeoutMs) const;

    // Bytes queued in the slave's input, not yet read by anyone (FIONREAD on the kept slave
    // descriptor; the queue is the same for every descriptor of the slave).
    int QueuedAtSlave() const;
    // The descriptor of the slave that the peer keeps open (for ioctl queries in tests).
    int KeptSlaveFd() const { return slave_; }

private:
    void Run();
    void HandleBytes(std::vector<uint8_t>& pending);

    int master_ = -1;
    int slave_ = -1;
    int wakeRead_ = -1;  // self-pipe that wakes the reading thread on Stop()
    int wakeWrite_ = -1;
    std::string slavePath_;
    Responder responder_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Request> requests_;
};

// Calls `condition` every 2 ms until it returns true or `timeoutMs` passed; returns its last
// result. For waiting on bytes in flight without fixed sleeps.
bool PollUntil(const std::function<bool()>& condition, int timeoutMs);

}  // namespace velorin::test
