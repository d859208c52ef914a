#!/usr/bin/env bash
# No exe of the build imports d3dx9_43.dll, which a fresh Windows lacks: the
# framework loads it at run time when it is there.
#   imports_test.sh BUILD_DIR SOURCE_DIR
set -u
count=0 bad=0
while IFS= read -r -d '' exe; do
  count=$((count + 1))
  if i686-w64-mingw32-objdump -p "$exe" | grep -qi 'DLL Name: *d3dx9'; then
    echo "imports d3dx9_43.dll: $exe"
    bad=1
  fi
done < <(find "$1" -name '*.exe' -not -path '*/e2e/*' -not -path '*/wine/*' -print0)
echo "$count exes read; $([ $bad = 0 ] && echo none imports || echo some import) d3dx9_43.dll"
[ "$count" -gt 0 ] && [ "$bad" = 0 ]
