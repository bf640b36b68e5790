# Shared by the end-to-end scripts: paths, the runner and small checks.
set -u
src=${VITRELLE_SOURCE_DIR:?}
build=${VITRELLE_BUILD_DIR:?}
run=$src/tools/wine-run
scr=$build/Vitrelle.scr
driver=$build/VitrelleDriver.exe
failures=0

# Windows form of a Linux path (Wine maps / to drive Z:).
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# A scratch folder inside the build tree, removed when the script ends.
scratch=$(mktemp -d "$build/e2e.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# expect_exit CODE DESCRIPTION COMMAND...: runs the command and checks its exit code.
expect_exit() {
    local want=$1 what=$2
    shift 2
    "$@"
    local got=$?
    if [ "$got" -eq "$want" ]; then
        echo "ok: $what"
    else
        echo "FAILED: $what: exit code $got, expected $want"
        failures=$((failures + 1))
    fi
}

# check DESCRIPTION TEST-EXPRESSION...
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}

finish() {
    [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
}
