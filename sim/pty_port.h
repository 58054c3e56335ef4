// The simulated serial port: a pseudo-terminal whose slave side the program opens through the
// symlink COM<N> in the port folder.
#pragma once

#include <string>

namespace velorin::sim {

class PtyPort {
public:
    PtyPort() = default;
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;
    ~PtyPort();

    // Opens the master (non-blocking, raw) and keeps a slave descriptor of its own, so the master
    // never sees hang-up or EIO when the program closes its side.
    bool Open(std::string* error);
    // Points `linkPath` at the slave; an existing symlink there is replaced, anything else is
    // left alone and reported. The folder is created when missing.
    bool Link(const std::string& linkPath, std::string* error);
    // Removes the link (only if it still points at this slave) and closes both descriptors.
    void Close();

    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

// mkdir -p. True when the folder exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace velorin::sim
