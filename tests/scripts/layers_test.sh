#!/usr/bin/env bash
# scripts/layers --check on a tree of its own: an include that the table does not allow, an
# angle-bracket header in a standard-library-only folder and a folder without a row each fail the
# check with a line that names the file; what the table allows passes.
set -euo pipefail
source_root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

mkdir -p "$work/scripts" "$work/cmake" "$work/base/rules" "$work/front" "$work/tests/front"
cp "$source_root/scripts/layers" "$work/scripts/"
cp "$source_root/cmake/layers.cmake" "$work/cmake/"
cat >"$work/layers.txt" <<'TABLE'
# rows for the test
base: <std>
front: base
tests/front: base front
TABLE
printf '#pragma once\n#include <vector>\n' >"$work/base/rules/rule.h"
printf '#include "base/rules/rule.h"\n#include "front/part.h"\n#include <QImage>\n' \
  >"$work/front/part.cpp"
printf '#pragma once\n#include "base/rules/rule.h"\n' >"$work/front/part.h"
printf '#include "front/part.h"\n#include "generated.h"\n' >"$work/tests/front/part_test.cpp"

echo "a tree the table allows passes"
"$work/scripts/layers" --check >"$work/out" 2>&1 || fail "the check failed: $(cat "$work/out")"

echo "each fault fails the check with a line naming its file"
printf '#include "front/part.h"\n' >>"$work/base/rules/rule.h"
printf '#include <QImage>\n' >"$work/base/late.cpp"
mkdir -p "$work/loose"
printf 'int x;\n' >"$work/loose/odd.cpp"
printf '#include "tests/front/helper.h"\n' >>"$work/front/part.cpp"
if "$work/scripts/layers" --check >"$work/out" 2>&1; then
  fail "the check passed"
fi
grep -q 'base/rules/rule.h: #include "front/part.h" (base may not include front)' "$work/out" ||
  fail "the upward include is not named: $(cat "$work/out")"
grep -q 'base/late.cpp: #include <QImage> (base takes the standard library alone)' "$work/out" ||
  fail "the foreign header is not named: $(cat "$work/out")"
grep -q 'loose/odd.cpp: its folder has no row' "$work/out" ||
  fail "the folder without a row is not named: $(cat "$work/out")"
grep -q 'front/part.cpp: #include "tests/front/helper.h"' "$work/out" ||
  fail "the include of a test folder is not named: $(cat "$work/out")"

echo "the picture names each folder with the folders it includes"
"$work/scripts/layers" >"$work/out"
grep -qx 'front -> base/rules tests/front' "$work/out" || fail "no line for front: $(cat "$work/out")"
echo "PASS"
