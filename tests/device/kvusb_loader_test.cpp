// Loading the USB access library: the file tried, the messages, and an API that stays empty
// unless every entry point was found.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/text_codec.h"
#include "device/kvusb_loader.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::ScopedEnv;

bool Empty(const KvusbApi& api) {
    return api.findDevice == nullptr && api.sendHWriteData == nullptr && api.sendHReadData == nullptr &&
           api.closeDevice == nullptr && !api.Available();
}

// An API that looks loaded, to show that a failed load empties it.
KvusbApi Stale() {
    KvusbApi api;
    api.findDevice = reinterpret_cast<FindDeviceFn>(1);
    api.sendHWriteData = reinterpret_cast<SendHWriteDataFn>(1);
    api.sendHReadData = reinterpret_cast<SendHReadDataFn>(1);
    return api;
}

TEST(KvusbLoader, TheOverrideNamesTheFileElseTheExecutableFolder) {
    {
        ScopedEnv env("VELORIN_KVUSB", nullptr);
        EXPECT_EQ(KvusbLibraryPath("/opt/velorin/bin"), "/opt/velorin/bin/libkvusb.so");
    }
    {
        ScopedEnv env("VELORIN_KVUSB", "");
        EXPECT_EQ(KvusbLibraryPath("/opt/velorin/bin"), "/opt/velorin/bin/libkvusb.so");
    }
    ScopedEnv env("VELORIN_KVUSB", "/tmp/other.so");
    EXPECT_EQ(KvusbLibraryPath("/opt/velorin/bin"), "/tmp/other.so");
}

TEST(KvusbLoader, AMissingFileIsNamedInTheMessage) {
    test::TempDir dir;
    const std::string path = dir.Path() + "/libkvusb-missing.so";
    ScopedEnv env("VELORIN_KVUSB", path);
    KvusbApi api = Stale();
    const KvusbLoadResult r = LoadKvusb("/nowhere", api);
    EXPECT_EQ(r.status, KvusbLoadStatus::LibraryMissing);
    EXPECT_EQ(r.path, path);
    EXPECT_EQ(r.message, "Failed to load " + path);
    EXPECT_FALSE(r.detail.empty());
    EXPECT_TRUE(Empty(api));
}

// The message is GBK like every message: a folder named in Chinese reads the same once shown.
TEST(KvusbLoader, APathOutsideAsciiIsNamedInTheMessagesCodePage) {
    test::TempDir dir;
    const std::string path = dir.Path() + "/数据/libkvusb.so";
    ScopedEnv env("VELORIN_KVUSB", path);
    KvusbApi api;
    const KvusbLoadResult r = LoadKvusb("/nowhere", api);
    EXPECT_EQ(r.status, KvusbLoadStatus::LibraryMissing);
    EXPECT_EQ(r.path, path);
    EXPECT_EQ(r.message, "Failed to load " + dir.Path() + "/\xCA\xFD\xBE\xDD/libkvusb.so");
    EXPECT_EQ(GbkToUtf8(r.message), "Failed to load " + path);
}

TEST(KvusbLoader, ALibraryWithoutAllEntryPointsLeavesTheApiEmpty) {
    const std::string path = VELORIN_TEST_KVUSB_FIND_ONLY;
    ScopedEnv env("VELORIN_KVUSB", path);
    KvusbApi api = Stale();
    const KvusbLoadResult r = LoadKvusb("/nowhere", api);
    EXPECT_EQ(r.status, KvusbLoadStatus::ApiMissing);
    EXPECT_EQ(r.path, path);
    EXPECT_EQ(r.message, "Failed to load dll api (" + path + ")");
    EXPECT_TRUE(Empty(api));
}

TEST(KvusbLoader, ACompleteLibraryIsCallable) {
    ScopedEnv env("VELORIN_KVUSB", VELORIN_TEST_KVUSB_COMPLETE);
    KvusbApi api;
    const KvusbLoadResult r = LoadKvusb("/nowhere", api);
    ASSERT_EQ(r.status, KvusbLoadStatus::Loaded);
    EXPECT_TRUE(r.message.empty());
    ASSERT_TRUE(api.Available());
    EXPECT_EQ(api.closeDevice, nullptr);  // optional, and this library has none
    EXPECT_EQ(api.findDevice(L"tavmok", L"4826vomu-pWren", 0), reinterpret_cast<KvusbHandle>(0x4B56));
    unsigned char report[64] = {};
    EXPECT_EQ(api.sendHWriteData(nullptr, 0xED, report, 64, 0x1D0000), 64);
}

TEST(KvusbLoader, ExecutableFolderIsWhereThisTestRuns) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_EQ(folder, std::filesystem::canonical(VELORIN_TEST_BINARY_DIR).string());
}

}  // namespace
}  // namespace velorin
