// Directory listings of the platform layer: order, entry records, failures, long paths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Platform/FileFind.h"
#include "Platform/NativeNames.h"
#include "Support/TestSupportPosix.h"

namespace {

namespace Platform = Kvetra::Platform;
using VantorelTest::TTempDir;

struct TListedEntry {
    std::wstring Name;
    bool IsDirectory;
    std::uint64_t Size;
    bool operator==(const TListedEntry&) const = default;
};

void PrintTo(const TListedEntry& e, std::ostream* out) {
    *out << Platform::WideToNative(e.Name) << (e.IsDirectory ? " <dir> " : " ") << e.Size;
}

// Every entry of the listing of directory, through the three listing calls.
std::vector<TListedEntry> List(const std::string& directory) {
    std::vector<TListedEntry> entries;
    Platform::WIN32_FIND_DATAW data{};
    const std::wstring pattern = Platform::NativeToWide(directory) + L"/*";
    const Platform::HANDLE handle = Platform::FindFirstFileW(pattern.c_str(), &data);
    if (handle == Platform::INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        entries.push_back({data.cFileName,
                           (data.dwFileAttributes & Platform::FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow});
    } while (Platform::FindNextFileW(handle, &data) != 0);
    // A finished listing stays finished.
    EXPECT_EQ(Platform::FindNextFileW(handle, &data), 0);
    EXPECT_NE(Platform::FindClose(handle), 0);
    return entries;
}

TEST(FileFind, ListsEveryEntrySortedByNameByteByByte) {
    TTempDir tree;
    tree.MakeFile("b", 5);
    tree.MakeFile("a", 0);
    tree.MakeFile("B", 7);
    tree.MakeFile("-x", 1);
    tree.MakeFile("\xC3\xA9t\xC3\xA9", 2);  // "été": UTF-8, orders after every ASCII name
    tree.MakeFile("\xFF", 3);               // not UTF-8: the highest byte orders last
    tree.MakeDir("sub/inner");
    tree.MakeFile("sub/inner/deep", 100);
    tree.MakeFile("huge", 5LL << 30);      // needs both size words
    tree.MakeLink("link", "sub");          // its own size: the length of "sub"
    tree.MakeLink("dangling", "nowhere");  // a link whose target is missing is still an entry
    const std::vector<TListedEntry> expected = {
        {L"-x", false, 1},
        {L".", true, 0},
        {L"..", true, 0},
        {L"B", false, 7},
        {L"a", false, 0},
        {L"b", false, 5},
        {L"dangling", false, 7},
        {L"huge", false, 5ULL << 30},
        {L"link", false, 3},
        {L"sub", true, 0},
        {L"\u00E9t\u00E9", false, 2},
        {L"\xDCFF", false, 3},
    };
    EXPECT_EQ(List(tree.Path()), expected);
}

TEST(FileFind, AnEmptyDirectoryListsOnlyItsDotEntries) {
    TTempDir tree;
    const std::vector<TListedEntry> expected = {{L".", true, 0}, {L"..", true, 0}};
    EXPECT_EQ(List(tree.MakeDir("empty")), expected);
}

TEST(FileFind, WhatCannotBeListedGivesNoHandle) {
    TTempDir tree;
    const std::string file = tree.MakeFile("file", 1);
    const std::wstring root = Platform::NativeToWide(tree.Path());
    const std::vector<std::wstring> patterns = {
        root + L"/missing/*",
        Platform::NativeToWide(file) + L"/*",
        root,
        root + L"/",
        root + L"*",
        root + L"/*.txt",
        L"*",
    };
    for (const std::wstring& pattern : patterns) {
        Platform::WIN32_FIND_DATAW data{};
        EXPECT_EQ(Platform::FindFirstFileW(pattern.c_str(), &data), Platform::INVALID_HANDLE_VALUE)
            << Platform::WideToNative(pattern);
    }
    Platform::WIN32_FIND_DATAW data{};
    EXPECT_EQ(Platform::FindNextFileW(Platform::INVALID_HANDLE_VALUE, &data), 0);
    EXPECT_EQ(Platform::FindClose(Platform::INVALID_HANDLE_VALUE), 0);
}

TEST(FileFind, ADoubledSeparatorIsHarmless) {
    TTempDir tree;
    tree.MakeFile("one", 1);
    const std::vector<TListedEntry> expected = {
        {L".", true, 0}, {L"..", true, 0}, {L"one", false, 1}};
    EXPECT_EQ(List(tree.Path() + "/"), expected);
}

TEST(FileFind, ListsADirectoryWhosePathIsLongerThanTheSystemTakesAtOnce) {
    TTempDir tree;
    const std::string chain = VantorelTest::MakeDeepChain(tree.Path(), 'd', 200, 5000, 42);
    ASSERT_GT(tree.Path().size() + chain.size(), 4096u);
    const std::vector<TListedEntry> expected = {
        {L".", true, 0}, {L"..", true, 0}, {L"bottom", false, 42}};
    EXPECT_EQ(List(tree.Path() + "/" + chain), expected);
    // The same through a relative path.
    char saved[4096];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir(tree.Path().c_str()), 0);
    EXPECT_EQ(List(chain), expected);
    ASSERT_EQ(::chdir(saved), 0);
}

}  // namespace
