#!/usr/bin/env bash
# Desktop tests, searching: a person types keywords and presses Enter (over HTTPS, against a
# service that repeats its last page), stops a search with Escape, searches again, and presses
# keys while a search runs.
#   tests/desktop/search.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin search

search_with_enter() {
    service=$fast settings MaxFileCount=10
    start_program
    wait_for 10 "the keyword box has the focus at first showing" '^focus=main/keywords$'
    new_keywords "red car"
    keys Return
    wait_for 30 "the search ends" "$finished_box"
    wait_for 5 "the list and strip are full" '^list=5 ' '^thumbs=[1-9]' '^line=.*/page/red-car/1\.html'
    screenshot
    [ "$(image_count)" = 5 ] || fail "5 images expected in the folder, found $(image_count)"
    # The second page repeats the first: nothing new, so the search ended after it, short of its
    # file limit.
    local asked
    asked=$(grep -c 'q=red+car&' "$work/fast-requests.txt")
    [ "$asked" = 2 ] || fail "2 results pages expected, $asked asked for"
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
    # Stop leaves the image that was arriving unfinished, so the first search may have none: then
    # its "No downloads" box comes before the box that ends every search.
    wait_for 20 "the first search ends" \
        '^box "Information" owner=main text="(Finished all downloads|No downloads to get for this)\.\.\."$'
    if grep -q '^box "Information" owner=main text="No downloads' "$work/probe.txt"; then
        keys Return
        wait_for 10 "the box that ends the first search" "$finished_box"
    fi
    keys Return
    wait_for 10 "the second search starts" '^main visible=1 enabled=1' "$searching"
    answer_finished 30
    # The second search skips what the first fetched before it stopped.
    wait_for 5 "the second search on show" '^list=([5-9]|10) '
}

# The colour of one pixel of the last screenshot, as ImageMagick writes it ("#RRGGBB").
pixel() { convert "$shots/$scenario.png" -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*\(#[0-9A-F]\{6\}\).*/\1/p'; }

# The frame around the selected thumbnail shows on all four sides, over a landscape picture
# (138 x 103, the frame's top on the picture's control) and a portrait one (81 x 108, its
# sides on it): a lowered edge, the same dark colour on top and left, the same light one on
# the bottom and right.
frame_shows_whole() {
    service=$fast settings
    start_program
    new_keywords "frames"
    keys Return
    answer_finished 30
    wait_for 5 "the list is full" '^list=5 '
    click_control main/list
    keys Home
    local line wide=0 narrow=0
    for line in 0 1 2 3 4; do
        [ $line = 0 ] || keys Down
        wait_for 5 "line $line selected and framed" "^list=5 selected=$line\$" '^frame visible=1 '
        screenshot
        local x y w h
        IFS=, read -r x y w h <<<"$(probe_field '^frame ' rect)"
        local top left bottom right
        top=$(pixel $((x + w / 2)) $y) left=$(pixel $x $((y + h / 2)))
        bottom=$(pixel $((x + w / 2)) $((y + h - 1))) right=$(pixel $((x + w - 1)) $((y + h / 2)))
        [ -n "$top" ] && [ "$top" = "$left" ] && [ "$bottom" = "$right" ] && [ "$top" != "$bottom" ] ||
            fail "line $line: the frame's sides are top $top, left $left, bottom $bottom, right $right"
        if [ "$w" -ge 140 ]; then wide=$((wide + 1)); else narrow=$((narrow + 1)); fi
        cp "$shots/$scenario.png" "$shots/$scenario-$line.png"
    done
    [ $wide -gt 0 ] && [ $narrow -gt 0 ] || fail "landscape and portrait pictures expected: $wide wide, $narrow narrow frames"
}

# Four downloads at once from image servers that each take 300 ms: the list still fills in the
# order of the page.
four_at_once_in_page_order() {
    service=$slow settings SimultaneousDownloads=4 MaxFileCount=10
    start_program
    new_keywords "green tree"
    keys Return
    wait_for 30 "the search fills the list" '^list=10 '
    local order
    order=$(sed -n 's|^line=.*/page/green-tree/\([0-9]*\)\.html.*|\1|p' "$work/probe.txt" | tr '\n' ' ')
    [ "$order" = "1 2 3 4 5 6 7 8 9 10 " ] || fail "the lines are not in page order: $order"
    screenshot
    answer_finished 30
    [ "$(image_count)" = 10 ] || fail "10 images expected in the folder, found $(image_count)"
}

run_scenario search_with_enter
run_scenario four_at_once_in_page_order
run_scenario escape_stops_then_search_again
run_scenario keys_while_searching
run_scenario double_enter
run_scenario frame_shows_whole
desktop_end
