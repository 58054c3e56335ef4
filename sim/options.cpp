#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "civil_time.h"
#include "device/port_folder.h"

namespace velorin::sim {

namespace {

bool ParseInteger(const std::string& text, int64_t low, int64_t high, int64_t* value) {
    if (text.empty()) return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || v < low || v > high) return false;
    *value = v;
    return true;
}

// A limit given in units, stored in tenths (rounded to the nearest tenth).
bool ParseTenths(const std::string& text, int16_t* value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
    const double tenths = std::round(v * 10.0);
    if (tenths < -32768.0 || tenths > 32767.0) return false;
    *value = static_cast<int16_t>(tenths);
    return true;
}

bool ParseChannel(const std::string& spec, LoggerState& state, std::string* error) {
    const size_t colon = spec.find(':');
    int64_t number = 0;
    if (!ParseInteger(spec.substr(0, colon), 1, kChannelCount, &number)) {
        *error = "--channel: channel number must be 1..8: " + spec;
        return false;
    }
    ChannelConfig& c = state.channels[number - 1];
    c.enabled = true;
    if (colon == std::string::npos) return true;
    size_t at = colon + 1;
    while (at < spec.size()) {
        size_t comma = spec.find(',', at);
        if (comma == std::string::npos) comma = spec.size();
        const std::string item = spec.substr(at, comma - at);
        at = comma + 1;
        const size_t eq = item.find('=');
        if (eq == std::string::npos) {
            *error = "--channel: expected key=value: " + item;
            return false;
        }
        const std::string key = item.substr(0, eq);
        const std::string value = item.substr(eq + 1);
        int64_t n = 0;
        bool ok = true;
        if (key == "type" || key == "quantity" || key == "unit" || key == "alarm") {
            ok = ParseInteger(value, 0, 255, &n);
            const uint8_t byte = static_cast<uint8_t>(n);
            if (key == "type") c.type = byte;
            if (key == "quantity") c.quantity = byte;
            if (key == "unit") c.unit = byte;
            if (key == "alarm") c.alarm = byte != 0;
        } else if (key == "lower") {
            ok = ParseTenths(value, &c.lowerAlarmX10);
        } else if (key == "upper") {
            ok = ParseTenths(value, &c.upperAlarmX10);
        } else if (key == "rlow") {
            ok = ParseTenths(value, &c.rangeLowX10);
        } else if (key == "rhigh") {
            ok = ParseTenths(value, &c.rangeHighX10);
        } else {
            *error = "--channel: unknown key " + key;
            return false;
        }
        if (!ok) {
            *error = "--channel: bad value for " + key + ": " + value;
            return false;
        }
    }
    return true;
}

bool FixedText(const std::string& option, const std::string& value, size_t width, uint8_t* field, std::string* error) {
    if (value.size() > width) {
        *error = option + ": at most " + std::to_string(width) + " bytes";
        return false;
    }
    SetFixedText(field, width, value.c_str());
    return true;
}

}  // namespace

