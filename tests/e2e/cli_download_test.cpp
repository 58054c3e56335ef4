// velorin-cli download against the simulated logger: the default route into xData next to the
// program (a private copy of the program, so each test has its own folder) with its CSV copy,
// the chosen path, the fallback folder, a download that fails part-way, a count that never
// comes, Ctrl-C during the download and wrong arguments.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/text_codec.h"
#include "e2e/e2e_fixture.h"
#include "history/kv_file.h"
#include "history/record_set.h"

namespace velorin::e2e {
namespace {

using velorin::test::FileExists;
using velorin::test::ReadFileBytes;

class CliDownload : public CliAgainstSimulator {
protected:
    void SetUp() override {
        program_ = programDir_.Path() + "/velorin-cli";
        std::ifstream from(BinDir() + "/velorin-cli", std::ios::binary);
        std::ofstream to(program_, std::ios::binary);
        to << from.rdbuf();
        to.close();
        ASSERT_EQ(chmod(program_.c_str(), 0755), 0);
    }

    std::vector<std::string> Env(std::vector<std::string> extra = {}) const {
        extra.push_back("VELORIN_PORT_DIR=" + dir_.Path());
        extra.push_back("VELORIN_KVUSB=" + BinDir() + "/libkvusb-sim.so");
        extra.push_back("XDG_DATA_HOME=" + programDir_.Path() + "/xdg");
        return extra;
    }
    // The private copy, so that its xData folder is this test's.
    RunResult Download(const std::vector<std::string>& args, std::vector<std::string> env = {}) {
        std::vector<std::string> all = {"download"};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(program_, all, Env(std::move(env)), Workdir());
    }
    std::string XData() const { return programDir_.Path() + "/xData"; }

    RecordSet Read(const std::string& path) {
        RecordSet set;
        const KvReadResult r = ReadKvFile(path, set);
        EXPECT_TRUE(r.ok()) << path << ": " << r.detail;
        return set;
    }

