// The search against the plain enumeration and against an integer-programming solver.
//
// For each family of instances and each size, five seeds give five instances. Each instance is
// searched three ways, each in a child process with a time limit, so that a search that runs away
// costs no more than its limit:
// - the program's search (SearchSubsets), as the program runs it;
// - the plain enumeration (SearchSubsetsPlain), which most families would keep busy for years;
// - CBC (`cbc` from coinor-cbc), given the instance as an LP file, its answer re-checked in integer
//   arithmetic against the volume and against the optimum the program's search proved.
// A search is timed in up to five rounds, each repeating it for at least 4 ms (or running it once,
// if that takes longer), until 20 ms have been spent; its time is the average run of the quickest
// round. The plain enumeration is timed in alternate rounds with the program's search, in one
// process, and is given its limit plus twice the program's search time. The table shows medians
// over the seeds; once one seed of a family hits a limit, the other seeds of that family skip
// that way of searching. Where the plain enumeration finishes, the two searches' report sequences
// are compared by a fingerprint: each report's remainder, length and positions (only the first
// and last of a report with more than 1,000 items). The +MiB column
// is how far the program's search raised the peak resident memory, the most over the seeds.
//
//   search_bench [--quick] [--plain-limit SECONDS] [--cbc-limit SECONDS] [--no-cbc] [FAMILY...]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Search.h"

