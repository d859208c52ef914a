#!/bin/sh
# check_imports.sh OBJDUMP DLL: passes when the DLL imports system DLLs only.
names=$("$1" -p "$2" | grep 'DLL Name') || exit 1
echo "$names"
! echo "$names" | grep -viE 'kernel32|user32|msvcrt'
