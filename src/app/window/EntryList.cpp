#include "app/window/EntryList.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tessaron::app::window {

EntryList::const_iterator::const_iterator(const EntryList* list, std::size_t segment)
    : list_(list), segment_(segment) {}

EntryList::const_iterator& EntryList::const_iterator::operator++() {
    if (++offset_ == list_->segments_[segment_].entries->size()) {
        ++segment_;
        offset_ = 0;
    }
    return *this;
}

EntryList::EntryList(Block entries) {
    append(std::move(entries));
}

const std::string& EntryList::operator[](size_type index) const {
    for (const auto& segment : segments_) {
        if (index < segment.entries->size()) return (*segment.entries)[index];
        index -= segment.entries->size();
    }
    throw std::out_of_range("list entry index out of range");
}

bool EntryList::lastBlockWritable() const {
    return !segments_.empty() && segments_.back().own && segments_.back().entries.use_count() == 1;
}

// The list's own blocks are made here, never const, so changing one that no
// other list holds is sound; shared blocks are only ever read.
EntryList::Block& EntryList::ownLastBlock() {
    if (!lastBlockWritable()) segments_.push_back(Segment{std::make_shared<Block>(), true});
    return const_cast<Block&>(*segments_.back().entries);
}

void EntryList::push_back(std::string entry) {
    ownLastBlock().push_back(std::move(entry));
    ++size_;
}

void EntryList::append(Block entries) {
    if (entries.empty()) return;
    size_ += entries.size();
    if (!lastBlockWritable()) {
        segments_.push_back(Segment{std::make_shared<Block>(std::move(entries)), true});
        return;
    }
    auto& block = ownLastBlock();
    block.insert(block.end(), std::make_move_iterator(entries.begin()),
                 std::make_move_iterator(entries.end()));
}

void EntryList::append(SharedBlock entries) {
    if (!entries || entries->empty()) return;
    size_ += entries->size();
    segments_.push_back(Segment{std::move(entries), false});
}

void EntryList::clear() {
    segments_.clear();
    size_ = 0;
}

bool operator==(const EntryList& list, const std::vector<std::string>& entries) {
    return list.size() == entries.size() &&
           std::equal(entries.begin(), entries.end(), list.begin());
}

}  // namespace tessaron::app::window