    velorin::test::TempDir programDir_;
    std::string program_;
};

TEST_F(CliDownload, SerialDownloadStoresTheDataFileAndItsCsvCopy) {
    StartSimulator();
    const RunResult r = Download({"--port", "3", "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string kv = XData() + "/20261209.kv";
    EXPECT_EQ(r.out, kv + "\n" + kv + ".csv\n");
    const RecordSet set = Read(kv);
    EXPECT_EQ(set.recordCount, 1000);
    EXPECT_EQ(QuantityTextOf(set, 0), "TEMP");
    EXPECT_EQ(set.records[0].year, 26);  // the recording started 2026-01-02 03:04:05
    EXPECT_EQ(set.records[0].month, 1);
    EXPECT_EQ(set.records[0].day, 2);
    EXPECT_EQ(set.records[999].hour, 19);  // 999 minutes later: 2026-01-02 19:43:05
    EXPECT_EQ(set.records[999].minute, 43);
    const std::string csv = ReadFileBytes(kv + ".csv");
    EXPECT_NE(csv.find("Record times:1000\r\n"), std::string::npos);
    EXPECT_EQ(Logged("0x1a"), 3u);
}

TEST_F(CliDownload, UsbDownloadToAChosenFile) {
    StartSimulator();
    const std::string target = Workdir() + "/mine";
    const RunResult r = Download({"--hid", "-o", target, "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, target + ".kv\n");
    const RecordSet set = Read(target + ".kv");
    EXPECT_EQ(set.recordCount, 1000);
    EXPECT_EQ(GbkToUtf8(QuantityTextOf(set, 0)), "温度") << "Chinese names on the chosen path";
    EXPECT_FALSE(FileExists(target + ".kv.csv"));
    EXPECT_FALSE(FileExists(XData()));
}

TEST_F(CliDownload, AnUnwritableTargetFailsBeforeTheFirstRequest) {
    StartSimulator();
    for (const std::string& target : {Workdir() + "/no/such/folder/x.kv", Workdir() + "/folder.kv"}) {
        if (target.find("folder.kv") != std::string::npos) {
            ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
        }
        const RunResult r = Download({"--port", "3", "-o", target, "--lang", "en"});
        EXPECT_EQ(r.exitCode, 2) << target;
        EXPECT_NE(r.err.find("cannot write " + target), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(ReadLines(LogPath()).empty()) << "the logger was asked something";
}

TEST_F(CliDownload, UnwritableProgramFolderStoresInTheUserDataFolder) {
    StartSimulator();
    { std::ofstream(XData()) << "in the way"; }
    const RunResult r = Download({"--hid", "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string folder = programDir_.Path() + "/xdg/Velorin/xData";
    EXPECT_EQ(r.out, folder + "/20261209.kv\n" + folder + "/20261209.kv.csv\n");
    EXPECT_NE(r.err.find(folder), std::string::npos) << r.err;
    EXPECT_EQ(Read(folder + "/20261209.kv").recordCount, 1000);
}

// The terminal names the folder as it is called, in whichever language the texts around it are.
TEST_F(CliDownload, AUserDataFolderNamedInChineseIsNamedAsItIs) {
    StartSimulator();
    { std::ofstream(XData()) << "in the way"; }
    const std::string xdg = programDir_.Path() + "/数据";
    std::vector<std::string> env = Env();
    env.push_back("XDG_DATA_HOME=" + xdg);  // after Env()'s own, so this one counts
    const RunResult r = RunProgram(program_, {"download", "--hid", "--lang", "zh"}, env, Workdir());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string folder = xdg + "/Velorin/xData";
    EXPECT_EQ(r.out, folder + "/20261209.kv\n" + folder + "/20261209.kv.csv\n");
    EXPECT_NE(r.err.find(folder), std::string::npos) << r.err;
}

TEST_F(CliDownload, ADownloadFailingPartWayStoresWhatArrivedAndFails) {
    StartSimulator({"--fault", "drop-after", "--fault-arg", "2"});
    const RunResult r = Download({"--hid", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("历史数据下载失败!"), std::string::npos) << r.err;
    EXPECT_EQ(Read(XData() + "/20261209.kv").recordCount, 6) << "two USB blocks of three records";
}

TEST_F(CliDownload, NoBlockCountStoresNothing) {
    StartSimulator({"--fault", "silence", "--fault-cmd", "0x19"});
    const RunResult r = Download({"--hid"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("历史数据下载失败了!"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(FileExists(XData() + "/20261209.kv"));
    EXPECT_EQ(Logged("0x1a"), 0u);
}

TEST_F(CliDownload, ACountButNoValidBlockKeepsTheEarlierFile) {
    StartSimulator({"--fault", "silence", "--fault-cmd", "0x1a"});
    const std::string target = Workdir() + "/kept.kv";
    RecordSet good;
    good.records.resize(2);
    good.recordCount = 2;
    good.channelEnabled[0] = 1;
    ASSERT_TRUE(WriteKvFile(target, good).ok);
    const std::string bytes = ReadFileBytes(target);
    const RunResult r = Download({"--hid", "-o", target, "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("历史数据下载失败!"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("velorin-cli download: Nothing stored"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFileBytes(target), bytes);
    EXPECT_GE(Logged("0x1a"), 10u);
}

TEST_F(CliDownload, APartialDownloadIsStoredBesideTheCompleteOne) {
    StartSimulator({"--fault", "drop-after", "--fault-arg", "2"});
    ASSERT_EQ(mkdir(XData().c_str(), 0755), 0);
    const std::string complete = XData() + "/20261209.kv";
    RecordSet good;
    good.records.resize(1000);
    good.recordCount = 1000;
    good.channelEnabled[0] = 1;
    ASSERT_TRUE(WriteKvFile(complete, good).ok);
    const std::string bytes = ReadFileBytes(complete);
    const RunResult r = Download({"--hid", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(ReadFileBytes(complete), bytes) << "the complete download is kept";
    const std::string prefix = XData() + "/20261209-partial-";
    ASSERT_EQ(r.out.rfind(prefix, 0), 0u) << r.out;
    const std::string partial = r.out.substr(0, r.out.find('\n'));
    EXPECT_EQ(Read(partial).recordCount, 6);
    EXPECT_NE(r.out.find(partial + ".csv\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("the earlier file " + complete + " was kept"), std::string::npos) << r.err;
}

TEST_F(CliDownload, ChannelsSevenAndEightAreNamedAsNotStored) {
    StartSimulator({"--channel", "7:type=0x02,quantity=1,unit=1"});
    const std::string target = Workdir() + "/seven.kv";
    const RunResult r = Download({"--hid", "-o", target, "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("Channels 7 and 8 cannot be stored in a data file"), std::string::npos) << r.err;
    const RecordSet set = Read(target);
    EXPECT_EQ(set.channelEnabled[6], 0) << "not recorded, rather than zeros";
    EXPECT_EQ(set.channelEnabled[0], 1);
}

TEST_F(CliDownload, CtrlCCancelsBeforeTheNextBlockAndStoresNothing) {
    StartSimulator({"--records", "3000"});  // eight serial blocks of about 0.8 s each
    const std::string errPath = Workdir() + "/stderr.txt";
    std::vector<std::string> env = Env();
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(err, 2);
        for (std::string& e : env) putenv(e.data());
        if (chdir(Workdir().c_str()) != 0) _exit(126);
        execl(program_.c_str(), program_.c_str(), "download", "--port", "3", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    // Interrupt once the first block has been asked for.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Logged("0x1a") == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(Logged("0x1a"), 1u);
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal instead of cancelling";
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(ReadFileBytes(errPath).find("cancelled"), std::string::npos) << ReadFileBytes(errPath);
    EXPECT_LE(Logged("0x1a"), 2u) << "no block requested after the cancel was seen";
    EXPECT_FALSE(FileExists(XData()));
}

TEST_F(CliDownload, WrongArgumentsAreAUsageError) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--bogus"}, {"extra"}, {"--port", "3", "--hid"}, {"-o"}, {"--lang", "fr"}}) {
        const RunResult r = Download(args);
        EXPECT_EQ(r.exitCode, 1) << args[0];
        EXPECT_NE(r.err.find("usage: velorin-cli download"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace velorin::e2e
