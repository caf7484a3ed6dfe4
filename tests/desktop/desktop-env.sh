# Sourced by the desktop tests, which play a person at the real Quenby.exe: a private Xvfb,
# Wine's X11 driver in the build tree's own desktop prefix, the sample service as the search
# service. Keys and the mouse go through xdotool (the X test extension: real input, as from a
# keyboard); what the screen shows is read back through quenby-probe (window texts, focus,
# owners, enabled states), the files written and the settings file.
#   desktop_begin GROUP [PREFIX]   display, prefix (the build tree's folder PREFIX, else
#                                  wineprefix-desktop), work folder, screenshot folder $shots, and
#                                  two sample services: $fast (HTTPS, 5 results, then that page
#                                  again) and $slow (10 results, each image answered after 300 ms)
#   run_scenario NAME              runs the function NAME against a fresh program and counts it
#                                  (only the names in $QUENBY_SCENARIOS when it is set)
#   desktop_end                    the closing line "N passed, N failed"; the exit status
# In a scenario:
#   settings KEY=VALUE...          a fresh Quenby.ini ([Preferences], the search service
#                                  $service), no saved sets, no images
#   start_program                  starts it and waits for its window; gives it the X focus
#   new_keywords TEXT              types TEXT over the keyword box's text
#   answer_finished [SECONDS]      waits for the box that ends a search and answers it
#   wait_for SECONDS WHAT ERE...   probes until every ERE matches a line of the probe, or fails
#   refute ERE...                  fails if one matches the current probe
#   keys KEY...  type_text TEXT  click_control NAME [BUTTON]  click_at X Y [BUTTON]
#   switch_away / switch_back      another program takes the X focus / the program gets it back
#   fail WHY
#
# Without a window manager (none runs here) the X keyboard focus stays where it was set, and a
# click does not move it: Wine activates the window it is given a click on but leaves the X
# focus to the window manager. switch_away and switch_back therefore set the X focus as a window
# manager would when the person clicks the other program, or back on this one.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
. "$root/tools/blackbox-env.sh"

passed=0
failed=0
failures=()

desktop_begin() {
    local group=$1 prefix=${2:-wineprefix-desktop}
    unset DISPLAY  # always a display of our own
    for tool in xdotool import xmessage; do
        command -v $tool >/dev/null || { echo "desktop tests need $tool (scripts/deps.sh)" >&2; exit 2; }
    done
    blackbox_start "$root" "$build" "desktop-$group" "$prefix"
    probe_exe=$build/bin/quenby-probe.exe
    [ -x "$probe_exe" ] || { echo "build quenby-probe first" >&2; exit 2; }
    shots=$build/desktop
    mkdir -p "$shots"
    echo "desktop $group: display $DISPLAY, work $work"
    # The fast one answers as the real service does: over HTTPS (the test authority is trusted in
    # this prefix), with its last page again for every later one.
    quenby_trust_test_ca "$build"
    blackbox_service --pages 1 --per-page 5 --image-kb 5 --tls "$build/testca" --after-end repeat \
        --requests "$work/fast-requests.txt"
    fast=$service
    blackbox_service --pages 1 --per-page 10 --image-kb 5 --image-ms 300
    slow=$service
    [ -n "$fast" ] && [ -n "$slow" ] || { echo "no sample service: build the native tree first" >&2; exit 77; }
}

# What the probe shows of the states a scenario waits for.
finished_box='^box "Information" owner=main text="Finished all downloads\.\.\."$'
idle='control main/"Stop search" enabled=0'
searching='control main/"Stop search" enabled=1'

# The keyboard is in the keyword box (the program's doing): the person selects its text and
# types over it.
new_keywords() {
    keys End shift+Home
    type_text "$1"
    wait_for 5 "the typed keywords show" "^keywords=$1\$"
}

# The box that ends every search: the main window is disabled under it; Enter answers it and
# the keyboard is back in the keyword box.
answer_finished() {
    wait_for "${1:-30}" "the search ends" "$finished_box" '^main visible=1 enabled=0' '^focus="Information"/"OK"$'
    keys Return
    wait_for 10 "back to idle" '^main visible=1 enabled=1' "$idle" '^focus=main/keywords$'
    refute '^box '
}

# Every process a scenario starts is written here and ended by its id after the scenario.
scenario_pid() { echo "$1" >>"$work/scenario.pids"; }

end_scenario_processes() {
    local pid
    [ -f "$work/scenario.pids" ] || return 0
    for pid in $(cat "$work/scenario.pids"); do kill "$pid" 2>/dev/null || true; done
    for pid in $(cat "$work/scenario.pids"); do
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    done
    rm -f "$work/scenario.pids"
}

run_scenario() {
    local name=$1
    [ -z "${QUENBY_SCENARIOS:-}" ] || [[ " $QUENBY_SCENARIOS " == *" $name "* ]] || return 0
    scenario=$name
    echo "== $name"
    local start=$SECONDS
    rm -f "$shots/$name".png "$shots/$name"-*.png
    if ( set -e; "$name" ); then
        # Each scenario leaves a picture; one that took none shows the screen as it ended.
        [ -f "$shots/$name.png" ] || screenshot "$name"
        passed=$((passed + 1))
        echo "ok   $name ($((SECONDS - start)) s)"
    else
        failed=$((failed + 1))
        failures+=("$name")
        echo "FAIL $name ($((SECONDS - start)) s)"
    fi
    end_scenario_processes
}

