# The three run modes on the virtual screen: the saver covers it with the pattern (read back from a
# screenshot), the settings run is an 800 by 600 window that follows a real resize, and the preview
# draws into a child of a 152 by 112 window until that window is destroyed.
source "$(dirname "$0")/common.bash"

s=$(winpath "$scr")
display=$("$run" --display)

# mean_of FILE GEOMETRY: mean brightness (0..1) of a part of a picture.
mean_of() { convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:; }

shot=$scratch/saver.png
steps="ready:$(winpath "$scratch/shown"),await:$(winpath "$scratch/taken"),alive,client:1920:1080,key:0x41"
"$run" "$driver" drive "$steps" "$s" /s &
saver=$!
for ((i = 0; i < 600; i++)); do [ -e "$scratch/shown" ] && break; sleep 0.1; done
sleep 3
import -display "$display" -window root "$shot"
touch "$scratch/taken"
wait "$saver"
check "the saver covered the 1920x1080 screen until the screenshot and ended with exit code 0" test $? -eq 0
read -r width height < <(identify -format "%w %h" "$shot")
check "the screenshot covers the 1920x1080 screen" test "$width x $height" = "1920 x 1080"
middle=$(mean_of "$shot" 480x480+720+300)
left=$(mean_of "$shot" 6x1080+0+0)
right=$(mean_of "$shot" 6x1080+1914+0)
echo "mean brightness: middle $middle, left edge $left, right edge $right"
check "the middle of the screen is lit" awk "BEGIN { exit !($middle > 0.08) }"
check "the left edge is black" awk "BEGIN { exit !($left < 0.005) }"
check "the right edge is black" awk "BEGIN { exit !($right < 0.005) }"
[ -n "${VITRELLE_KEEP_SHOT:-}" ] && cp "$shot" "$VITRELLE_KEEP_SHOT"

expect_exit 0 "the settings run comes up with an 800 by 600 client area" \
    "$run" "$driver" drive "wait:500,client:800:600,key:0x1B" "$s" /c
expect_exit 0 "a real resize of the settings window rebuilds the device; the run still ends with 0" \
    "$run" "$driver" drive "wait:500,resize:640:480,wait:1500,alive,client:640:480,wait:500,key:0x1B" "$s" /c
expect_exit 0 "the preview draws into a 152 by 112 parent and ends with 0 when it is destroyed" \
    "$run" "$driver" preview "$s" 2000
finish