const char* UsageText() {
    return "Usage: velorin-logger-sim [options]\n"
           "Simulated data logger on a pseudo-terminal (COM<N> in the port folder) and on the\n"
           "socket of libkvusb-sim. Prints the device path, then \"usb <socket path>\", and runs\n"
           "until SIGINT or SIGTERM. SIGUSR1 plugs or unplugs the simulated USB device.\n"
           "\n"
           "Links:\n"
           "  --port-dir DIR        port folder (default $VELORIN_PORT_DIR or ~/.config/Velorin/ports)\n"
           "  --com N               serial link name COM<N> (default 1)\n"
           "  --socket PATH         USB socket (default $VELORIN_KVUSB_SOCKET or <port-dir>/kvusb-sim.sock)\n"
           "  --no-serial           do not serve the serial link\n"
           "  --no-usb              do not serve the USB link\n"
           "  --usb-unplugged       start with the USB device unplugged\n"
           "  --no-pacing           send serial replies at once instead of at 115200 baud\n"
           "Identity and settings:\n"
           "  --model TEXT          model, at most 8 bytes (default VLR-T810)\n"
           "  --serial-number TEXT  serial number, at most 8 bytes (default 20261209)\n"
           "  --firmware N          firmware version x10 (default 11)\n"
           "  --capacity N          storage capacity in records (default 32000)\n"
           "  --user TEXT           user name, at most 30 bytes (default \"Velorin demo\")\n"
           "  --title TEXT          title, at most 30 bytes (default \"Cold room 3\")\n"
           "  --records N           stored records (default 1000)\n"
           "  --interval SECONDS    record interval (default 60)\n"
           "  --start \"YYYY-MM-DD hh:mm:ss\"        start of the recording (default now - records x interval)\n"
           "  --timed-start \"YYYY-MM-DD hh:mm:ss\"  timed start (default the start)\n"
           "  --timed-stop \"YYYY-MM-DD hh:mm:ss\"   timed stop (default now + 1 day)\n"
           "  --record-mode N       0 manual, 1 automatic (default 1)\n"
           "  --work-state N        0 stopped, 1 recording (default 1)\n"
           "  --start-mode N        1 immediate, 2 timed, 3 manual (default 1)\n"
           "  --stop-mode N         1 memory full, 2 timed, 3 fifo, 4 manual (default 1)\n"
           "  --power-mode N        1 normal, 128 power saving (default 1)\n"
           "  --over-limit-index N  over-limit interval choice 0..13 (default 0)\n"
           "  --overflow-byte N     overflow count byte of the information block (default 0)\n"
           "Channels (default: 1 temperature, 2 humidity, 3 temperature in hundredths,\n"
           "4 pressure as 4-byte float):\n"
           "  --channels-off        start with no channel enabled\n"
           "  --channel \"N:type=0x02,quantity=1,unit=1,alarm=1,lower=-10.5,upper=40,rlow=-40,rhigh=85\"\n"
           "                        enable channel N (1..8) with these settings (repeatable;\n"
           "                        limits in units; keys left out keep their values)\n"
           "  --block-records M     records per serial history block (default: as many as fit 6000 bytes)\n"
           "Faults:\n"
           "  --fault KIND          silence, garbage, bad-checksum, short, long, split, late,\n"
           "                        block-fail, drop-after\n"
           "  --fault-cmd CODE      only requests with this command (hex 0x.. or decimal)\n"
           "  --fault-count K       only the first K matching requests (default all)\n"
           "  --fault-skip N        answer the first N matching requests normally (default 0)\n"
           "  --fault-arg V         short: bytes cut (3); long: extra bytes (300); split: pause ms (400);\n"
           "                        late: delay ms (400); block-fail: failures per block (1);\n"
           "                        drop-after: block replies before silence (2)\n"
           "Other:\n"
           "  --log FILE            append one line per request (command, link, outcome)\n"
           "  --seed N              seed of the generated history and of garbage bytes (default 1)\n"
           "  --help                this text\n";
}

