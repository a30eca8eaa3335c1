#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace tessaron::app::window {

// The entries of a drop-down list, as a few blocks of entries one after the
// other. A block handed in as shared is held, never copied, by every list it
// is added to, and never changed: entries added later go into a block of the
// list's own. So the machine's web sites, read once, are held once however
// many lists show them. Copies of a list share its blocks too, until one of
// them is changed (copy-on-write).
class EntryList {
public:
    using Block = std::vector<std::string>;
    using SharedBlock = std::shared_ptr<const Block>;

    // The entries in order, across the blocks.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string*;
        using reference = const std::string&;

        const_iterator() = default;
        reference operator*() const { return (*list_->segments_[segment_].entries)[offset_]; }
        pointer operator->() const { return &**this; }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator& other) const {
            return segment_ == other.segment_ && offset_ == other.offset_;
        }

    private:
        friend class EntryList;
        const_iterator(const EntryList* list, std::size_t segment);
        const EntryList* list_ = nullptr;
        std::size_t segment_ = 0;
        std::size_t offset_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string;
    using size_type = std::size_t;

    EntryList() = default;
    explicit EntryList(Block entries);

    size_type size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const std::string& operator[](size_type index) const;
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, segments_.size()); }

    void push_back(std::string entry);
    // Appends entries the list then owns.
    void append(Block entries);
    // Appends a shared block, which stays shared (and unchanged).
    void append(SharedBlock entries);
    void clear();

    friend bool operator==(const EntryList& list, const std::vector<std::string>& entries);

private:
    // One block: handed in shared (never changed) or made by the list, which
    // changes it in place while no copy of the list holds it too.
    struct Segment {
        SharedBlock entries;
        bool own;
    };
    bool lastBlockWritable() const;
    Block& ownLastBlock();

    std::vector<Segment> segments_;  // none empty
    size_type size_ = 0;
};

}  // namespace tessaron::app::window
