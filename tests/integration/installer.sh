# The installer under Wine in the test prefix: a silent install puts the program into the 64-bit system
# folder, lists it among the installed programs and makes it the user's screen saver; the installed copy
# runs; a silent uninstall takes all of it away again, keeping the user's settings unless asked.
source "$(dirname "$0")/common.bash"

setup=$build/VitrelleSetup.exe
if [ ! -f "$setup" ]; then
    if command -v makensis >/dev/null; then
        echo "FAILED: makensis exists but the build made no $setup"
        exit 1
    fi
    echo "skipped: makensis is missing (make deps installs nsis), so there is no installer to test"
    exit 0
fi

prefix=$build/wineprefix
system=$prefix/drive_c/windows/system32
installed=$system/Vitrelle.scr
folder="$prefix/drive_c/Program Files/Vitrelle"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vitrelle'
desktop_key='HKCU\Control Panel\Desktop'
version=$(sed -n 's/^project(Vitrelle VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")

# regval KEY NAME: the value's data as reg.exe shows it (nothing, with a failing status, when absent).
regval() {
    "$run" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print; found = 1 }
                          END { exit !found }'
}

absent() { ! regval "$@" >/dev/null; }

# has_value KEY NAME DATA: whether the value holds DATA. A failing query is asked again, and a mismatch
# prints what was found, so that a failure on another machine can be read from its log.
has_value() {
    local got i
    for ((i = 0; i < 3; i++)); do
        got=$(regval "$1" "$2") && break
        sleep 0.5
    done
    [ "$got" = "$3" ] && return 0
    echo "  $1\\$2 holds '$got', expected '$3'"
    return 1
}

# The uninstaller hands its work to a copy of itself in the temporary folder and returns at once: wait
# (up to 60 s) until that copy has removed the program and the uninstaller.
uninstall() {
    "$run" 'C:\Program Files\Vitrelle\Uninstall.exe' /S "$@"
    local i
    for ((i = 0; i < 120; i++)); do
        [ ! -e "$installed" ] && [ ! -e "$folder" ] && return 0
        sleep 0.5
    done
    return 1
}

# A failed earlier run may have left an installation behind; the test starts from none and leaves none.
[ -e "$folder/Uninstall.exe" ] && uninstall /REMOVESETTINGS
trap '[ -e "$folder/Uninstall.exe" ] && uninstall /REMOVESETTINGS; rm -rf "$scratch"' EXIT
"$run" reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1

appdata=$("$run" cmd /c echo %APPDATA% | tr -d '\r')
settings_dir=$("$run" winepath -u "$appdata\\Vitrelle" | tr -d '\r')
settings=$settings_dir/Vitrelle.ini

expect_exit 0 "the silent install ends with 0" "$run" "$setup" /S
check "Vitrelle.scr is in the 64-bit system folder, as built" cmp -s "$scr" "$installed"
check "the uninstaller is in its own folder" test -f "$folder/Uninstall.exe"
check "it is listed as Vitrelle" has_value "$uninstall_key" DisplayName Vitrelle
check "with the version $version" has_value "$uninstall_key" DisplayVersion "$version"
check "published by Vitrelle" has_value "$uninstall_key" Publisher Vitrelle
check "with the program's icon" has_value "$uninstall_key" DisplayIcon 'C:\windows\system32\Vitrelle.scr,0'
check "and the uninstaller's command" \
    has_value "$uninstall_key" UninstallString '"C:\Program Files\Vitrelle\Uninstall.exe"'
size_kb=$(($(regval "$uninstall_key" EstimatedSize)))
scr_kb=$(($(stat -c %s "$scr") / 1024))
check "its size ($size_kb KB) counts the program ($scr_kb KB)" test "$size_kb" -ge "$scr_kb" -a "$size_kb" -lt $((scr_kb * 2))
check "it is the user's screen saver now" \
    has_value "$desktop_key" SCRNSAVE.EXE 'C:\windows\system32\Vitrelle.scr'
check "and the screen saver is on" has_value "$desktop_key" ScreenSaveActive 1

expect_exit 0 "the installed copy's settings run starts and ends with Escape" \
    "$run" "$driver" drive "wait:500,alive,key:0x1B" 'C:\windows\system32\Vitrelle.scr' /c

mkdir -p "$settings_dir"
printf '[Piece]\r\nCount=77\r\n' >"$settings"
check "the silent uninstall removes the program and the uninstaller" uninstall
check "the program is gone" test ! -e "$installed"
check "its folder is gone" test ! -e "$folder"
check "it is no longer listed" absent "$uninstall_key" DisplayName
check "it is no longer the screen saver" absent "$desktop_key" SCRNSAVE.EXE
check "the user's settings are kept" grep -q Count=77 "$settings"

# Once more, with another saver chosen meanwhile, and the settings removed on request.
expect_exit 0 "a second silent install ends with 0" "$run" "$setup" /S
"$run" reg add "$desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\system32\Other.scr' /f >/dev/null
check "an uninstall asked to remove the settings ends" uninstall /REMOVESETTINGS
check "the settings are removed" test ! -e "$settings_dir"
check "another chosen saver stays chosen" \
    has_value "$desktop_key" SCRNSAVE.EXE 'C:\windows\system32\Other.scr'
check "nothing of the program is left" test ! -e "$installed" -a ! -e "$folder"
"$run" reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
finish
