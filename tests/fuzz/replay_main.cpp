// Replays the kept fuzz inputs through a fuzz target built with the normal compiler, so every
// test run exercises them (the fuzzing itself needs clang and runs apart: scripts/fuzz.sh).
//
//   <target>_replay FOLDER...   runs every regular file of each folder through the target once
//
// A target aborts on a finding; the replay then dies with it and the test fails. Exit 1 when a
// folder holds no input at all, so a lost seed folder cannot pass unnoticed.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    size_t inputs = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], error)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++inputs;
        }
        if (error) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
    }
    std::printf("%zu inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
