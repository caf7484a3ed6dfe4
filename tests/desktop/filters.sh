#!/usr/bin/env bash
# Desktop tests, the search service's filters: the Filters dialog by keyboard alone from the
# menu bar and from the result list's menu, the request the service then receives, the
# window's filter line, and the choice across a restart; Reset back to the plain request.
#   tests/desktop/filters.sh [BUILD_DIR]
. "$(dirname "$0")/desktop-env.sh"
desktop_begin filters

# A service that writes down the request line of every results page asked for.
requests=$work/requests.log
blackbox_service --pages 1 --per-page 5 --image-kb 5 --requests "$requests"
recording=$service
[ -n "$recording" ] || { echo "no sample service: build the native tree first" >&2; exit 77; }

dialog='^window "  Filters of the search service" '
dlg='"  Filters of the search service"'
plain='GET /images/search?q=filtered&first=1&count=28&maxFileSize=4096000&minFileSize=0&safeSearch=Moderate&mkt=nl-NL&adlt=Moderate'
chosen='&qft=+filterui:imagesize-large+filterui:license-L2_L3_L4'

# The request line of the last results page asked for.
last_request() { tail -n1 "$requests" 2>/dev/null | tr -d '\r'; }

search_filtered() {
    : >"$requests"
    new_keywords "filtered"
    keys Return
    answer_finished
    [ -s "$requests" ] || fail "the service was asked for no results page"
}

# Presses KEY (Tab or shift+Tab) until CONTROL of the main window has the focus, as a person
# does who watches where the focus goes.
tab_to() {
    local n
    for n in $(seq 10); do
        keys "$2"
        probe >/dev/null
        matches_all "^focus=main/$1\$" && return 0
    done
    fail "$2 did not reach $1"
}

# The dialog opens on its first list with the menu bar by Alt: Options, then its access key;
# the lists are set by arrows and Tab, Ok is reached by Tab and pressed with Enter.
filters_by_keyboard() {
    service=$recording settings
    start_program
    wait_for 10 "the keyword box has the focus" '^focus=main/keywords$'
    refute '^control main/filters '
    keys alt
    wait_for 5 "Alt selects the menu bar" '^menu=bar$'
    keys Right Right Down
    wait_for 5 "the Options menu opens" '^window "" class=#32768 '
    keys f
    wait_for 5 "the Filters dialog opens on its size list" "$dialog" "^focus=$dlg/ComboBox#0\$" \
        "control $dlg/ComboBox#0 .* text=\"Any\"" "control $dlg/ComboBox#7 .* text=\"nl-NL\""
    keys Down Down Down
    wait_for 5 "the arrows choose the size" "control $dlg/ComboBox#0 .* text=\"Large\""
    keys Tab Tab Tab Tab Tab Tab
    wait_for 5 "Tab reaches the licence list" "^focus=$dlg/ComboBox#6\$"
    keys Down Down Down Down
    wait_for 5 "the arrows choose the licence" "control $dlg/ComboBox#6 .* text=\"Free to share and use commercially\""
    refute "control $dlg/ComboBox#[1-5] .* text=\"[^A]"
    keys Tab Tab Tab Tab
    wait_for 5 "Tab reaches Ok" "^focus=$dlg/\"Ok\"\$"
    screenshot filters_by_keyboard-dialog
    keys Return
    wait_for 5 "Ok closes the dialog and the window names the filters" '^main visible=1 enabled=1' \
        '^focus=main/keywords$' '^control main/filters .* text="Filters: large, free to share and use commercially"'
    refute "$dialog"
    search_filtered
    [ "$(last_request)" = "$plain$chosen HTTP/1.1" ] || fail "the request was: $(last_request)"
    screenshot
    keys alt+F4
    wait_program_end 15
    local want got
    for want in Size=imagesize-large License=license-L2_L3_L4 Color= Market=nl-NL; do
        got=$(ini_value "${want%%=*}")
        [ "${want%%=*}=$got" = "$want" ] || fail "$want expected in Quenby.ini, found ${want%%=*}=$got"
    done

    # The next start: the same filters in force, shown, in the dialog and in the request.
    start_program
    wait_for 10 "the filter line is back" '^control main/filters .* text="Filters: large, free to share and use commercially"'
    tab_to list Tab
    keys shift+F10
    wait_for 5 "Shift+F10 opens the list's menu" '^window "" class=#32768 '
    keys f
    wait_for 5 "the dialog shows the stored choice" "$dialog" "control $dlg/ComboBox#0 .* text=\"Large\"" \
        "control $dlg/ComboBox#6 .* text=\"Free to share and use commercially\""
    keys Escape
    sleep 0.5
    wait_for 5 "Escape does not close it" "$dialog"
    # Cancel: the stop before Ok, the last one.
    keys shift+Tab shift+Tab
    wait_for 5 "shift+Tab reaches Cancel" "^focus=$dlg/\"Cancel\"\$"
    keys space
    wait_for 5 "Cancel closes the dialog" '^main visible=1 enabled=1' \
        '^control main/filters .* text="Filters: large, free to share and use commercially"'
    wait_for 5 "the focus is back in the list" '^focus=main/list$'
    tab_to keywords shift+Tab
    search_filtered
    [ "$(last_request)" = "$plain$chosen HTTP/1.1" ] || fail "after the restart the request was: $(last_request)"
}

# A choice stored by an earlier run; Reset and Ok give the plain request again.
reset_by_keyboard() {
    service=$recording settings
    printf '[Filters]\r\nSize=imagesize-large\r\nType=photo-photo\r\nLicense=license-L2_L3_L4_L5_L6_L7\r\nMarket=en-GB\r\n' \
        >>"$work/Quenby.ini"
    start_program
    wait_for 10 "the filter line says what is in force" \
        '^control main/filters .* text="Filters: large, photo, free to share and use; market en-GB"'
    keys F10 Right Right Down Down Down Down Return
    wait_for 5 "the dialog opens" "$dialog" "control $dlg/ComboBox#7 .* text=\"en-GB\"" \
        "control $dlg/ComboBox#2 .* text=\"Photograph\""
    local n
    for n in $(seq 8); do keys Tab; done
    wait_for 5 "Tab reaches Reset" "^focus=$dlg/\"Reset\"\$"
    keys space
    wait_for 5 "Reset sets every list back" "control $dlg/ComboBox#0 .* text=\"Any\"" \
        "control $dlg/ComboBox#2 .* text=\"Any\"" "control $dlg/ComboBox#6 .* text=\"Any\"" \
        "control $dlg/ComboBox#7 .* text=\"nl-NL\""
    keys Tab Tab Return
    wait_for 5 "Ok closes the dialog" '^main visible=1 enabled=1' '^focus=main/keywords$'
    refute '^control main/filters ' "$dialog"
    search_filtered
    [ "$(last_request)" = "$plain HTTP/1.1" ] || fail "the request was: $(last_request)"
}

run_scenario filters_by_keyboard
run_scenario reset_by_keyboard
desktop_end
