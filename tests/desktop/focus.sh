#!/usr/bin/env bash
# Desktop tests, the keyboard focus and the boxes: the person switches to another program and
# back, a box comes up while another program is in front, and Alt+F4 is pressed under a box.
#   tests/desktop/focus.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin focus

# Back in the program, the keyboard is where the person left it.
focus_back_after_switching() {
    service=$fast settings
    start_program
    wait_for 10 "the keyword box has the focus" '^focus=main/keywords$'
    switch_away
    wait_for 5 "the program is in the background" '^active=none$' '^foreground=(other|desktop)$'
    switch_back
    wait_for 5 "the keyword box has the focus again" '^active=main$' '^focus=main/keywords$'
    new_keywords "back again"
    # The address field keeps the focus the same way.
    click_control main/address
    wait_for 5 "a click puts the focus in the address field" '^focus=main/address$'
    switch_away
    wait_for 5 "the program is in the background" '^active=none$'
    switch_back
    wait_for 5 "the address field has the focus again" '^focus=main/address$'
    type_text "typed"
    wait_for 5 "typing reaches the address field" 'control main/address .* text="typed"$'
}

# The search ends while another program is in front: its box still belongs to the main window,
# which is disabled under it, so a click on Search does nothing; afterwards a search works.
box_while_in_background() {
    service=$slow settings
    start_program
    new_keywords "night sky"
    keys Return
    wait_for 20 "the search runs" "$searching" '^list=[1-9]'
    switch_away
    wait_for 5 "the program is in the background" '^active=none$'
    wait_for 30 "the search ends with its box" "$finished_box" '^main visible=1 enabled=0'
    screenshot box_while_in_background-box
    probe >/dev/null
    click_control 'main/"Search"'
    sleep 1  # a Search that got through would ask about the search or start one
    wait_for 5 "the click on Search did nothing" "$finished_box" '^list=10 ' '^main visible=1 enabled=0'
    refute '^box "Confirm"'
    click_control '"Information"/"OK"'
    wait_for 5 "the box is answered" '^main visible=1 enabled=1' "$idle"
    refute '^box '
    switch_back
    wait_for 5 "the keyword box has the focus" '^focus=main/keywords$'
    new_keywords "day sky"
    keys Return
    wait_for 30 "a new search runs to its end" "$finished_box" '^line=.*/page/day-sky/10\.html'
    answer_finished
}

# Alt+F4 under a box closes the box, not the program; the next Alt+F4 closes the program.
alt_f4_under_boxes() {
    service=$slow settings SaveOnExitAsk=1
    start_program
    new_keywords "alt four"
    keys Return
    wait_for 20 "the search runs" "$searching" '^list=[1-9]'
    keys Return
    wait_for 10 "the question about the running search" '^box "Confirm" owner=main text="Already doing a search'
    keys alt+F4
    wait_for 5 "Alt+F4 answers Cancel" '^main visible=1 enabled=1' "$searching"
    refute '^box '
    wait_for 30 "the search goes on to its end" "$finished_box"
    keys alt+F4
    wait_for 5 "Alt+F4 closes the box" '^main visible=1 enabled=1' "$idle" '^focus=main/keywords$'
    refute '^box '
    keys alt+F4
    wait_for 10 "the question before closing" '^box "Confirm" owner=main text="Want to save your search to disk for later browsing \?"$'
    keys alt+F4
    wait_for 5 "Alt+F4 answers Cancel: the program stays" '^main visible=1 enabled=1' '^focus=main/keywords$'
    refute '^box '
    keys alt+F4
    wait_for 10 "the question before closing" '^box "Confirm" owner=main text="Want to save'
    keys n
    wait_program_end 15
    [ "$(ini_value WindowLeft)" = 203 ] || fail "WindowLeft $(ini_value WindowLeft) after a normal close"
}

run_scenario focus_back_after_switching
run_scenario box_while_in_background
run_scenario alt_f4_under_boxes
desktop_end
