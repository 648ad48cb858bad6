#!/usr/bin/env bash
# Calibrates the boards' targets with boardtool's bot, playing Arcade at a human pace of one
# move per second over 20 seeds.
#   scripts/calibrate-boards.sh [BUILD]           the table of the boards as they are
#   scripts/calibrate-boards.sh --search [BUILD]  for each board, the highest target that the bot
#                                                 still wins at the planned rate (95 % on the
#                                                 first board falling evenly to 50 % on the
#                                                 last), written into assets/boards/boards.txt
# BUILD is a build folder (default: build) whose boards are built: content/grids and game/boardtool.
# After --search, rebuild the boards and run the script without --search for the table of
# docs/boards.md.
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

# A number of boardtool's JSON output: json_field NAME < JSON
json_field() {
    sed -n "s/.*\"$1\": *\([0-9.]*\).*/\1/p" | head -n 1
}

autoplay() {
    "$tool" autoplay "$@" --mode 1 --seeds "$seeds" --moves-per-second 1
}

# The highest target that at least a rate $2 of the seeds reach, from boardtool's best score of
# each seed ($1, comma-separated): the bot's play does not depend on the target, so a target
# wins exactly the seeds whose best score reaches it. Never below 1.
target_for_rate() {
    tr ',' '\n' <<<"$1" | sort -rn | awk -v rate="$2" -v seeds="$seeds" '
        BEGIN { need = int(rate * seeds + 0.999999) }
        NR == need { target = $1 }
        END { print (target > 1 ? target : 1) }'
}

# Writes the target $2 of board $1 into the table, keeping its columns.
set_target() {
    awk -v name="$1" -v target="$2" '
        $1 == name {
            match($0, /^[^ ]+ +[^ ]+ +[^ ]+ +[^ ]+ +/)
            rest = substr($0, RLENGTH + 1)
            old = rest
            sub(/ .*/, "", old)
            field = sprintf("%-" (length(old) > 7 ? length(old) : 7) "s", target)
            options = substr(rest, length(old) + 1)
            sub(/^ +/, "", options)
            line = substr($0, 1, RLENGTH) field
            if (options != "") line = line " " options
            sub(/ +$/, "", line)
            print line
            next
        }
        { print }' "$table" >"$table.new"
    mv "$table.new" "$table"
}

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
    best=$(autoplay "$board" --best-scores | sed -n 's/.*"bestScores":\[\([0-9,]*\)\].*/\1/p')
    found=$(target_for_rate "$best" "$wanted")
    set_target "$name" "$found"
    printf '%-28s %8s %8d %8s\n' "$name" "$wanted" "$found" "$(awk -v t="$found" -v s="$best" \
        'BEGIN { n = split(s, v, ","); for (k = 1; k <= n; ++k) won += v[k] >= t; print won / n }')"
done
