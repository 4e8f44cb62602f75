#!/usr/bin/env bash
# check_no_widgets.sh TARGET ARTIFACT WIDGETS_LIBRARY CLOSURE
# Fails when a logic library links QtWidgets, directly or through what it links (CLOSURE, the
# targets it links, comma-separated), or when its binary calls any symbol that QtWidgets defines.
set -euo pipefail
target=$1 artifact=$2 widgets=$3 closure=$4

if tr ',' '\n' <<<"$closure" | grep -qx 'Qt6::Widgets'; then
    echo "$target links Qt6::Widgets; it links: ${closure//,/ }"
    exit 1
fi

names() { grep -v ':$' | sed -e 's/[@ ].*//' | sort -u; }
case $artifact in
*.so | *.so.*) undefined=$(nm -D -u -P "$artifact" | names) ;;
*) undefined=$(nm -u -P "$artifact" | names) ;;
esac
used=$(comm -12 <(echo "$undefined") <(nm -D --defined-only -P "$widgets" | names))
if [ -n "$used" ]; then
    echo "$target calls into QtWidgets:"
    c++filt <<<"$used" | head -n 20
    exit 1
fi
echo "$target: no QtWidgets in ${closure//,/ } nor in its binary"
