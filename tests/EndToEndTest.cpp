// The built program, run as a user runs it: its whole standard output (the time of day in error
// records masked) and its exit code.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "Support/TestSupportPosix.h"

namespace {

using VantorelTest::kBannerUtf8;
using VantorelTest::MaskTimes;
using VantorelTest::RunVantorel;
using VantorelTest::SourceLineOf;
using VantorelTest::TInput;
using VantorelTest::TTempDir;

constexpr char kPrompt[] = "\nPress any Key...\n";

std::string Record(const std::string& file, int line, const std::string& message) {
    return "HH:MM:SS Kvetra::TAplThrowException " + file + ", " + std::to_string(line) + ":\n\t" +
           message + "\n\n";
}

std::string ArgumentCountRecord() {
    return Record("main/Driver.cpp",
                  SourceLineOf("main/Driver.cpp", {"Недопустимое количество аргументов"}),
                  "Недопустимое количество аргументов. См. Использовние");
}

std::string MissingDirectoryRecord(const std::string& shownAs) {
    return Record("main/Driver.cpp", SourceLineOf("main/Driver.cpp", {"RaiseAplError(message"}),
                  "Каталог '" + shownAs + "' не найден");
}

std::string NotPositiveRecord() {
    return Record("main/Driver.cpp",
                  SourceLineOf("main/Driver.cpp", {"Желаемый размер должен быть больше нуля"}),
                  "Желаемый размер должен быть больше нуля");
}

std::string VolumeRecord(const char* raiser, const std::string& message) {
    return Record("main/VolumeParser.cpp",
                  SourceLineOf("main/VolumeParser.cpp", {raiser, "RaiseAplError"}), message);
}

// The progress lines for reading the directories, as typed, with their prefixes.
std::string Reading(const std::vector<std::string>& directories) {
    std::string lines;
    for (std::size_t k = 0; k < directories.size(); ++k) {
        const std::string prefix = directories.size() > 1 ? std::to_string(k + 1) + "\\" : "";
        lines += "Чтение каталога " + prefix + ": " + directories[k] + " ...\n";
    }
    return lines;
}

// The search's part of a run: its announcement, the reports given, and the closing line.
std::string Searched(const std::string& reports = "") {
    return "\nНачинаем поиск решений...\n" + reports +
           "\nПоиск закончен. Последнее решение оптимальное.\n";
}

// One improving combination as the search shows it.
std::string Solution(const std::string& unused, const std::vector<std::string>& names,
                     const std::string& total) {
    std::string lines =
        "\n----- Найдено частное решение -----\nОсталось не использованно: " + unused + "\n";
    for (const std::string& name : names) {
        lines += name + "\n";
    }
    return lines + "Всего: " + total + "\n";
}

std::string Transcript(const std::string& afterBanner) {
    return std::string(kBannerUtf8) + "\n" + afterBanner + kPrompt;
}

void ExpectRun(const std::vector<std::string>& args, const std::string& output, int exitCode,
               TInput input = TInput::DevNull, const std::string& workDir = "") {
    const VantorelTest::TRunResult result = RunVantorel(args, input, workDir);
    EXPECT_EQ(MaskTimes(result.Output), output);
    EXPECT_EQ(result.ExitCode, exitCode);
}

class EndToEnd : public testing::Test {
  protected:
    TTempDir Tree;
    std::string Films = Tree.MakeDir("Films");
    std::string Music = Tree.MakeDir("Music");
    std::string FileArg = Tree.MakeFile("notes.txt", 10);
    std::string Missing = Tree.Path() + "/missing";
};

TEST_F(EndToEnd, TooFewArgumentsEndWithTheArgumentCountRecord) {
    ExpectRun({}, Transcript(ArgumentCountRecord()), 1);
    ExpectRun({"700Mb"}, Transcript(ArgumentCountRecord()), 1);
}

TEST_F(EndToEnd, AnAcceptedVolumeIsEchoedAndEachDirectoryAnnounced) {
    ExpectRun(
        {Films, "700Mb"},
        Transcript("Желаемый объём:  700.00 MB (734003200 B)\n" + Reading({Films}) + Searched()),
        0);
    ExpectRun({Films, Music, "100"},
              Transcript("Желаемый объём:  100 B\n" + Reading({Films, Music}) + Searched()), 0);
    ExpectRun({Films, "\t1Tb"},
              Transcript("Желаемый объём:  1024.00 GB (1099511627776 B)\n" + Reading({Films}) +
                         Searched()),
              0);
}

TEST_F(EndToEnd, NoWaitWithStandardInputClosed) {
    ExpectRun(
        {Films, "4482Mb"},
        Transcript("Желаемый объём:  4.38 GB (4699717632 B)\n" + Reading({Films}) + Searched()), 0,
        TInput::Closed);
    ExpectRun({}, Transcript(ArgumentCountRecord()), 1, TInput::Closed);
}

TEST_F(EndToEnd, TheFirstBadDirectoryIsNamedExactlyAsTyped) {
    ExpectRun({Films, Missing, "700Mb"}, Transcript(MissingDirectoryRecord(Missing)), 1);
    ExpectRun({Missing + "/", Missing + "2", "700Mb"},
              Transcript(MissingDirectoryRecord(Missing + "/")), 1);
    ExpectRun({FileArg, "700Mb"}, Transcript(MissingDirectoryRecord(FileArg)), 1);
    ExpectRun({"", "700Mb"}, Transcript(MissingDirectoryRecord("")), 1);
}

TEST_F(EndToEnd, DirectoriesAreCheckedBeforeTheVolumeIsParsed) {
    ExpectRun({Missing, "1.5Gb"}, Transcript(MissingDirectoryRecord(Missing)), 1);
}

TEST_F(EndToEnd, DirectoryNamesInRecordsShowWhatTheCodePageHolds) {
    // Cyrillic is in the code page; CJK and a byte that is not UTF-8 are not.
    ExpectRun({"Нет такого", "700Mb"}, Transcript(MissingDirectoryRecord("Нет такого")), 1);
    ExpectRun({"音楽", "700Mb"}, Transcript(MissingDirectoryRecord("??")), 1);
    ExpectRun({"caf\xE9", "700Mb"}, Transcript(MissingDirectoryRecord("caf?")), 1);
}

TEST_F(EndToEnd, DirectoriesMayBeRelativeLinkedRepeatedOrMany) {
    ASSERT_EQ(::symlink("Films", (Tree.Path() + "/link").c_str()), 0);
    const std::string echo = "Желаемый объём:  1.00 KB (1024 B)\n";
    // "." holds the only items that are not empty: notes.txt and the link, which is not followed
    // and counts with its own size, the length of the name it holds.
    const std::string reports = Solution("1014 B", {"2\\notes.txt"}, "10 B") +
                                Solution("1009 B", {"2\\notes.txt", "2\\link"}, "15 B");
    ExpectRun({"Films", ".", "link", "Films/", "1kb"},
              Transcript(echo + Reading({"Films", ".", "link", "Films/"}) + Searched(reports)), 0,
              TInput::DevNull, Tree.Path());
    // Ten and more: the prefixes go on in decimal (10\, 11\).
    std::vector<std::string> eleven(11, Films);
    std::vector<std::string> args = eleven;
    args.push_back("1KB");
    ExpectRun(args, Transcript(echo + Reading(eleven) + Searched()), 0);
    // A name that is not valid UTF-8 is found all the same; the console shows '?' for the byte.
    const std::string latin1 = Tree.MakeDir("caf\xE9");
    ExpectRun({latin1, "1kb"}, Transcript(echo + Reading({Tree.Path() + "/caf?"}) + Searched()), 0);
    const std::string cyrillic = Tree.MakeDir("Фильмы");
    ExpectRun({cyrillic, "1kb"}, Transcript(echo + Reading({cyrillic}) + Searched()), 0);
}

TEST_F(EndToEnd, TreesThatAreDeepLoopedOrLockedAreReadToTheEnd) {
    Tree.MakeFile("Films/a.avi", 5000);
    Tree.MakeLink("Films/loop/up", "..");
    VantorelTest::MakeDeepChain(Tree.MakeDir("Films/deep"), 'x', 250, 6000, 77);
    // Refused only when the tests do not run as root; the walker tests make the refusal real.
    Tree.MakeFile("Films/locked/inside", 1);
    ASSERT_EQ(::chmod((Films + "/locked").c_str(), 0), 0);
    const bool lockedIsRead = ::access((Films + "/locked").c_str(), R_OK | X_OK) == 0;
    // The loop counts with its link (2 bytes, ".."), the deep chain with its one file.
    std::string reports =
        Solution("5.12 KB (5240 B)", {"a.avi"}, "4.88 KB (5000 B)") +
        Solution("5.04 KB (5163 B)", {"a.avi", "deep"}, "4.96 KB (5077 B)") +
        Solution("5.04 KB (5161 B)", {"a.avi", "deep", "loop"}, "4.96 KB (5079 B)");
    if (lockedIsRead) {
        reports +=
            Solution("5.04 KB (5160 B)", {"a.avi", "deep", "loop", "locked"}, "4.96 KB (5080 B)");
    }
    ExpectRun(
        {Films, "10kb"},
        Transcript("Желаемый объём:  10.00 KB (10240 B)\n" + Reading({Films}) + Searched(reports)),
        0);
}

// A whole run on a small collection: two items that can never fit (a folder and a file), then the
// greedy fill and the better combination that only backtracking finds.
TEST_F(EndToEnd, AWholeRunShowsOversizedItemsAndEveryImprovement) {
    Tree.MakeFile("Films/520.avi", 520);
    Tree.MakeFile("Films/495.avi", 495);
    Tree.MakeFile("Films/470.avi", 470);
    Tree.MakeFile("Films/Альбом/CD1/01.flac", 300);
    Tree.MakeFile("Films/Альбом/CD2/01.flac", 200);
    Tree.MakeFile("Films/Big/part1", 1000);
    Tree.MakeFile("Films/Big/part2", 500);
    Tree.MakeFile("Films/huge.iso", 1001);
    Tree.MakeFile("Films/empty", 0);
    const std::string hyphens(79, '-');
    const std::string oversized = "\n" + hyphens +
                                  "\nОбнаружены файлы/каталоги которые не поместятся в заданный "
                                  "объём:\nBig\t500 B\nhuge.iso\t1 B\n" +
                                  hyphens + "\n";
    const std::string reports = Solution("480 B", {"520.avi"}, "520 B") +
                                Solution("10 B", {"520.avi", "470.avi"}, "990 B") +
                                Solution("5 B", {"Альбом", "495.avi"}, "995 B");
    ExpectRun(
        {Films, "1000"},
        Transcript("Желаемый объём:  1000 B\n" + Reading({Films}) + oversized + Searched(reports)),
        0);
}

// Several directories: names carry their prefixes, items of equal size keep the order in which
// they were read, and an exact fit ends the search at once.
TEST_F(EndToEnd, AnExactFitAcrossDirectoriesEndsTheSearch) {
    Tree.MakeFile("Films/700.mkv", 700);
    Tree.MakeFile("Films/300 b", 300);
    Tree.MakeFile("Music/300.flac", 300);
    Tree.MakeFile("Music/caf\xE9", 1);
    const std::string reports = Solution("300 B", {"1\\700.mkv"}, "700 B") +
                                Solution("0 B", {"1\\700.mkv", "1\\300 b"}, "1000 B");
    ExpectRun({Films, Music, "1000b"},
              Transcript("Желаемый объём:  1000 B\n" + Reading({Films, Music}) + Searched(reports)),
              0);
    // Read in the other order, the other 300-byte item comes first.
    const std::string swapped = Solution("300 B", {"2\\700.mkv"}, "700 B") +
                                Solution("0 B", {"2\\700.mkv", "1\\300.flac"}, "1000 B");
    ExpectRun({Music, Films, "1000b"},
              Transcript("Желаемый объём:  1000 B\n" + Reading({Music, Films}) + Searched(swapped)),
              0);
}

// Ctrl+C while the search is still showing solutions: every report line shown so far reached the
// screen while the search went on, and the output ends with a whole line.
TEST_F(EndToEnd, ReportsReachTheScreenWhileTheSearchRunsAndSurviveCtrlC) {
    // Six hundred items that all fit together: the first descent alone shows six hundred reports
    // of up to six hundred names, over a megabyte. The pipe holds far less, so the program is
    // still at work, blocked on its output, when the first report's total has arrived and the
    // signal is sent, however fast the search is.
    for (int i = 0; i < 600; ++i) {
        Tree.MakeFile("Films/f" + std::to_string(1000 + i), 1000 + i);
    }
    const VantorelTest::TRunResult result = VantorelTest::RunVantorelInterrupted(
        {Films, "1000000b"}, "Всего: ", std::chrono::seconds(20));
    EXPECT_EQ(result.Signal, SIGINT) << "the first report did not arrive while the search ran";
    EXPECT_EQ(result.ExitCode, -1);
    ASSERT_FALSE(result.Output.empty());
    EXPECT_EQ(result.Output.back(), '\n');
    EXPECT_NE(
        result.Output.find("Начинаем поиск решений...\n\n----- Найдено частное решение -----\n"),
        std::string::npos);
    EXPECT_EQ(result.Output.find("Поиск закончен"), std::string::npos);
    EXPECT_EQ(result.Output.find("Press any Key"), std::string::npos);
}

// Names that are not UTF-8 or hold control characters show with '?' in the reports.
TEST_F(EndToEnd, NamesThatCannotShowAsTheyAreShowWithQuestionMarks) {
    Tree.MakeFile("Music/caf\xE9", 2);
    Tree.MakeFile("Music/new\nline\x1b[0m", 1);
    const std::string reports =
        Solution("8 B", {"caf?"}, "2 B") + Solution("7 B", {"caf?", "new?line?[0m"}, "3 B");
    ExpectRun({Music, "10"},
              Transcript("Желаемый объём:  10 B\n" + Reading({Music}) + Searched(reports)), 0);
}

TEST_F(EndToEnd, ADirectoryTotalBeyondTheSigned64BitRangeEndsTheRunWithARecord) {
    if (!VantorelTest::CanMakeHugeFiles()) {
        GTEST_SKIP() << VantorelTest::kNoHugeFiles;
    }
    TTempDir huge(VantorelTest::kHugeFileBase);
    const std::string data = huge.MakeDir("data");
    huge.MakeFile("data/sparse/a", INT64_MAX);
    huge.MakeFile("data/sparse/b", 1);
    const std::string record =
        Record("main/ItemCollection.cpp",
               SourceLineOf("main/ItemCollection.cpp", {"std::int64_t ItemSize", "RaiseAplError"}),
               "Размер '" + data + "/sparse' больше 9223372036854775807 B");
    ExpectRun(
        {data, "1Tb"},
        Transcript("Желаемый объём:  1024.00 GB (1099511627776 B)\n" + Reading({data}) + record),
        1);
}

TEST_F(EndToEnd, AVolumeOfZeroOrLessIsRejectedBeforeItIsEchoed) {
    ExpectRun({Films, "0"}, Transcript(NotPositiveRecord()), 1);
    ExpectRun({Films, "0Tb"}, Transcript(NotPositiveRecord()), 1);
    ExpectRun({Films, "-5Gb"}, Transcript(NotPositiveRecord()), 1);
}

TEST_F(EndToEnd, AMalformedVolumeGetsItsOwnRecord) {
    const char* const conversion = "void RaiseConversionError";
    const char* const unit = "void RaiseUnitError";
    const struct {
        const char* Volume;
        const char* Raiser;
        std::string Message;
    } cases[] = {
        {"Mb", conversion, "Ошибка при преобразовании параметра 'Mb' в число"},
        {"1.5Gb", unit, "Ошибка при определении единиц измерения параметра '1.5Gb'"},
        {"5 Кб", unit, "Ошибка при определении единиц измерения параметра '5 Кб'"},
        // Out of range: the conversion error, never a wrapped value.
        {"8388608Tb", conversion, "Ошибка при преобразовании параметра '8388608Tb' в число"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Volume);
        ExpectRun({Films, c.Volume}, Transcript(VolumeRecord(c.Raiser, c.Message)), 1);
    }
}

}  // namespace
