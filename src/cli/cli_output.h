// What the CLI commands share: terminal output (GBK texts turned into UTF-8), the interface
// language, the USB library, and the choice of link from --port / --hid.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/user_messages.h"

namespace velorin {
enum class Language;
class Link;
struct KvusbLoadResult;
struct PanelLine;
struct PortEntry;
}  // namespace velorin

namespace velorin::cli {

struct ParsedArgs;

// Writes a GBK text as UTF-8.
void PrintGbk(std::FILE* out, const std::string& gbk);

// Message boxes go to stderr; status texts too when `verbose`.
class TerminalMessages final : public UserMessages {
public:
    explicit TerminalMessages(bool verbose) : verbose_(verbose) {}
    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void Status(const std::string& text) override;

private:
    bool verbose_;
};

// "--lang en|zh" gives English/Chinese; without it the language comes from Language.ini in the
// working directory. An unknown --lang value leaves `error` set (and gives Chinese).
Language LanguageFor(const ParsedArgs& args, std::string& error);

// Loads the USB library into link.usb; the loader's message is shown when it fails.
KvusbLoadResult LoadUsbLibrary(Link& link, UserMessages& messages);

// The link the user asked for.
struct LinkChoice {
    enum class Kind { Walk, Port, Usb } kind = Kind::Walk;
    std::vector<PortEntry> ports;  // Walk: the port list; Port: the one port
};
// "--port N" (a number), "--port PATH" (a device), "--hid", or nothing (walk the port list).
bool ChooseLink(const ParsedArgs& args, LinkChoice& choice, std::string& error);

// Prints panel lines: root items at the margin, children indented by two blanks per level.
void PrintPanel(std::FILE* out, const std::vector<PanelLine>& lines);

}  // namespace velorin::cli
