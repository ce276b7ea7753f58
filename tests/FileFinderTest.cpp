// The directory walker and directory sizes: walk order, the current directory, the extension
// filter, and trees that are deep, large, looped or partly unreadable.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "FileSystem/FileFinder.h"
#include "Platform/NativeNames.h"
#include "Support/TestSupportPosix.h"

namespace {

using Kvetra::GetDirectorySize;
using Kvetra::TFileFinder;
using Kvetra::Platform::NativeToWide;
using Kvetra::Platform::WideToNative;
using VantorelTest::TTempDir;

std::uint64_t SizeOf(const Kvetra::Platform::WIN32_FIND_DATAW& data) {
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// Each file the walker hands out, as "directory|name|size", until the walk ends.
std::vector<std::string> Walk(TFileFinder& finder) {
    std::vector<std::string> steps;
    while (finder.Next()) {
        steps.push_back(WideToNative(finder.CurrentDir()) + "|" +
                        WideToNative(finder.CurrentName()) + "|" +
                        std::to_string(SizeOf(finder.CurrentData())));
    }
    return steps;
}

std::uint64_t SizeOf(const std::string& path) {
    return GetDirectorySize(NativeToWide(path));
}

TEST(FileFinder, WalksDepthFirstWithTheCurrentDirectoryOfEachFile) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/a.txt", 1);
    tree.MakeFile("start/b/inner.txt", 2);
    tree.MakeFile("start/c.txt", 3);
    const std::vector<std::string> expected = {
        root + "/|a.txt|1",
        root + "/b/|inner.txt|2",
        root + "/|c.txt|3",
    };
    // With or without the final separator the walk is the same.
    for (const std::string& start : {root, root + "/"}) {
        SCOPED_TRACE(start);
        TFileFinder finder(NativeToWide(start));
        EXPECT_EQ(Walk(finder), expected);
        EXPECT_EQ(finder.CurrentDir(), L"");
        EXPECT_FALSE(finder.Next()) << "a finished walk stays finished";
    }
}

TEST(FileFinder, TheLastFileOfADirectoryStillShowsItsDirectory) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/sub/only", 4);
    TFileFinder finder(NativeToWide(root));
    ASSERT_TRUE(finder.Next());
    // The listing of sub has ended, but the walker is still on its file.
    EXPECT_EQ(WideToNative(finder.CurrentDir()), root + "/sub/");
    EXPECT_EQ(finder.CurrentName(), L"only");
    EXPECT_FALSE(finder.Next());
}

TEST(FileFinder, CountsEveryFileOnceAtAnyDepthAndEmptyFoldersAsNothing) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/one", 1);
    tree.MakeFile("start/x/y/three", 30);
    tree.MakeFile("start/x/y/z/w/five", 500);
    tree.MakeFile("start/x/y/z/w/zero", 0);
    tree.MakeDir("start/empty");
    tree.MakeDir("start/x/y/z/empty/too");
    EXPECT_EQ(SizeOf(root), 531u);
    EXPECT_EQ(SizeOf(tree.MakeDir("start/empty")), 0u);
    EXPECT_EQ(SizeOf(tree.Path() + "/missing"), 0u);
    EXPECT_EQ(SizeOf(tree.MakeFile("plain", 9)), 0u) << "a file is not a directory to walk";
}

TEST(FileFinder, FilesOver4GiBCountWhole) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/big", (5LL << 30) + 7);
    tree.MakeFile("start/sub/bigger", (1LL << 40) + 1);
    EXPECT_EQ(SizeOf(root), (5ULL << 30) + 7 + (1ULL << 40) + 1);
}

TEST(FileFinder, LinksCountWithTheirOwnSizeAndAreNeverFollowed) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/data", 1000);
    tree.MakeLink("start/loop/up", "..");                  // 2 bytes, a loop if followed
    tree.MakeLink("start/loop/self", "../loop");           // 7 bytes
    tree.MakeLink("start/outside", tree.Path() + "/far");  // points out of the tree
    tree.MakeFile("far/heavy", 1 << 20);
    EXPECT_EQ(SizeOf(root), 1000u + 2 + 7 + (tree.Path() + "/far").size());
}

TEST(FileFinder, NamesThatAreNotUtf8AreWalkedInto) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/caf\xE9/\xFF\xFE", 11);
    tree.MakeFile("start/caf\xE9/deeper\x80/x", 22);
    TFileFinder finder(NativeToWide(root));
    const std::vector<std::string> expected = {
        root + "/caf\xE9/deeper\x80/|x|22",
        root + "/caf\xE9/|\xFF\xFE|11",
    };
    EXPECT_EQ(Walk(finder), expected);
}

