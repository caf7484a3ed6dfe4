#!/usr/bin/env bash
# Black-box run of the real program and its saved searches: Quenby.exe searches the local
# sample service, is closed, answers Yes to saving the list, and the saved set beside the
# executable must then hold one line, one thumbnail record and one file name per image
# downloaded, the thumbnails complete JPEG streams. Then the program is started again, loads
# the set through the result list's menu and the chooser, and must show the same lines and
# the saved name in the keyword box; saving it again over itself must give byte-identical
# files, so the thumbnails came back with the same JPEG bytes.
#   tools/blackbox-saved.sh [BUILD_DIR]
# Runs on a private Xvfb unless DISPLAY is set; QUENBY_BLACKBOX_DRIVER=null uses Wine's null
# display driver.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
. "$root/tools/blackbox-env.sh"
blackbox_start "$root" "$build" saved
blackbox_service --pages 1 --per-page 4 --image-kb 5
[ -n "$service" ] || { echo "no sample service: build the native tree first" >&2; exit 77; }

printf '%s\r\n' '[Preferences]' "SavePath=$(winpath "$work/images")" 'MaxFileCount=4' 'SaveOnExitAsk=1' \
    "SearchService=$service" >"$work/Quenby.ini"

"$QUENBY_WINE" "$drive" start "$(winpath "$work/Quenby.exe")" wait-window 30000 keywords "red car" enter \
    until-box "Finished all downloads..." 90000 close \
    box "Want to save your search to disk for later browsing ?" yes 15000 \
    box "Saved search results to disk." ok 15000 wait-gone 15000

python3 - "$work" <<'PY'
import os, struct, sys
work = sys.argv[1]
base = os.path.join(work, "red+car")
images = sorted(os.listdir(os.path.join(work, "images")))
lines = open(base + ".QBL", "rb").read().split(b"\r\n")
assert lines[-1] == b"", "the link file must end with CR LF"
lines = lines[:-1]
def records(path):
    data, out, pos = open(path, "rb").read(), [], 0
    while pos < len(data):
        (n,) = struct.unpack_from("<i", data, pos)
        out.append(data[pos + 4 : pos + 4 + n])
        pos += 4 + n
    assert pos == len(data), path + ": records do not fill the file"
    return out
thumbs, names = records(base + ".QBI"), records(base + ".QBJ")
assert len(images) > 0, "nothing was downloaded"
assert len(lines) == len(thumbs) == len(names) == len(images), (len(lines), len(thumbs), len(names), len(images))
for t in thumbs:
    assert t[:2] == b"\xff\xd8" and t[-2:] == b"\xff\xd9", "a thumbnail is not a whole JPEG stream"
assert sorted(n.decode() for n in names) == images, (names, images)
print("blackbox-saved: ok, %d entries" % len(lines))
PY

mkdir -p "$work/first"
cp "$work"/red+car.QB? "$work/first/"
"$QUENBY_WINE" "$drive" start "$(winpath "$work/Quenby.exe")" wait-window 30000 \
    list-menu l 15000 press "  Load older searches ..." "Load ..." 15000 sleep 500 show \
    list-menu s 15000 box "File already exists. Want to overwrite it with this new data?" yes 15000 \
    box "Saved search results to disk." ok 15000 close wait-gone 15000 >"$work/drive.out"
cat "$work/drive.out"

python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
out = open(os.path.join(work, "drive.out"), encoding="latin-1").read().splitlines()
shown = [l[len("line: "):] for l in out if l.startswith("line: ")]
keywords = [l[len("keywords: "):] for l in out if l.startswith("keywords: ")]
saved = open(os.path.join(work, "first", "red+car.QBL"), "rb").read().decode("latin-1").split("\r\n")[:-1]
assert shown == saved, ("the loaded list differs", shown, saved)
assert keywords == ["red+car"], keywords  # the saved name, "+" for the spaces
for ext in ("QBI", "QBJ", "QBL"):
    a = open(os.path.join(work, "first", "red+car." + ext), "rb").read()
    b = open(os.path.join(work, "red+car." + ext), "rb").read()
    assert a == b, "the ." + ext + " file changed between load and save"
print("blackbox-saved: loaded again, %d lines, same thumbnails" % len(shown))
PY
