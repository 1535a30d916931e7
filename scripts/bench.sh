#!/usr/bin/env bash
# Runs the benchmarks beside their references on a generated database and
# prints one table: task, ours, reference, ratio, target.
#
# Usage: scripts/bench.sh [--visits N] [--database NAME] [--only NAME[,NAME...]]
#   --visits   visit cells of the generated database (1000000)
#   --database the generated database to use (kelda_bench_<N>)
#   --only     run only these: lists, worktables, backup, crc, exchange, periods,
#              pane
# The server is a private one in $KELDA_BENCH_DB (build/benchdb), started
# when it is not running (with a 4G InnoDB pool, or $KELDA_DB_POOL) and left
# running; the database kelda_bench_<N> is generated once and reused. Each
# benchmark's whole output goes to build/bench-logs/<name>.log. Windows run on
# Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise; the report
# pane's reference is headless Chromium (the chromium package, which
# scripts/install-deps.sh installs).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KELDA_BUILD_DIR:-build}
visits=1000000
database=
only=lists,worktables,backup,crc,exchange,periods,pane
while [ $# -gt 0 ]; do
    case $1 in
    --visits) visits=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --database) database=$2; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 1 ;;
    esac
done
bin=$build/bin
logs=$build/bench-logs
mkdir -p "$logs"
dbdir=${KELDA_BENCH_DB:-$build/benchdb}
# A buffer pool that holds the generated data (the 5,000,000-cell database
# too): with the tests' small one the server reads the disk on every pass and
# a reference query outlasts the client's time-out. Memory is taken only as
# pages are read. A server already running keeps the pool it started with.
KELDA_DB_POOL=${KELDA_DB_POOL:-4G} scripts/mariadb-private.sh start "$dbdir" >/dev/null
socket=$(scripts/mariadb-private.sh socket "$dbdir")
export KELDA2_SOCKET=$socket QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
database=${database:-kelda_bench_$visits}

has_database() {
    mariadb --socket="$socket" -uroot -N -e "SELECT COUNT(*) FROM \`$database\`.dailyvisits" \
        2>/dev/null | grep -qx "$visits"
}
if ! has_database; then
    echo "generating $database ($visits visit cells)..." >&2
    "$bin/kelda_datagen" --database "$database" --recreate --visits "$visits" \
        >"$logs/datagen.log" 2>&1
fi

