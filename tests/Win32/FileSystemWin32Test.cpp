// Reading directories on Windows: listings through the system's find operations, the walker and
// item collection on top of them, and paths longer than MAX_PATH. The listing order is the
// system's, so the tests compare sets, or trees whose order cannot matter.
//
// The system's headers are not included: their macros would replace the names of the program's
// own listing record and constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "FileSystem/FileFinder.h"
#include "ItemCollection.h"
#include "Platform/ExtendedPathWin32.h"
#include "Platform/FileFind.h"
#include "Support/TestSupport.h"

namespace {

namespace Platform = Kvetra::Platform;
using VantorelTest::TTempDir;
using VantorelTest::Utf8;
using VantorelTest::Wide;

constexpr std::size_t kMaxPath = 260;

// Each entry of a listing as "name|<dir>|size" or "name|size", sorted.
// The items from position `from` on as "name=size", sorted: the listing order is the file
// system's.
std::vector<std::string> ItemsSorted(const std::vector<Vantorel::TItem>& items, std::size_t from) {
    std::vector<std::string> flat;
    for (std::size_t i = from; i < items.size(); ++i) {
        flat.push_back(Utf8(items[i].Name) + "=" + std::to_string(items[i].Size));
    }
    std::sort(flat.begin(), flat.end());
    return flat;
}

std::vector<std::string> ListSorted(const std::wstring& directory) {
    std::vector<std::string> entries;
    Platform::WIN32_FIND_DATAW data{};
    const std::wstring pattern = directory + L"\\*";
    const Platform::HANDLE handle = Platform::FindFirstFileW(pattern.c_str(), &data);
    if (handle == Platform::INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        const bool isDirectory = (data.dwFileAttributes & Platform::FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(Utf8(data.cFileName) + (isDirectory ? "|<dir>" : "") + "|" +
                          std::to_string(Kvetra::EntrySize(data)));
    } while (Platform::FindNextFileW(handle, &data) != 0);
    EXPECT_EQ(Platform::FindNextFileW(handle, &data), 0) << "a finished listing stays finished";
    EXPECT_NE(Platform::FindClose(handle), 0);
    std::sort(entries.begin(), entries.end());
    return entries;
}

// Creates below root a chain of directories named `name` until the chain's absolute path is longer
// than minimumLength, with a file "bottom" of fileSize bytes at its end, through extended-length
// paths (which every Windows version takes). Returns the chain's absolute path.
std::wstring MakeDeepChain(const std::wstring& root, const std::wstring& name,
                           std::size_t minimumLength, long long fileSize) {
    std::wstring path = root;
    while (path.size() <= minimumLength) {
        path += L"\\" + name;
        std::filesystem::create_directory(L"\\\\?\\" + path);
    }
    const std::filesystem::path bottom = L"\\\\?\\" + path + L"\\bottom";
    std::ofstream(bottom).close();
    std::filesystem::resize_file(bottom, static_cast<std::uintmax_t>(fileSize));
    return path;
}

// Removes what MakeDeepChain made (the temporary tree's own removal may not reach that deep).
void RemoveDeepChain(const std::wstring& chain) {
    std::error_code ignored;
    std::filesystem::remove_all(L"\\\\?\\" + chain, ignored);
}

std::wstring CurrentDirectory() {
    return std::filesystem::current_path().wstring();
}

struct TExtendedCase {
    std::wstring Path;
    std::wstring Expected;
};

TEST(ExtendedLengthPath, OnlyPathsOfMaxPathOrMoreChangeForm) {
    const std::wstring name(100, L'n');
    const std::wstring cwd = CurrentDirectory();
    ASSERT_FALSE(cwd.empty());
    const std::wstring cwdSlash = cwd.back() == L'\\' ? cwd : cwd + L"\\";
    const std::wstring longRelative = name + L"\\" + name + L"\\" + name + L"\\*";
    const std::wstring shortPath = L"C:\\" + name + L"\\*";
    const std::vector<TExtendedCase> cases = {
        {L"", L""},
        {shortPath, shortPath},
        {L"relative\\*", L"relative\\*"},
        {std::wstring(kMaxPath - 1, L'a'), std::wstring(kMaxPath - 1, L'a')},
        {L"C:\\" + longRelative, L"\\\\?\\C:\\" + longRelative},
        {longRelative, L"\\\\?\\" + cwdSlash + longRelative},
        // Forward slashes, "." and ".." are resolved: the extended form takes none of them.
        {L"C:/" + name + L"/./x/../" + name + L"/" + name + L"/*",
         L"\\\\?\\C:\\" + name + L"\\" + name + L"\\" + name + L"\\*"},
        {L"\\\\server\\share\\" + longRelative, L"\\\\?\\UNC\\server\\share\\" + longRelative},
        {L"\\\\?\\C:\\" + longRelative, L"\\\\?\\C:\\" + longRelative},
    };
    for (const TExtendedCase& c : cases) {
        EXPECT_EQ(Platform::ExtendedLengthPath(c.Path), c.Expected) << Utf8(c.Path);
    }
}

TEST(FileFindWin32, ListsEveryEntryWithItsKindAndBothSizeWords) {
    TTempDir tree;
    tree.MakeFile("a", 0);
    tree.MakeFile("Фильм.mkv", 7);
    tree.MakeFile("\u97F3\u697D.flac", 5);
    tree.MakeFile("huge", 5LL << 30);
    tree.MakeDir("sub/inner");
    const std::vector<std::string> expected = {
        ".|<dir>|0",   "..|<dir>|0",          "a|0", "huge|5368709120", "sub|<dir>|0",
        "Фильм.mkv|7", "\u97F3\u697D.flac|5",
    };
    std::vector<std::string> sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(ListSorted(Wide(tree.Path())), sortedExpected);
    EXPECT_EQ(ListSorted(Wide(tree.Path()) + L"\\missing"), std::vector<std::string>{});
}

TEST(FileFindWin32, InvalidHandlesAreRefused) {
    Platform::WIN32_FIND_DATAW data{};
    EXPECT_EQ(Platform::FindNextFileW(Platform::INVALID_HANDLE_VALUE, &data), 0);
    EXPECT_EQ(Platform::FindClose(Platform::INVALID_HANDLE_VALUE), 0);
}

TEST(FileFinderWin32, WalksEveryFileWithItsDirectoryInBackslashForm) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/one.txt", 1);
    tree.MakeFile("start/Альбом/CD1/01.flac", 20);
    tree.MakeFile("start/Альбом/CD2/01.flac", 300);
    tree.MakeDir("start/empty");
    Kvetra::TFileFinder finder(Wide(root));
    std::vector<std::string> walked;
    while (finder.Next()) {
        walked.push_back(Utf8(finder.CurrentDir()) + "|" + Utf8(finder.CurrentName()) + "|" +
                         std::to_string(Kvetra::EntrySize(finder.CurrentData())));
    }
    std::sort(walked.begin(), walked.end());
    const std::vector<std::string> expected = {
        root + "\\|one.txt|1",
        root + "\\Альбом\\CD1\\|01.flac|20",
        root + "\\Альбом\\CD2\\|01.flac|300",
    };
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(Kvetra::GetDirectorySize(Wide(root)), 321u);
    EXPECT_EQ(Kvetra::GetDirectorySize(Wide(root) + L"\\missing"), 0u);
}

// A tree deeper than MAX_PATH is listed, walked and collected whole, from an absolute and from a
// relative path.
TEST(FileFinderWin32, TreesDeeperThanMaxPathAreCountedWhole) {
    TTempDir tree;
    const std::wstring root = Wide(tree.MakeDir("data"));
    tree.MakeFile("data/near", 5);
    const std::wstring chain = MakeDeepChain(root, std::wstring(40, L'q'), 700, 123456);
    ASSERT_GT(chain.size(), 700u);
    EXPECT_EQ(ListSorted(chain),
              (std::vector<std::string>{"..|<dir>|0", ".|<dir>|0", "bottom|123456"}));
    EXPECT_EQ(Kvetra::GetDirectorySize(root), 123461u);
    std::vector<Vantorel::TItem> items;
    Vantorel::CollectItems(root, L"1\\", items);
    EXPECT_EQ(ItemsSorted(items, 0),
              (std::vector<std::string>{"1\\near=5",
                                        "1\\qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq=123456"}));
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(root);
    EXPECT_EQ(Kvetra::GetDirectorySize(L"."), 123461u);
    std::filesystem::current_path(saved);
    RemoveDeepChain(chain.substr(0, root.size() + 41));
}

TEST(ItemCollectionWin32, EveryTopLevelEntryIsOneItemWhateverItsName) {
    TTempDir tree;
    const std::string root = tree.MakeDir("data");
    tree.MakeFile("data/Film.avi", 700);
    tree.MakeFile("data/Солярис.mkv", 1);
    tree.MakeFile("data/\u97F3\u697D.flac", 2);
    tree.MakeFile("data/.hidden", 3);
    tree.MakeFile("data/Кино/a", 40);
    tree.MakeFile("data/Кино/b/c", 60);
    tree.MakeDir("data/Empty");
    std::vector<Vantorel::TItem> items = {{L"earlier", 9}};
    Vantorel::CollectItems(Wide(root), L"2\\", items);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front().Name, L"earlier");
    std::vector<std::string> expected = {
        "2\\.hidden=3", "2\\Empty=0",       "2\\Film.avi=700",
        "2\\Кино=100",  "2\\Солярис.mkv=1", "2\\\u97F3\u697D.flac=2",
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ItemsSorted(items, 1), expected);
}

}  // namespace
