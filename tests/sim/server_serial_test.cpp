// The server over a real pseudo-terminal, opened the way the program opens a serial port.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "civil_time.h"
#include "server.h"
#include "sim_test_support.h"

namespace {

using simtest::Bytes;
using simtest::Request;
using namespace velorin::sim;

int64_t NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// A client side like the program's serial driver: raw 8N1, non-blocking reads.
class Port {
public:
    explicit Port(const std::string& path) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return;
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        cfsetspeed(&tio, B115200);
        tcsetattr(fd_, TCSANOW, &tio);
        tcflush(fd_, TCIOFLUSH);
    }
    ~Port() {
        if (fd_ >= 0) close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    void Send(const Bytes& bytes) {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until `want` bytes arrived or `timeoutMs` passed; records when each chunk arrived.
    Bytes Receive(size_t want, int timeoutMs, std::vector<std::pair<size_t, int64_t>>* arrivals = nullptr) {
        Bytes out;
        const int64_t deadline = NowMs() + timeoutMs;
        while (out.size() < want) {
            const int64_t left = deadline - NowMs();
            if (left <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            uint8_t chunk[4096];
            const ssize_t n = read(fd_, chunk, sizeof chunk);
            if (n <= 0) continue;
            if (arrivals != nullptr) arrivals->push_back({out.size(), NowMs()});
            out.insert(out.end(), chunk, chunk + n);
        }
        return out;
    }

private:
    int fd_ = -1;
};

using Arrivals = std::vector<std::pair<size_t, int64_t>>;

// Sends InfoQuery and collects its 115-byte reply, noting when it was sent and when each chunk
// of the reply arrived (ms, monotonic).
Bytes TimedInfoQuery(Port& port, int timeoutMs, int64_t* sent, Arrivals* arrivals) {
    *sent = NowMs();
    port.Send(Request(0x01));
    return port.Receive(115, timeoutMs, arrivals);
}

class sim_SerialServer : public ::testing::Test {
protected:
    void Start(const ServerOptions& extra = ServerOptions()) {
        ServerOptions options = extra;
        options.portFolder = folder.path();
        options.comNumber = 3;
        options.usb = false;
        if (options.logPath.empty()) options.logPath = folder.path() + "/requests.log";
        server = std::make_unique<LoggerServer>(DefaultLoggerState(HostNowCivil()), options);
        std::string error;
        ASSERT_TRUE(server->Start(&error)) << error;
    }
    std::string Log() const {
        std::ifstream in(folder.path() + "/requests.log");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    simtest::TempFolder folder;
    std::unique_ptr<LoggerServer> server;
};

TEST_F(sim_SerialServer, AnswersInfoQueryThroughTheComLink) {
    ServerOptions o;
    o.pacing = false;
    Start(o);
    EXPECT_EQ(server->LinkPath(), folder.path() + "/COM3");
    char target[256] = {};
    ASSERT_GT(readlink(server->LinkPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(server->DevicePath(), target);

    Port port(server->LinkPath());
    ASSERT_TRUE(port.ok());
    port.Send({0x3C, 0x00, 0x01, 0x00, 0x02, 0x3F, 0x3E});
    const Bytes reply = port.Receive(115, 2000);
    EXPECT_TRUE(simtest::IsFullReply(reply));
    EXPECT_GE(reply.size(), 113u);
    EXPECT_NE(Log().find("0x01 serial reply"), std::string::npos);
}

TEST_F(sim_SerialServer, KeepsServingAfterTheProgramClosesAndReopensThePort) {
    ServerOptions o;
    o.pacing = false;
    Start(o);
    for (int round = 0; round < 3; ++round) {
        Port port(server->LinkPath());
        ASSERT_TRUE(port.ok());
        port.Send(Request(0x19));
        EXPECT_EQ(port.Receive(9, 2000).size(), 9u) << "round " << round;
    }
}

TEST_F(sim_SerialServer, ResynchronisesAfterNoiseAndMalformedFrames) {
    ServerOptions o;
    o.pacing = false;
    Start(o);
    Port port(server->LinkPath());
    ASSERT_TRUE(port.ok());
    Bytes stream = {0x00, 0xFF, 0x3E, 0x29, 0x17};                // noise
    stream.insert(stream.end(), {0x3C, 0x00, 0x01, 0xFF, 0xFF});  // start byte with an absurd length
    Bytes badSum = Request(0x06);
    badSum[5] ^= 0x10;
    stream.insert(stream.end(), badSum.begin(), badSum.end());
    const Bytes good = Request(0x19);
    stream.insert(stream.end(), good.begin(), good.end());
    port.Send(stream);
    const Bytes reply = port.Receive(9, 2000);
    ASSERT_EQ(reply.size(), 9u);
    EXPECT_EQ(reply[2], 0x19);
    EXPECT_TRUE(port.Receive(1, 200).empty());  // nothing for the bad frames
}

TEST_F(sim_SerialServer, PacedRepliesTakeTheirLineTime) {
    Start();  // pacing on
    Port port(server->LinkPath());
    ASSERT_TRUE(port.ok());
    Arrivals arrivals;
    int64_t sent = 0;
    const Bytes reply = TimedInfoQuery(port, 2000, &sent, &arrivals);
    ASSERT_EQ(reply.size(), 115u);
    ASSERT_FALSE(arrivals.empty());
    // 115 bytes at 115200 baud take 10 ms of line time; the last one cannot come sooner, however
    // late the reader gets to look.
    EXPECT_GE(arrivals.back().second - sent, 9);
}

TEST_F(sim_SerialServer, SilenceFaultLeavesTheFirstRequestsUnanswered) {
    ServerOptions o;
    o.pacing = false;
    o.fault.kind = FaultKind::Silence;
    o.fault.command = 0x01;
    o.fault.count = 1;
    Start(o);
    Port port(server->LinkPath());
    ASSERT_TRUE(port.ok());
    port.Send(Request(0x01));
    EXPECT_TRUE(port.Receive(1, 300).empty());
    port.Send(Request(0x06));  // not filtered
    EXPECT_EQ(port.Receive(31, 2000).size(), 31u);
    port.Send(Request(0x01));  // the count is used up
    EXPECT_EQ(port.Receive(115, 2000).size(), 115u);
    EXPECT_NE(Log().find("0x01 serial fault silence"), std::string::npos);
}

TEST_F(sim_SerialServer, SplitFaultPausesLongerThanTheProgramWaits) {
    ServerOptions o;
    o.pacing = false;
    o.fault.kind = FaultKind::Split;
    o.fault.parameter = 300;
    Start(o);
    Port port(server->LinkPath());
    ASSERT_TRUE(port.ok());
    Arrivals arrivals;
    int64_t sent = 0;
    const Bytes reply = TimedInfoQuery(port, 3000, &sent, &arrivals);
    ASSERT_EQ(reply.size(), 115u);
    EXPECT_TRUE(simtest::IsFullReply(reply));
    // The first 57 bytes go at once; no byte of the rest may come before the pause is over,
    // which is longer than the 150 ms a reader waits for more.
    ASSERT_FALSE(arrivals.empty());
    size_t firstLateChunk = arrivals.size();
    for (size_t i = 0; i < arrivals.size(); ++i) {
        const size_t end = i + 1 < arrivals.size() ? arrivals[i + 1].first : reply.size();
        if (end > 57) {
            firstLateChunk = i;
            break;
        }
    }
    ASSERT_LT(firstLateChunk, arrivals.size());
    EXPECT_GE(arrivals[firstLateChunk].second - sent, 290);
}

TEST_F(sim_SerialServer, StopRemovesTheLinkAndTheStateIsReadableWhileRunning) {
    ServerOptions o;
    o.pacing = false;
    Start(o);
    const std::string link = server->LinkPath();
    {
        Port port(link);
        ASSERT_TRUE(port.ok());
        port.Send({0x3C, 0x00, 0x1D, 0x00, 0x02, 0x5B, 0x3E});
        EXPECT_EQ(port.Receive(7, 2000).size(), 7u);
    }
    EXPECT_EQ(server->State().workState, 0);
    server->Stop();
    struct stat st {};
    EXPECT_NE(lstat(link.c_str(), &st), 0);
}

TEST_F(sim_SerialServer, AStaleLinkIsReplaced) {
    ASSERT_EQ(symlink("/dev/null", (folder.path() + "/COM3").c_str()), 0);
    ServerOptions o;
    o.pacing = false;
    Start(o);
    char target[256] = {};
    ASSERT_GT(readlink(server->LinkPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(server->DevicePath(), target);
}

}  // namespace
