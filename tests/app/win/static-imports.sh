#!/usr/bin/env bash
# Fails when a program or component imports a DLL that is not one of the
# system's known DLLs:
#   static-imports.sh OBJDUMP FILE...
# Windows resolves a static import before the program's first line runs,
# looking beside the program first, unless the name is a known DLL (mapped
# from System32 at boot; the KnownDLLs key of the session manager lists
# them). A copy of any other DLL planted beside a portable talvane.exe, in
# a shared folder or on a USB stick, would be loaded in its place. What is
# not on this list is loaded at run time from System32 instead (WinHTTP),
# or taken from a known DLL (gdi32's GdiAlphaBlend rather than msimg32's
# AlphaBlend).
set -euo pipefail

objdump=$1
shift

# Windows 10 and 11's KnownDLLs, lower case. ntdll and kernelbase are
# mapped into every process before anything else; API sets (api-ms-win-*)
# are resolved by the loader and never searched for.
knownDlls="advapi32.dll clbcatq.dll combase.dll comdlg32.dll coml2.dll difxapi.dll gdi32.dll
 gdiplus.dll imagehlp.dll imm32.dll kernel32.dll msctf.dll msvcrt.dll normaliz.dll nsi.dll
 ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll shcore.dll shell32.dll
 shlwapi.dll user32.dll wldap32.dll ws2_32.dll ntdll.dll kernelbase.dll"
known=" $(tr -s ' \n' '  ' <<<"$knownDlls") "

status=0
for file in "$@"; do
    imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
    if [ -z "$imports" ]; then
        echo "static-imports: no imports read from $file" >&2
        status=1
        continue
    fi
    for dll in $imports; do
        case "$dll" in api-ms-win-*|ext-ms-win-*) continue ;; esac
        case "$known" in
            *" $dll "*) ;;
            *)
                echo "static-imports: $(basename "$file") imports $dll, which is not a known DLL" >&2
                status=1
                ;;
        esac
    done
done
[ $status -eq 0 ] && echo "static-imports: only known DLLs in $*"
exit $status