namespace {

using Vantorel::TSelection;

constexpr std::int64_t KB = 1024;
constexpr std::int64_t MB = 1024 * KB;
constexpr std::int64_t GB = 1024 * MB;

struct TInstance {
    std::vector<std::int64_t> Sizes;  // largest first
    std::int64_t Volume = 0;
};

struct TFamily {
    std::string Group;
    std::string Name;
    std::size_t N;
    std::function<TInstance(std::size_t n, std::mt19937_64& random)> Make;
};

std::int64_t Uniform(std::mt19937_64& random, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
}

std::int64_t Sum(const std::vector<std::int64_t>& sizes) {
    std::int64_t sum = 0;
    for (const std::int64_t size : sizes) {
        sum += size;  // every family keeps its sum far below 2^63
    }
    return sum;
}

TInstance Finish(std::vector<std::int64_t> sizes, std::int64_t volume) {
    std::sort(sizes.rbegin(), sizes.rend());
    return {std::move(sizes), volume};
}

// n sizes uniform in [low, high] against a fixed volume, or half their sum when volume is 0.
auto UniformFamily(std::int64_t low, std::int64_t high, std::int64_t volume) {
    return [=](std::size_t n, std::mt19937_64& random) {
        std::vector<std::int64_t> sizes(n);
        for (std::int64_t& size : sizes) {
            size = Uniform(random, low, high);
        }
        const std::int64_t v = volume != 0 ? volume : Sum(sizes) / 2;
        return Finish(std::move(sizes), v);
    };
}

std::vector<TFamily> Families() {
    std::vector<TFamily> families;
    const auto add = [&](std::string group, std::string name, std::size_t n, auto make) {
        families.push_back({std::move(group), std::move(name), n, make});
    };
    add("tiny", "random 1-10 GB, half the sum", 4, UniformFamily(GB, 10 * GB, 0));
    add("tiny", "random 1-10 GB, half the sum", 8, UniformFamily(GB, 10 * GB, 0));
    add("tiny", "random 1-10 GB, half the sum", 12, UniformFamily(GB, 10 * GB, 0));
    add("tiny", "random 1-10 GB, half the sum", 16, UniformFamily(GB, 10 * GB, 0));
    add("tiny", "random 1-10 GB, half the sum", 20, UniformFamily(GB, 10 * GB, 0));
    add("tiny", "all fit, 1-10 GB", 12, UniformFamily(GB, 10 * GB, 1000 * GB));

    add("realistic", "photos 2-8 MB @ 4482Mb", 2000, UniformFamily(2 * MB, 8 * MB, 4482 * MB));
    add("realistic", "music 40-200 MB @ 4482Mb", 300, UniformFamily(40 * MB, 200 * MB, 4482 * MB));
    add("realistic", "films 0.7-4.5 GB @ 23866Mb", 40,
        UniformFamily(7 * GB / 10, 45 * GB / 10, 23866 * MB));
    for (const std::size_t n : {40, 100, 5000}) {
        add("realistic", "videos 300 MB-1.5 GB @ 4482Mb", n,
            UniformFamily(300 * MB, 3 * GB / 2, 4482 * MB));
    }

    for (const std::size_t n : {30, 40, 50, 60}) {
        add("random", "1-10 GB, half the sum", n, UniformFamily(GB, 10 * GB, 0));
    }

    for (const std::size_t n : {30, 40, 50, 60}) {
        add("hard", "even 1-10 GB, odd volume", n, [](std::size_t count, std::mt19937_64& random) {
            std::vector<std::int64_t> sizes(count);
            for (std::int64_t& size : sizes) {
                size = 2 * Uniform(random, GB / 2, 5 * GB);
            }
            const std::int64_t volume = Sum(sizes) / 2 | 1;
            return Finish(std::move(sizes), volume);
        });
    }
    for (const std::size_t n : {30, 40, 50, 60}) {
        // Sizes n(n+1)+j, j = 1..n, against a volume that fewer than half of them fill but
        // never exactly.
        add("hard", "sizes n(n+1)+j", n, [](std::size_t count, std::mt19937_64&) {
            const auto m = static_cast<std::int64_t>(count);
            std::vector<std::int64_t> sizes;
            for (std::int64_t j = 1; j <= m; ++j) {
                sizes.push_back(m * (m + 1) + j);
            }
            return Finish(std::move(sizes), (m - 1) / 2 * m * (m + 1) + m * (m - 1) / 2);
        });
    }
    for (const std::size_t n : {20, 30, 40, 50}) {
        // Sizes 2^(k+n+1) + 2^(k+j) + 1, k = floor(log2 n), against half their sum: as many bits
        // as 64-bit sizes allow.
        add("hard", "sizes 2^(k+n+1)+2^(k+j)+1", n, [](std::size_t count, std::mt19937_64&) {
            const int m = static_cast<int>(count);
            const int k = static_cast<int>(std::floor(std::log2(m)));
            std::vector<std::int64_t> sizes;
            for (int j = 1; j <= m; ++j) {
                sizes.push_back((std::int64_t{1} << (k + m + 1)) + (std::int64_t{1} << (k + j)) +
                                1);
            }
            const std::int64_t volume = Sum(sizes) / 2;
            return Finish(std::move(sizes), volume);
        });
    }
    add("hard", "25 distinct sizes of 1-10 GB, 8 each", 200,
        [](std::size_t count, std::mt19937_64& random) {
            std::vector<std::int64_t> distinct(25);
            for (std::int64_t& size : distinct) {
                size = Uniform(random, GB, 10 * GB);
            }
            std::vector<std::int64_t> sizes;
            for (std::size_t i = 0; i < count; ++i) {
                sizes.push_back(distinct[i % distinct.size()]);
            }
            const std::int64_t volume = Sum(sizes) / 2;
            return Finish(std::move(sizes), volume);
        });

    add("huge", "1-4 KB, half the sum", 1000000, UniformFamily(KB, 4 * KB, 0));
    add("huge", "1-4 KB @ 4482Mb (all fit)", 1000000, UniformFamily(KB, 4 * KB, 4482 * MB));
    return families;
}

// What a search run tells the parent.
struct TRun {
    bool Done = false;   // finished on its own (false: killed at the limit, or failed)
    double Seconds = 0;  // per run
    std::uint64_t Visited = 0;
    std::uint64_t Reports = 0;
    std::uint64_t Checksum = 0;  // over the whole report sequence
    std::int64_t Best = -1;      // the last remainder reported
    long ExtraKiB = 0;           // how far the search raised the peak resident memory
};

// Reports of up to this many items are fingerprinted position by position; longer ones by their
// first and last position, or the fingerprint alone would cost as much as a million-item search.
constexpr std::size_t kFullFingerprint = 1000;

std::uint64_t Mix(std::uint64_t h, std::uint64_t value) {
    return (h ^ value) * 0x100000001b3ULL;
}

// Runs work in a child process, killed after limit seconds; the child sends back what work returns,
// or a default T when it was killed or failed.
template <typename T>
T InChild(double limit, const std::function<T()>& work) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (child == 0) {
        close(pipe_fds[0]);
        itimerval timer{};
        timer.it_value.tv_sec = static_cast<time_t>(limit);
        timer.it_value.tv_usec = static_cast<suseconds_t>((limit - std::floor(limit)) * 1e6);
        std::signal(SIGALRM, SIG_DFL);
        setitimer(ITIMER_REAL, &timer, nullptr);
        const T run = work();
        if (write(pipe_fds[1], &run, sizeof run) != static_cast<ssize_t>(sizeof run)) {
            _exit(3);
        }
        _exit(0);
    }
    close(pipe_fds[1]);
    T run{};
    const ssize_t got = read(pipe_fds[0], &run, sizeof run);
    close(pipe_fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != static_cast<ssize_t>(sizeof run) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run = T{};
    }
    return run;
}

