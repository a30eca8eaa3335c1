#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tessaron {

// The append-only text of the progress window: entries joined by CR LF, the
// first without one before it, the last without one after it.
class ProgressLog {
public:
    using Listener = std::function<void(const std::string& entry, const std::string& text)>;

    // Appends one entry and tells the listener (the progress window repaints,
    // the unattended front end prints).
    void AddProgressText(const std::string& entry);

    const std::string& text() const { return text_; }
    const std::vector<std::string>& entries() const { return entries_; }
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    std::string text_;
    std::vector<std::string> entries_;
    Listener listener_;
};

}  // namespace tessaron
