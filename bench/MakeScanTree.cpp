// Builds a large, reproducible tree of sparse files for the directory-reading benchmark.
// Usage: make_scan_tree ROOT [FILE-COUNT]
//
// The root may be missing or an empty directory; anything else is refused, so that the tool never
// mixes its files with someone's data. Files are created and truncated to their size without
// writing a byte, so the tree costs inodes but next to no disk space.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace {

// The layout. Twenty top-level folders share the files evenly. Each folder, the top-level one
// first, takes 10 to 50 files; the next one is made below a randomly chosen earlier folder at most
// kMaxDepth levels down, which gives bushy subtrees of varied depth, until the share is used up.
constexpr std::uint64_t kDefaultFileCount = 200'000;
constexpr std::uint64_t kTopLevelFolders = 20;
constexpr std::uint64_t kMinFilesPerFolder = 10;
constexpr std::uint64_t kMaxFilesPerFolder = 50;
constexpr unsigned kMaxDepth = 6;  // below a top-level folder, which is depth 0

// A fixed seed makes every run build the same tree, so timings of different builds compare.
constexpr std::uint64_t kSeed = 0x5eed'2026'0001ULL;

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kGiB = 1024 * kMiB;

// Sizes of up to 4 GiB go to ftruncate unchanged.
static_assert(sizeof(off_t) >= 8, "build with a 64-bit off_t");

struct TFolder {
    std::string Path;
    unsigned Depth;
};

struct TTotals {
    std::uint64_t Files = 0;
    std::uint64_t Folders = 0;
    std::uint64_t Bytes = 0;
};

// The engine's output sequence is fixed by the standard, but the standard distributions are not,
// so values are drawn from the raw output to get the same tree with any standard library.
class TRandom {
  public:
    explicit TRandom(std::uint64_t seed) : Engine(seed) {}
    // A value in [low, high]. The modulo bias is irrelevant for a test layout.
    std::uint64_t Between(std::uint64_t low, std::uint64_t high) {
        return low + Engine() % (high - low + 1);
    }

  private:
    std::mt19937_64 Engine;
};

[[noreturn]] void ThrowErrno(const std::string& what, const std::string& path) {
    throw std::system_error(errno, std::generic_category(), what + " '" + path + "'");
}

// Any byte count, not whole blocks: mostly small files, some media-sized ones and a few large ones,
// so that single sizes and the totals both need 64 bits.
std::uint64_t FileSize(TRandom& random) {
    const std::uint64_t kind = random.Between(1, 100);
    if (kind <= 60) {
        return random.Between(0, 1 * kMiB);
    }
    if (kind <= 90) {
        return random.Between(1 * kMiB, 100 * kMiB);
    }
    return random.Between(100 * kMiB, 4 * kGiB);
}

void MakeFolder(const std::string& path, TTotals& totals) {
    if (mkdir(path.c_str(), 0755) != 0) {
        ThrowErrno("cannot create folder", path);
    }
    ++totals.Folders;
}

void MakeSparseFile(const std::string& path, std::uint64_t size, TTotals& totals) {
    // O_EXCL: an existing file means the tree is not ours, so it is never overwritten.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        ThrowErrno("cannot create file", path);
    }
    if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        ThrowErrno("cannot set the size of", path);
    }
    if (close(fd) != 0) {
        ThrowErrno("cannot close", path);
    }
    ++totals.Files;
    totals.Bytes += size;
}

std::string NumberedName(const char* stem, std::uint64_t number, const char* suffix) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%05llu%s", stem,
                  static_cast<unsigned long long>(number), suffix);
    return buffer;
}

// Fills one top-level folder (already created) with its share of the files.
void FillTopLevelFolder(const std::string& top, std::uint64_t share, TRandom& random,
                        TTotals& totals) {
    static const char* const kSuffixes[] = {".dat", ".jpg", ".flac", ".mkv", ".txt"};
    std::vector<TFolder> folders{{top, 0}};
    // Parents are drawn from the folders that may still have children.
    std::vector<std::size_t> openFolders{0};
    std::uint64_t fileNumber = 0;
    std::uint64_t folderNumber = 0;
    std::size_t current = 0;
    while (true) {
        const std::uint64_t count =
            std::min(share, random.Between(kMinFilesPerFolder, kMaxFilesPerFolder));
        for (std::uint64_t i = 0; i < count; ++i) {
            const char* suffix = kSuffixes[random.Between(0, std::size(kSuffixes) - 1)];
            MakeSparseFile(folders[current].Path + '/' + NumberedName("file", fileNumber++, suffix),
                           FileSize(random), totals);
        }
        share -= count;
        if (share == 0) {
            return;
        }
        const std::size_t parent = openFolders[random.Between(0, openFolders.size() - 1)];
        const TFolder child{folders[parent].Path + '/' + NumberedName("sub", folderNumber++, ""),
                            folders[parent].Depth + 1};
        MakeFolder(child.Path, totals);
        folders.push_back(child);
        current = folders.size() - 1;
        if (child.Depth < kMaxDepth) {
            openFolders.push_back(current);
        }
    }
}

// Refuses any root that holds something: the tool must not scatter files among existing ones.
void PrepareRoot(const std::filesystem::path& root) {
    std::error_code error;
    const auto status = std::filesystem::status(root, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        std::filesystem::create_directories(root);
        return;
    }
    if (error) {
        throw std::system_error(error, "cannot examine '" + root.string() + "'");
    }
    if (status.type() != std::filesystem::file_type::directory) {
        throw std::runtime_error("'" + root.string() + "' exists and is not a directory");
    }
    if (!std::filesystem::is_empty(root)) {
        throw std::runtime_error("'" + root.string() + "' is not empty; give a new or empty one");
    }
}

std::uint64_t ParseFileCount(const char* text) {
    std::uint64_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc{} || stop != end || value == 0) {
        throw std::runtime_error(
            std::string("the file count must be a positive whole number, not '") + text + "'");
    }
    return value;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "make_scan_tree")
                  << " ROOT [FILE-COUNT]\n"
                     "Creates FILE-COUNT (default "
                  << kDefaultFileCount << ") sparse files in " << kTopLevelFolders
                  << " nested folders below ROOT, which must be missing or empty.\n";
        return 2;
    }
    try {
        const std::string root = argv[1];
        const std::uint64_t fileCount = argc == 3 ? ParseFileCount(argv[2]) : kDefaultFileCount;
        PrepareRoot(root);

        TRandom random(kSeed);
        TTotals totals;
        for (std::uint64_t t = 0; t < kTopLevelFolders; ++t) {
            // The first folders take one more file each when the count does not divide evenly.
            const std::uint64_t share =
                fileCount / kTopLevelFolders + (t < fileCount % kTopLevelFolders ? 1 : 0);
            const std::string top = root + '/' + NumberedName("top", t, "");
            MakeFolder(top, totals);
            if (share > 0) {
                FillTopLevelFolder(top, share, random, totals);
            }
        }
        std::cout << "files: " << totals.Files << "\ndirectories: " << totals.Folders
                  << "\nbytes: " << totals.Bytes << '\n';
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make_scan_tree: " << e.what() << '\n';
        return 1;
    }
}
