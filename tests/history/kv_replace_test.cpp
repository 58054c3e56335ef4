// Replacing a data file keeps what the file was (its mode), works for the longest names a folder
// allows, and opening anything that is not a regular file never waits.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#include "common/atomic_file.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

RecordSet SmallSet(int records) {
    RecordSet set;
    set.recordCount = records;
    set.records.resize(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i) {
        set.records[static_cast<size_t>(i)].year = 2026;
        set.records[static_cast<size_t>(i)].value[0] = static_cast<float>(i);
    }
    return set;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

size_t EntriesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) n += e.exists();
    return n;
}

TEST(FileReplacement, KeepsTheModeOfTheReplacedFile) {
    test::TempDir dir;
    const std::string kv = dir.MakeFile("private.kv", "old");
    ASSERT_EQ(::chmod(kv.c_str(), 0600), 0);
    ASSERT_TRUE(WriteKvFile(kv, SmallSet(3)).ok);
    EXPECT_EQ(ModeOf(kv), 0600u);

    const std::string csv = dir.MakeFile("shared.csv", "old");
    ASSERT_EQ(::chmod(csv.c_str(), 0664), 0);
    ASSERT_TRUE(WriteFileAtomically(csv, "new"));
    EXPECT_EQ(ModeOf(csv), 0664u);
    EXPECT_EQ(test::ReadFileBytes(csv), "new");

    // A new file gets what an ordinary new file gets: 0666 less the umask.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(dir.Path() + "/fresh.txt", "x"));
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.Path() + "/fresh.txt"), 0644u);
    EXPECT_EQ(EntriesIn(dir.Path()), 3u) << "a temporary file was left behind";
}

TEST(FileReplacement, NamesUpToTheFolderLimitAreWrittenAndReplaced) {
    test::TempDir dir;
    for (size_t length : {245u, 250u, 255u}) {
        const std::string name = std::string(length - 3, 'n') + ".kv";
        const std::string path = dir.Path() + "/" + name;
        ASSERT_TRUE(WriteKvFile(path, SmallSet(1)).ok) << length << "-byte name";
        const KvWriteResult again = WriteKvFile(path, SmallSet(2));
        ASSERT_TRUE(again.ok) << length << "-byte name: " << again.detail;
        RecordSet back;
        ASSERT_TRUE(ReadKvFile(path, back).ok());
        EXPECT_EQ(back.recordCount, 2);
    }
    EXPECT_EQ(EntriesIn(dir.Path()), 3u);
}

TEST(FileReplacement, TemporaryNamesFitAndNeverSplitACharacter) {
    // 84 three-byte characters: 252 bytes; the temporary name must cut whole characters.
    std::string wide;
    for (int i = 0; i < 84; ++i) wide += "\xE6\xB8\xA9";  // 温
    const std::string temporary = TemporaryNameFor("/tmp/" + wide, "abcdef");
    const std::string name = temporary.substr(5);
    EXPECT_LE(name.size(), 255u);
    EXPECT_EQ(name.substr(name.size() - 11), ".tmp-abcdef");
    EXPECT_EQ((name.size() - 11) % 3, 0u) << "a character was split";
    EXPECT_EQ(TemporaryNameFor("short.kv", "abcdef"), "short.kv.tmp-abcdef");
}

// Opens `path` on another thread; a read that does not return within the bound is released by
// opening the FIFO for writing, so a failing test ends instead of hanging.
TEST(DataFileOpen, AFifoOrDeviceIsRefusedWithoutWaiting) {
    test::TempDir dir;
    const std::string fifo = dir.Path() + "/pipe.kv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RecordSet target = SmallSet(4);
    auto reading = std::async(std::launch::async, [&] { return ReadKvFile(fifo, target); });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
        reading.wait();
        FAIL() << "opening a FIFO waited for a writer";
    }
    const KvReadResult r = reading.get();
    EXPECT_EQ(r.error, KvReadError::CannotOpen);
    EXPECT_NE(r.detail.find("not a regular file"), std::string::npos);
    EXPECT_EQ(target.recordCount, 4) << "the data set was touched";

    const KvReadResult device = ReadKvFile("/dev/null", target);
    EXPECT_EQ(device.error, KvReadError::CannotOpen);
}

}  // namespace
}  // namespace velorin
