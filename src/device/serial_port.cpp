#include "device/serial_port.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "common/texts.h"
#include "common/user_messages.h"
#include "device/port_folder.h"

namespace velorin {

namespace {

struct DeviceFamily {
    const char* prefix;  // device name without /dev/
    int firstPort;       // port number of unit 0
};
constexpr DeviceFamily kFamilies[] = {{"ttyS", 1}, {"ttyUSB", 33}, {"ttyACM", 65}};
constexpr int kUnitsPerFamily = 32;

bool ParseUnsigned(const std::string& text, int& value) {
    if (text.empty() || text.size() > 6) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

std::string ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::vector<std::string> DirectoryEntries(const std::string& folder, bool& readable) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    readable = dir != nullptr;
    if (dir == nullptr) return names;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    }
    closedir(dir);
    return names;
}

speed_t BaudConstant(int baud) {
    switch (baud) {
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 230400: return B230400;
        case 460800: return B460800;
        case 921600: return B921600;
        default: return B115200;
    }
}

}  // namespace

int DefaultPortNumber(const std::string& deviceName) {
    std::string name = deviceName;
    if (name.rfind("/dev/", 0) == 0) name = name.substr(5);
    for (const DeviceFamily& f : kFamilies) {
        const size_t len = std::strlen(f.prefix);
        int unit = 0;
        if (name.compare(0, len, f.prefix) == 0 && ParseUnsigned(name.substr(len), unit) && unit < kUnitsPerFamily) {
            return f.firstPort + unit;
        }
    }
    return 0;
}

std::string SerialDevicePath(int port) {
    if (port <= 0) return std::string();
    const std::string link = PortFolder() + "/COM" + std::to_string(port);
    struct stat st;
    if (lstat(link.c_str(), &st) == 0) return link;
    for (const DeviceFamily& f : kFamilies) {
        if (port >= f.firstPort && port < f.firstPort + kUnitsPerFamily) {
            return std::string("/dev/") + f.prefix + std::to_string(port - f.firstPort);
        }
    }
    return std::string();
}

std::vector<int> SerialPortList(const std::string& portFolder, const std::string& sysClassTty) {
    std::vector<int> ports;
    auto add = [&ports](int n) {
        if (n > 0 && ports.size() < kMaxPortListEntries && std::find(ports.begin(), ports.end(), n) == ports.end()) {
            ports.push_back(n);
        }
    };

    bool readable = false;
    std::vector<int> linked;
    for (const std::string& name : DirectoryEntries(portFolder, readable)) {
        int n = 0;
        if (name.rfind("COM", 0) == 0 && ParseUnsigned(name.substr(3), n)) linked.push_back(n);
    }
    std::sort(linked.begin(), linked.end());
    for (int n : linked) add(n);

    std::vector<std::string> ttys = DirectoryEntries(sysClassTty, readable);
    if (!readable) {
        for (int n = 1; n <= 19; ++n) add(n);
        return ports;
    }
    std::vector<int> found;
    for (const std::string& name : ttys) {
        const int n = DefaultPortNumber(name);
        if (n == 0) continue;
        const std::string base = sysClassTty + "/" + name;
        struct stat st;
        if (lstat((base + "/device").c_str(), &st) != 0) continue;
        // A legacy serial port without a UART reports type 0; the system console is not a logger.
        if (name.rfind("ttyS", 0) == 0 && ReadFirstLine(base + "/type") == "0") continue;
        if (ReadFirstLine(base + "/console") == "Y") continue;
        found.push_back(n);
    }
    std::sort(found.begin(), found.end());
    for (int n : found) add(n);
    return ports;
}

std::vector<int> SerialPortList() { return SerialPortList(PortFolder(), "/sys/class/tty"); }

CSerialPort::~CSerialPort() { ClosePort(); }

bool CSerialPort::OpenPort(int port, int baud, char parity, int dataBits, int stopBits) {
    return OpenDevice(SerialDevicePath(port), port, baud, parity, dataBits, stopBits);
}

