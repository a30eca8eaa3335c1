#include "runcontext/ProgressLog.h"

namespace tessaron {

void ProgressLog::AddProgressText(const std::string& entry) {
    if (!text_.empty() || !entries_.empty()) text_ += "\r\n";
    text_ += entry;
    entries_.push_back(entry);
    if (listener_) listener_(entry, text_);
}

}  // namespace tessaron
