#!/usr/bin/env bash
# strovane.exe fuse under wine, as a Windows user would run it: a card image
# file with a non-ASCII name given a letter, the three images fused, the
# lines on standard output and error, the exit status and the card's bytes.
set -euo pipefail
program=$1
runner=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

truncate -s 64M "kärtchen.img"
head -c 300000 /dev/urandom >u-boot.bin
head -c 2000000 /dev/urandom >zImage
head -c 1048576 /dev/urandom >rootfs.img

status=0
"$runner" "$program" fuse --drive "E=kärtchen.img" --bootloader u-boot.bin --kernel zImage \
  --rootfs rootfs.img --start-sector 2048 >out.crlf 2>err.crlf || status=$?
# Windows ends text lines with CR LF.
tr -d '\r' <out.crlf >out.txt
tr -d '\r' <err.crlf >err.txt
fail() { echo "FAIL: $*"; echo "--- stdout"; cat out.txt; echo "--- stderr"; cat err.txt; exit 1; }
[[ $status -eq 0 ]] || fail "exit status $status"
grep -qx "bootloader: 129998 to 131069 on drive E" out.txt || fail "bootloader range"
grep -qx "kernel: 121806 to 125712 on drive E" out.txt || fail "kernel range"
grep -qx "rootfs:  100 %" out.txt || fail "rootfs progress"
grep -qx "NOTICE: Fusing image done" err.txt || fail "completion message"
cmp -s -n 2000000 zImage <(tail -c +$((121806 * 512 + 1)) "kärtchen.img") || fail "kernel bytes"
cmp -s -n 1048576 rootfs.img <(tail -c +$((2048 * 512 + 1)) "kärtchen.img") || fail "rootfs bytes"
[[ $(stat -c %s "kärtchen.img") -eq 67108864 ]] || fail "the card grew"

# A letter outside D to Z is refused before anything is written.
status=0
"$runner" "$program" fuse --drive "C=kärtchen.img" --kernel zImage >out.txt 2>err.txt || status=$?
[[ $status -eq 2 ]] || fail "bad letter: exit status $status"
echo "1 passed, 0 failed"
