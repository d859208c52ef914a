#!/bin/sh
# check_imports.sh OBJDUMP FILE [DLLS]: passes when the exe or DLL imports only
# the DLLs named by the pattern DLLS (default: kernel32|user32|msvcrt).
names=$("$1" -p "$2" | grep 'DLL Name') || exit 1
echo "$names"
! echo "$names" | sed 's/.*DLL Name: *//' | grep -viE "^(${3:-kernel32|user32|msvcrt})\.dll\$"
