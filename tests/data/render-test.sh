#!/usr/bin/env bash
# The subject picture rendering: a JPEG per mapped symbol where the program looks for it, the
# licence beside them; nothing made again when nothing changed; a changed mapping made again;
# an unmapped symbol's picture removed; without the set no pictures and no failure.
# usage: render-test.sh DATA_TOOL RENDER_SCRIPT
set -euo pipefail
tool=$1 render=$2
for t in rsvg-convert convert identify; do
    command -v "$t" >/dev/null || { echo "skipped: no $t"; exit 77; }
done
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
mkdir -p "$t/content/dictionary" "$t/set/icons/modern"
printf '# Dieren\n## Huisdieren, klein.\n### Hond\nTekst.\n### Kat\nTekst.\n' >"$t/content/dictionary/01.txt"
for c in a b; do
    printf '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 32 32"><circle cx="16" cy="16" r="12" fill="#%s"/></svg>' \
        "$([ $c = a ] && echo f80 || echo 08f)" >"$t/set/icons/modern/$c.svg"
done
echo "MIT License" >"$t/set/LICENSE"
echo '{ "version": "9.9.9" }' >"$t/set/package.json"
run() { "$render" "$tool" "$t/content" "$t/set" "$t/prog" "$t/work"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

printf 'Hond = a\nKat = b\n' >"$t/content/pictures.txt"
run
# A folder name loses one trailing dot on Windows, so the program finds it without.
hond="$t/prog/I/Dieren/Huisdieren, klein/Hond.jpg" kat="$t/prog/I/Dieren/Huisdieren, klein/Kat.jpg"
[ "$(identify -format '%m %wx%h' "$hond")" = "JPEG 280x280" ] || fail "Hond.jpg is no 280x280 JPEG"
[ -f "$kat" ] || fail "no Kat.jpg"
grep -q "fluentui-emoji 9.9.9" "$t/prog/I/LICENSE-fluentui-emoji.txt" || fail "no licence beside the pictures"

touch -d '2001-01-01' "$hond" "$kat"
run
[ "$(stat -c %Y "$hond")" = "$(date -d 2001-01-01 +%s)" ] || fail "an unchanged picture was made again"

printf 'Hond = b\n' >"$t/content/pictures.txt"
run
[ "$(stat -c %Y "$hond")" != "$(date -d 2001-01-01 +%s)" ] || fail "a changed mapping was not made again"
[ ! -e "$kat" ] || fail "the picture of an unmapped symbol stayed"

rm -f "$hond"
"$render" "$tool" "$t/content" "$t/no-set" "$t/prog" "$t/work" || fail "no set made the build fail"
[ ! -e "$hond" ] || fail "a picture without a set"
echo "ok"