using TSearch = std::function<Vantorel::TSearchStats(const Vantorel::TSolutionReport&)>;

// One search, timed in rounds, its reports fingerprinted. A round repeats the search for at least
// 4 ms (or runs it once, if that takes longer); the quickest round counts, as noise only ever adds
// time.
class TTimedSearch {
  public:
    explicit TTimedSearch(TSearch search) : Search(std::move(search)) {}

    void Round() {
        const auto report = [this](std::int64_t remainder, const TSelection& selection) {
            std::uint64_t h = Mix(Run.Checksum, static_cast<std::uint64_t>(remainder));
            h = Mix(h, selection.size());
            if (selection.size() <= kFullFingerprint) {
                for (const std::size_t position : selection) {
                    h = Mix(h, position);
                }
            } else {
                h = Mix(h, selection.front());
                h = Mix(h, selection.back());
            }
            ++Run.Reports;
            Run.Checksum = h;
            Run.Best = remainder;
        };
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        int repeats = 0;
        double elapsed = 0;
        do {
            Run.Reports = 0;
            Run.Checksum = 0;
            const Vantorel::TSearchStats stats = Search(report);
            Run.Visited = stats.Visited;
            Run.Done = stats.Finished;
            ++repeats;
            elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        } while (elapsed < 0.004);
        const double each = elapsed / repeats;
        Run.Seconds = Rounds == 0 ? each : std::min(Run.Seconds, each);
        Spent += elapsed;
        ++Rounds;
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        Run.ExtraKiB = std::max(Run.ExtraKiB, after.ru_maxrss - before.ru_maxrss);
    }

    // Five rounds, or fewer once 20 ms have been spent: a slow search's own noise is small.
    bool WantsMore() const { return Rounds < 5 && Spent < 0.02; }

    const TRun& Result() const { return Run; }

  private:
    TSearch Search;
    TRun Run;
    int Rounds = 0;
    double Spent = 0;
};

TRun TimeSearch(const TSearch& search) {
    TTimedSearch timed(search);
    do {
        timed.Round();
    } while (timed.WantsMore());
    return timed.Result();
}

// The plain enumeration and the program's search timed in alternate rounds in one process, so that
// both see the same machine: what decides whether the program's search was ever the slower.
struct TPair {
    TRun Plain;
    TRun Fast;
};

TPair TimeBoth(const TSearch& plain, const TSearch& fast) {
    TTimedSearch timedPlain(plain);
    TTimedSearch timedFast(fast);
    do {
        timedPlain.Round();
        timedFast.Round();
    } while (timedPlain.WantsMore());
    return {timedPlain.Result(), timedFast.Result()};
}

struct TCbc {
    enum EVerdict { Skipped, Optimal, Wrong, OverVolume, Timeout, Failed } Verdict = Skipped;
    double Seconds = 0;
};

