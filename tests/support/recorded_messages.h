// RecordedMessages: a UserMessages sink that keeps everything it is told, for assertions.
// Thread-safe (the core may report from worker threads).
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "common/user_messages.h"

namespace velorin::test {

class RecordedMessages final : public UserMessages {
public:
    struct Box {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };

    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back({text, caption, icon});
    }
    void Status(const std::string& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        statuses_.push_back(text);
    }

    std::vector<Box> Boxes() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }
    std::vector<std::string> Statuses() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return statuses_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
    std::vector<std::string> statuses_;
};

}  // namespace velorin::test
