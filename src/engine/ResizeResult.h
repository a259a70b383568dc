#pragma once

#include <string>
#include <utility>

namespace voveriz {

// The outcome of one file: a status word ("ok", "skip" or "error") and the text of its log line,
// which always begins with the source file's name.
class ResizeResult {
public:
    ResizeResult(std::string status, std::string message)
        : m_status(std::move(status)), m_message(std::move(message))
    {
    }

    const std::string& status() const { return m_status; }
    const std::string& message() const { return m_message; }

private:
    std::string m_status;
    std::string m_message;
};

}  // namespace voveriz