TEST(FileFinder, TreesDeeperThanTheLongestPathAreCountedWhole) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/near", 5);
    const std::string chain = VantorelTest::MakeDeepChain(root, 'q', 100, 9000, 123456);
    ASSERT_GT(root.size() + chain.size(), 8192u);
    EXPECT_EQ(SizeOf(root), 123461u);
    // Short names make a path over 4096 characters from 2,100 levels, walked while the process
    // may hold no more than 256 descriptors: the walk must not keep one open per level.
    const std::string many = tree.MakeDir("many");
    VantorelTest::MakeDeepChain(many, 'n', 1, 4200, 77);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit lowered = saved;
    lowered.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 256);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    const std::uint64_t size = SizeOf(many);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_EQ(size, 77u);
}

TEST(FileFinder, ASubdirectoryThatRefusesToBeListedAddsNothingAndHidesNoSibling) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/a", 1);
    tree.MakeFile("start/locked/secret", 1000);
    tree.MakeFile("start/locked/deeper/secret", 2000);
    tree.MakeFile("start/listable/file", 4000);  // names can be read but not looked up
    tree.MakeFile("start/z/b", 10);
    ASSERT_EQ(::chmod(tree.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((root + "/locked").c_str(), 0), 0);
    ASSERT_EQ(::chmod((root + "/listable").c_str(), 0444), 0);
    const auto seen = VantorelTest::RunWithoutPrivileges([&] {
        std::ostringstream out;
        out << SizeOf(root) << " " << SizeOf(root + "/locked");
        return out.str();
    });
    if (!seen) {
        GTEST_SKIP() << VantorelTest::kCannotRefuse;
    }
    EXPECT_EQ(*seen, "11 0");
}

TEST(FileFinder, SumsBeyond64BitsAreHeldAtTheLargestValue) {
    if (!VantorelTest::CanMakeHugeFiles()) {
        GTEST_SKIP() << VantorelTest::kNoHugeFiles;
    }
    TTempDir tree(VantorelTest::kHugeFileBase);
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/first", INT64_MAX);
    tree.MakeFile("start/second", INT64_MAX);
    EXPECT_EQ(SizeOf(root), 2 * static_cast<std::uint64_t>(INT64_MAX));
    tree.MakeFile("start/third", 2);
    EXPECT_EQ(SizeOf(root), UINT64_MAX);
}

struct TFilterCase {
    const char* Name;
    bool Accepted;
};

TEST(FileFinder, ExtensionsAreWhatFollowsTheLastDotCaseIncluded) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    const std::vector<TFilterCase> cases = {
        {"a.tar.gz", true},    // the last dot counts
        {"notes.txt", true},   //
        {"notes.TXT", false},  // case differs
        {"README", false},     // no dot: the whole name is its extension
        {"txt", true},         // ... which may match
        {"ends.", false},      // empty extension
        {"z.gz.bak", false},   //
        {"sub/deep.zip", true}, {"sub/deep.c", true}, {".gz", true},
    };
    for (const TFilterCase& c : cases) {
        tree.MakeFile(std::string("start/") + c.Name, 1);
    }
    TFileFinder finder(NativeToWide(root));
    // Given unsorted, with a duplicate: the walker sorts them for its binary search.
    finder.Reset(NativeToWide(root), {L"zip", L"txt", L"gz", L"c", L"txt"}, true);
    std::vector<std::string> accepted;
    while (finder.Next()) {
        accepted.push_back(WideToNative(finder.CurrentDir().substr(NativeToWide(root).size() + 1) +
                                        finder.CurrentName()));
    }
    std::vector<std::string> expected;
    for (const TFilterCase& c : cases) {
        if (c.Accepted) {
            expected.push_back(c.Name);
        }
    }
    std::sort(accepted.begin(), accepted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(accepted, expected);
}

TEST(FileFinder, WithoutRecursionOnlyTheTopFilesAreHandedOut) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/top", 1);
    tree.MakeFile("start/sub/below", 2);
    TFileFinder finder(NativeToWide(root));
    finder.Reset(NativeToWide(root), {}, false);
    EXPECT_EQ(Walk(finder), std::vector<std::string>{root + "/|top|1"});
}

TEST(FileFinder, CloseEndsTheWalkAndResetStartsAFreshOne) {
    TTempDir tree;
    const std::string root = tree.MakeDir("start");
    tree.MakeFile("start/a/1", 1);
    tree.MakeFile("start/a/2", 2);
    tree.MakeFile("start/b", 3);
    TFileFinder finder(NativeToWide(root));
    ASSERT_TRUE(finder.Next());
    finder.Close();
    EXPECT_EQ(finder.CurrentDir(), L"");
    EXPECT_FALSE(finder.Next());
    finder.Reset(NativeToWide(root), {}, true);
    EXPECT_EQ(Walk(finder).size(), 3u);
    // Reset in the middle of a walk drops it.
    finder.Reset(NativeToWide(root + "/a"), {}, true);
    ASSERT_TRUE(finder.Next());
    finder.Reset(NativeToWide(root), {}, true);
    EXPECT_EQ(Walk(finder).size(), 3u);
}

}  // namespace
