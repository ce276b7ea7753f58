#!/usr/bin/env bash
# End-to-end runs of vantorel.exe under Wine on fixture trees made here: the raw standard output is
# compared byte for byte with the expected text in code page 866 with Windows line ends (the time of
# day in error records masked), and the exit code with the expected one. Wine runs with a Russian
# locale (tools/wine-run): ANSI code page 1251, OEM code page 866.
#   tests/Win32/end-to-end.sh <vantorel.exe> <source directory> <Wine state directory>
set -euo pipefail
exe=$(readlink -f "$1")
source_dir=$(readlink -f "$2")
state=$3
mkdir -p "$state"
state=$(readlink -f "$state")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# The line of a raise site: the first line holding the first needle, then the first line after it
# holding the second one, if given.
line_of() {
    local file=$source_dir/$1 first
    first=$(grep -nF -- "$2" "$file" | head -1 | cut -d: -f1)
    if [ $# -gt 2 ]; then
        tail -n "+$first" "$file" | grep -nF -- "$3" | head -1 |
            awk -F: -v base="$first" '{ print base + $1 - 1 }'
    else
        echo "$first"
    fi
}

record() {  # source file, line, message
    printf 'HH:MM:SS Kvetra::TAplThrowException %s, %s:\n\t%s\n\n' "$1" "$2" "$3"
}

banner() {
    cat <<'TEXT'
Vantorel v1.8.1
Copyright (C) 2026 The Vantorel developers
Программа помогает оптимально заполнить емкость CD, DVD дисков или других
носителей при записи данных на них. Она сканирует каталог и вычисляет
размер его файлов и вложенных каталогов, после этого находит такую
комбинацию файлов и каталогов, при которой они займут максимальный размер,
но не больше заданного.

Использование:
      Vantorel "<Каталог 1>" "[Каталог 2]" "[Каталог N]"
                      "<Желаемый объём>[Tb|Gb|Mb|Kb|b]"

Примечание:
      Поскольку в общем виде задача поиска оптимальной комбинации является
      экспоненциально сложной, программа выводит частные решения по мере
      их нахождения и МОЖЕТ РАБОТАТЬ ОЧЕНЬ ДОЛГО. Если вас уже устраивает
      текущее решение, скопируйте его и закройте программу,
      нажав CTRL+C или CTRL+BREAK.

TEXT
}

solution() {  # unused, total, names...
    local unused=$1 total=$2
    shift 2
    printf '\n----- Найдено частное решение -----\nОсталось не использованно: %s\n' "$unused"
    printf '%s\n' "$@"
    printf 'Всего: %s\n' "$total"
}

# check <name> <expected exit code> <file of expected UTF-8 text> <stdin file> <arguments...>
check() {
    local name=$1 code=$2 expected_text=$3 input=$4
    shift 4
    local actual=$work/$name.out expected=$work/$name.expected status=0
    iconv -f UTF-8 -t CP866 "$expected_text" | LC_ALL=C sed 's/$/\r/' >"$expected"
    (cd "$work/tree" && "$source_dir/tools/wine-run" "$state" "$exe" "$@") \
        <"$input" >"$work/$name.raw" 2>"$work/$name.err" || status=$?
    LC_ALL=C sed -E 's/^[0-9]{1,2}:[0-9]{2}:[0-9]{2} /HH:MM:SS /' "$work/$name.raw" >"$actual"
    if cmp -s "$expected" "$actual" && [ "$status" -eq "$code" ]; then
        echo "ok: $name"
    else
        echo "FAILED: $name (exit code $status, expected $code); output as UTF-8, then the difference:"
        iconv -f CP866 -t UTF-8 "$actual" | tr -d '\r'
        diff <(iconv -f CP866 -t UTF-8 "$expected") <(iconv -f CP866 -t UTF-8 "$actual") || true
        failures=$((failures + 1))
    fi
}

# The fixture: every size distinct, so the order of a listing cannot change an answer.
tree=$work/tree
mkdir -p "$tree/Films/Альбом/CD1" "$tree/Films/Big" "$tree/Music"
truncate -s 520 "$tree/Films/520.avi"
truncate -s 495 "$tree/Films/495.avi"
truncate -s 470 "$tree/Films/470.avi"
truncate -s 0 "$tree/Films/empty"
truncate -s 300 "$tree/Films/Альбом/CD1/01.flac"
truncate -s 1000 "$tree/Films/Big/part1"
truncate -s 500 "$tree/Films/Big/part2"
truncate -s 5 "$tree/Music/音楽.flac"  # outside code page 1251: shows as "??"
# 200 bytes at the end of a chain whose Windows path is far longer than MAX_PATH (260).
deep=$tree/Films/Альбом/CD2
for _ in 1 2 3 4 5 6 7 8; do deep=$deep/$(printf 'd%.0s' {1..40}); done
mkdir -p "$deep"
truncate -s 200 "$deep/bottom"
: >"$work/empty-input"
printf 'keys typed ahead\n' >"$work/piped-input"

banner >"$work/no-arguments.txt"
record main/Driver.cpp "$(line_of main/Driver.cpp 'Недопустимое количество аргументов')" \
    'Недопустимое количество аргументов. См. Использовние' >>"$work/no-arguments.txt"
printf '\nPress any Key...\n' >>"$work/no-arguments.txt"
check no-arguments 1 "$work/no-arguments.txt" "$work/empty-input"

# Two directories: an oversized folder, every improvement, an exact fit that ends the search, and a
# name outside code page 1251.
{
    banner
    printf 'Желаемый объём:  1000 B\n'
    printf 'Чтение каталога 1\\: Films ...\nЧтение каталога 2\\: Music ...\n'
    printf '\n%s\nОбнаружены файлы/каталоги которые не поместятся в заданный объём:\n' \
        "$(printf -- '-%.0s' {1..79})"
    printf '1\\Big\t500 B\n%s\n' "$(printf -- '-%.0s' {1..79})"
    printf '\nНачинаем поиск решений...\n'
    solution '480 B' '520 B' '1\520.avi'
    solution '10 B' '990 B' '1\520.avi' '1\470.avi'
    solution '5 B' '995 B' '1\520.avi' '1\470.avi' '2\??.flac'
    solution '0 B' '1000 B' '1\Альбом' '1\495.avi' '2\??.flac'
    printf '\nПоиск закончен. Последнее решение оптимальное.\n'
    printf '\nPress any Key...\n'
} >"$work/whole-run.txt"
check whole-run 0 "$work/whole-run.txt" "$work/empty-input" Films Music 1000

missing_line=$(line_of main/Driver.cpp 'RaiseAplError(message')
{
    banner
    record main/Driver.cpp "$missing_line" "Каталог 'Нет такого' не найден"
    printf '\nPress any Key...\n'
} >"$work/missing.txt"
check missing-directory 1 "$work/missing.txt" "$work/empty-input" Films 'Нет такого' 700Mb

{
    banner
    record main/Driver.cpp "$missing_line" "Каталог '??' не найден"
    printf '\nPress any Key...\n'
} >"$work/missing-cjk.txt"
check missing-directory-outside-1251 1 "$work/missing-cjk.txt" "$work/empty-input" '音楽' 1Gb

# Standard input from a pipe is no console: nothing is waited for, the typed keys stay unread.
{
    banner
    record main/VolumeParser.cpp "$(line_of main/VolumeParser.cpp 'void RaiseUnitError' RaiseAplError)" \
        "Ошибка при определении единиц измерения параметра '1.5Gb'"
    printf '\nPress any Key...\n'
} >"$work/unit.txt"
check unit-error-input-piped 1 "$work/unit.txt" "$work/piped-input" Films 1.5Gb

{
    banner
    record main/VolumeParser.cpp \
        "$(line_of main/VolumeParser.cpp 'void RaiseConversionError' RaiseAplError)" \
        "Ошибка при преобразовании параметра '8388608Tb' в число"
    printf '\nPress any Key...\n'
} >"$work/overflow.txt"
check volume-overflow 1 "$work/overflow.txt" "$work/empty-input" Films 8388608Tb

if [ "$failures" -ne 0 ]; then
    echo "$failures end-to-end run(s) failed"
    exit 1
fi
echo "all end-to-end runs passed"
