#!/usr/bin/env bash
# The fuzzing campaign: builds every target of fuzz/ with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (build/fuzz), runs each on its committed corpus fuzz/corpus/<target>/ with its
# dictionary fuzz/dict/<target>.dict when there is one, and prints one line per target: executions, coverage at
# the start and the end, corpus growth and findings, and the executions over all runs so far. Everything runs at the
# lowest priority.
#
#   scripts/fuzz.sh [LIMIT] [TARGET...]     LIMIT: 60 or 60s (seconds per target, the default 60) or 5000000r
#                                           (runs per target); TARGET: names without "_fuzz", all when none
#   scripts/fuzz.sh --merge [TARGET...]     minimises the grown corpora back into fuzz/corpus/
#
# FUZZ_JOBS (default 1) targets run side by side. Crashes, leaks and timeouts land in build/fuzz/findings/<target>/
# and make the script exit non-zero; a finding becomes a regression test of the ordinary suite. Slow units (over
# 10 s) land there too and are counted apart.
set -uo pipefail
MAV_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${MAV_BUILD:-$MAV_ROOT/build}/fuzz"
JOBS="${FUZZ_JOBS:-1}"
# Inputs larger than this teach the parsers nothing the small ones do not, and slow every run.
MAX_LEN=4096
MAX_CORPUS=300
# Collecting a stack at every allocation is a fifth of a run of the allocating targets (material, data text);
# a finding replayed on its own (./build/fuzz/<target> <input>) shows the allocation stacks again.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0}"

mode=run
limit=60s
if [ "${1:-}" = "--merge" ]; then
    mode=merge
    shift
elif [[ "${1:-}" =~ ^[0-9]+[sr]?$ ]]; then
    limit="$1"
    shift
fi

build() {
    mkdir -p "$BUILD"
    CC=clang CXX=clang++ cmake -S "$MAV_ROOT" -B "$BUILD" -DMAV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        >"$BUILD/configure.log" 2>&1 || { cat "$BUILD/configure.log"; return 1; }
    cmake --build "$BUILD" --target fuzz -j"${FUZZ_BUILD_JOBS:-2}" >"$BUILD/build.log" 2>&1 \
        || { tail -40 "$BUILD/build.log"; return 1; }
}

