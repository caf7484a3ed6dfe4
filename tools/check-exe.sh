#!/usr/bin/env bash
# Checks a built Windows executable: PE32+ x86-64, imports only Windows' own DLLs, carries a
# version resource and the "MAINICON" icon.   check-exe.sh FILE.exe [gui|console]
set -eu
exe=$1 kind=${2:-gui}
fail() { echo "check-exe: $exe: $*" >&2; exit 1; }
info=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-x86-64' <<<"$info" || fail "not PE32+ x86-64"
sub=$(grep -m1 '^Subsystem' <<<"$info" | awk '{print $2}')
if [ "$kind" = gui ]; then [ "$sub" = 00000002 ] || fail "subsystem $sub, not GUI"; fi
if [ "$kind" = console ]; then [ "$sub" = 00000003 ] || fail "subsystem $sub, not console"; fi
allowed='^(kernel32|user32|gdi32|advapi32|bcrypt|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|wininet|urlmon|version|ws2_32|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$(grep 'DLL Name:' <<<"$info" | awk '{print tolower($3)}' | sort -u)
for d in $dlls; do grep -Eq "$allowed" <<<"$d" || fail "imports $d"; done
echo "imports: $(echo $dlls)"
if [ "$kind" = gui ]; then
    x86_64-w64-mingw32-objdump -h "$exe" | grep -q '\.rsrc' || fail "no resources"
    wide=$(strings -el "$exe")
    grep -A1 -x FileVersion <<<"$wide" | grep -qx '1.0.7.2' || fail "no FileVersion 1.0.7.2"
    grep -qx MAINICON <<<"$wide" || fail "no MAINICON"
fi
echo "check-exe: $exe ok"
