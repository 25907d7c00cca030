#!/usr/bin/env bash
# kestrova.exe's headers and import table, read from the built file with
# objdump: the program imports statically only DLLs that Windows takes from
# its own folder, whatever lies beside the program (known DLLs, and
# comctl32, which the manifest binds from the side-by-side store; shell32
# is loaded at run time from the system folder alone, so not imported), and
# delay-loads nothing; and its header asks for Windows 8 (6.2), so that an
# older Windows, where the name lookup cannot be bounded, refuses to start it.
#   imports.sh <objdump> <kestrova.exe>
set -uo pipefail
objdump=$1
exe=$2
allowed=" KERNEL32 USER32 GDI32 OLE32 OLEAUT32 WS2_32 MSVCRT COMCTL32 "
failures=0

headers=$("$objdump" -p "$exe") || { echo "FAIL $objdump cannot read $exe"; exit 1; }

imported=0
while read -r dll; do
    imported=$((imported + 1))
    name=${dll%.*}
    if [[ "$allowed" == *" ${name^^} "* ]]; then
        echo "PASS imports $dll"
    else
        echo "FAIL imports $dll, which is not one of the system DLLs allowed"
        failures=$((failures + 1))
    fi
done < <(awk '/DLL Name:/ { print $3 }' <<<"$headers")
# A program imports kernel32 at least; none read means the output was not
# understood, not that the table is clean.
if ((imported == 0)); then
    echo "FAIL no imported DLL found in the output of $objdump -p"
    failures=$((failures + 1))
fi

delay=$(awk '/Delay Import Directory/ { print $3 }' <<<"$headers")
if [[ "$delay" =~ ^0+$ ]]; then
    echo "PASS no delay-loaded DLL"
else
    echo "FAIL delay import directory of size '$delay'"
    failures=$((failures + 1))
fi

for field in MajorOSystemVersion MinorOSystemVersion MajorSubsystemVersion MinorSubsystemVersion; do
    want=6
    [[ $field == Minor* ]] && want=2
    seen=$(awk -v f="$field" '$1 == f { print $2 }' <<<"$headers")
    if [[ "$seen" == "$want" ]]; then
        echo "PASS $field $seen"
    else
        echo "FAIL $field: expected $want, saw '$seen'"
        failures=$((failures + 1))
    fi
done

((failures == 0))
