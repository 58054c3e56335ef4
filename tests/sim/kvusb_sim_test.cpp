// libkvusb-sim, loaded like the program loads its USB library, against an in-process server;
// and libkvusb's argument checks on a machine without the logger.
#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "civil_time.h"
#include "kvusb.h"
#include "kvusb_sim_wire.h"
#include "server.h"
#include "sim_test_support.h"

namespace {

using simtest::Bytes;
using namespace velorin::sim;

const wchar_t kManufacturer[] = L"tavmok";
const wchar_t kProduct[] = L"4826vomu-pWren";

int64_t NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

struct Library {
    explicit Library(const char* file) {
        const char* dir = std::getenv("VELORIN_BIN_DIR");
        const std::string path = std::string(dir != nullptr ? dir : ".") + "/" + file;
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return;
        find = reinterpret_cast<FindDeviceFn>(dlsym(handle, "FindDevice"));
        write = reinterpret_cast<SendHWriteDataFn>(dlsym(handle, "SendHWriteData"));
        read = reinterpret_cast<SendHReadDataFn>(dlsym(handle, "SendHReadData"));
        closeDevice = reinterpret_cast<CloseDeviceFn>(dlsym(handle, "CloseDevice"));
    }
    ~Library() {
        if (handle != nullptr) dlclose(handle);
    }
    bool ok() const { return find && write && read && closeDevice; }

    void* handle = nullptr;
    FindDeviceFn find = nullptr;
    SendHWriteDataFn write = nullptr;
    SendHReadDataFn read = nullptr;
    CloseDeviceFn closeDevice = nullptr;
};

class sim_UsbLink : public ::testing::Test {
protected:
    void SetUp() override {
        socketPath = folder.path() + "/kvusb.sock";
        setenv("VELORIN_KVUSB_SOCKET", socketPath.c_str(), 1);
        ASSERT_TRUE(lib.ok()) << dlerror();
    }
    void TearDown() override { unsetenv("VELORIN_KVUSB_SOCKET"); }

    void Start(bool plugged = true, const FaultPlan& fault = FaultPlan()) {
        ServerOptions o;
        o.portFolder = folder.path();
        o.serial = false;
        o.socketPath = socketPath;
        o.usbPlugged = plugged;
        o.fault = fault;
        server = std::make_unique<LoggerServer>(DefaultLoggerState(HostNowCivil()), o);
        std::string error;
        ASSERT_TRUE(server->Start(&error)) << error;
    }

    simtest::TempFolder folder;
    std::string socketPath;
    Library lib{"libkvusb-sim.so"};
    std::unique_ptr<LoggerServer> server;
};

TEST_F(sim_UsbLink, ReadsTheInformationBlockAndIdentity) {
    Start();
    KvusbHandle h = lib.find(kManufacturer, kProduct, 0);
    ASSERT_NE(h, nullptr);
    uint8_t part0[64] = {};
    uint8_t part1[64] = {};
    ASSERT_NE(lib.read(h, KVUSB_SELECTOR_READ, part0, 64, 0x01u << 16), 0);
    ASSERT_NE(lib.read(h, KVUSB_SELECTOR_READ, part1, 64, (0x01u << 16) | (1u << 8)), 0);
    EXPECT_EQ(part0[0], 63);
    EXPECT_EQ(0, std::memcmp(part0 + 1, "Velorin demo", 12));
    Bytes block(part0 + 1, part0 + 1 + part0[0]);
    block.insert(block.end(), part1 + 1, part1 + 1 + part1[0]);
    ASSERT_GE(block.size(), 103u);
    EXPECT_EQ(simtest::U32(block.data() + 99), 1000u);

    uint8_t identity[64] = {};
    ASSERT_NE(lib.read(h, KVUSB_SELECTOR_READ, identity, 64, 0x06u << 16), 0);
    EXPECT_EQ(0, std::memcmp(identity + 1, "VLR-T810", 8));

    uint8_t small[8] = {};  // a shorter buffer takes only its length
    ASSERT_NE(lib.read(h, KVUSB_SELECTOR_READ, small, 8, 0x06u << 16), 0);
    EXPECT_EQ(0, std::memcmp(small + 1, "VLR-T81", 7));
    lib.closeDevice(h);
}

TEST_F(sim_UsbLink, WritesChangeTheLoggerAndUnknownRequestsFail) {
    Start();
    KvusbHandle h = lib.find(kManufacturer, kProduct, 0);
    ASSERT_NE(h, nullptr);
    uint8_t stop[64] = {0x3C, 0x00, 0x1D, 0x00, 0x02, 0x5B, 0x3E};
    EXPECT_NE(lib.write(h, KVUSB_SELECTOR_WRITE, stop, 64, 0x1Du << 16), 0);
    EXPECT_EQ(server->State().workState, 0);
    uint8_t report[64] = {};
    EXPECT_EQ(lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x42u << 16), 0);
    // A refused request leaves the connection usable.
    EXPECT_NE(lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x19u << 16), 0);
    EXPECT_EQ(report[2], 0x19);
    lib.closeDevice(h);
}

