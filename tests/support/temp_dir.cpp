#include "support/temp_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace velorin::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/velorin-test-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempDir::MakeDir(const std::string& relative) const {
    const std::string full = path_ + "/" + relative;
    std::error_code ignored;
    fs::create_directories(full, ignored);
    return full;
}

std::string TempDir::MakeFile(const std::string& relative, const std::string& content) const {
    const fs::path full = fs::path(path_) / relative;
    std::error_code ignored;
    fs::create_directories(full.parent_path(), ignored);
    std::ofstream(full, std::ios::binary) << content;
    return full.string();
}

std::string TempDir::MakeLink(const std::string& relative, const std::string& target) const {
    const fs::path full = fs::path(path_) / relative;
    std::error_code ignored;
    fs::create_directories(full.parent_path(), ignored);
    fs::create_symlink(target, full, ignored);
    return full.string();
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = std::string(old);
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (previous_) {
        setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace velorin::test
