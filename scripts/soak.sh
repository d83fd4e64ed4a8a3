#!/usr/bin/env bash
# Leaves the program running for DURATION seconds the ways it is left running
# for long, each over an orvanta-sim --chaos: a monitor job kept up as a
# service keeps it (restarted when it fails), status and capture jobs one after
# another, directly and, for the middle half of the time, through a ser2net
# that is restarted at random, and the windows (poll, continuous download,
# real-time monitoring: tests/soak_window). Every process has a bound; past it
# is a hang. Reports crashes, hangs, and the memory and open files of the
# long-lived processes over time; exits 0 only when there were none and both
# stayed flat.
#
# usage: scripts/soak.sh DURATION_SECONDS [--report FILE] [--seed N] [--bin DIR] [--keep]
#   --seed N   the simulators' seeds are N, N+1, N+2 (default: random, printed)
#   --bin DIR  where orvanta, orvanta-sim and soak_window are (default: build/bin)
#   --keep     keep the logs also when the soak passes (a failed one always does)
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
usage() {
    echo "usage: $0 DURATION_SECONDS [--report FILE] [--seed N] [--bin DIR] [--keep]" >&2
    exit 2
}
duration="${1:-}"
[[ $duration =~ ^[1-9][0-9]*$ ]] || usage
shift
report="" seed="" bin="$ROOT/build/bin" keep=""
while (($#)); do
    case "$1" in
    --report) report="${2:?}" ;;
    --seed) seed="${2:?}" ;;
    --bin) bin="${2:?}" ;;
    --keep) keep=1 && shift && continue ;;
    *) usage ;;
    esac
    shift 2
done
[[ -n $seed ]] || seed=$((RANDOM * 32768 + RANDOM))
[[ $seed =~ ^[0-9]+$ ]] || usage
bin="$(cd "$bin" && pwd)"
for program in orvanta orvanta-sim soak_window; do
    [[ -x $bin/$program ]] || { echo "soak: $bin/$program is not built" >&2; exit 2; }
done

begun=$SECONDS
work="$(mktemp -d "${TMPDIR:-/tmp}/orvanta-soak.XXXXXX")"
mkdir "$work/jobs"
export QT_QPA_PLATFORM=offscreen
verdict=FAIL
lanes=()

