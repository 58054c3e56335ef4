// Small fixtures for tests that touch the file system or the environment.
//
//   TempDir dir;                      // a fresh folder under $TMPDIR (or /tmp), removed with
//   dir.Path();                       //   everything in it when `dir` goes out of scope
//   dir.MakeFile("a/b", "text");      // creates parent folders as needed; returns the full path
//   dir.MakeLink("COM3", "/dev/x");   // symbolic link (the target need not exist)
//   dir.MakeDir("sys/ttyS0");
//
//   ScopedEnv env("VELORIN_PORT_DIR", dir.Path());  // set (or unset with nullptr) until scope end
#pragma once

#include <optional>
#include <string>

namespace velorin::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string MakeDir(const std::string& relative) const;
    std::string MakeFile(const std::string& relative, const std::string& content) const;
    std::string MakeLink(const std::string& relative, const std::string& target) const;

private:
    std::string path_;
};

// The whole content of a file (empty when it cannot be read), and whether a path exists.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);  // value nullptr: unset
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace velorin::test
