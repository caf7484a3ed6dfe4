#!/usr/bin/env bash
# Desktop tests at three DPIs (Wine's LogPixels: 96, 144, 192): the real program searches, and
# what it shows is checked at each: every control at its designed place scaled by the DPI,
# nothing past the client area's edge, the thumbnails drawn at the scaled size. The
# screenshots stay in the build tree ($shots/dpi_96.png, dpi_144.png, dpi_192.png); at 96 DPI the window must be
# pixel for pixel the one of tests/desktop/golden/main-96.png, the program as it was before it
# scaled anything (what differs from run to run masked).
#   tests/desktop/dpi.sh [BUILD_DIR]
export QUENBY_SCREEN=2400x1600x24  # room for the window at 192 DPI
. "$(dirname "$0")/desktop-env.sh"
desktop_begin dpi wineprefix-dpi
golden=$root/tests/desktop/golden

# Wine takes the DPI from the prefix when its server starts: set it, then start one afresh.
set_dpi() {
    "$QUENBY_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "$QUENBY_WINESERVER" -k >/dev/null 2>&1 || true
    "$QUENBY_WINESERVER" -w
    "$QUENBY_WINESERVER" -p >/dev/null 2>&1 </dev/null || true
    dpi=$1
}

# A designed length at the DPI, as the program scales it (the nearest; halves away from 0).
sc() {
    local v=$1
    if [ "$v" -ge 0 ]; then echo $(((v * dpi + 48) / 96)); else echo $((-((-v * dpi + 48) / 96))); fi
}
# The largest designed length that fits in N device pixels.
fit() {
    local d=$1 v=$(($1 * 96 / dpi))
    while [ "$(sc $((v + 1)))" -le "$d" ]; do v=$((v + 1)); done
    while [ "$v" -gt 0 ] && [ "$(sc $v)" -gt "$d" ]; do v=$((v - 1)); done
    echo $v
}

# The rectangle of a control relative to the client area: x y w h.
rel() {
    local r
    r=$(grep -F -- "control main/$1 " "$work/probe.txt" | head -n1 | sed -n 's/.* rect=\([^ ]*\).*/\1/p')
    [ -n "$r" ] || fail "no control $1"
    IFS=, read -r x y w h <<<"$r"
    echo $((x - cx)) $((y - cy)) "$w" "$h"
}

# A control at its designed place, edge by edge: left top width [height].
expect_at() {
    local name=$1 l=$2 t=$3 w=$4 h=${5:-} got want
    got=$(rel "$name")
    read -r gx gy gw gh <<<"$got"
    want="$(sc $l) $(sc $t) $(($(sc $((l + w))) - $(sc $l)))"
    [ "$gx $gy $gw" = "$want" ] || fail "$name at $dpi DPI: at $gx,$gy width $gw; designed $l,$t width $w gives $want"
    [ -z "$h" ] || [ "$gh" = $(($(sc $((t + h))) - $(sc $t))) ] || fail "$name at $dpi DPI: height $gh, designed $h"
}

inside_client() {
    local name=$1 slack=${2:-0} gx gy gw gh
    read -r gx gy gw gh <<<"$(rel "$name")"
    [ "$gx" -ge 0 ] && [ "$gy" -ge 0 ] && [ $((gx + gw)) -le $((cw + slack)) ] && [ $((gy + gh)) -le "$ch" ] ||
        fail "$name at $dpi DPI reaches past the ${cw}x$ch client area: $gx,$gy ${gw}x$gh"
}

