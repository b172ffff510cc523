#!/usr/bin/env bash
# The data tool of the Windows build (under Wine) against the Linux build's on the same families: a run
# appended by either leaves the same bytes in both score files, and every listing and the check print the
# same bytes and exit alike. Families: the sample family, and one neither build was made with (a
# Shift-JIS roster with CP932's own characters, runs on every level).
# usage: same_as_linux.sh LINUX_TOOL WINDOWS_TOOL WINE_RUN DEMO_FOLDER
set -uo pipefail
linux_tool=$(realpath "$1") windows_tool=$(realpath "$2") wine_run=$(realpath "$3") demo=$(realpath "$4")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

linux() { (cd "$work" && "$linux_tool" "$@"); }
windows() { (cd "$work" && "$wine_run" "$windows_tool" "$@"); }

# Runs the same command with both tools, each on its own copy of the family, and compares what they print
# and how they exit. The check names files, which Windows writes with backslashes: that is the one
# difference allowed.
same() {
    local family=$1 command=$2
    shift 2
    local l w lc wc
    l=$(linux "$command" --program-folder "$family-linux/warizan" "$@" 2>&1)
    lc=$?
    w=$(windows "$command" --program-folder "$family-windows/warizan" "$@" 2>&1)
    wc=$?
    # Wine's own notes ("wine: ...", about its emulated drives) are not the tool's words.
    w=$(printf '%s\n' "$w" | grep -v '^wine: ' || true)
    l=${l//"$family-linux"/FAMILY}
    w=${w//"$family-windows"/FAMILY}
    if [ "$command" = check ]; then
        w=${w//\\//}
        w=${w//"Z:$work"/$work}
    fi
    if [ "$l" != "$w" ] || [ $lc -ne $wc ]; then
        echo "FAIL $family: $command $* (exit $lc on Linux, $wc on Windows)"
        diff <(printf '%s\n' "$l") <(printf '%s\n' "$w") | head -20
        failures=$((failures + 1))
    else
        echo "PASS $family: $command $* ($(printf '%s\n' "$l" | wc -l) lines, exit $lc)"
    fi
}

same_files() {
    local family=$1 file
    for file in warizan/成績累積データ.dat 成績累積データ家庭用.dat; do
        if cmp -s "$work/$family-linux/$file" "$work/$family-windows/$file"; then
            echo "PASS $family: $file alike ($(stat -c %s "$work/$family-linux/$file") bytes)"
        else
            echo "FAIL $family: $file differs"
            cmp "$work/$family-linux/$file" "$work/$family-windows/$file" | head -5
            failures=$((failures + 1))
        fi
    done
}

# Both copies of a family get the same runs, each from its own build's tool.
append_runs() {
    local family=$1 pupil level result day clock
    while read -r pupil level result day clock; do
        linux append --program-folder "$family-linux/warizan" --pupil "$pupil" --level "$level" \
            --result "$result" --today "$day" --now "$clock" >/dev/null || echo "FAIL: Linux append $pupil"
        windows append --program-folder "$family-windows/warizan" --pupil "$pupil" --level "$level" \
            --result "$result" --today "$day" --now "$clock" >/dev/null || echo "FAIL: Windows append $pupil"
    done
}

# Each Wine start costs seconds: a few of each command, chosen to cross grade filters, modes and levels.
lists() {
    local family=$1
    same "$family" figures --today 2024-05-10
    same "$family" pupils --today 2024-05-10 --mode 3 --filter 小学生全体
    same "$family" pupils --today 2024-05-10 --mode 0
    same "$family" ranking --level 1 --mode time --pupil 1 --today 2024-05-10
    same "$family" ranking --level 2 --mode points --order 2 --filter 小２ --today 2024-05-10
    same "$family" list today --today 2024-05-10
    same "$family" list period --period 3 --mode points --today 2024-05-10
    same "$family" list personal --pupil 2 --today 2024-05-10
    same "$family" check
}

# The sample family, as it is packed.
cp -r "$demo" "$work/sample-linux"
cp -r "$demo" "$work/sample-windows"
append_runs sample <<'RUNS'
1 1 95 2024-05-09 07:15:00
2 2 140 2024-05-10 18:02:31
1 1 80 2024-05-10 18:30:05
RUNS
same_files sample
lists sample

# A family neither build has seen: a Shift-JIS roster with full-width tildes, NEC and IBM characters and
# half-width katakana, and runs on every level over two months.
cp -r "$demo" "$work/other-linux"
printf '%s\r\n' '1,2013,0,0,"たろう～",0,"",""' '2,2016,0,0,"①はなこ",0,"",""' '3,2010,0,0,"髙橋　ｹﾝ",0,"",""' \
    '4,1985,0,0,"おかあさん",0,"",""' | iconv -f UTF-8 -t CP932 >"$work/other-linux/生徒用名簿.txt"
cp -r "$work/other-linux" "$work/other-windows"
append_runs other <<'RUNS'
1 1 61 2024-03-30 16:00:00
2 1 75 2024-04-02 16:10:00
3 2 123 2024-04-15 19:45:10
4 3 300 2024-04-20 08:00:59
1 4 412 2024-05-01 17:00:00
2 2 99 2024-05-10 06:59:59
3 1 58 2024-05-10 20:00:00
1 1 59 2024-05-10 20:05:00
RUNS
same_files other
lists other

[ $failures -eq 0 ] || { echo "$failures differences"; exit 1; }
