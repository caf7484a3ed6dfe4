#!/usr/bin/env bash
# Desktop tests, keywords in other scripts: a person types 猫, кошка and "café au lait" into the
# keyword box under code page 1252 (the prefix's legacy code page for an English or C locale),
# searches, saves the list, closes, starts again and loads it. The sample service names its
# results after the query as it arrives, so the lines and file names show that the request
# carried the keywords' UTF-8 percent-encoded once.
#   tests/desktop/scripts.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin scripts

chooser='^window "  Load older searches \.\.\." '

# $1 the keywords as typed, $2 as the service's page addresses show them once decoded.
search_save_restart_load() {
    local keywords=$1 slug=$2
    service=$fast settings
    start_program
    new_keywords "$keywords"
    keys Return
    answer_finished
    wait_for 5 "the lines are in that script" '^list=5 ' "^line=https?://127\.0\.0\.1:[0-9]+/page/$slug/1\.html\?from=search&n=1\$"
    [ -f "$work/images/$slug-1.jpg" ] || fail "no file $slug-1.jpg in the folder: $(ls "$work/images" | head -n3)"
    [ "$(image_count)" = 5 ] || fail "5 images expected in the folder, found $(image_count)"
    screenshot "${scenario}-search"
    keys F10 Down s
    wait_for 5 "the list is saved" '^box "Information" owner=main text="Saved search results to disk\."$'
    keys Return
    wait_for 5 "back to the keyword box" '^focus=main/keywords$'
    grep '^line=' "$work/probe.txt" >"$work/lines.before"
    local base=${keywords// /+}
    [ -f "$work/$base.QBL" ] || fail "no saved set $base.QBL"
    cp "$work/$base.QBL" "$work/links.before"
    keys alt+F4
    wait_program_end 15
    [ "$(ini_value 0)" = "$keywords" ] || fail "the history holds '$(ini_value 0)', not '$keywords'"

    start_program
    keys F10 Down l
    wait_for 5 "the chooser offers the saved set" "$chooser" "text=\"${base//+/\\+}\""
    keys Tab Return
    wait_for 10 "the set is loaded" '^main visible=1 enabled=1' '^list=5 ' "^keywords=${base//+/\\+}\$"
    grep '^line=' "$work/probe.txt" | diff - "$work/lines.before" >/dev/null || fail "the loaded lines differ from the saved ones"
    screenshot
    keys alt+F4
    wait_program_end 15
    cmp -s "$work/$base.QBL" "$work/links.before" || fail "the saved lines changed on disk"
    [ "$(ini_value 0)" = "$base" ] || fail "after the load the history starts with '$(ini_value 0)'"
    tr -d '\r' <"$work/Quenby.ini" | grep -qx "[0-9]*=$keywords" || fail "the history lost '$keywords' across the restart"
}

cat_in_chinese() { search_save_restart_load "猫" "猫"; }
cat_in_russian() { search_save_restart_load "кошка" "кошка"; }
cafe_au_lait() { search_save_restart_load "café au lait" "café-au-lait"; }

run_scenario cat_in_chinese
run_scenario cat_in_russian
run_scenario cafe_au_lait
desktop_end