bool ParseOptions(int argc, const char* const* argv, int64_t hostNow, SimConfig* config, std::string* error) {
    SimConfig cfg;
    cfg.state = DefaultLoggerState(hostNow);
    bool startGiven = false;
    bool timedStartGiven = false;
    bool channelsOff = false;
    std::vector<std::string> channelSpecs;

    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        auto flag = [&](const char* name) { return opt == name; };
        if (flag("--help") || flag("-h")) {
            cfg.help = true;
            continue;
        }
        if (flag("--no-serial")) {
            cfg.server.serial = false;
            continue;
        }
        if (flag("--no-usb")) {
            cfg.server.usb = false;
            continue;
        }
        if (flag("--usb-unplugged")) {
            cfg.server.usbPlugged = false;
            continue;
        }
        if (flag("--no-pacing")) {
            cfg.server.pacing = false;
            continue;
        }
        if (flag("--channels-off")) {
            channelsOff = true;
            continue;
        }

        if (i + 1 >= argc) {
            *error = "unknown option or missing value: " + opt;
            return false;
        }
        const std::string value = argv[++i];
        int64_t n = 0;
        auto integer = [&](int64_t low, int64_t high) {
            if (ParseInteger(value, low, high, &n)) return true;
            *error = opt + ": expected a number " + std::to_string(low) + ".." + std::to_string(high) + ", got \"" +
                     value + "\"";
            return false;
        };
        auto time = [&](int64_t* out) {
            if (ParseCivil(value.c_str(), out)) return true;
            *error = opt + ": expected \"YYYY-MM-DD hh:mm:ss\", got \"" + value + "\"";
            return false;
        };
        LoggerState& s = cfg.state;
        if (flag("--port-dir")) {
            cfg.server.portFolder = value;
        } else if (flag("--socket")) {
            cfg.server.socketPath = value;
        } else if (flag("--com")) {
            if (!integer(1, 255)) return false;
            cfg.server.comNumber = static_cast<int>(n);
        } else if (flag("--model")) {
            if (value.size() > 8) {
                *error = "--model: at most 8 bytes";
                return false;
            }
            std::memset(s.model, 0, 8);
            std::memcpy(s.model, value.data(), value.size());
        } else if (flag("--serial-number")) {
            if (value.size() > 8) {
                *error = "--serial-number: at most 8 bytes";
                return false;
            }
            std::memset(s.serialNumber, 0, 8);
            std::memcpy(s.serialNumber, value.data(), value.size());
        } else if (flag("--firmware")) {
            if (!integer(0, 255)) return false;
            s.firmware = static_cast<uint8_t>(n);
        } else if (flag("--capacity")) {
            if (!integer(0, 0xFFFFFFFFll)) return false;
            s.capacity = static_cast<uint32_t>(n);
        } else if (flag("--user")) {
            if (!FixedText(opt, value, kTextFieldBytes, s.userName, error)) return false;
        } else if (flag("--title")) {
            if (!FixedText(opt, value, kTextFieldBytes, s.title, error)) return false;
        } else if (flag("--records")) {
            if (!integer(0, 0xFFFFFFFFll)) return false;
            s.recordCount = static_cast<uint32_t>(n);
        } else if (flag("--interval")) {
            if (!integer(1, 0xFFFFFFFFll)) return false;
            s.intervalSeconds = static_cast<uint32_t>(n);
        } else if (flag("--start")) {
            if (!time(&s.startTime)) return false;
            startGiven = true;
        } else if (flag("--timed-start")) {
            if (!time(&s.timedStart)) return false;
            timedStartGiven = true;
        } else if (flag("--timed-stop")) {
            if (!time(&s.timedStop)) return false;
        } else if (flag("--record-mode")) {
            if (!integer(0, 255)) return false;
            s.recordMode = static_cast<uint8_t>(n);
        } else if (flag("--work-state")) {
            if (!integer(0, 255)) return false;
            s.workState = static_cast<uint8_t>(n);
        } else if (flag("--start-mode")) {
            if (!integer(0, 255)) return false;
            s.startMode = static_cast<uint8_t>(n);
        } else if (flag("--stop-mode")) {
            if (!integer(0, 255)) return false;
            s.stopMode = static_cast<uint8_t>(n);
        } else if (flag("--power-mode")) {
            if (!integer(0, 255)) return false;
            s.powerMode = static_cast<uint8_t>(n);
        } else if (flag("--over-limit-index")) {
            if (!integer(0, 255)) return false;
            s.overLimitIndex = static_cast<uint8_t>(n);
        } else if (flag("--overflow-byte")) {
            if (!integer(0, 255)) return false;
            s.overflowByte = static_cast<uint8_t>(n);
        } else if (flag("--channel")) {
            channelSpecs.push_back(value);
        } else if (flag("--block-records")) {
            if (!integer(1, 65535)) return false;
            s.serialBlockRecords = static_cast<uint32_t>(n);
        } else if (flag("--fault")) {
            if (!ParseFaultKind(value, &cfg.server.fault.kind)) {
                *error = "--fault: unknown kind \"" + value + "\"";
                return false;
            }
        } else if (flag("--fault-cmd")) {
            if (!integer(0, 255)) return false;
            cfg.server.fault.command = static_cast<int>(n);
        } else if (flag("--fault-count")) {
            if (!integer(0, 1ll << 40)) return false;
            cfg.server.fault.count = n;
        } else if (flag("--fault-skip")) {
            if (!integer(0, 1ll << 40)) return false;
            cfg.server.fault.skip = n;
        } else if (flag("--fault-arg")) {
            if (!integer(0, 3600000)) return false;
            cfg.server.fault.parameter = n;
        } else if (flag("--log")) {
            cfg.server.logPath = value;
        } else if (flag("--seed")) {
            if (!integer(0, INT64_MAX)) return false;
            s.seed = static_cast<uint64_t>(n);
            cfg.server.seed = s.seed;
        } else {
            *error = "unknown option: " + opt;
            return false;
        }
    }

    if (channelsOff) {
        for (ChannelConfig& c : cfg.state.channels) c.enabled = false;
    }
    for (const std::string& spec : channelSpecs) {
        if (!ParseChannel(spec, cfg.state, error)) return false;
    }
    if (!startGiven) {
        cfg.state.startTime = hostNow - static_cast<int64_t>(cfg.state.recordCount) * cfg.state.intervalSeconds;
    }
    if (!timedStartGiven) cfg.state.timedStart = cfg.state.startTime;
    if (cfg.server.portFolder.empty()) cfg.server.portFolder = PortFolder();
    *config = cfg;
    return true;
}

}  // namespace velorin::sim
