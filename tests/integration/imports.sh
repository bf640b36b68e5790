# Vitrelle.scr is one self-contained 64-bit GUI program: only Windows system DLLs are imported.
source "$(dirname "$0")/common.bash"

headers=$(x86_64-w64-mingw32-objdump -p "$scr")
dlls=$(echo "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $dlls)"
allowed='^(kernel32|user32|gdi32|shell32|shlwapi|advapi32|comctl32|ole32|msvcrt|d3d9|winmm)\.dll$'
# Direct3D's old utility library is no part of Windows. The build says when the program still links
# it (tests/CMakeLists.txt); then its import is the one allowed exception.
if [ "${VITRELLE_UTILITY_LIBRARY:-}" = linked ]; then
    echo "note: the program still links Direct3D's old utility library"
    dlls=$(echo "$dlls" | grep -v -x 'd3dx9_43.dll')
fi
check "no Direct3D utility library is imported" test -z "$(echo "$dlls" | grep d3dx)"
check "every imported DLL is a system DLL" test -z "$(echo "$dlls" | grep -v -E "$allowed")"
check "the file is a 64-bit PE" grep -q "pei-x86-64" <<<"$(x86_64-w64-mingw32-objdump -f "$scr")"
check "the subsystem is the Windows GUI" grep -q "Subsystem.*00000002" <<<"$headers"
finish
