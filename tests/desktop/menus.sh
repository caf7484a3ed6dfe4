#!/usr/bin/env bash
# Desktop tests, menus and dialogs: the menu bar and the popup menus by keyboard and by mouse,
# the About box from the Help menu and the system menu, the options dialog by keyboard alone,
# and Escape in every dialog.
#   tests/desktop/menus.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin menus

popup='^window "" class=#32768 '
about='^window "Quenby   \(v1\.0\.7\.2\)" '
options='^window "  Limits & options to download" '
chooser='^window "  Load older searches \.\.\." '

# The menu bar's titles, in pixels right of the client area's left edge and above its top.
# Measured on the screenshot (Wine's default font); the bar lies outside the client area.
declare -A title_x=([File]=13 [Edit]=42 [Options]=82 [Help]=124)
click_menu_title() {
    local c
    probe >/dev/null
    c=$(probe_field '^main ' client)
    click_at $((${c%,*} + ${title_x[$1]})) $((${c#*,} - 9))
    wait_for 5 "the $1 menu opens" "$popup"
}

# Clicks the last item of the open popup menu.
click_last_item() {
    local r x y w h
    r=$(probe_field "$popup" rect)
    IFS=, read -r x y w h <<<"$r"
    click_at $((x + w / 2)) $((y + h - 10))
}

# The About box closes on a click on its texts.
close_about() {
    # Its texts read back: the "©" is the character itself, not a byte of another code page.
    wait_for 5 "the About box shows" "$about" 'control "Quenby   \(v1\.0\.7\.2\)"/Static#0 .* text="©"$'
    keys Escape
    sleep 0.5
    probe >/dev/null
    local r x y w h
    r=$(probe_field "$about" rect)
    IFS=, read -r x y w h <<<"$r"
    click_at $((x + w / 2)) $((y + h / 2))
    wait_for 5 "the About box closes" '^main visible=1 enabled=1'
    refute "$about"
}

menu_bar_by_keyboard() {
    service=$fast settings
    start_program
    wait_for 10 "the keyword box has the focus" '^focus=main/keywords$'
    keys F10
    wait_for 5 "F10 selects the menu bar" '^menu=bar$'
    keys Down
    wait_for 5 "Down opens File" "$popup"
    keys Right Right Right
    wait_for 5 "the arrows walk to Help" "$popup"
    screenshot menu_bar_by_keyboard-help
    keys Escape Escape
    wait_for 5 "Escape leaves the menus" '^menu=none$' '^focus=main/keywords$'
    refute "$popup"
    # Edit > Select all, then typing replaces the keywords.
    new_keywords "abc"
    keys End F10 Right Down Down Down Return
    wait_for 5 "the menu is done" '^menu=none$' '^focus=main/keywords$'
    type_text "x"
    wait_for 5 "Select all took the whole text" '^keywords=x$'
    # Help > About ... (the last item: Up from the first). Left of File is the system menu.
    keys F10 Left Left Down Up Return
    close_about
    wait_for 5 "the focus is back" '^focus=main/keywords$'
}

menus_by_mouse() {
    service=$fast settings
    start_program
    click_menu_title Help
    click_last_item
    close_about
    click_menu_title Options
    click_last_item
    wait_for 5 "Clear all past search keys asks" '^box "Information" owner=main text="Sure to delete all past search keywords\.\.\?"$'
    click_control '"Information"/"Cancel"'
    wait_for 5 "the question is gone" '^main visible=1 enabled=1'
    click_menu_title Edit
    keys Escape Escape
    wait_for 5 "the Edit menu closes" '^menu=none$'
    refute "$popup"
    click_menu_title File
    screenshot menus_by_mouse-file
    click_last_item
    wait_program_end 15
}

# The result list's menu from the keyboard (Shift+F10, a letter), the mouse and the menu button;
# the text menu of the keyword box.
popup_menus() {
    service=$fast settings
    start_program
    new_keywords "menus"
    keys Return
    answer_finished
    probe >/dev/null
    local r x y w h
    r=$(probe_field 'control main/list ' rect)
    IFS=, read -r x y w h <<<"$r"
    click_at $((x + 60)) $((y + 8))
    wait_for 5 "a click selects the first line" '^focus=main/list$' '^list=5 selected=0$'
    keys shift+F10
    wait_for 5 "Shift+F10 opens the list's menu" "$popup"
    keys s
    wait_for 5 "s saves the list" '^box "Information" owner=main text="Saved search results to disk\."$'
    keys Return
    wait_for 5 "back in the list" '^focus=main/list$'
    [ -f "$work/menus.QBL" ] || fail "menus.QBL was not saved"
    probe >/dev/null
    click_control main/list 3
    wait_for 5 "a right click opens the list's menu" "$popup"
    click_last_item
    close_about
    probe >/dev/null
    click_control main/keywords 3
    wait_for 5 "a right click opens the keyword box's menu" "$popup"
    # The edit commands act on the focused control, not the one the menu was opened on: a right
    # click leaves the focus in the list.
    keys Escape
    wait_for 5 "Escape closes it" '^menu=none$' '^focus=main/list$'
    # The menu button: left of "Stop search".
    r=$(probe_field 'control main/"Stop search" ' rect)
    IFS=, read -r x y w h <<<"$r"
    click_at $((x - 17)) $((y + h / 2))
    wait_for 5 "the menu button opens the list's menu" "$popup"
    keys Escape
    wait_for 5 "Escape closes it" '^menu=none$'
    refute "$popup"
}

about_from_system_menu() {
    service=$fast settings
    start_program
    keys alt+space
    wait_for 5 "Alt+Space opens the system menu" "$popup"
    screenshot about_from_system_menu-menu
    keys Up Return
    close_about
    wait_for 5 "the focus is back" '^focus=main/keywords$'
}

# Every field by Tab, typing and arrows; Ok reached by Tab and pressed with Enter.
options_by_keyboard() {
    service=$fast settings
    start_program
    keys F10 Right Right Down Down Down Return
    wait_for 5 "the options dialog opens on its first field" "$options" '^focus="  Limits & options to download"/Edit#0$'
    keys Escape
    sleep 0.5
    wait_for 5 "Escape does not close it" "$options"
    local dlg='"  Limits & options to download"'
    keys End shift+Home
    type_text 12
    keys Tab End shift+Home
    type_text 300
    keys Tab Down Tab End shift+Home
    # The file count never shows less than 50: its first digit turns into "50".
    type_text 1
    wait_for 5 "the file count stays in its range" "control $dlg/Edit#2 .* text=\"50\""
    keys End
    type_text 0
    wait_for 5 "the fields took the typing" "control $dlg/Edit#0 .* text=\"12\"" "control $dlg/Edit#1 .* text=\"300\"" \
        "control $dlg/Edit#2 .* text=\"500\"" "control $dlg/ComboBox#0 .* text=\"No filters \(\+18\)\""
    # Simultaneous downloads, the last number field: 9 shows the upper bound, then 4.
    keys Tab
    wait_for 5 "Tab reaches the simultaneous downloads" "^focus=$dlg/Edit#3\$"
    keys End shift+Home
    type_text 9
    wait_for 5 "the simultaneous downloads stay in their range" "control $dlg/Edit#3 .* text=\"8\""
    keys End shift+Home
    type_text 4
    wait_for 5 "the simultaneous downloads took the typing" "control $dlg/Edit#3 .* text=\"4\""
    keys Tab Tab Tab space
    wait_for 5 "space ticks the focused check box" "^focus=$dlg/\"Ask to save search on exit\"\$" \
        "control $dlg/\"Ask to save search on exit\" .* checked=1"
    keys Tab Tab Tab
    wait_for 5 "Tab reaches Ok" "^focus=$dlg/\"Ok\"\$"
    screenshot
    keys Return
    wait_for 5 "Ok closes the dialog" '^main visible=1 enabled=1' '^focus=main/keywords$'
    refute "$options"
    keys alt+F4
    wait_program_end 15
    local want got
    for want in MinFilesize=12288 MaxFilesize=307200 MaxFileCount=500 SimultaneousDownloads=4 SafeSearchT=Off \
        SaveOnExitAsk=1; do
        got=$(ini_value "${want%%=*}")
        [ "${want%%=*}=$got" = "$want" ] || fail "$want expected in Quenby.ini, found ${want%%=*}=$got"
    done
}

# What a search keeps, by keyboard: the row below the designed dialog, reached backwards from
# its first field. Six results of two pictures: two files kept, and "sources.csv" names them.
keeps_by_keyboard() {
    blackbox_service --pages 1 --per-page 6 --images 2 --image-kb 5
    service=$service settings
    start_program
    keys F10 Right Right Down Down Down Return
    local dlg='"  Limits & options to download"'
    wait_for 5 "the options dialog opens on its first field" "$options" "^focus=$dlg/Edit#0\$"
    keys shift+Tab shift+Tab shift+Tab space
    wait_for 5 "space ticks the list of sources" "control $dlg/\"Write a list of sources beside the pictures\" .* checked=1"
    keys shift+Tab shift+Tab space
    wait_for 5 "space ticks the identical pictures" \
        "^focus=$dlg/\"Skip pictures already in the folder \(same content\)\"\$" \
        "control $dlg/\"Skip pictures already in the folder \(same content\)\" .* checked=1"
    keys shift+Tab
    wait_for 5 "shift+Tab reaches Ok" "^focus=$dlg/\"Ok\"\$"
    screenshot keeps_by_keyboard-dialog
    keys Return
    wait_for 5 "Ok closes the dialog" '^main visible=1 enabled=1' '^focus=main/keywords$'
    new_keywords "twins"
    keys Return
    wait_for 30 "the search ends with one line per picture" "$finished_box" '^list=2 '
    answer_finished
    local kept
    kept=$(find "$work/images" -name '*.jpg' | wc -l)
    [ "$kept" = 2 ] || fail "2 pictures expected in the folder, found $kept"
    python3 - "$work/images/sources.csv" <<'PY' || fail "sources.csv does not list the two pictures"
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
assert len(rows) == 2, rows
assert all(r["keywords"] == "twins" and r["image_url"].endswith(".jpg") for r in rows), rows
PY
    keys alt+F4
    wait_program_end 15
    [ "$(ini_value SkipIdentical)$(ini_value WriteSources)$(ini_value OnlyPictures)" = 11 ] ||
        fail "the options are not kept in Quenby.ini"
}

# Escape in the chooser and in a plain box; the chooser ends by Tab to Cancel and space.
escape_in_dialogs() {
    service=$fast settings
    start_program
    keys F10 Down l
    wait_for 5 "the chooser opens on its list" "$chooser" '^focus="  Load older searches \.\.\."/ComboBox#0$'
    keys Escape
    sleep 0.5
    wait_for 5 "Escape does not close the chooser" "$chooser"
    keys Tab Tab
    wait_for 5 "Tab reaches Cancel" '^focus="  Load older searches \.\.\."/"Cancel"$'
    keys space
    wait_for 5 "Cancel closes the chooser" '^main visible=1 enabled=1' '^focus=main/keywords$'
    refute "$chooser"
    # Help > Help ... without its text file: a plain box; Escape closes it.
    keys F10 Left Left Down Return
    wait_for 5 "the help file is missing" "^box \"Quenby\" owner=main text=\"'Quenby.txt'  not found\.\.\.\"\$"
    keys Escape
    wait_for 5 "Escape closes the box" '^main visible=1 enabled=1' '^focus=main/keywords$'
    refute '^box '
}

run_scenario menu_bar_by_keyboard
run_scenario menus_by_mouse
run_scenario popup_menus
run_scenario about_from_system_menu
run_scenario options_by_keyboard
run_scenario keeps_by_keyboard
run_scenario escape_in_dialogs
desktop_end