# Whether process $1 still runs one of the programs this script starts: an id
# is signalled only then, never one reused by something else.
ours() {
    local exe
    exe="$(readlink "/proc/$1/exe" 2>/dev/null)" || return 1
    [[ $exe == "$bin"/* || $exe == "$(command -v ser2net)" ]]
}

# Ends every process this script started, by the ids it kept, then the folder.
cleanup() {
    touch "$work/stop"
    local file pid signal
    for signal in TERM KILL; do
        for pid in "${lanes[@]}"; do kill -"$signal" "$pid" 2>/dev/null || true; done
        for file in "$work"/pid.*; do
            [[ -e $file ]] || continue
            pid="$(<"$file")"
            ! ours "$pid" || kill -"$signal" "$pid" 2>/dev/null || true
        done
        [[ $signal == KILL ]] || sleep 1
    done
    if [[ $verdict == PASS && -z $keep ]]; then rm -rf "$work"; else echo "soak: logs kept in $work" >&2; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

stopping() { [[ -e $work/stop ]]; }
# Sleeps up to $1 seconds, less when the soak ends.
nap() {
    local steps=$(($1 * 5))
    while ((steps-- > 0)) && ! stopping; do sleep 0.2; done
}

# One line per process that ended: what it was, its class and exit status, why,
# and how long it ran (since $since).
record() {
    local label="$1" rc="$2" err="${3:-/dev/null}" class reason=""
    case "$rc" in
    0) class="done" ;;
    1)
        reason="$(tail -n 1 "$err" 2>/dev/null || true)"
        if [[ $reason =~ ^orvanta\ [a-z-]+:\ (.*)$ ]]; then
            class=failed
            reason="$(sed -E 's/^\S+ \(port [0-9], [0-9]+ baud\): //' <<<"${BASH_REMATCH[1]}")"
        else
            class=unnamed
        fi
        ;;
    124 | 137) class=hang ;;
    *) class=crash reason="$( ((rc > 128)) && echo "signal $((rc - 128))" || echo "exit $rc")" ;;
    esac
    printf '%s\t%s\t%s\t%s\t%s\n' "$label" "$class" "$rc" "$reason" "$((SECONDS - since))" >>"$work/outcomes"
}

# Waits up to $2 seconds for child $1 to end, then kills it: a hang. Its exit
# status goes to $ended.
await() {
    local pid="$1" steps=$(($2 * 10))
    while ((steps-- > 0)) && kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
    ! kill -0 "$pid" 2>/dev/null || kill -KILL "$pid"
    ended=0
    wait "$pid" || ended=$?
}

start_sim() { # name seed options...
    local name="$1" seed="$2"
    shift 2
    "$bin/orvanta-sim" --chaos "$seed" --link "$work/tty-$name" "$@" >/dev/null 2>"$work/sim-$name.err" &
    echo $! >"$work/pid.sim-$name"
    local steps=50
    while ((steps-- > 0)) && [[ ! -e $work/tty-$name ]]; do sleep 0.1; done
    [[ -e $work/tty-$name ]] || { echo "soak: the simulator $name did not start" >&2; exit 1; }
}

# As a service with Restart=on-failure keeps it: restarted a second after a failure.
monitor_lane() {
    local rc
    while ! stopping; do
        since=$SECONDS
        "$bin/orvanta" monitor --json --device "$work/tty-monitor" -o "$work/monitor.out" \
            2>"$work/monitor.err" &
        echo $! >"$work/pid.monitor"
        # The end may have come before the id was there to be stopped.
        ! stopping || kill -TERM $!
        rc=0
        wait $! || rc=$?
        rm "$work/pid.monitor"
        record monitor "$rc" "$work/monitor.err"
        cat "$work/monitor.err" >>"$work/monitor.log"
        ((rc != 0)) || break
        nap 1
    done
}

jobs_lane() {
    RANDOM=$((seed + 3))
    local job via device bound rc options
    while ! stopping; do
        job=status bound=30 options=()
        ((RANDOM % 3 != 0)) || job=capture bound=120 options=(-o "$work/jobs/picture.bmp")
        via=direct device="$work/tty-jobs"
        if [[ -n $tcp_port ]] && ((SECONDS >= ser2net_from && SECONDS < ser2net_until && RANDOM % 2 == 0)); then
            via=ser2net device="tcp://127.0.0.1:$tcp_port"
        fi
        rc=0 since=$SECONDS
        (cd "$work/jobs" && timeout -k 5 "$bound" "$bin/orvanta" "$job" --device "$device" "${options[@]}" \
            >/dev/null 2>"$work/jobs/err") || rc=$?
        record "$job/$via" "$rc" "$work/jobs/err"
        { echo "== $job via $via: exit $rc after $((SECONDS - since)) s"; cat "$work/jobs/err"; } >>"$work/jobs.log"
        sleep "0.$((RANDOM % 10))"
    done
}

ser2net_lane() {
    RANDOM=$((seed + 4))
    cat >"$work/ser2net.yaml" <<EOF
connection: &soak
  accepter: tcp,127.0.0.1,$tcp_port
  connector: serialdev,$work/tty-jobs,38400n81,local
EOF
    nap $((ser2net_from - SECONDS))
    while ! stopping && ((SECONDS < ser2net_until)); do
        since=$SECONDS
        ser2net -n -c "$work/ser2net.yaml" >>"$work/ser2net.log" 2>&1 &
        echo $! >"$work/pid.ser2net"
        nap $((2 + RANDOM % 12))
        kill -TERM "$(<"$work/pid.ser2net")" 2>/dev/null || true
        await "$(<"$work/pid.ser2net")" 5
        rm "$work/pid.ser2net"
        # It ends with 1 on SIGTERM.
        record ser2net "$((ended == 1 ? 0 : ended))"
        nap $((RANDOM % 3))
    done
}

# A port on 127.0.0.1 nobody listens on.
free_port() {
    local port tries=20
    while ((tries-- > 0)); do
        port=$((20000 + RANDOM % 40000))
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
    done
}

notes=()
tcp_port=""
if command -v ser2net >/dev/null; then
    tcp_port="$(free_port)"
else
    notes+=("ser2net is not installed: no jobs through it")
fi
ser2net_from=$((SECONDS + duration / 4)) ser2net_until=$((SECONDS + duration * 3 / 4))

echo "soak: ${duration} s, seed $seed (again: scripts/soak.sh $duration --seed $seed)"
start_sim monitor "$seed" --error-interval 250
start_sim window $((seed + 1)) --error-interval 250 --live
start_sim jobs $((seed + 2))
started=$SECONDS since=$SECONDS
"$bin/soak_window" "$work/tty-window" "$duration" >"$work/window.out" 2>"$work/window.err" &
echo $! >"$work/pid.window"
monitor_lane &
lanes+=($!)
jobs_lane &
lanes+=($!)
if [[ -n $tcp_port ]]; then
    ser2net_lane &
    lanes+=($!)
fi

# Memory and open files of the long-lived processes, about 60 times a run.
interval=$((duration / 60))
((interval >= 1)) || interval=1
((interval <= 10)) || interval=10
while ((SECONDS < started + duration)); do
    for name in monitor window sim-monitor sim-window sim-jobs; do
        pid="$(cat "$work/pid.$name" 2>/dev/null)" || continue
        [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == "$bin"/* ]] || continue
        rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)" || continue
        fds="$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)"
        echo "$((SECONDS - started)) $name $pid $rss $fds" >>"$work/samples"
    done
    sleep "$interval"
done

# The end: the service is stopped and has 10 s to go (the lane records a
# kill as a hang); everything else ends by itself within its bound.
touch "$work/stop"
if pid="$(cat "$work/pid.monitor" 2>/dev/null)" && ours "$pid"; then
    kill -TERM "$pid"
    steps=100
    while ((steps-- > 0)) && kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
    ! ours "$pid" || kill -KILL "$pid"
fi
await "$(<"$work/pid.window")" 60
rm "$work/pid.window"
record window "$ended" "$work/window.err"
# A job in flight has its own bound.
for pid in "${lanes[@]}"; do
    await "$pid" 130
    ((ended == 0)) || record lane "$ended"
done
# Reaped: their ids may belong to others from now on.
lanes=()
for name in monitor window jobs; do
    pid="$(<"$work/pid.sim-$name")"
    # Each must serve the whole soak through.
    alive=0
    ! kill -0 "$pid" 2>/dev/null || alive=1
    kill -TERM "$pid" 2>/dev/null || true
    await "$pid" 5
    rm "$work/pid.sim-$name"
    ((alive)) || ended=$((ended == 0 ? 255 : ended))
    record "sim-$name" "$ended" "$work/sim-$name.err"
done

{
    echo "soak: ${duration} s, seed $seed, $((SECONDS - begun)) s in all"
    for note in "${notes[@]}"; do echo "note: $note"; done
    echo "runs (done / failed with a reason / failed unnamed / hang / crash), the longest:"
    awk -F '\t' '{ n[$1]++; c[$1, $2]++; if ($5 > t[$1]) t[$1] = $5 }
        END { for (l in n) printf "  %-16s %5d runs: %d / %d / %d / %d / %d, %d s\n", l, n[l], c[l, "done"],
              c[l, "failed"], c[l, "unnamed"], c[l, "hang"], c[l, "crash"], t[l] }' "$work/outcomes" | sort
    awk -F '\t' '$2 == "crash" || $2 == "hang" || $2 == "unnamed" { print "  " $2 ": " $1 " exit " $3 " " $4 }' \
        "$work/outcomes"
    echo "reasons given:"
    awk -F '\t' '$2 == "failed" { print $4 }' "$work/outcomes" | sort | uniq -c | sort -rn | head -n 10
    echo "simulator hang-ups: $(awk '/hung up/ { n++ } END { print n + 0 }' "$work"/sim-*.err)"
    sed 's/^/window: /' "$work/window.out"
    echo "memory (VmRSS kB) and open files, first after warm-up / last / max:"
    # A quarter of each process's samples is its warm-up; then RSS may not rise by
    # more than 10 % (at least 2 MB) nor open files by more than 2.
    awk '{ key = $2 " " $3; if (!(key in n)) order[++keys] = key; s = ++n[key]; rss[key, s] = $4; fds[key, s] = $5 }
        END {
            for (k = 1; k <= keys; k++) {
                key = order[k]; count = n[key]
                if (count < 4) { short++; continue }
                base = int(count / 4) + 1; mr = 0; mf = 0
                for (s = 1; s <= count; s++) { if (rss[key, s] > mr) mr = rss[key, s]; if (fds[key, s] > mf) mf = fds[key, s] }
                margin = rss[key, base] / 10; if (margin < 2048) margin = 2048
                flat = rss[key, count] <= rss[key, base] + margin && fds[key, count] <= fds[key, base] + 2
                printf "  %-22s %3d samples  rss %d / %d / %d  fds %d / %d / %d  %s\n", key, count, rss[key, base],
                    rss[key, count], mr, fds[key, base], fds[key, count], mf, flat ? "flat" : "growing"
            }
            if (short) printf "  (%d short-lived processes with fewer than 4 samples)\n", short
        }' "$work/samples"
} >"$work/report"

if ! grep -qE "^  (crash|hang|unnamed): " "$work/report" && ! grep -q " growing$" "$work/report" \
    && grep -q " flat$" "$work/report"; then
    verdict=PASS
fi
echo "verdict: $verdict" >>"$work/report"
cat "$work/report"
[[ -z $report ]] || cp "$work/report" "$report"
[[ $verdict == PASS ]]
