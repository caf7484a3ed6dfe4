#!/usr/bin/env bash
# Desktop tests, searching: a person types keywords and presses Enter, stops a search with
# Escape, searches again, and presses keys while a search runs.
#   tests/desktop/search.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin search

search_with_enter() {
    service=$fast settings
    start_program
    wait_for 10 "the keyword box has the focus at first showing" '^focus=main/keywords$'
    new_keywords "red car"
    keys Return
    wait_for 30 "the search ends" "$finished_box"
    wait_for 5 "the list and strip are full" '^list=5 ' '^thumbs=[1-9]' '^line=.*/page/red-car/1\.html'
    screenshot
    [ "$(image_count)" = 5 ] || fail "5 images expected in the folder, found $(image_count)"
    answer_finished
}

escape_stops_then_search_again() {
    service=$slow settings
    start_program
    new_keywords "blue sky"
    keys Return
    wait_for 20 "the search runs" "$searching" '^list=[1-9]'
    keys Escape
    answer_finished 15
    local n
    n=$(sed -n 's/^list=\([0-9]*\) .*/\1/p' "$work/probe.txt")
    [ "$n" -lt 10 ] || fail "Escape did not stop the search: $n lines"
    new_keywords "green tree"
    keys Return
    wait_for 30 "the second search fills the list" '^list=10 ' '^line=.*/page/green-tree/10\.html'
    refute '^line=.*blue-sky'
    screenshot
    answer_finished
}

# Typing while a search runs goes to the keyword box; Enter then asks before it stops the search,
# and Escape (Cancel) leaves the search running to its end.
keys_while_searching() {
    service=$slow settings
    start_program
    new_keywords "busy"
    keys Return
    wait_for 20 "the search runs" "$searching" '^list=[1-9]'
    # The search selected the keywords in the box: typing replaces them.
    type_text "xyz"
    wait_for 5 "typing reaches the keyword box" '^keywords=xyz$'
    keys Return
    wait_for 10 "the question about the running search" \
        '^box "Confirm" owner=main text="Already doing a search\. want to stop it and start this other one \?"$' \
        '^main visible=1 enabled=0'
    keys Escape
    wait_for 5 "the question is gone" '^main visible=1 enabled=1' '^focus=main/keywords$'
    answer_finished 30
    wait_for 5 "the search ran to its end" '^list=10 '
}

# Enter twice at once: the second asks about the running search; OK stops it and starts again.
double_enter() {
    service=$slow settings
    start_program
    new_keywords "twice"
    keys Return Return
    wait_for 20 "the question about the running search" '^box "Confirm" owner=main text="Already doing a search'
    keys Return
    wait_for 20 "the first search ends" "$finished_box"
    keys Return
    wait_for 10 "the second search starts" '^main visible=1 enabled=1' "$searching"
    answer_finished 30
    # The first search fetched a few images before it stopped; the second skips those.
    wait_for 5 "the second search on show" '^list=([5-9]|10) '
}

run_scenario search_with_enter
run_scenario escape_stops_then_search_again
run_scenario keys_while_searching
run_scenario double_enter
desktop_end
