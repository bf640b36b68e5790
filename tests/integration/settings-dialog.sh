# The settings dialog of the real program under real mouse and key input: what OK, Cancel and Reset
# leave in the settings file, in the settings run (/c) and over the running saver (/s).
source "$(dirname "$0")/common.bash"

# A copy of the program of its own, so that its settings file lies in the scratch folder.
cp "$scr" "$scratch/Vitrelle.scr"
ini=$scratch/Vitrelle.ini
prog=$(winpath "$scratch/Vitrelle.scr")

# play ARGS -- STEPS...: the driver starts the program and feeds it input; the outer timeout is a
# second guard against a hang (the driver itself gives up after 120 s).
play() { timeout 170 "$run" "$driver" interact "$prog" "$@"; }

# The program takes its input in order but at its own pace: a step that must come after the dialog
# closed waits for the cursor to hide (which closing does) before it counts the 1000 ms grace period.

# Client points of the dialog's controls (the dialog lies at 20, 20 in the window).
ok=420,490
cancel=520,490
reset=620,490
rotation_thumb=142,380         # the rotation slider at its default 2
shake_thumb=154,410            # the change-speed slider at its default 10
light_area_thumb=530,90        # the light-area slider at its default 50
texture_combo=180,120
texture_item_flat=180,143      # first item of the open texture list
texture_item_stained=180,203   # sixth item
size_combo=180,180
size_item_32=180,202           # first item of the open size list
size_item_288=180,298          # ninth item of the open size list
empty_spot=600,300             # inside the dialog, on no control

key_right_times() { local n=$1 s=(); for ((i = 0; i < n; i++)); do s+=(key:RIGHT); done; echo "${s[@]}"; }