TEST_F(sim_UsbLink, ArgumentsAreChecked) {
    Start();
    uint8_t report[64] = {};
    EXPECT_EQ(lib.find(nullptr, kProduct, 0), nullptr);
    EXPECT_EQ(lib.read(nullptr, KVUSB_SELECTOR_READ, report, 64, 0x01u << 16), 0);
    KvusbHandle h = lib.find(kManufacturer, kProduct, 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(lib.read(h, KVUSB_SELECTOR_READ, nullptr, 64, 0x01u << 16), 0);
    EXPECT_EQ(lib.read(h, KVUSB_SELECTOR_READ, report, 0, 0x01u << 16), 0);
    EXPECT_EQ(lib.read(h, KVUSB_SELECTOR_READ, report, 65, 0x01u << 16), 0);
    EXPECT_EQ(lib.write(h, KVUSB_SELECTOR_WRITE, report, -1, 0x1Du << 16), 0);
    lib.closeDevice(h);
    lib.closeDevice(nullptr);
    lib.closeDevice(reinterpret_cast<KvusbHandle>(~static_cast<uintptr_t>(0)));
}

TEST_F(sim_UsbLink, OtherStringsOrAnUnpluggedDeviceAreNotFound) {
    Start(false);
    EXPECT_EQ(lib.find(kManufacturer, kProduct, 0), nullptr);
    server->SetUsbPlugged(true);
    EXPECT_EQ(lib.find(L"tavmok", L"another", 0), nullptr);
    KvusbHandle h = lib.find(kManufacturer, kProduct, 0);
    ASSERT_NE(h, nullptr);
    server->SetUsbPlugged(false);
    uint8_t report[64] = {};
    EXPECT_EQ(lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x06u << 16), 0);
    lib.closeDevice(h);
}

TEST_F(sim_UsbLink, NoSimulatorOrAStoppedOneFailsPromptly) {
    EXPECT_EQ(lib.find(kManufacturer, kProduct, 0), nullptr);  // nothing listening
    Start();
    KvusbHandle h = lib.find(kManufacturer, kProduct, 0);
    ASSERT_NE(h, nullptr);
    server->Stop();
    const int64_t before = NowMs();
    uint8_t report[64] = {};
    EXPECT_EQ(lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x01u << 16), 0);
    EXPECT_EQ(lib.write(h, KVUSB_SELECTOR_WRITE, report, 64, 0x1Du << 16), 0);
    EXPECT_LT(NowMs() - before, KVUSB_SIM_TIMEOUT_MS + 500);
    lib.closeDevice(h);
}

TEST_F(sim_UsbLink, ASilentPeerCostsOneTimeoutNotAHang) {
    // A socket that accepts and never answers.
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socketPath.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    const int64_t before = NowMs();
    EXPECT_EQ(lib.find(kManufacturer, kProduct, 0), nullptr);
    const int64_t took = NowMs() - before;
    EXPECT_GE(took, KVUSB_SIM_TIMEOUT_MS - 100);
    EXPECT_LT(took, KVUSB_SIM_TIMEOUT_MS + 1500);
    close(listener);
}

TEST_F(sim_UsbLink, SilenceAndLateFaultsOnTheUsbLink) {
    FaultPlan silence;
    silence.kind = FaultKind::Silence;
    silence.command = 0x06;
    silence.count = 1;
    Start(true, silence);
    KvusbHandle h = lib.find(kManufacturer, kProduct, 0);
    ASSERT_NE(h, nullptr);
    uint8_t report[64] = {};
    EXPECT_EQ(lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x06u << 16), 0);
    EXPECT_NE(lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x06u << 16), 0);

    FaultPlan late;
    late.kind = FaultKind::Late;
    late.parameter = 200;
    server->SetFaultPlan(late);
    const int64_t before = NowMs();
    EXPECT_NE(lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x06u << 16), 0);
    EXPECT_GE(NowMs() - before, 190);
    lib.closeDevice(h);
}

TEST_F(sim_UsbLink, TwoHandlesOnTwoThreads) {
    Start();
    auto worker = [this](int* failures) {
        KvusbHandle h = lib.find(kManufacturer, kProduct, 0);
        if (h == nullptr) {
            *failures = 1000;
            return;
        }
        for (int i = 0; i < 200; ++i) {
            uint8_t report[64] = {};
            if (lib.read(h, KVUSB_SELECTOR_READ, report, 64, 0x06u << 16) == 0 ||
                std::memcmp(report + 1, "VLR-T810", 8) != 0) {
                ++*failures;
            }
        }
        lib.closeDevice(h);
    };
    int failuresA = 0;
    int failuresB = 0;
    std::thread a(worker, &failuresA);
    std::thread b(worker, &failuresB);
    a.join();
    b.join();
    EXPECT_EQ(failuresA, 0);
    EXPECT_EQ(failuresB, 0);
}

TEST(sim_UsbHidapi, NoLoggerAttachedMeansNoHandleAndCheckedArguments) {
    Library lib("libkvusb.so");
    ASSERT_TRUE(lib.ok()) << dlerror();
    EXPECT_EQ(lib.find(L"tavmok", L"no such product on this machine", 0), nullptr);
    EXPECT_EQ(lib.find(nullptr, nullptr, 0), nullptr);
    uint8_t report[64] = {};
    EXPECT_EQ(lib.read(nullptr, KVUSB_SELECTOR_READ, report, 64, 0x01u << 16), 0);
    EXPECT_EQ(lib.write(nullptr, KVUSB_SELECTOR_WRITE, report, 64, 0x1Du << 16), 0);
    lib.closeDevice(nullptr);
}

TEST(sim_UsbHidapi, TheSimLibraryKeepsItsLinkedProtocolCodeHidden) {
    Library lib("libkvusb-sim.so");
    ASSERT_TRUE(lib.ok()) << dlerror();
    // velorin::PortFolder() is linked in statically; a second copy exported from the library
    // could be bound in place of the program's own.
    EXPECT_EQ(dlsym(lib.handle, "_ZN7velorin10PortFolderB5cxx11Ev"), nullptr);
}

}  // namespace
