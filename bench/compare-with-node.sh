#!/usr/bin/env bash
# Compares zelfor-bench with JavaScript under Node on the same bytes: M3U bytes to the three
# sections against m3u-parser-generator 5.0.2 (installed into a temporary folder), and an
# Xtream stream list to a section against JSON.parse. Best of RUNS runs on each side.
# Not run by CI: it needs npm and takes a few minutes.
#
#   bench/compare-with-node.sh [ZELFOR_BENCH] [RUNS]
set -euo pipefail

bench=${1:-build-release/bench/zelfor-bench}
runs=${2:-5}
[[ -x $bench ]] || { echo "no zelfor-bench at $bench (build the zelfor-bench target)" >&2; exit 2; }
bench=$(realpath "$bench")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

npm install --prefix "$work" --no-audit --no-fund --silent m3u-parser-generator@5.0.2 >&2

cat > "$work/measure.mjs" <<'EOF'
// node measure.mjs m3u|json FILE RUNS: the best time of RUNS parses of the file's text.
import { readFileSync } from 'node:fs';
import { M3uParser } from 'm3u-parser-generator';

const [kind, file, runs] = process.argv.slice(2);
const text = readFileSync(file).toString('utf8');
let best = Infinity;
let count = 0;
for (let i = 0; i < Number(runs); i++) {
    const start = process.hrtime.bigint();
    count = kind === 'm3u' ? new M3uParser().parse(text).medias.length : JSON.parse(text).length;
    best = Math.min(best, Number(process.hrtime.bigint() - start) / 1e6);
}
console.log(`count=${count} ms=${best.toFixed(1)}`);
EOF

# The value of `key=` in a result line.
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<" $2"; }

# Runs zelfor-bench RUNS times and keeps the fastest line.
best_of() {
    local best_line="" best_ms=""
    for _ in $(seq "$runs"); do
        local line
        line=$("$bench" "$@")
        local ms
        ms=$(field ms "$line")
        if [[ -z $best_ms ]] || awk -v a="$ms" -v b="$best_ms" 'BEGIN { exit !(a < b) }'; then
            best_ms=$ms best_line=$line
        fi
    done
    echo "$best_line"
}

# compare LABEL KIND FILE TARGET ZELFOR-BENCH-ARGS...
compare() {
    local label=$1 kind=$2 file=$3 target=$4
    shift 4
    local ours theirs
    ours=$(best_of "$@")
    theirs=$(cd "$work" && node measure.mjs "$kind" "$file" "$runs")
    local ours_ms theirs_ms
    ours_ms=$(field ms "$ours")
    theirs_ms=$(field ms "$theirs")
    echo "zelfor $label: $ours"
    echo "node   $label: $theirs"
    awk -v label="$label" -v a="$ours_ms" -v b="$theirs_ms" -v target="$target" -v kind="$kind" 'BEGIN {
        if (kind == "m3u")
            printf "ratio  %s: zelfor is %.2fx as fast as m3u-parser-generator (target >= %s)\n", label, b / a, target
        else
            printf "ratio  %s: zelfor takes %.2fx the time of JSON.parse (target <= %s)\n", label, a / b, target
    }'
}

"$bench" gen-m3u-real 15329 > "$work/real-like.m3u"
for _ in $(seq 50); do cat "$work/real-like.m3u"; done > "$work/real-like-50.m3u"
"$bench" gen-m3u 250000 > "$work/gen-m3u-250000.m3u"
"$bench" gen-xtream 250000 > "$work/gen-xtream-250000.json"

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
compare "real-like x50 (peak RSS target <= 450 MB)" m3u "$work/real-like-50.m3u" 4 m3u "$work/real-like-50.m3u"
compare "gen-m3u 250000" m3u "$work/gen-m3u-250000.m3u" 4 m3u "$work/gen-m3u-250000.m3u"
compare "gen-xtream 250000 (peak RSS target <= 250 MB)" json "$work/gen-xtream-250000.json" 0.25 \
    xtream-streams "$work/gen-xtream-250000.json"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