desktop_end() {
    [ ${#failures[@]} -gt 0 ] && echo "failed: ${failures[*]}"
    echo "$passed passed, $failed failed"
    [ "$failed" = 0 ]
}

screenshot() { import -window root "$shots/${1:-$scenario}.png" 2>/dev/null || true; }

fail() {
    echo "  failed: $*" >&2
    probe >/dev/null || true
    sed 's/^/  probe: /' "$work/probe.txt" >&2
    screenshot
    exit 1
}

# A search ends at its file limit, tested after each page, so the limit is kept at or below
# the service's results per page: the pages after the last one come empty and would otherwise
# be asked for until Stop.
settings() {
    rm -rf "$work/images" "$work"/*.QB? "$work/Quenby.ini"
    mkdir -p "$work/images"
    {
        echo "SavePath=$(winpath "$work/images")"
        echo "SearchService=$service"
        echo 'SaveOnExitAsk=0'
        echo 'MaxFileCount=5'
        for kv in "$@"; do echo "$kv"; done
    } | awk -F= '{ v[$1] = $0; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
                 END { print "[Preferences]"; for (i = 1; i <= n; i++) print v[order[i]] }' |
        sed 's/$/\r/' >"$work/Quenby.ini"
}

# One look at the program: $work/probe.txt and standard output. Status 3: no main window.
probe() {
    # Its standard output is in text mode: CR LF line ends.
    "$QUENBY_WINE" "$probe_exe" 2>/dev/null | tr -d '\r' >"$work/probe.txt"
    local rc=${PIPESTATUS[0]}
    cat "$work/probe.txt"
    return $rc
}

matches_all() {
    local re
    for re in "$@"; do grep -Eq -- "$re" "$work/probe.txt" || return 1; done
}

wait_for() {
    local seconds=$1 what=$2
    shift 2
    local start=$SECONDS deadline=$((SECONDS + seconds))
    while :; do
        probe >/dev/null || true
        if matches_all "$@"; then
            [ $((SECONDS - start)) -ge 3 ] && echo "  ($((SECONDS - start)) s: $what)"
            return 0
        fi
        [ $SECONDS -ge $deadline ] && fail "$what: not within $seconds s (wanted: $*)"
        sleep 0.2
    done
}

refute() {
    local re
    for re in "$@"; do
        grep -Eq -- "$re" "$work/probe.txt" && fail "unexpected: $(grep -E -- "$re" "$work/probe.txt" | head -n1)"
    done
    return 0
}

# A value from the last probe: probe_field LINE-ERE KEY  (probe_field '^main ' rect)
probe_field() { grep -E -- "$1" "$work/probe.txt" | head -n1 | sed -n "s/.* $2=\([^ ]*\).*/\1/p"; }

start_program() {
    (cd "$work" && exec "$QUENBY_WINE" Quenby.exe) >>"$work/program.log" 2>&1 &
    program=$!
    scenario_pid $program
    wait_for 30 "the main window shows" '^main visible=1 enabled=1 iconic=0'
    # The X focus goes to the new window, as a window manager gives it.
    focus_x_window "^Image search and download ...$"
}

# Waits until the program has ended by itself.
wait_program_end() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$program" 2>/dev/null; do
        [ $SECONDS -ge $deadline ] && fail "the program is still running after $1 s"
        sleep 0.2
    done
}

focus_x_window() {
    local id
    id=$(timeout 10 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$id" ] || fail "no X window named $1"
    xdo windowfocus --sync "$id"
}

# xdotool, bounded like every wait here.
xdo() { timeout 20 xdotool "$@" || fail "xdotool $* did not finish"; }

keys() { xdo key --delay 80 "$@"; }
type_text() { xdo type --delay 60 -- "$1"; }

# No --sync: it waits for a pointer motion, and there is none when the pointer is already there
# (measured: it then waited until the next pointer event, 17 s). One xdotool call sends the move
# and the click in order.
click_at() { xdo mousemove "$1" "$2" click "${3:-1}"; }

# Clicks the middle of a control named as the probe names it ('main/"Search"', 'main/list').
click_control() {
    local r x y w h
    r=$(grep -F -- "control $1 " "$work/probe.txt" | head -n1 | sed -n 's/.* rect=\([^ ]*\).*/\1/p')
    [ -n "$r" ] || fail "no control $1 to click"
    IFS=, read -r x y w h <<<"$r"
    click_at $((x + w / 2)) $((y + h / 2)) "${2:-1}"
}

# Another program comes to the front and takes the keyboard: a plain X client.
switch_away() {
    xmessage -geometry 320x90+20+20 "another program in front" &
    scenario_pid $!
    local id=
    for _ in $(seq 50); do
        id=$(timeout 10 xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -n1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "the other program did not show"
    xdo windowfocus --sync "$id"
}

# The person clicks the program's window (on the progress labels, where a click does nothing
# else). Wine activates the window for the click; the X focus is what a window manager would
# move. (Measured: the X focus alone, moved back from another X client, leaves Wine's window
# inactive.)
switch_back() {
    focus_x_window "^Image search and download ...$"
    probe >/dev/null || true
    local c
    c=$(probe_field '^main ' client)
    click_at $((${c%,*} + 100)) $((${c#*,} + 90))
}

# The ini value of KEY after the program has written it.
ini_value() { tr -d '\r' <"$work/Quenby.ini" | sed -n "s/^$1=//p" | head -n1; }

image_count() { find "$work/images" -type f | wc -l; }
