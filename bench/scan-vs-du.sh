#!/usr/bin/env bash
# Times how fast vantorel reads a large tree against `du -s --apparent-size`, which walks the same
# tree and adds up the same sizes, so it is the bar a directory reader has to meet.
# Usage: scan-vs-du.sh [BUILD-DIR [TREE]]
#   BUILD-DIR  the CMake build directory (default: build), holding main/vantorel and
#              bench/make_scan_tree
#   TREE       the tree to read; built there with make_scan_tree when missing or empty, kept
#              afterwards. Default: a fresh tree in a temporary folder, removed at exit.
#   RUNS       (environment) timed runs of each tool, default 5
set -euo pipefail

build=${1:-build}
runs=${RUNS:-5}
# vantorel/du, median against median; at or below this the goal is met.
goal=0.80

fail() {
    echo "scan-vs-du: $*" >&2
    exit 1
}

[[ $runs =~ ^[1-9][0-9]*$ ]] || fail "RUNS must be a positive whole number, not '$runs'"
vantorel=$build/main/vantorel
maker=$build/bench/make_scan_tree
[ -x "$vantorel" ] || fail "$vantorel not found: build the project first (make build)"
command -v du >/dev/null || fail "du not found"

work=$(mktemp -d "${TMPDIR:-/tmp}/scan-vs-du.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=${2:-$work/tree}

# Milliseconds with one decimal from nanoseconds.
ms() { awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'; }

# The median of the numbers given, the mean of the middle two for an even count.
median() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 }
        END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.0f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

if [ ! -d "$tree" ] || [ -z "$(ls -A "$tree")" ]; then
    [ -x "$maker" ] || fail "$maker not found: build the make_scan_tree target first"
    echo "== building the tree in $tree"
    start=$(date +%s%N)
    "$maker" "$tree" || fail "make_scan_tree failed"
    echo "built in $(ms $(($(date +%s%N) - start))) ms"
fi
# Counted, not taken from make_scan_tree, so that a tree kept from an earlier run is measured too.
read -r files dirs < <(find "$tree" -mindepth 1 -printf '%y\n' |
    awk '$1 == "f" { f++ } $1 == "d" { d++ } END { print f + 0, d + 0 }')
entries=$((files + dirs))
((entries > 0)) || fail "the tree $tree is empty"
echo "== tree: $tree: $files files, $dirs directories below it"

# Each tool once, untimed: fills the caches and shows that both work before anything is timed.
log=$work/vantorel.out
rc=0
"$vantorel" "$tree" 1000Tb </dev/null >"$log" 2>&1 || rc=$?
if ((rc != 0)); then
    cat "$log" >&2
    fail "vantorel exited with code $rc"
fi
du_out=$(du -s --apparent-size "$tree") || fail "du failed on $tree"
[[ $du_out =~ ^[0-9]+[[:space:]] ]] || fail "du printed something unexpected: $du_out"

# Alternating runs, so that a change of machine load during the benchmark hits both tools alike.
echo "== timing $runs runs of each, alternating"
vantorel_ns=()
du_ns=()
for ((i = 1; i <= runs; i++)); do
    start=$(date +%s%N)
    rc=0
    "$vantorel" "$tree" 1000Tb </dev/null >/dev/null || rc=$?
    end=$(date +%s%N)
    ((rc == 0)) || fail "vantorel exited with code $rc on run $i"
    vantorel_ns+=($((end - start)))

    start=$(date +%s%N)
    du -s --apparent-size "$tree" >/dev/null || fail "du failed on run $i"
    end=$(date +%s%N)
    du_ns+=($((end - start)))
done

list_ms() {
    local ns shown=()
    for ns in "$@"; do shown+=("$(ms "$ns")"); done
    echo "${shown[*]}"
}
vantorel_median=$(median "${vantorel_ns[@]}")
du_median=$(median "${du_ns[@]}")
ratio=$(awk -v a="$vantorel_median" -v b="$du_median" 'BEGIN { printf "%.2f", a / b }')
echo "vantorel runs (ms): $(list_ms "${vantorel_ns[@]}")"
echo "du runs (ms):       $(list_ms "${du_ns[@]}")"
echo "vantorel median:    $(ms "$vantorel_median") ms"
echo "du median:          $(ms "$du_median") ms"
echo "ratio vantorel/du:  $ratio"
if awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }'; then
    verdict="met"
else
    verdict="NOT met"
fi
echo "goal:               ratio $goal or lower (vantorel takes at most 80% of du's time): $verdict"

# Syscalls per entry, from one traced run of each; the tracing slows the runs, so they are not
# timed. A failing trace (ptrace not allowed, for one) is reported and skipped: it says nothing
# about either tool.
if ! command -v strace >/dev/null; then
    echo "== syscalls per entry: skipped, strace not found"
    exit 0
fi

# Total calls and the busiest calls from a `strace -c` summary, each divided by the entry count.
per_entry() {
    awk -v n="$entries" '
        /^-+ / { rules++; next }
        rules == 1 && NF >= 5 { calls[$NF] = $4 }
        $NF == "total" { total = $4 }
        END {
            printf "total %d calls, %.2f per entry;", total, total / n
            k = 0
            while (k < 4) {
                best = ""
                for (c in calls) if (best == "" || calls[c] + 0 > calls[best] + 0) best = c
                if (best == "") break
                printf " %s %.2f", best, calls[best] / n
                delete calls[best]
                k++
            }
            print ""
        }' "$1"
}

trace() {
    local name=$1 summary=$work/$1.strace
    shift
    if strace -f -c -o "$summary" "$@" </dev/null >/dev/null 2>"$work/$name.err"; then
        printf '%-9s %s\n' "$name:" "$(per_entry "$summary")"
    else
        echo "$name: the traced run failed, skipped: $(head -n 3 "$work/$name.err")"
    fi
}

echo "== syscalls per entry ($entries entries = files + directories; strace -f -c, one run each)"
trace vantorel "$vantorel" "$tree" 1000Tb
trace du du -s --apparent-size "$tree"
