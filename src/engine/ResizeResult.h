#pragma once

#include <string>
#include <utility>

namespace voveriz {

// The outcome of one file: a status word ("ok", "skip" or "error") and the text of its log line,
// which always begins with the source file's name.
class ResizeResult {
public:
    ResizeResult(std::string status, std::string message)
        : status_(std::move(status)), message_(std::move(message))
    {
    }

    const std::string& status() const { return status_; }
    const std::string& message() const { return message_; }

private:
    std::string status_;
    std::string message_;
};

}  // namespace voveriz
