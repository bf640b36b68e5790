# The settings file is named after the program's long file name, also when Windows starts the
# program through its short 8.3 path (as it does when a saver starts on idle).
source "$(dirname "$0")/common.bash"

long="$scratch/Vitrelle long name.exe"
cp "$build/VitrelleTests.exe" "$long"
expect_exit 0 "the program starts through its short path and saves" \
    "$run" "$driver" run-short "$(winpath "$long")" --no-skip \
    "--test-case=Settings file: Save writes next to the module's long name"
check "the settings file has the long name" test -f "$scratch/Vitrelle long name.ini"
check "it holds the saved value" grep -q "Count=77" "$scratch/Vitrelle long name.ini"
check "no other settings file appeared" test "$(find "$scratch" -iname '*.ini' | wc -l)" -eq 1
finish
