# Input rules of the running saver, with real input events: the left button ends it on release,
# other buttons and mouse movement never end it, any key-down ends it, Escape closes it.
source "$(dirname "$0")/common.bash"

s=$(winpath "$scr")
drive() { "$run" "$driver" drive "$@"; }
expect_exit 0 "a left-button press does not end the saver; its release does" \
    drive "wait:500,lbutton-down,wait:1500,alive,lbutton-up" "$s" /s
expect_exit 0 "right and middle clicks and mouse movement do not end it; a key-down does" \
    drive "wait:500,rclick,mclick,move,wait:1500,alive,keydown:0x41" "$s" /s
expect_exit 0 "a space key-down ends it" drive "wait:500,keydown:0x20" "$s" /s
expect_exit 0 "Escape closes it" drive "wait:500,key:0x1B" "$s" /s
finish
