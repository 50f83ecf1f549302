# shellcheck shell=bash
# The DLLs a Windows program of this build loads: Qt's and the mingw runtime's, found
# through the imports objdump lists and followed through their own imports. Sourced by
# scripts/windows-checks and scripts/windows-stage, with $qt (the Qt folder printed by
# scripts/windows-deps) set first.
#
#   find_dll NAME          prints where NAME is, nothing for a system DLL (KERNEL32.dll, ...)
#   copy_dlls FILE FOLDER  copies every DLL FILE loads into FOLDER, with the DLLs those load

dll_dirs=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

find_dll() {
  local d
  for d in "${dll_dirs[@]}"; do
    if [ -f "$d/$1" ]; then
      echo "$d/$1"
      return
    fi
  done
}

copy_dlls() {
  local name found
  for name in $(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'); do
    [ -f "$2/$name" ] && continue
    found=$(find_dll "$name")
    [ -n "$found" ] || continue
    cp "$found" "$2/"
    copy_dlls "$found" "$2"
  done
}
