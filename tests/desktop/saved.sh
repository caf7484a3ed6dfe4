#!/usr/bin/env bash
# Desktop tests of saved searches made by someone else: a set whose lines name a program and
# whose names reach out of the target folder, loaded through the chooser. A double click on its
# lines and "Open downloaded Image..." on its entries run nothing; the boxes say why.
#   tests/desktop/saved.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin saved

chooser='^window "  Load older searches \.\.\." '

# A 4-byte little-endian length, then the bytes.
record() { printf "\\x$(printf %02x $((${#1} & 255)))\\x$(printf %02x $((${#1} >> 8)))\\x00\\x00%s" "$1"; }

# Six entries without pictures (empty thumbnail records; six, so that the strip scrolls and the
# probe sees its thumbnails); programs beside and in the target folder.
write_hostile_set() {
    local marker
    marker=$(winpath "$work/marker.exe")
    for exe in "$work/marker.exe" "$work/marker2.exe" "$work/images/marker2.exe"; do
        cp "$build/bin/quenby-marker.exe" "$exe"
    done
    printf '%s\r\n%s\r\nftp://a/\r\nftp://b/\r\nftp://c/\r\nftp://d/\r\n' "$marker" "\\\\?\\$marker" >"$work/hostile.QBL"
    { record '..\marker2.exe'; record 'marker2.exe'; } >"$work/hostile.QBJ"
    head -c 24 /dev/zero >"$work/hostile.QBI"
}

# Double click on line $1 of the list (counted from 0).
double_click_line() {
    local r x y w h
    r=$(grep -F -- "control main/list " "$work/probe.txt" | head -n1 | sed -n 's/.* rect=\([^ ]*\).*/\1/p')
    IFS=, read -r x y w h <<<"$r"
    xdo mousemove $((x + 40)) $((y + 9 + 15 * $1)) click --repeat 2 --delay 100 1
}

# File > Open downloaded Image... (second from the bottom), then the box it shows.
open_downloaded_image() {
    keys F10 Down Up Up Return
    wait_for 5 "the open command answers" "^box \"[^\"]*\" owner=main text=\"$1\"\$"
    keys Return
    wait_for 5 "the box is answered" '^main visible=1 enabled=1'
}

hostile_set() {
    service=$fast settings
    write_hostile_set
    start_program
    keys F10 Down l
    wait_for 5 "the chooser offers the set" "$chooser" 'text="hostile"'
    keys Tab Return
    wait_for 10 "the set is loaded" '^main visible=1 enabled=1' '^list=6 ' '^thumbs=[1-9]'
    for line in 0 1; do
        double_click_line $line
        wait_for 5 "line $line is refused" \
            '^box "[^"]*" owner=main text="This address cannot be opened: (\\\\\?\\)?Z:.*\\marker\.exe"$'
        screenshot "hostile_set-line$line"
        keys Return
        wait_for 5 "the box is answered" '^main visible=1 enabled=1'
    done
    # The line of the first entry, then the second's thumbnail: neither has a file.
    click_control main/list
    open_downloaded_image 'Please select an image from image list first\.\.\.'
    local r x y w h
    r=$(grep '^thumb ' "$work/probe.txt" | sed -n '2s/.* rect=\([^ ]*\).*/\1/p')
    IFS=, read -r x y w h <<<"$r"
    click_at $((x + w / 2)) $((y + h / 2))
    open_downloaded_image "Can't find this image anymore on the traget folder, maybe it is missing or has been moved\.\.\."
    sleep 1
    local ran
    ran=$(find "$work" -name '*.ran' | head -n1)
    [ -z "$ran" ] || fail "a program of the set ran: $ran"
}

run_scenario hostile_set
desktop_end
