#!/usr/bin/env bash
# check_runtime_once.sh RUNTIME BINARY...
# The runtime of common/ must exist once per process: no program or library may carry its own
# copy of a function or variable the runtime library defines, and each must load the runtime.
set -euo pipefail
runtime=$1
shift
soname=$(readelf -d "$runtime" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
defined() { awk '$2 ~ /^[TtDdBbRr]$/ { sub(/@.*/, "", $1); print $1 }' | sort -u; }
ours=$(nm -D --defined-only -P "$runtime" | defined)
if [ -z "$ours" ] || [ -z "$soname" ]; then
    echo "$runtime defines nothing or has no SONAME"
    exit 1
fi
status=0
for binary; do
    copies=$(comm -12 <(echo "$ours") <(nm --defined-only -P "$binary" | defined))
    if [ -n "$copies" ]; then
        echo "$binary carries its own copy of the runtime:"
        c++filt <<<"$copies" | head -n 10
        status=1
    elif ! readelf -d "$binary" | grep -q "(NEEDED).*\[$soname\]"; then
        echo "$binary does not load $soname"
        status=1
    else
        echo "$binary: runtime from $soname"
    fi
done
exit $status
