// CSerialPort: one serial line for synchronous, polled use on POSIX termios.
//
// No reader thread and no callbacks: a caller writes a request, polls how many bytes have
// arrived and reads what is there. Not thread-safe: the program uses one instance and only one
// action at a time talks to the logger.
//
// Port numbers: port N is the device behind the symlink COM<N> in the port folder when that
// link exists; otherwise COM1–COM32 are /dev/ttyS0–31, COM33–COM64 /dev/ttyUSB0–31 and
// COM65–COM96 /dev/ttyACM0–31.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct termios;

namespace velorin {

class UserMessages;

// Device path of port number `port`; empty when the number names no device.
std::string SerialDevicePath(int port);

// Port number of a device path in the default numbering (/dev/ttyS3 → 4), 0 when it has none.
int DefaultPortNumber(const std::string& deviceName);

// The ports Connect walks: the COM<N> links of the port folder (by number), then the tty devices
// under /sys/class/tty that have a device link and a numbered name (serial8250 ports without a
// UART behind them are left out); the numbers 1 to 19 when /sys cannot be read. Each number
// appears once; at most kMaxPortListEntries entries.
constexpr size_t kMaxPortListEntries = 100;
std::vector<int> SerialPortList();
// The same walk over given folders (tests point it at fixtures).
std::vector<int> SerialPortList(const std::string& portFolder, const std::string& sysClassTty);

class CSerialPort {
public:
    CSerialPort() = default;
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Closes any open port, then opens and configures port `port` (raw, binary, no flow control,
    // receiver on, the given line settings) and empties both queues. A port that does not exist or
    // is in use fails silently (errno kept in LastOpenError()); a configuration step that fails is
    // reported through the message sink.
    bool OpenPort(int port, int baud, char parity, int dataBits, int stopBits);
    // The same on an explicit device path; `port` is the number shown in messages.
    bool OpenDevice(const std::string& path, int port, int baud, char parity, int dataBits, int stopBits);
    void ClosePort();
    bool IsOpen() const { return fd_ >= 0; }

    void PurgeInput();                               // discards received bytes only
    int BytesWaiting();                              // bytes in the receive queue
    int ReadAvailable(uint8_t* buffer, int wanted);  // min(wanted, queued); never waits
    int WriteBlock(const uint8_t* buffer, int count);

    // Shows "WARNING: ..." with the system's text for errno and the port number.
    void ReportCommError(const char* operation);

    // Fills `settings` with the line parameters. Always true.
    static bool ApplyLineSettings(int baud, char parity, int dataBits, int stopBits, struct termios& settings);

    void SetMessageSink(UserMessages* sink) { messages_ = sink; }
    int PortNumber() const { return portNumber_; }
    int LastOpenError() const { return lastOpenError_; }

private:
    int portNumber_ = 0;
    int fd_ = -1;
    int lastOpenError_ = 0;
    UserMessages* messages_ = nullptr;
};

}  // namespace velorin
