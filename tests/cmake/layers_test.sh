#!/usr/bin/env bash
# The layering check fails a tree in which a lower folder includes a higher one,
# names the file, and passes the project's own tree.
# Usage: layers_test.sh SOURCE_DIR
set -uo pipefail
source_dir=${1:?usage: layers_test.sh SOURCE_DIR}
check=$source_dir/cmake/CheckLayers.cmake
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

cmake -DSOURCE_DIR="$source_dir" -DSTAMP="$work/own.stamp" -P "$check" >"$work/own.log" 2>&1 ||
    { cat "$work/own.log"; echo "FAIL: the project's own tree is refused"; failed=1; }

for case in "canvas/Brush.h:app/WindowSet.h" "games/core/Rule.cpp:canvas/core/Drawing.h" \
            "platform/Thing.h:pictures/Form1.h" "tales/Form17.cpp:pictures/core/PictureFiles.h"; do
    file=${case%%:*} header=${case#*:}
    rm -rf "$work/tree" && mkdir -p "$work/tree/$(dirname "$file")"
    printf '#pragma once\n  #include "%s"\n' "$header" >"$work/tree/$file"
    if cmake -DSOURCE_DIR="$work/tree" -DSTAMP="$work/tree.stamp" -P "$check" >"$work/tree.log" 2>&1; then
        echo "FAIL: $file including $header passed the check"; failed=1
    elif ! grep -q "$file" "$work/tree.log"; then
        cat "$work/tree.log"; echo "FAIL: the refusal does not name $file"; failed=1
    fi
done
# Downward includes are fine.
rm -rf "$work/tree" && mkdir -p "$work/tree/tales"
printf '#include "canvas/CanvasComponent.h"\n#include "platform/Form.h"\n' >"$work/tree/tales/Form17.cpp"
cmake -DSOURCE_DIR="$work/tree" -DSTAMP="$work/tree.stamp" -P "$check" >"$work/tree.log" 2>&1 ||
    { cat "$work/tree.log"; echo "FAIL: a downward include was refused"; failed=1; }

((failed)) && exit 1
echo "layers: passed"
