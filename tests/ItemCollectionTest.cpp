// Item collection: one item per top-level entry, sized and named, appended in listing order.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Errors/Exceptions.h"
#include "ItemCollection.h"
#include "Platform/NativeNames.h"
#include "Support/TestSupportPosix.h"
#include "Text/ConsoleText.h"

namespace Vantorel {

bool operator==(const TItem& a, const TItem& b) {
    return a.Name == b.Name && a.Size == b.Size;
}

void PrintTo(const TItem& item, std::ostream* out) {
    *out << Kvetra::Platform::WideToNative(item.Name) << " " << item.Size;
}

}  // namespace Vantorel

namespace {

using Kvetra::Platform::NativeToWide;
using Vantorel::CollectItems;
using Vantorel::TItem;
using VantorelTest::TTempDir;

std::vector<TItem> Collect(const std::string& directory, const std::wstring& prefix = L"") {
    std::vector<TItem> items;
    CollectItems(NativeToWide(directory), prefix, items);
    return items;
}

TEST(ItemCollection, AFileAndASubdirectoryBecomeTwoItems) {
    TTempDir tree;
    const std::string root = tree.MakeDir("data");
    tree.MakeFile("data/a.bin", 10);
    tree.MakeFile("data/b/x", 100);
    tree.MakeFile("data/b/c/y", 150);
    tree.MakeFile("data/b/c/d/e/z", 50);
    const std::vector<TItem> expected = {{L"a.bin", 10}, {L"b", 300}};
    EXPECT_EQ(Collect(root), expected);
    // A final separator on the directory changes nothing.
    EXPECT_EQ(Collect(root + "/"), expected);
}

TEST(ItemCollection, ManySubdirectoriesAreEachSizedByTheirOwnTree) {
    // More subdirectories than cores, of uneven sizes, so that walks run side by side and finish
    // out of order.
    TTempDir tree;
    const std::string root = tree.MakeDir("data");
    std::vector<TItem> expected;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "d" + std::to_string(100 + i);
        const int files = i % 7 == 0 ? 300 : 1 + i % 5;
        for (int f = 0; f < files; ++f) {
            tree.MakeFile("data/" + name + "/s/" + std::to_string(f), i + 1);
        }
        expected.push_back(
            {L"7\\" + NativeToWide(name), static_cast<std::int64_t>(files) * (i + 1)});
        if (i % 10 == 0) {
            tree.MakeFile("data/f" + std::to_string(100 + i), i);
        }
    }
    std::vector<TItem> items = Collect(root, L"7\\");
    std::erase_if(items, [](const TItem& item) { return item.Name.starts_with(L"7\\f"); });
    EXPECT_EQ(items, expected);
}

TEST(ItemCollection, NamesCarryThePrefixAndKeepTheListingOrder) {
    TTempDir tree;
    const std::string root = tree.MakeDir("data");
    tree.MakeFile("data/Film.avi", 700);
    tree.MakeDir("data/Empty");
    tree.MakeFile("data/Солярис.mkv", 1);
    tree.MakeFile("data/caf\xE9", 2);
    tree.MakeLink("data/link", "Film.avi");  // a link is an item of its own size
    tree.MakeFile("data/.hidden", 3);
    const std::vector<TItem> expected = {
        {L"2\\.hidden", 3},   {L"2\\Empty", 0}, {L"2\\Film.avi", 700},
        {L"2\\caf\xDCE9", 2}, {L"2\\link", 8},  {L"2\\Солярис.mkv", 1},
    };
    EXPECT_EQ(Collect(root, L"2\\"), expected);
}

TEST(ItemCollection, AppendsWithoutTouchingWhatIsThere) {
    TTempDir tree;
    const std::string root = tree.MakeDir("data");
    tree.MakeFile("data/f", 5);
    std::vector<TItem> items = {{L"earlier", 1}};
    CollectItems(NativeToWide(root), L"1\\", items);
    CollectItems(NativeToWide(root), L"2\\", items);
    CollectItems(NativeToWide(tree.MakeDir("empty")), L"3\\", items);
    CollectItems(NativeToWide(tree.Path() + "/missing"), L"4\\", items);
    const std::vector<TItem> expected = {{L"earlier", 1}, {L"1\\f", 5}, {L"2\\f", 5}};
    EXPECT_EQ(items, expected);
}

TEST(ItemCollection, AnUnreadableSubdirectoryIsStillAnItem) {
    TTempDir tree;
    const std::string root = tree.MakeDir("data");
    tree.MakeFile("data/locked/secret", 1000);
    tree.MakeFile("data/partly/open", 20);
    tree.MakeFile("data/partly/shut/secret", 1000);
    ASSERT_EQ(::chmod(tree.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((root + "/locked").c_str(), 0), 0);
    ASSERT_EQ(::chmod((root + "/partly/shut").c_str(), 0), 0);
    const auto seen = VantorelTest::RunWithoutPrivileges([&] {
        std::ostringstream out;
        for (const TItem& item : Collect(root)) {
            out << Kvetra::Platform::WideToNative(item.Name) << "=" << item.Size << " ";
        }
        out << "| locked:" << Collect(root + "/locked").size();
        return out.str();
    });
    if (!seen) {
        GTEST_SKIP() << VantorelTest::kCannotRefuse;
    }
    EXPECT_EQ(*seen, "locked=0 partly=20 | locked:0");
}

TEST(ItemCollection, ASubdirectoryBeyondTheSigned64BitRangeIsRefused) {
    if (!VantorelTest::CanMakeHugeFiles()) {
        GTEST_SKIP() << VantorelTest::kNoHugeFiles;
    }
    TTempDir tree(VantorelTest::kHugeFileBase);
    const std::string root = tree.MakeDir("data");
    tree.MakeFile("data/fine", INT64_MAX);  // a file of the largest size is still an item
    tree.MakeFile("data/huge/a", INT64_MAX);
    EXPECT_EQ(Collect(root), (std::vector<TItem>{{L"fine", INT64_MAX}, {L"huge", INT64_MAX}}));
    tree.MakeFile("data/huge/b", 1);
    try {
        Collect(root);
        ADD_FAILURE() << "no exception";
    } catch (const Kvetra::TAplThrowException& e) {
        EXPECT_EQ(e.what(), Kvetra::WideToAnsi(L"Размер '" + NativeToWide(root) +
                                               L"/huge' больше 9223372036854775807 B"));
    }
}

}  // namespace