targets=()
if [ $# -gt 0 ]; then
    for t in "$@"; do targets+=("${t%_fuzz}_fuzz"); done
else
    for f in "$MAV_ROOT"/fuzz/*_fuzz.cpp; do
        t="$(basename "$f" .cpp)"
        targets+=("$t")
    done
fi

build || exit 1
available=()
for t in "${targets[@]}"; do
    if [ -x "$BUILD/$t" ]; then available+=("$t"); else echo "$t: not built (see $BUILD/build.log)"; fi
done

if [ "$mode" = merge ]; then
    for t in "${available[@]}"; do
        committed="$MAV_ROOT/fuzz/corpus/${t%_fuzz}"
        grown="$BUILD/corpus/${t%_fuzz}"
        mkdir -p "$committed" "$grown"
        fresh="$BUILD/merge/${t%_fuzz}"
        rm -rf "$fresh"
        mkdir -p "$fresh"
        nice -n 19 "$BUILD/$t" -merge=1 -max_len=$MAX_LEN "$fresh" "$committed" "$grown" \
            >"$BUILD/$t.merge.log" 2>&1 || { echo "$t: merge failed (see $BUILD/$t.merge.log)"; continue; }
        rm -f "$committed"/*
        cp "$fresh"/* "$committed"/ 2>/dev/null
        # The committed corpus stays small: beyond MAX_CORPUS files the largest go (the small ones reach most).
        ls -S "$committed" | head -n -"$MAX_CORPUS" | while read -r f; do rm -f "$committed/$f"; done
        echo "$t: $(ls "$committed" | wc -l) files, $(du -sk "$committed" | cut -f1) KB in fuzz/corpus/${t%_fuzz}"
    done
    exit 0
fi

case "$limit" in
    *r) limit_arg="-runs=${limit%r}" ;;
    *) limit_arg="-max_total_time=${limit%s}" ;;
esac

# One target: the committed corpus seeds a working corpus under build/ that keeps growing from run to run.
run_one() {
    local t="$1" name="${1%_fuzz}"
    local work="$BUILD/corpus/$name" found="$BUILD/findings/$name" log="$BUILD/$t.log"
    rm -rf "$found"
    mkdir -p "$work" "$found"
    local dict=()
    [ -f "$MAV_ROOT/fuzz/dict/$name.dict" ] && dict=(-dict="$MAV_ROOT/fuzz/dict/$name.dict")
    local before
    before=$(ls "$work" | wc -l)
    # The timeout is wall time: at the lowest priority on a busy machine a unit of half a CPU second has taken
    # ten, so only a unit that takes half a minute counts as a hang.
    (cd "$BUILD" && exec nice -n 19 "./$t" "$limit_arg" -max_len=$MAX_LEN -timeout=30 -rss_limit_mb=1024 \
        -print_final_stats=1 -artifact_prefix="$found/" "${dict[@]}" "$work" "$MAV_ROOT/fuzz/corpus/$name" \
        </dev/null >"$log" 2>&1) &
    local pid=$!
    echo "$pid" >"$BUILD/$t.pid"
    # A stop (below) interrupts the fuzzer, which prints its statistics; wait again until it has.
    while kill -0 "$pid" 2>/dev/null; do wait "$pid"; done
    rm -f "$BUILD/$t.pid"
    local execs cov0 cov1 after findings slow
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    cov0=$(grep -m1 'INITED' "$log" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*')
    cov1=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
    after=$(ls "$work" | wc -l)
    findings=$(ls "$found" | grep -vc '^slow-unit-')
    # A slow unit (one run over 10 s of wall time) is kept for a look, not counted: replayed alone, one that a
    # busy or paused machine made slow runs in milliseconds.
    slow=$(ls "$found" | grep -c '^slow-unit-')
    # Executions add up over runs (the working corpus carries each run on from the last): build/fuzz/execs.log
    # keeps one line per run, the total is what a target has had.
    echo "$name ${execs:-0}" >>"$BUILD/execs.log"
    local total
    total=$(awk -v t="$name" '$1 == t { s += $2 } END { print s + 0 }' "$BUILD/execs.log")
    printf '%-20s %12s execs (%12s in all)  cov %5s -> %-5s corpus %4d -> %-5d findings %d  slow units %d\n' \
        "$name" "${execs:-?}" "$total" "${cov0:-?}" "${cov1:-?}" "$before" "$after" "$findings" "$slow"
}

printf 'fuzzing %d targets, %s each, %d at a time, logs in %s\n' "${#available[@]}" "$limit" "$JOBS" "$BUILD"
# A campaign stopped early (Ctrl-C, or TERM to this script) still counts what ran: the running fuzzers are
# interrupted, print their statistics and get their lines; no further target starts.
stopping=0
stop() {
    stopping=1
    # Only this campaign's fuzzers: another campaign may be running other targets in the same build folder.
    for t in "${available[@]}"; do
        [ -f "$BUILD/$t.pid" ] && kill -INT "$(cat "$BUILD/$t.pid")" 2>/dev/null
    done
}
trap stop INT TERM
running=0
for t in "${available[@]}"; do
    [ "$stopping" = 1 ] && break
    run_one "$t" &
    running=$((running + 1))
    if [ "$running" -ge "$JOBS" ]; then
        wait -n
        running=$((running - 1))
    fi
done
# wait returns early when a stop arrives: wait until every target has written its line.
while [ -n "$(jobs -pr)" ]; do wait; done

total=0
for t in "${available[@]}"; do
    total=$((total + $(ls "$BUILD/findings/${t%_fuzz}" | grep -vc '^slow-unit-')))
done
if [ "$total" -gt 0 ]; then
    echo "findings: $total (in $BUILD/findings/)"
    exit 1
fi
