#!/usr/bin/env bash
# Builds the demo collection for `make run`: films, music albums and photo folders of realistic
# sizes, as sparse files, so that it takes next to no disk space. Usage: make-demo.sh DIR
set -euo pipefail

dir=${1:?usage: make-demo.sh DIR}
mib=1048576

# file PATH MEBIBYTES [EXTRA-BYTES]
file() {
    mkdir -p "$(dirname "$1")"
    truncate -s $(($2 * mib + ${3:-0})) "$1"
}

# album DIR TRACKS FIRST-TRACK-MIB: tracks of slightly different sizes
album() {
    local i
    for ((i = 1; i <= $2; i++)); do
        file "$(printf '%s/%02d.flac' "$1" "$i")" $(($3 + (i * 7) % 11)) $((i * 4099))
    done
}

# photos DIR COUNT: photos of 3 to 8 MiB
photos() {
    local i
    for ((i = 1; i <= $2; i++)); do
        file "$(printf '%s/IMG_%04d.jpg' "$1" "$((1000 + i))")" $((3 + (i * 5) % 6)) $((i * 7919))
    done
}

rm -rf "$dir"
mkdir -p "$dir/Films" "$dir/Music" "$dir/Photos"

file "$dir/Films/Alien (1979).mkv" 1450 123457
file "$dir/Films/Amélie (2001).mkv" 1398 777
file "$dir/Films/Blade Runner (1982).mkv" 2240 4242
file "$dir/Films/Casablanca (1942).avi" 702 99999
file "$dir/Films/Metropolis (1927).avi" 1120 31337
file "$dir/Films/Seven Samurai (1954).mkv" 3380 1
file "$dir/Films/Солярис (1972).avi" 1470 65536
file "$dir/Films/Stalker (1979).mkv" 4700 2718

album "$dir/Music/Bach - Goldberg Variations (1981)" 32 9
album "$dir/Music/Miles Davis - Kind of Blue" 5 48
album "$dir/Music/Pink Floyd - Wish You Were Here" 5 52
album "$dir/Music/Radiohead - OK Computer" 12 31
album "$dir/Music/Кино - Группа крови" 11 28

photos "$dir/Photos/2023-07 Alps" 140
photos "$dir/Photos/2024-01 Lisbon" 85
photos "$dir/Photos/2024-08 Iceland" 212
photos "$dir/Photos/2025-05 Kyoto" 64