# Screenshots on request: a step pause:<scratch>/shot-NAME makes the watcher save shot-NAME.png.
display=$("$run" --display)
screen=$(xdpyinfo -display "$display" | awk '/dimensions:/ { print $2; exit }')
screen_w=${screen%x*}
screen_h=${screen#*x}
watch_shots() {
    while :; do
        for marker in "$scratch"/shot-*; do
            [ -e "$marker" ] && [ "${marker%.png}" = "$marker" ] || continue
            DISPLAY=$display import -window root "$marker.png" 2>/dev/null
            rm -f "$marker"
        done
        sleep 0.1
    done
}
shot_step() { echo "pause:$(winpath "$scratch/shot-$1")"; }
# Mean brightness (0..1) of the effect right of the dialog in the 800 by 600 window centred on the
# screen (client x 705..795, y 100..500).
effect_brightness() {
    convert "$scratch/shot-$1.png" -crop "90x400+$(((screen_w - 800) / 2 + 705))+$(((screen_h - 600) / 2 + 100))" \
        +repage -format '%[fx:mean]' info:
}

expected_defaults=$'[Screen]\nWidth='$screen_w$'\nHeight='$screen_h$'\n[Triangle]\nTexture=1\nSize=96\n[Piece]\nCount=50\nScaleMin=0.200000\nScaleMax=1.000000\n[Speed]\nRotation=0.020000\nShake=0.100000\nLight=0.100000\n[Light]\nStrength=1.500000\nArea=0.500000'

# The file's non-empty lines, without carriage returns.
lines() { tr -d '\r' <"$1" | grep -v '^$'; }
value() { tr -d '\r' <"$ini" | grep "^$1=" | head -n1 | cut -d= -f2; }

# --- the settings run -------------------------------------------------------------------------------
rm -f "$ini"
expect_exit 0 "/c: OK with no settings file ends the run" play /c -- wait:1500 click:$ok exit:10000
check "/c: OK wrote exactly the 17 lines of the defaults, with the display's size $screen" test "$(lines "$ini")" = "$expected_defaults"

printf '; kept as it is\r\n[Piece]\r\nCount=120\r\n[Other]\r\nKey=Value\r\n' >"$ini"
cp "$ini" "$scratch/before.ini"
expect_exit 0 "/c: Cancel ends the run" play /c -- wait:1500 click:$rotation_thumb key:HOME click:$cancel exit:10000
check "/c: Cancel left the file byte for byte unchanged" cmp -s "$ini" "$scratch/before.ini"

expect_exit 0 "/c: Reset then Cancel ends the run" play /c -- wait:1500 click:$reset wait:300 click:$cancel exit:10000
check "/c: Reset then Cancel left the file unchanged" cmp -s "$ini" "$scratch/before.ini"

expect_exit 0 "/c: Reset then OK ends the run" play /c -- wait:1500 click:$reset wait:300 click:$ok exit:10000
check "/c: Reset then OK saved the defaults" test "$(value Count)" = 50
check "/c: ... and the desktop's size" test "$(value Width)x$(value Height)" = "$screen"
check "/c: ... and kept the other lines" grep -q "Key=Value" "$ini"

rm -f "$ini"
# The rotation thumb dragged by 38 pixels: 140 pixels span 0..100, so from 2 it lands on 29.
expect_exit 0 "/c: a slider dragged to 29 and another moved by its keys, then OK" \
    play /c -- wait:1500 drag:$rotation_thumb,180,380 wait:200 click:$shake_thumb $(key_right_times 5) \
    click:$ok exit:10000
check "/c: the speed slider at 29 saved 0.290000" test "$(value Rotation)" = 0.290000
check "/c: the slider moved by five arrow keys saved 0.150000" test "$(value Shake)" = 0.150000

rm -f "$ini"
expect_exit 0 "/c: a slider dragged to its end then OK" \
    play /c -- wait:1500 drag:$light_area_thumb,750,90 wait:200 click:$ok exit:10000
check "/c: the dragged light area saved 1.000000" test "$(value Area)" = 1.000000

rm -f "$ini"
watch_shots &
watcher=$!
expect_exit 0 "/c: the smallest triangle size picked, then OK" \
    play /c -- wait:1500 "$(shot_step before)" click:$size_combo wait:200 click:$size_item_32 wait:500 \
    "$(shot_step after)" click:$ok exit:20000
kill "$watcher"
wait "$watcher" 2>/dev/null
check "/c: the smallest triangle size was saved" test "$(value Size)" = 32
before=$(effect_brightness before)
after=$(effect_brightness after)
echo "effect brightness right of the dialog: $before with size 96, $after with size 32"
check "/c: the running effect changed at once (many more, smaller triangles: a brighter screen)" \
    awk -v b="$before" -v a="$after" 'BEGIN { exit !(a > 3 * b + 0.01) }'

rm -f "$ini"
expect_exit 0 "/c: another texture and triangle size picked from the lists, then OK" \
    play /c -- wait:1500 click:$texture_combo wait:200 click:$texture_item_stained wait:200 \
    click:$size_combo wait:200 click:$size_item_288 wait:200 click:$ok exit:10000
check "/c: the picked texture was saved" test "$(value Texture)" = 5
check "/c: the picked triangle size was saved" test "$(value Size)" = 288

printf '[Piece]\r\nCount=500\r\n' >"$ini"
expect_exit 0 "/c: OK with a hand-edited piece count of 500" play /c -- wait:1500 click:$ok exit:10000
check "/c: the count beyond the slider's end was saved unchanged" test "$(value Count)" = 500

rm -f "$ini"
expect_exit 0 "/c: F1 hides the dialog, which then takes no clicks; F1 brings it back" \
    play /c -- wait:1500 key:F1 wait:300 click:$cancel alive:1000 key:F1 wait:300 click:$cancel exit:10000
check "/c: nothing was written" test ! -e "$ini"

# --- over the running saver -------------------------------------------------------------------------
rm -f "$ini"
expect_exit 0 "/s: F1 shows the dialog and the cursor, a second F1 hides both, a key then ends the saver" \
    play /s -- wait:1500 cursor:hidden key:F1 wait:300 cursor:shown key:F1 wait:300 cursor:hidden \
    key:A exit:10000

expect_exit 0 "/s: with the dialog shown, clicks and keys only operate it; Cancel, a key within 1000 ms \
does not end the saver, the same key later does" \
    play /s -- wait:1500 key:F1 wait:300 click:$empty_spot rclick:$empty_spot key:A key:SPACE alive:500 \
    click:$cancel key:A alive:400 cursor:hidden wait:1200 key:A exit:10000
check "/s: Cancel wrote nothing" test ! -e "$ini"

printf '[Speed]\r\nRotation=0.290000\r\n' >"$ini"
expect_exit 0 "/s: a slider moved, Cancel, F1 and OK" \
    play /s -- wait:1500 key:F1 wait:300 click:$rotation_thumb key:HOME wait:200 click:$cancel cursor:hidden \
    key:F1 cursor:shown click:$ok cursor:hidden wait:1200 key:A exit:10000
check "/s: Cancel brought back the file's value, which OK then saved" test "$(value Rotation)" = 0.290000

rm -f "$ini"
expect_exit 0 "/s: OK after a change, a key within 1000 ms, then a click" \
    play /s -- wait:1500 key:F1 wait:300 click:$texture_combo wait:200 click:$texture_item_flat wait:200 \
    click:$ok key:A alive:400 cursor:hidden wait:1200 click:$empty_spot exit:10000
check "/s: OK saved the picked texture" test "$(value Texture)" = 0
finish