// Gives the instance to CBC as an LP file and re-checks its answer in integer arithmetic.
TCbc RunCbc(const TInstance& instance, std::int64_t optimum, double limit, const std::string& dir) {
    const std::string lp = dir + "/instance.lp";
    const std::string solution = dir + "/solution.txt";
    {
        std::ofstream out(lp);
        out << "Maximize\n obj:";
        for (std::size_t i = 0; i < instance.Sizes.size(); ++i) {
            out << (i == 0 ? " " : " + ") << instance.Sizes[i] << " x" << i;
            if (i % 8 == 7) {
                out << "\n";
            }
        }
        out << "\nSubject To\n volume:";
        for (std::size_t i = 0; i < instance.Sizes.size(); ++i) {
            out << (i == 0 ? " " : " + ") << instance.Sizes[i] << " x" << i;
            if (i % 8 == 7) {
                out << "\n";
            }
        }
        out << " <= " << instance.Volume << "\nBinary\n";
        for (std::size_t i = 0; i < instance.Sizes.size(); ++i) {
            out << " x" << i << "\n";
        }
        out << "End\n";
    }
    std::remove(solution.c_str());
    std::ostringstream command;
    command << "timeout -s KILL " << limit + 5 << " cbc " << lp << " sec " << limit
            << " ratioGap 0 allowableGap 0.5 solve solution " << solution << " >/dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.str().c_str());
    TCbc result;
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ifstream in(solution);
    std::string first;
    if (status != 0 || !std::getline(in, first)) {
        result.Verdict = result.Seconds >= limit ? TCbc::Timeout : TCbc::Failed;
        return result;
    }
    if (first.rfind("Optimal", 0) != 0) {
        result.Verdict = TCbc::Timeout;  // stopped on time without proving an optimum
        return result;
    }
    // Lines: index name value reduced-cost; a variable near 1 is taken.
    std::int64_t total = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::size_t index = 0;
        std::string name;
        double value = 0;
        if (fields >> index >> name >> value && value > 0.5 && name.size() > 1) {
            const std::size_t item = std::stoul(name.substr(1));
            total += instance.Sizes.at(item);
        }
    }
    if (total > instance.Volume) {
        result.Verdict = TCbc::OverVolume;
    } else if (instance.Volume - total != optimum) {
        result.Verdict = TCbc::Wrong;
    } else {
        result.Verdict = TCbc::Optimal;
    }
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Seconds(double s) {
    char text[32];
    if (s < 1e-3) {
        std::snprintf(text, sizeof text, "%.1f us", s * 1e6);
    } else if (s < 1) {
        std::snprintf(text, sizeof text, "%.2f ms", s * 1e3);
    } else {
        std::snprintf(text, sizeof text, "%.2f s", s);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    double plainLimit = 2;
    double cbcLimit = 10;
    bool cbc = std::system("command -v cbc >/dev/null 2>&1") == 0;
    int seeds = 5;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plain-limit" && i + 1 < argc) {
            plainLimit = std::atof(argv[++i]);
        } else if (arg == "--cbc-limit" && i + 1 < argc) {
            cbcLimit = std::atof(argv[++i]);
        } else if (arg == "--no-cbc") {
            cbc = false;
        } else if (arg == "--quick") {
            seeds = 1;
        } else {
            only.push_back(arg);
        }
    }
    char dirTemplate[] = "/tmp/search-bench-XXXXXX";
    const char* dir = mkdtemp(dirTemplate);
    if (dir == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }

    std::printf("%-10s %-40s %8s | %10s %10s %8s | %10s %8s | %8s %6s | %10s %s\n", "group",
                "family", "n", "fast med", "fast max", "+MiB", "plain med", "ratio", "same", "",
                "CBC med", "CBC verdicts");
    bool allMet = true;
    for (const TFamily& family : Families()) {
        if (!only.empty() && std::none_of(only.begin(), only.end(), [&](const std::string& o) {
                return family.Group == o || family.Name.find(o) != std::string::npos;
            })) {
            continue;
        }
        std::vector<double> fast;
        std::vector<double> plain;
        std::vector<double> fastBeside;  // the program's search timed beside the plain one
        std::vector<double> cbcTimes;
        std::string verdicts;
        long peak = 0;
        int same = 0;
        int compared = 0;
        bool fastDone = true;
        bool plainCapped = false;
        bool cbcCapped = !cbc;
        bool slower = false;
        for (int seed = 1; seed <= seeds; ++seed) {
            std::mt19937_64 random(static_cast<std::uint64_t>(seed) * 7919 + family.N);
            const TInstance instance = family.Make(family.N, random);
            const TSearch fastSearch = [&](const Vantorel::TSolutionReport& report) {
                return Vantorel::SearchSubsets(instance.Sizes, instance.Volume, report);
            };
            const TSearch plainSearch = [&](const Vantorel::TSolutionReport& report) {
                return Vantorel::SearchSubsetsPlain(instance.Sizes, instance.Volume, report);
            };
            const TRun f = InChild<TRun>(60, [&] { return TimeSearch(fastSearch); });
            fastDone = fastDone && f.Done;
            fast.push_back(f.Done ? f.Seconds : 60);
            peak = std::max(peak, f.ExtraKiB);
            if (!plainCapped) {
                // The child also runs the program's search: its time comes on top of the limit.
                const TPair pair = InChild<TPair>(plainLimit + 2 * f.Seconds + 0.1, [&] {
                    return TimeBoth(plainSearch, fastSearch);
                });
                if (pair.Plain.Done) {
                    plain.push_back(pair.Plain.Seconds);
                    fastBeside.push_back(pair.Fast.Seconds);
                    ++compared;
                    same += (pair.Plain.Checksum == f.Checksum && pair.Plain.Reports == f.Reports)
                                ? 1
                                : 0;
                    slower = slower || pair.Fast.Seconds > pair.Plain.Seconds * 1.1;
                } else {
                    plainCapped = true;
                }
            }
            if (!cbcCapped && f.Done) {  // CBC's answer is judged against the proven optimum
                const TCbc c =
                    RunCbc(instance, f.Best < 0 ? instance.Volume : f.Best, cbcLimit, dir);
                cbcTimes.push_back(c.Seconds);
                verdicts += "-OXVTF"[c.Verdict];
                cbcCapped = c.Verdict == TCbc::Timeout || c.Verdict == TCbc::Failed;
            }
        }
        const double fastMedian = Median(fast);
        const std::string plainText =
            plainCapped ? "> " + Seconds(plainLimit) : Seconds(Median(plain));
        char ratio[32] = "-";
        if (!plainCapped) {
            std::snprintf(ratio, sizeof ratio, "%.2f", Median(plain) / Median(fastBeside));
        } else {
            std::snprintf(ratio, sizeof ratio, "> %.0f", plainLimit / fastMedian);
        }
        char sameText[32] = "-";
        if (compared > 0) {
            std::snprintf(sameText, sizeof sameText, "%d/%d", same, compared);
        }
        const std::string cbcText = cbcTimes.empty() ? "-"
                                    : cbcCapped      ? "> " + Seconds(cbcLimit)
                                                     : Seconds(Median(cbcTimes));
        const bool met = fastDone && fastMedian < 0.5 && !slower && same == compared &&
                         (cbcTimes.empty() || cbcCapped || fastMedian < Median(cbcTimes));
        allMet = allMet && met;
        std::printf("%-10s %-40s %8zu | %10s %10s %8.1f | %10s %8s | %8s %6s | %10s %s\n",
                    family.Group.c_str(), family.Name.c_str(), family.N,
                    Seconds(fastMedian).c_str(),
                    Seconds(*std::max_element(fast.begin(), fast.end())).c_str(), peak / 1024.0,
                    plainText.c_str(), ratio, sameText, met ? "" : "MISSED", cbcText.c_str(),
                    verdicts.c_str());
    }
    std::printf(
        "\nCBC verdicts per seed: O optimal and re-checked, X claimed optimal but is not, V over "
        "the "
        "volume, T no proof in time, F failed.\n%s\n",
        allMet ? "All targets met." : "Some targets missed (marked MISSED).");
    std::string cleanup = std::string("rm -rf ") + dir;
    std::system(cleanup.c_str());
    return allMet ? 0 : 1;
}