bool CSerialPort::OpenDevice(const std::string& path, int port, int baud, char parity, int dataBits, int stopBits) {
    ClosePort();
    portNumber_ = port;
    lastOpenError_ = 0;
    if (path.empty()) {
        lastOpenError_ = ENOENT;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastOpenError_ = errno;
        return false;
    }
    if (!isatty(fd)) {  // not a serial line at all: as if the port did not exist
        lastOpenError_ = ENOTTY;
        ::close(fd);
        return false;
    }
    // Exclusive use, as the port is not shared with other programs.
    if (ioctl(fd, TIOCEXCL) != 0) {
        lastOpenError_ = errno;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    struct termios settings;
    if (tcgetattr(fd_, &settings) != 0) {
        ReportCommError("GetCommState()");
        return false;
    }
    cfmakeraw(&settings);  // binary mode: no line editing, no translation, no echo
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~CRTSCTS;  // RTS is simply held on
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ApplyLineSettings(baud, parity, dataBits, stopBits, settings);
    if (tcsetattr(fd_, TCSANOW, &settings) != 0) {
        ReportCommError("SetCommState()");
        return false;
    }
    tcflush(fd_, TCIOFLUSH);
    return true;
}

bool CSerialPort::ApplyLineSettings(int baud, char parity, int dataBits, int stopBits, struct termios& settings) {
    cfsetispeed(&settings, BaudConstant(baud));
    cfsetospeed(&settings, BaudConstant(baud));
    settings.c_cflag &= ~(PARENB | PARODD | CMSPAR | CSTOPB | CSIZE);
    settings.c_iflag &= ~INPCK;
    switch (parity) {
        case 'E':
        case 'e': settings.c_cflag |= PARENB; break;
        case 'O':
        case 'o': settings.c_cflag |= PARENB | PARODD; break;
        case 'M':
        case 'm': settings.c_cflag |= PARENB | CMSPAR | PARODD; break;
        case 'S':
        case 's': settings.c_cflag |= PARENB | CMSPAR; break;
        default: break;
    }
    if (settings.c_cflag & PARENB) settings.c_iflag |= INPCK;
    switch (dataBits) {
        case 5: settings.c_cflag |= CS5; break;
        case 6: settings.c_cflag |= CS6; break;
        case 7: settings.c_cflag |= CS7; break;
        default: settings.c_cflag |= CS8; break;
    }
    if (stopBits == 2) settings.c_cflag |= CSTOPB;
    return true;
}

void CSerialPort::ClosePort() {
    if (fd_ >= 0) {
        // The exclusive flag belongs to the tty, not to this descriptor: when another process
        // keeps the device open (a simulator, a modem manager) it would outlive the close and
        // lock every later open out.
        ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }
}

void CSerialPort::PurgeInput() {
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

int CSerialPort::BytesWaiting() {
    if (fd_ < 0) return 0;
    int count = 0;
    if (ioctl(fd_, FIONREAD, &count) != 0 || count < 0) return 0;
    return count;
}

int CSerialPort::ReadAvailable(uint8_t* buffer, int wanted) {
    if (fd_ < 0 || buffer == nullptr || wanted <= 0) return 0;
    const int queued = BytesWaiting();
    const int n = std::min(wanted, queued);
    if (n <= 0) return 0;
    const ssize_t got = ::read(fd_, buffer, static_cast<size_t>(n));
    return got > 0 ? static_cast<int>(got) : 0;
}

int CSerialPort::WriteBlock(const uint8_t* buffer, int count) {
    if (fd_ < 0 || buffer == nullptr || count <= 0) return 0;
    int written = 0;
    int stalls = 0;
    // Requests are tiny; a full output queue is waited out briefly, never forever.
    while (written < count && stalls < 100) {
        const ssize_t n = ::write(fd_, buffer + written, static_cast<size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            ++stalls;
            usleep(1000);
        } else {
            break;
        }
    }
    return written;
}

void CSerialPort::ReportCommError(const char* operation) {
    const int err = errno;
    char text[512];
    std::snprintf(text, sizeof text, fixed_text::kCommErrorFormat, operation, std::strerror(err), portNumber_);
    if (messages_ != nullptr) {
        messages_->MessageBox(text, fixed_text::kCommErrorCaption, MessageIcon::Error);
    }
}

}  // namespace velorin
