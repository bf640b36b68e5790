# Where the real program keeps its settings: beside itself where that folder can be written, else in
# the user's own file (%APPDATA%\Vitrelle\Vitrelle.ini), which is read first whenever it exists; and
# when neither can be written, OK leaves the dialog open, in the settings run and over the saver.
# Folders that cannot be written are made with chattr +i, which binds root too.
source "$(dirname "$0")/common.bash"

program=$scratch/program
appdata=$scratch/appdata
mkdir -p "$program" "$appdata"
cp "$scr" "$program/Vitrelle.scr"
prog=$(winpath "$program/Vitrelle.scr")
beside=$program/Vitrelle.ini
own=$appdata/Vitrelle/Vitrelle.ini

# The user's application-data folder of this prefix points into the scratch folder while the test runs.
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
original=$("$run" reg query "$shell_folders" /v AppData | tr -d '\r' | awk '/AppData/ { sub(/.*REG_EXPAND_SZ[ \t]+/, ""); print; exit }')
restore() {
    chattr -R -i "$scratch" 2>/dev/null
    "$run" reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d "${original:-%USERPROFILE%\\AppData\\Roaming}" /f >/dev/null
    rm -rf "$scratch"
}
trap restore EXIT
"$run" reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d "$(winpath "$appdata")" /f >/dev/null

play() { timeout 170 "$run" "$driver" interact "$prog" "$@"; }
ok=420,490

chattr +i "$program"
expect_exit 0 "/c: OK in a folder that cannot be written ends the run" play /c -- wait:1500 click:$ok exit:10000
check "the settings went into the user's own file, its folder created" grep -q '^Count=50' "$own"
check "nothing was written beside the program" test "$(ls "$program")" = Vitrelle.scr
chattr -i "$program"

printf '[Piece]\r\nCount=11\r\n' >"$beside"
printf '; mine\r\n[Piece]\r\nCount=22\r\n' >"$own"
cp "$beside" "$scratch/beside.before"
expect_exit 0 "/c: OK with both files ends the run" play /c -- wait:1500 click:$ok exit:10000
check "the user's own file was read (22, not 11) and written" grep -q '^Count=22' "$own"
check "... keeping its other lines" grep -q '^; mine' "$own"
check "the file beside the program is unchanged" cmp -s "$beside" "$scratch/beside.before"
check "no temporary file was left" test "$(find "$scratch" -name '*.tmp' | wc -l)" -eq 0

# Neither place can be written: OK leaves the dialog open (the screenshot shows the line that says so).
# Then the user's folder is made writable while the dialog is still open, and OK saves after all.
rm -rf "$appdata/Vitrelle" "$beside"
chattr +i "$program" "$appdata"
# unlock_at MARKER [SHOT]: once the driver makes the marker, takes the screenshot, lets the user's
# folder be written again and removes the marker, so that the driver goes on.
unlock_at() {
    for ((i = 0; i < 1200; i++)); do [ -e "$1" ] && break; sleep 0.1; done
    [ -n "${2:-}" ] && import -display "$("$run" --display)" -window root "$2"
    chattr -i "$appdata"
    rm -f "$1"
}
marker=$scratch/marker
unlock_at "$marker" "$scratch/shot.png" &
expect_exit 0 "/c: OK that can save nowhere leaves the dialog open; once a place can be written, OK saves" \
    play /c -- wait:1500 click:$ok alive:3000 "pause:$(winpath "$marker")" click:$ok exit:10000
wait
[ -n "${VITRELLE_KEEP_SHOT:-}" ] && cp "$scratch/shot.png" "$VITRELLE_KEEP_SHOT"
check "/c: ... into the user's own file" grep -q '^Count=50' "$own"
check "nothing was written beside the program" test "$(ls "$program")" = Vitrelle.scr

rm -rf "$appdata/Vitrelle"
chattr +i "$appdata"
unlock_at "$marker" &
expect_exit 0 "/s: OK in the F1 dialog that can save nowhere keeps the dialog open (a key does not end the saver); once a place can be written, OK saves and closes it (a key then ends the saver)" \
    play /s -- wait:1500 key:F1 click:$ok alive:1500 key:A alive:1500 "pause:$(winpath "$marker")" click:$ok \
    cursor:hidden wait:1500 key:A exit:10000
wait
check "/s: ... into the user's own file" grep -q '^Count=50' "$own"
finish
