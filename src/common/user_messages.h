// How the core talks to the user: message boxes and the status line, never windows of its own.
// The GUI implements this with Qt (marshalling to the GUI thread), the CLI prints, tests record.
// Every text is GBK (see text_codec.h). Implementations must accept calls from any thread.
#pragma once

#include <string>

namespace velorin {

enum class MessageIcon { None, Information, Warning, Error, Question };

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A message the user must acknowledge (a message box with an OK button).
    virtual void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // Progress and connection messages (pane 0 of the status bar).
    virtual void Status(const std::string& text) = 0;
};

// Discards everything; the default where no one listens.
class SilentMessages final : public UserMessages {
public:
    void MessageBox(const std::string&, const std::string&, MessageIcon) override {}
    void Status(const std::string&) override {}
};

}  // namespace velorin
