// Drop-down list entries: blocks shared between lists without copies, and
// the window model's list changes as its observers hear them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/window/ControlModel.h"
#include "app/window/EntryList.h"

namespace tessaron::app::testing {

using window::Control;
using window::ControlModel;
using window::ControlProperty;
using window::EntryList;
using window::mainFormDesign;

namespace {

using Strings = std::vector<std::string>;

std::shared_ptr<const Strings> sharedBlock(Strings entries) {
    return std::make_shared<const Strings>(std::move(entries));
}

Strings inOrder(const EntryList& list) {
    return Strings(list.begin(), list.end());
}

TEST(EntryList, ReadsAcrossItsBlocksInOrder) {
    const auto sites = sharedBlock({"Default Web Site", "Customer site 1"});
    struct Case {
        const char* name;
        void (*fill)(EntryList&, const std::shared_ptr<const Strings>&);
        Strings expected;
    };
    const Case cases[] = {
        {"empty", [](EntryList&, const std::shared_ptr<const Strings>&) {}, {}},
        {"own entries, then the shared block, then more own",
         [](EntryList& list, const std::shared_ptr<const Strings>& block) {
             list.push_back("-- Create New Site --");
             list.append(Strings{"-- None --"});
             list.append(block);
             list.push_back("Added later");
         },
         {"-- Create New Site --", "-- None --", "Default Web Site", "Customer site 1",
          "Added later"}},
        {"an empty block adds nothing",
         [](EntryList& list, const std::shared_ptr<const Strings>& block) {
             list.append(sharedBlock({}));
             list.append(Strings{});
             list.append(std::shared_ptr<const Strings>());
             list.append(block);
         },
         {"Default Web Site", "Customer site 1"}},
        {"cleared, then filled again",
         [](EntryList& list, const std::shared_ptr<const Strings>& block) {
             list.append(block);
             list.clear();
             list.push_back("Only");
         },
         {"Only"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EntryList list;
        c.fill(list, sites);
        EXPECT_EQ(list, c.expected);
        EXPECT_EQ(inOrder(list), c.expected);
        ASSERT_EQ(list.size(), c.expected.size());
        EXPECT_EQ(list.empty(), c.expected.empty());
        for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(list[i], c.expected[i]);
        EXPECT_THROW(list[c.expected.size()], std::out_of_range);
    }
}

TEST(EntryList, ListsHoldOneSharedBlockAndChangeOnlyThemselves) {
    const auto sites = sharedBlock({"Default Web Site", "Customer site 1"});
    EntryList first(Strings{"-- Create New Site --"});
    EntryList second(Strings{"-- Create New Site --", "-- None --"});
    first.append(sites);
    second.append(sites);
    // The very same strings, not copies of them.
    EXPECT_EQ(&first[1], &(*sites)[0]);
    EXPECT_EQ(&second[3], &(*sites)[1]);

    first.push_back("New in the first");
    EXPECT_EQ(first, Strings({"-- Create New Site --", "Default Web Site", "Customer site 1",
                              "New in the first"}));
    EXPECT_EQ(second, Strings({"-- Create New Site --", "-- None --", "Default Web Site",
                               "Customer site 1"}));
    EXPECT_EQ(*sites, Strings({"Default Web Site", "Customer site 1"}));
}

TEST(EntryList, CopiesShareUntilOneChanges) {
    EntryList original(Strings{"a", "b"});
    const EntryList copy = original;
    EXPECT_EQ(&copy[0], &original[0]);
    original.push_back("c");
    original.append(Strings{"d"});
    EXPECT_EQ(original, Strings({"a", "b", "c", "d"}));
    EXPECT_EQ(copy, Strings({"a", "b"}));
}

TEST(ControlModelEntries, EachAdditionIsOneChangeAndEveryListShowsTheSharedBlock) {
    ControlModel controls(mainFormDesign());
    std::vector<std::pair<std::string, ControlProperty>> heard;
    controls.addObserver([&heard](const Control& control, ControlProperty property) {
        heard.emplace_back(control.name(), property);
    });
    const auto sites = sharedBlock({"Default Web Site", "Customer site 1"});
    controls.addEntry("cmbPreviewSVC", "-- Create New Site --");
    controls.addEntries("cmbControlPanelSite", sites);
    controls.addEntries("cmbPreviewSVC", sites);
    controls.addEntries("cmbSharedSecureSVC", sharedBlock({}));  // nothing to add, nothing heard
    controls.addEntries("cmbPreviewSVC", Strings{"Last"});

    using P = ControlProperty;
    EXPECT_EQ(heard, (std::vector<std::pair<std::string, ControlProperty>>{
                         {"cmbPreviewSVC", P::Entries},
                         {"cmbControlPanelSite", P::Entries},
                         {"cmbPreviewSVC", P::Entries},
                         {"cmbPreviewSVC", P::Entries}}));
    EXPECT_EQ(controls.entries("cmbControlPanelSite"),
              Strings({"Default Web Site", "Customer site 1"}));
    EXPECT_EQ(controls.entries("cmbPreviewSVC"),
              Strings({"-- Create New Site --", "Default Web Site", "Customer site 1", "Last"}));
    EXPECT_TRUE(controls.entries("cmbSharedSecureSVC").empty());

    controls.setSelectedIndex("cmbPreviewSVC", 2);
    EXPECT_EQ(controls.selectedText("cmbPreviewSVC"), "Customer site 1");
    controls.clearEntries("cmbPreviewSVC");
    EXPECT_TRUE(controls.entries("cmbPreviewSVC").empty());
    EXPECT_EQ(controls.selectedIndex("cmbPreviewSVC"), -1);
    EXPECT_EQ(controls.entries("cmbControlPanelSite").size(), 2u);
}

}  // namespace
}  // namespace tessaron::app::testing
