// The document as it is to be saved: the file's bytes for unchanged keys,
// keys changed or created since written anew in IIS's layout.
#include "platform/image/metabase/MetabaseDocument.h"
#include "platform/image/metabase/MetabaseLayout.h"

namespace tessaron {

std::string MetabaseDocument::renderKey(const MetabaseKey& key, std::string_view inner) const {
    return metabase_layout::renderKey(key.className(), key.location(), key.edits_->properties,
                                      inner, eol_);
}

std::size_t MetabaseDocument::beginOf(std::uint32_t readNumber) const {
    // The parsed document knows where an element's name starts; '<' is before it.
    const auto offset = read_[readNumber].element_.offset_debug();
    return offset > 0 ? static_cast<std::size_t>(offset - 1) : 0;
}

std::vector<MetabaseSavePiece> MetabaseDocument::savePieces() const {
    std::vector<MetabaseSavePiece> pieces;
    const auto size = original_->size();
    const auto fromFile = [&](std::size_t offset, std::size_t length) {
        if (length > 0) pieces.push_back({true, offset, length, {}});
    };
    const auto written = [&](std::string text) {
        pieces.push_back({false, 0, 0, std::move(text)});
    };

    if (read_.empty()) {
        // No key was read: new keys go before the end of <MBProperty>.
        const auto text = original_->bytes(0, size);
        auto at = text.rfind("</MBProperty");
        if (at == std::string::npos) at = size;
        fromFile(0, at);
        forEachInOrder(
            [&](std::uint32_t number) { written(renderKey(keyAt(number), eol_) + eol_); });
        fromFile(at, size - at);
        return pieces;
    }

    // Unchanged keys are bytes of the file, so an unchanged file is written
    // back byte for byte. The store's order starts with a read key, and each
    // created key follows a read one (or another created one).
    const auto count = order_.empty() ? read_.size() : order_.size();
    const auto numberAt = [&](std::size_t i) {
        return order_.empty() ? static_cast<std::uint32_t>(i) : order_[i];
    };
    std::size_t copiedFrom = 0;  // start of the file not yet in a piece
    const auto copyUpTo = [&](std::size_t end) {
        if (end > copiedFrom) fromFile(copiedFrom, end - copiedFrom);
        copiedFrom = end;
    };
    for (std::size_t i = 0; i < count;) {
        const auto number = numberAt(i);
        auto next = i + 1;
        while (next < count && numberAt(next) >= read_.size()) ++next;
        const MetabaseKey& key = read_[number];
        if (key.changed() || next != i + 1) {
            // The key's element lies before the next read key's.
            const auto begin = beginOf(number);
            const auto segmentEnd = number + 1 < read_.size() ? beginOf(number + 1) : size;
            const auto segment = original_->bytes(begin, segmentEnd - begin);
            const auto extent = metabase_layout::scanElement(segment, 0);
            if (key.changed()) {
                copyUpTo(begin);
                const auto inner = extent.selfClosing ? std::string_view(eol_)
                                                      : std::string_view(segment).substr(
                                                            extent.startTagEnd,
                                                            extent.closeBegin - extent.startTagEnd);
                written(renderKey(key, inner));
                copiedFrom = begin + extent.end;
            } else {
                copyUpTo(begin + extent.end);
            }
            for (auto created = i + 1; created != next; ++created) {
                written(eol_ + renderKey(keyAt(numberAt(created)), eol_));
            }
        }
        i = next;
    }
    copyUpTo(size);
    return pieces;
}

}  // namespace tessaron
