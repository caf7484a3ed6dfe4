#!/usr/bin/env bash
# Desktop tests, across a restart: a saved search loaded again through the chooser, the window
# placement after a minimized close, and absurd placement values in the settings file.
#   tests/desktop/restart.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin restart

chooser='^window "  Load older searches \.\.\." '

save_restart_load() {
    service=$fast settings
    start_program
    new_keywords "saved set"
    keys Return
    answer_finished
    keys F10 Down s
    wait_for 5 "the list is saved" '^box "Information" owner=main text="Saved search results to disk\."$'
    keys Return
    wait_for 5 "back to the keyword box" '^focus=main/keywords$'
    grep '^line=' "$work/probe.txt" >"$work/lines.before"
    keys alt+F4
    wait_program_end 15
    start_program
    keys F10 Down l
    wait_for 5 "the chooser offers the saved set" "$chooser" 'control "  Load older searches \.\.\."/ComboBox#0 .* text="saved\+set"'
    keys Tab Return
    wait_for 10 "the set is loaded" '^main visible=1 enabled=1' '^list=5 ' '^thumbs=[1-9]' '^keywords=saved\+set$' '^focus=main/keywords$'
    grep '^line=' "$work/probe.txt" | diff - "$work/lines.before" >/dev/null || fail "the loaded lines differ from the saved ones"
    screenshot
}

# Minimized with Alt+Space, n, then closed with Alt+F4: the next start shows the window where
# it was before.
minimized_close() {
    service=$fast settings
    start_program
    local before
    before=$(probe_field '^main ' rect)
    keys alt+space n
    wait_for 5 "the window is minimized" '^main visible=1 enabled=1 iconic=1'
    keys alt+F4
    wait_program_end 15
    start_program
    wait_for 5 "the window is back where it was" "^main visible=1 enabled=1 iconic=0 rect=$before "
    screenshot
}

# Placements no screen can show: the window still comes up visible on the screen, usable.
absurd_placements() {
    local placement
    for placement in "-5000 -5000 400 400" "99999 99999 99999 99999" "0 0 0 0" "-1 -1 -1 -1"; do
        set -- $placement
        service=$fast settings WindowLeft=$1 WindowTop=$2 WindowWidth=$3 WindowHeight=$4
        start_program
        local r x y w h
        r=$(probe_field '^main ' rect)
        IFS=, read -r x y w h <<<"$r"
        # Some of the window on the 1280 x 800 screen, and at least its minimum size.
        [ "$x" -lt 1280 ] && [ "$y" -lt 800 ] && [ $((x + w)) -gt 0 ] && [ $((y + h)) -gt 0 ] ||
            fail "placement $placement: the window lies off the screen at $r"
        [ "$w" -ge 368 ] && [ "$h" -ge 320 ] || fail "placement $placement: the window is only $w x $h"
        wait_for 5 "the keyword box has the focus" '^focus=main/keywords$'
        screenshot "absurd_placements-$1"
        keys alt+F4
        wait_program_end 15
    done
}

run_scenario save_restart_load
run_scenario minimized_close
run_scenario absurd_placements
desktop_end
