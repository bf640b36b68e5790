# The real Vitrelle.scr under Wine: command-line dispatch, single instance and exit codes.
source "$(dirname "$0")/common.bash"

expect_exit 0 "/s runs and ends normally" "$run" "$scr" /s
expect_exit 0 "/c runs and ends normally" "$run" "$scr" /c
expect_exit 0 "/p with a handle runs and ends normally" "$run" "$scr" /p 0
expect_exit 0 "no arguments run the settings" "$run" "$scr"
expect_exit 1 "a second saver exits with 1 while the mutex DORA is held" \
    "$run" "$driver" hold-mutex DORA "$(winpath "$scr")" /s
expect_exit 0 "another mutex name does not stop the saver" \
    "$run" "$driver" hold-mutex NOTDORA "$(winpath "$scr")" /s
expect_exit 0 "the settings run is not kept out by the mutex" \
    "$run" "$driver" hold-mutex DORA "$(winpath "$scr")" /c
finish
