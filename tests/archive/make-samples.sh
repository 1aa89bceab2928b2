#!/usr/bin/env bash
# Makes the sample tree and the 7z archives of it that the archive tests read, with Debian's 7zz.
# Usage: make-samples.sh OUTPUT_FOLDER
# Writes OUTPUT_FOLDER/tree (the files archived), OUTPUT_FOLDER/*.7z and OUTPUT_FOLDER/manifest.txt
# with one line per archive: "<archive> <password or -> <ok | unsupported>".
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out/tree"
tree=$(cd "$out/tree" && pwd)

# Text with structure, binary noise, a machine-code file (for the branch filters), and a
# mixed file large enough to span several LZMA2 chunks.
seq 1 15000 | awk '{ printf "line %d: the quick brown fox %x jumps over the lazy dog %d\n", $1, $1 * 2654435761 % 65536, $1 % 97 }' > "$tree/text.txt"
head -c 200000 /dev/urandom > "$tree/noise.bin"
mkdir -p "$tree/bin"
head -c 600000 "$(command -v 7zz)" > "$tree/bin/program"
cat "$tree/text.txt" "$tree/noise.bin" "$tree/text.txt" > "$tree/mixed.dat"
: > "$tree/empty.txt"
mkdir -p "$tree/empty folder" "$tree/deep/a/b/c"
echo "deep content" > "$tree/deep/a/b/c/file.txt"
echo "café" > "$tree/café.txt"
mkdir -p "$tree/日本語"
echo "データ" > "$tree/日本語/データ.txt"
echo "read only" > "$tree/readonly.txt"
chmod 444 "$tree/readonly.txt"
echo "dated" > "$tree/dated.txt"
touch -d "2020-01-02 03:04:05 UTC" "$tree/dated.txt"

manifest="$out/manifest.txt"
: > "$manifest"
make() {  # make NAME PASSWORD EXPECT SWITCHES...
  local name=$1 password=$2 expect=$3
  shift 3
  local switches=("$@")
  [[ "$password" != "-" ]] && switches+=("-p$password")
  (cd "$tree" && 7zz a -bso0 -bsp0 -bse0 "$out/$name" . "${switches[@]}")
  echo "$name $password $expect" >> "$manifest"
}
for level in 0 1 2 3 4 5 6 7 8 9; do make "mx$level.7z" - ok "-mx$level"; done
make solid.7z - ok -ms=on -mx5
make nonsolid.7z - ok -ms=off -mx5
make copy.7z - ok -m0=Copy
make lzma.7z - ok -m0=LZMA -mx7
make lzma2.7z - ok -m0=LZMA2 -mx3
make deflate.7z - ok -m0=Deflate -mx9
make bcj.7z - ok -mf=BCJ -mx5
make bcj2.7z - ok -mf=BCJ2 -mx5
make lzma-bcj2.7z - ok -m0=BCJ2 -m1=LZMA -mx9
make encrypted.7z "sesame" ok -mx5
make encrypted-header.7z "open-sesame" ok -mx5 -mhe=on
make encrypted-nonsolid.7z "sesame" ok -mx1 -ms=off
make bzip2.7z - unsupported -m0=BZip2
