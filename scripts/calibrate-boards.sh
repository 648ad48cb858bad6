#!/usr/bin/env bash
# Calibrates the boards' targets with boardtool's bot, playing Arcade at a human pace of one
# move per second over 20 seeds.
#   scripts/calibrate-boards.sh [BUILD]           the table of the boards as they are
#   scripts/calibrate-boards.sh --search [BUILD]  for each board, the highest target that the bot
#                                                 still wins at the planned rate: 95 % on the
#                                                 first board falling evenly to 50 % on the last
# BUILD is a build folder (default: build) whose boards are built: content/grids and game/boardtool.
# The targets found by --search go into assets/boards/boards.txt by hand; rebuild, then run the
# script without --search for the table of docs/boards.md.
set -euo pipefail

search=0
if [[ "${1:-}" == "--search" ]]; then
    search=1
    shift
fi
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
table="$root/assets/boards/boards.txt"
grids="$build/content/grids"
tool="$build/game/boardtool"
seeds=20
first_rate=0.95
last_rate=0.50

[[ -x "$tool" ]] || { echo "calibrate-boards: no $tool; build first" >&2; exit 2; }
[[ -d "$grids" ]] || { echo "calibrate-boards: no $grids; build the boards first" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A field of boardtool's JSON output: json_field NAME < JSON
json_field() {
    sed -n "s/.*\"$1\": *\([0-9.]*\).*/\1/p" | head -n 1
}

autoplay() {
    "$tool" autoplay "$1" --mode 1 --seeds "$seeds" --moves-per-second 1
}

# A copy of board $1 with the target $2, at $work/board. The target follows the cell size, the
# name length L and the L two-byte units of the name.
with_target() {
    cp "$1" "$work/board"
    local length
    length=$(od -An -t u4 -j 4 -N 4 "$1" | tr -d ' ')
    local t=$2
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((t & 255)) $(((t >> 8) & 255)) \
        $(((t >> 16) & 255)) $(((t >> 24) & 255)))" |
        dd of="$work/board" bs=1 seek=$((8 + 2 * length)) conv=notrunc status=none
}

rate_at() {
    with_target "$1" "$2"
    autoplay "$work/board" | json_field winRate
}

at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 1e-9 >= b) }'; }

mapfile -t files < <(find "$grids" -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort)
count=${#files[@]}
[[ $count -gt 0 ]] || { echo "calibrate-boards: no boards in $grids" >&2; exit 2; }

if [[ $search -eq 1 ]]; then
    printf '%-28s %8s %8s %8s\n' board wanted target winRate
fi
if [[ $search -eq 0 ]]; then
    echo "| # | board | tiling | cells | sides | target | win rate | mean time (s) |"
    echo "|---|---|---|---|---|---|---|---|"
fi
for i in "${!files[@]}"; do
    name=${files[$i]}
    board="$grids/$name"
    info=$("$tool" info "$board")
    cells=$(json_field cells <<<"$info")
    target=$(json_field target <<<"$info")
    if [[ $search -eq 0 ]]; then
        result=$(autoplay "$board")
        rate=$(json_field winRate <<<"$result" | tr -d '\n')
        seconds=$(json_field meanSeconds <<<"$result" | tr -d '\n')
        tiling=$(awk -v n="$name" '$1 == n { print $2 }' "$table")
        sides=$(sed -n 's/.*"sides": {\(.*\)}.*/\1/p' <<<"$info" | tr -d '" ' | tr ',' ' ')
        printf '| %d | %s | %s | %s | %s | %s | %.0f %% | %s |\n' $((i + 1)) "$name" \
            "${tiling:-?}" "$cells" "$sides" "$target" "$(awk -v r="$rate" 'BEGIN { print r * 100 }')" \
            "$seconds"
        continue
    fi
    wanted=$(awk -v i="$i" -v n="$count" -v a="$first_rate" -v b="$last_rate" \
        'BEGIN { printf "%.3f", (n > 1 ? a + (b - a) * i / (n - 1) : a) }')
    # The win rate falls as the target rises: the bot's play does not depend on the target,
    # only whether its score reaches it. Bisect for the highest target still won often enough.
    lo=1
    hi=$((target * 2 > 64 ? target * 2 : 64))
    while [[ $hi -lt 1000000 ]] && at_least "$(rate_at "$board" "$hi")" "$wanted"; do
        lo=$hi
        hi=$((hi * 2))
    done
    while [[ $((hi - lo)) -gt 1 ]]; do
        mid=$(((lo + hi) / 2))
        if at_least "$(rate_at "$board" "$mid")" "$wanted"; then
            lo=$mid
        else
            hi=$mid
        fi
    done
    printf '%-28s %8s %8d %8s\n' "$name" "$wanted" "$lo" "$(rate_at "$board" "$lo")"
done
