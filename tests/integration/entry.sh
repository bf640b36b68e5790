# The real Vitrelle.scr under Wine: command-line dispatch, single instance and exit codes.
# Runs that show a window are ended the way a user ends them, through the test driver, which
# terminates a program that does not end (and the check then fails).
source "$(dirname "$0")/common.bash"

s=$(winpath "$scr")
expect_exit 0 "/s runs until a key and ends normally" \
    "$run" "$driver" drive "wait:500,alive,key:0x41" "$s" /s
expect_exit 0 "/c runs until Escape and ends normally" "$run" "$driver" drive "wait:500,alive,key:0x1B" "$s" /c
expect_exit 0 "/p with a handle that is no window ends at once and normally" "$run" "$scr" /p 0
expect_exit 0 "no arguments run the settings" "$run" "$driver" drive "wait:500,alive,key:0x1B" "$s"
expect_exit 1 "a second saver exits with 1 while the mutex DORA is held" \
    "$run" "$driver" hold-mutex DORA run "$s" /s
expect_exit 0 "another mutex name does not stop the saver" \
    "$run" "$driver" hold-mutex NOTDORA drive "wait:500,alive,key:0x41" "$s" /s
expect_exit 0 "the settings run is not kept out by the mutex" \
    "$run" "$driver" hold-mutex DORA drive "wait:500,alive,key:0x1B" "$s" /c
finish