rows=()
# row TASK OURS REFERENCE TARGET: one line of the table; the ratio is
# ours / reference (both in the same unit).
row() {
    local ratio=-
    if [[ $2 =~ ^[0-9.]+$ && $3 =~ ^[0-9.]+$ ]]; then
        ratio=$(awk -v a="$2" -v b="$3" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
    fi
    rows+=("$1"$'\t'"$2"$'\t'"$3"$'\t'"$ratio"$'\t'"$4")
}
wanted() { [[ ",$only," == *",$1,"* ]]; }
run() { # name command...: runs a benchmark into its log, says when it failed
    local name=$1
    shift
    echo "running $name..." >&2
    local rc=0
    "$@" >"$logs/$name.log" 2>&1 || rc=$?
    if [ "$rc" -ne 0 ]; then
        echo "$name failed (exit $rc), see $logs/$name.log" >&2
    fi
}

if wanted lists; then
    run lists "$bin/bench_lists" "$socket" 3
    for kind in root folder; do
        line=$(grep "^$kind (" "$logs/lists.log" || true)
        ours=$(sed -n 's/.*all rows scrolled through \([0-9.]*\) ms.*/\1/p' <<<"$line")
        ref=$(sed -n 's/.*raw SELECT of the rows \([0-9.]*\) ms.*/\1/p' <<<"$line")
        count=$(sed -n 's/^[a-z]* (\([0-9]*\) rows).*/\1/p' <<<"$line")
        row "list of $count rows scrolled to its end, ms (raw SELECT)" "${ours:--}" "${ref:--}" "<= 3"
    done
fi
if wanted worktables; then
    run worktables "$bin/bench_worktables" --socket "$socket" --database "$database" --runs 1
    # The sum over the work tables of one period: their builds beside the
    # hand-written queries giving the same figures.
    for period in "one year" "three years"; do
        read -r ours ref < <(awk -v p="$period" '
            index($0, p " (") == 1 { on = 1; next }
            on && /^cached rebuild/ { on = 0 }
            on && /^_cache/ && $2 ~ /^[0-9.]+$/ { b += $2; q += $3 }
            END { printf "%.0f %.0f\n", b, q }' "$logs/worktables.log")
        row "work tables, $period, ms (aggregate queries)" "$ours" "$ref" "-"
    done
fi
if wanted backup; then
    mkdir -p "$logs/backup"
    run backup "$bin/bench_backup" --socket "$socket" --database "$database" --dir "$logs/backup"
    read -r ob or < <(awk '/^Kelda2 backup/ { print $3, $4 }' "$logs/backup.log") || true
    read -r rb rr < <(awk '/^mariadb-dump/ { print $(NF-2), $(NF-1) }' "$logs/backup.log") || true
    row "backup, s (mariadb-dump | gzip)" "${ob:--}" "${rb:--}" "<= 1"
    row "restore, s (mariadb < dump)" "${or:--}" "${rr:--}" "<= 2"
fi
if wanted crc; then
    run crc "$bin/bench_report_crc" "$database" 3
    ours=$(sed -n 's/^BuildCRC from NULL: median \([0-9.]*\) s.*/\1/p' "$logs/crc.log")
    ref=$(sed -n 's/^reference (same query + zlib.crc32[^:]*: median \([0-9.]*\) s.*/\1/p' "$logs/crc.log")
    peak=$(sed -n 's/.*peak resident memory \([0-9]*\) MB.*/\1/p' "$logs/crc.log")
    row "BuildCRC, s (same query + zlib.crc32)" "${ours:--}" "${ref:--}" "<= 1.1"
    row "BuildCRC, peak resident MB" "${peak:--}" "-" "flat"
fi
if wanted exchange; then
    mkdir -p "$logs/exchange"
    run exchange "$bin/bench_exchange" compare --socket "$socket" --database "$database" \
        --visits "$visits" --dir "$logs/exchange"
    # compare <task> (<reference>): ours A s, reference B s, ratio R (target T), peak memory M MB
    while IFS=$'\t' read -r task ours ref peak; do
        row "$task, s" "$ours" "$ref" "<= 1.5"
        row "${task%% (*}, peak resident MB" "$peak" "-" "flat"
    done < <(sed -n 's/^compare \(.*\): ours \([0-9.]*\) s, reference \([0-9.]*\) s, .*peak memory \([0-9]*\) MB$/\1\t\2\t\3\t\4/p' \
        "$logs/exchange.log")
fi
if wanted periods; then
    run periods "$bin/bench_period_reports" --socket "$socket" --database "$database" --runs 1
    # Each report beside one query giving the same figures (the bench checks
    # that it does; "figures differ" otherwise). Each is timed as its first
    # build (every work table made from the data), and again with its work
    # tables found.
    while IFS=$'\t' read -r _ name first cached ref same; do
        case $name in
        "coverage, 1 year, first build") target="<= 2" ;;
        *) target="<= 3" ;;
        esac
        [[ $same == same* ]] || name="$name (figures differ)"
        row "$name, ms" "$first" "$ref" "$target"
        row "  the same, its work tables found, ms" "$cached" "$ref" "-"
    done < <(grep $'^task\t' "$logs/periods.log")
fi
if wanted pane; then
    # The report pane on the two largest pages of the visits reports, built
    # and saved by bench_visits_views: each shown in the pane beside headless
    # Chromium laying out and painting the same file.
    mkdir -p "$logs/pane"
    run pane-pages "$bin/bench_visits_views" "$logs/pane" --socket "$socket" --database "$database"
    figure() { sed -n "s/.*$1 \(-\?[0-9.]*\) $2.*/\1/p" <<<"$line"; }
    for page in distribution_page:"distribution, all points" visits_detail_page:"coverage details"; do
        name=${page%%:*}
        what=${page#*:}
        if [ ! -s "$logs/pane/$name.html" ]; then
            row "pane, $what: the page was not saved" - - -
            continue
        fi
        run "pane-$name" "$bin/bench_report_page" "$logs/pane/$name.html"
        line=$(grep -m1 ' KB: first screenful' "$logs/pane-$name.log" || true)
        chromium=$(sed -n 's/^chromium: page laid out and painted \([0-9.]*\) ms.*/\1/p' \
            "$logs/pane-$name.log")
        memory_target=-
        if [ "$name" = visits_detail_page ]; then memory_target="< 515"; fi
        row "pane, $what, whole page, ms (headless Chromium)" "$(figure 'whole page' ms)" \
            "${chromium:--}" "<= 1.5"
        row "  first screenful, ms" "$(figure 'first screenful' ms)" - "<= 1000"
        row "  longest block of the window, ms" "$(figure 'longest block' ms)" - "<= 100"
        row "  engine's renderer, resident MB" "$(figure renderer MB)" - "$memory_target"
    done
fi

printf '\n%-62s %12s %12s %8s %8s\n' task ours reference ratio target
for r in "${rows[@]}"; do
    IFS=$'\t' read -r task ours ref ratio target <<<"$r"
    printf '%-62s %12s %12s %8s %8s\n' "$task" "$ours" "$ref" "$ratio" "$target"
done
echo "database $database on $socket; logs in $logs"
