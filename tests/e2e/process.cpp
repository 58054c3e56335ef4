#include "e2e/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace velorin::e2e {

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string Resolve(const std::string& program) {
    return program.find('/') == std::string::npos ? BinDir() + "/" + program : program;
}

// fork + exec with stdout on a pipe and stderr on a pipe (or /dev/null when `errFd` is null);
// the child gets no stdin.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, const std::vector<std::string>& env,
            const std::string& cwd, int& outFd, int* errFd) {
    int out[2], err[2] = {-1, -1};
    if (pipe2(out, O_CLOEXEC) != 0) return -1;
    if (errFd != nullptr && pipe2(err, O_CLOEXEC) != 0) return -1;
    const std::string path = Resolve(program);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        const int devnull = open("/dev/null", O_RDWR);
        dup2(err[1] >= 0 ? err[1] : devnull, 2);
        if (devnull >= 0) dup2(devnull, 0);
        for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    outFd = out[0];
    if (errFd != nullptr) {
        close(err[1]);
        *errFd = err[0];
    }
    return pid;
}

}  // namespace

std::string BinDir() {
    const char* dir = std::getenv("VELORIN_BIN_DIR");
    return dir != nullptr ? dir : ".";
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env, const std::string& cwd, double timeoutSeconds,
                     double interruptSeconds) {
    RunResult result;
    int outFd = -1, errFd = -1;
    const double start = Now();
    const pid_t pid = Spawn(program, args, env, cwd, outFd, &errFd);
    if (pid < 0) return result;
    bool killed = false;
    bool interrupted = interruptSeconds <= 0;
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        double left = timeoutSeconds - (Now() - start);
        if (left <= 0 && !killed) {
            kill(pid, SIGKILL);
            killed = true;
        }
        if (!interrupted) {
            const double untilInterrupt = interruptSeconds - (Now() - start);
            if (untilInterrupt <= 0) {
                kill(pid, SIGINT);
                interrupted = true;
            } else if (untilInterrupt < left) {
                left = untilInterrupt;
            }
        }
        if (poll(fds, 2, killed ? 1000 : static_cast<int>(left * 1000) + 1) < 0) break;
        for (pollfd& f : fds) {
            if (f.fd < 0 || !(f.revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[4096];
            const ssize_t n = read(f.fd, buffer, sizeof buffer);
            if (n > 0) {
                (f.fd == outFd ? result.out : result.err).append(buffer, static_cast<size_t>(n));
            } else {
                close(f.fd);
                f.fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.seconds = Now() - start;
    result.exitCode = (!killed && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    return result;
}

Simulator::Simulator(const std::vector<std::string>& args) {
    pid_ = Spawn("velorin-logger-sim", args, {}, std::string(), out_, nullptr);
    if (pid_ < 0) return;
    // The first line is the device path; wait for it at most 10 s.
    const double start = Now();
    std::string line;
    while (Now() - start < 10 && line.find('\n') == std::string::npos) {
        pollfd f = {out_, POLLIN, 0};
        if (poll(&f, 1, 100) <= 0) continue;
        char c[256];
        const ssize_t n = read(out_, c, sizeof c);
        if (n <= 0) break;
        line.append(c, static_cast<size_t>(n));
    }
    const size_t nl = line.find('\n');
    if (nl != std::string::npos) devicePath_ = line.substr(0, nl);
}

Simulator::~Simulator() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    if (out_ >= 0) close(out_);
}

void Simulator::ToggleUsb() {
    if (pid_ > 0) kill(pid_, SIGUSR1);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace velorin::e2e
