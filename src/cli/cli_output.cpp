#include "cli/cli_output.h"

#include <cstdlib>

#include "cli/cli_options.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "device/connect.h"
#include "device/kvusb_loader.h"
#include "device/link.h"
#include "device/panel_lines.h"
#include "device/serial_port.h"

namespace velorin::cli {

namespace {

bool AllDigits(const std::string& s) {
    if (s.empty() || s.size() > 4) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The number a device path goes by in messages: its COM<N> name or default numbering; 1 when
// it has none (the number only matters for messages, the path is what gets opened).
int NumberForPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 3 && name.compare(0, 3, "COM") == 0 && AllDigits(name.substr(3))) {
        return std::atoi(name.c_str() + 3);
    }
    const int n = DefaultPortNumber(path);
    return n > 0 ? n : 1;
}

}  // namespace

void PrintGbk(std::FILE* out, const std::string& gbk) {
    const std::string utf8 = GbkToUtf8(gbk);
    std::fwrite(utf8.data(), 1, utf8.size(), out);
}

void TerminalMessages::MessageBox(const std::string& text, const std::string& caption, MessageIcon) {
    if (!caption.empty()) {
        PrintGbk(stderr, caption);
        std::fputs(": ", stderr);
    }
    PrintGbk(stderr, text);
    std::fputc('\n', stderr);
}

void TerminalMessages::Status(const std::string& text) {
    if (!verbose_) return;
    PrintGbk(stderr, text);
    std::fputc('\n', stderr);
}

Language LanguageFor(const ParsedArgs& args, std::string& error) {
    if (!args.Has("lang")) return ReadLanguage().language;
    const std::string lang = args.Value("lang");
    if (lang == "en") return Language::English;
    if (lang == "zh") return Language::Chinese;
    error = "--lang takes en or zh";
    return Language::Chinese;
}

KvusbLoadResult LoadUsbLibrary(Link& link, UserMessages& messages) {
    const KvusbLoadResult result = LoadKvusb(ExecutableFolder(), link.usb);
    if (result.status != KvusbLoadStatus::Loaded) {
        messages.MessageBox(result.message, std::string(), MessageIcon::Error);
    }
    return result;
}

bool ChooseLink(const ParsedArgs& args, LinkChoice& choice, std::string& error) {
    if (args.Has("hid") && args.Has("port")) {
        error = "--port and --hid exclude each other";
        return false;
    }
    if (args.Has("hid")) {
        choice.kind = LinkChoice::Kind::Usb;
        return true;
    }
    if (args.Has("port")) {
        const std::string port = args.Value("port");
        choice.kind = LinkChoice::Kind::Port;
        if (AllDigits(port)) {
            const int n = std::atoi(port.c_str());
            if (n < 1 || n > 254) {
                error = "--port takes a number from 1 to 254 or a device path";
                return false;
            }
            choice.ports = {PortEntry{n, std::string()}};
        } else {
            choice.ports = {PortEntry{NumberForPath(port), port}};
        }
        return true;
    }
    choice.kind = LinkChoice::Kind::Walk;
    choice.ports = PortEntries(SerialPortList());
    return true;
}

void PrintPanel(std::FILE* out, const std::vector<PanelLine>& lines) {
    for (const PanelLine& line : lines) {
        for (int i = 0; i < line.depth; ++i) std::fputs("  ", out);
        PrintGbk(out, line.text);
        std::fputc('\n', out);
    }
}

}  // namespace velorin::cli