pixel() { convert "$shots/$scenario.png" -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*\(#[0-9A-F]\{6\}\).*/\1/p'; }

check_layout() {
    probe >/dev/null || true
    [ "$(probe_field '^main ' dpi)" = "$dpi" ] || fail "the window is not at $dpi DPI"
    local c s
    c=$(probe_field '^main ' client) s=$(probe_field '^main ' clientsize)
    cx=${c%,*} cy=${c#*,} cw=${s%,*} ch=${s#*,}
    # The panel fills the client area but the strip's 164 pixels; the strip lies right of it.
    local pw=$(($(fit "$cw") - 164)) ph
    ph=$(fit "$ch")
    expect_at keywords 108 8 150
    expect_at '"Search"' 264 8 81 20
    expect_at folder 97 32 224 20
    expect_at '"..."' 322 32 23 21
    expect_at '"Stop search"' 197 71 83 20
    expect_at '"Exit  !"' 284 71 61 20
    expect_at list 0 100 "$pw" $((ph - 21 - 100))
    expect_at address 0 $((ph - 21)) $((pw - 1)) 21
    expect_at strip "$pw" 0 165 "$ph"
    local name
    for name in keywords '"Search"' folder '"..."' '"Stop search"' '"Exit  !"' list address; do
        inside_client "$name"
    done
    # The strip is designed one pixel wider than it shows.
    inside_client strip "$(sc 1)"
    # The keyword box takes its height from its font (the system's frame around it does not
    # scale): room for the design font's 11 pixels scaled, and its frame.
    read -r _ _ _ kh <<<"$(rel keywords)"
    [ "$kh" -ge $(($(sc 11) + 4)) ] || fail "the keyword box is only $kh high at $dpi DPI"
}

# Every thumbnail is its designed 138 x 108 scaled, at its designed left in the strip; each
# picture (scaled to the box's width or its height when it was made) reaches both edges of the
# box on one side, so it is drawn at the scaled size, not at its data's 138 x 108.
check_thumbnails() {
    local sx sy sw sh
    read -r sx sy sw sh <<<"$(rel strip)"
    local line x y w h landscape=0 portrait=0 n=0 bg
    while read -r line; do
        IFS=, read -r x y w h <<<"${line#thumb rect=}"
        [ "$w" = "$(sc 138)" ] && [ "$h" = "$(sc 108)" ] || fail "a thumbnail is ${w}x$h at $dpi DPI"
        [ $((x - cx - sx)) = "$(sc 5)" ] || fail "a thumbnail's left is $((x - cx - sx)) in the strip at $dpi DPI"
        [ $((y + h)) -le $((cy + ch)) ] || continue  # sampled only where it is wholly in view
        n=$((n + 1))
        bg=$(pixel $((cx + sx + 1)) $((y + h / 2)))
        if [ "$(pixel $((x + 1)) $((y + h / 2)))" != "$bg" ] && [ "$(pixel $((x + w - 2)) $((y + h / 2)))" != "$bg" ]; then
            landscape=$((landscape + 1))
        elif [ "$(pixel $((x + w / 2)) $((y + 1)))" != "$bg" ] && [ "$(pixel $((x + w / 2)) $((y + h - 2)))" != "$bg" ]; then
            portrait=$((portrait + 1))
        else
            fail "a picture at $x,$y does not fill its ${w}x$h box on either side at $dpi DPI"
        fi
    done < <(grep '^thumb rect=' "$work/probe.txt")
    [ $n -ge 2 ] && [ $landscape -ge 1 ] && [ $portrait -ge 1 ] ||
        fail "$n thumbnails in view at $dpi DPI: $landscape landscape, $portrait portrait"
}

# The window's own pixels (outer rectangle). Masked: the keyword box (its caret blinks), and
# what holds this run's own names (the work folder; the sample service's port in the lines).
window_picture() {
    local r name mx my mw mh masks=()
    r=$(probe_field '^main ' rect)
    IFS=, read -r x y w h <<<"$r"
    for name in keywords folder list; do
        read -r mx my mw mh <<<"$(rel $name)"
        masks+=(-draw "rectangle $((cx - x + mx)),$((cy - y + my)) $((cx - x + mx + mw - 1)),$((cy - y + my + mh - 1))")
    done
    convert "$shots/$scenario.png" -crop "${w}x$h+$x+$y" +repage -fill black "${masks[@]}" "$1"
}

search_at() {
    set_dpi "$1"
    service=$fast settings
    start_program
    wait_for 10 "the window at $1 DPI" "^main .* dpi=$1\$"
    new_keywords "red car"
    keys Return
    answer_finished
    wait_for 5 "the list and strip are full" '^list=5 ' '^thumbs=[2-9]$'
    check_layout
    xdo mousemove 2390 1590  # no hint over the window
    sleep 1
    screenshot
    check_thumbnails
}

dpi_96() {
    search_at 96
    window_picture "$shots/dpi_96-window.png"
    local differ
    differ=$(compare -metric AE "$golden/main-96.png" "$shots/dpi_96-window.png" /dev/null 2>&1 >/dev/null)
    [ "$differ" = 0 ] || fail "at 96 DPI the window differs from $golden/main-96.png in $differ pixels"
}

dpi_144() { search_at 144; }
dpi_192() { search_at 192; }

[ -n "${DPI_ONLY:-}" ] && [ "$DPI_ONLY" != 96 ] || run_scenario dpi_96
[ -n "${DPI_ONLY:-}" ] && [ "$DPI_ONLY" != 144 ] || run_scenario dpi_144
[ -n "${DPI_ONLY:-}" ] && [ "$DPI_ONLY" != 192 ] || run_scenario dpi_192
desktop_end
