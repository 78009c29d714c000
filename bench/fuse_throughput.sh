#!/usr/bin/env bash
# Throughput of a whole fusing run against the machine's own limit.
#
# Fuses a 1 GiB root file-system image, a bootloader and a kernel onto one
# card (a loop device when running as root with losetup, else a card image
# file) through the dialog's START, then moves the same bytes to the same
# offsets of the same target with dd (oflag=direct), reads them back with dd
# (iflag=direct) and compares them with cmp: the same I/O with no tool
# around it. Prints both times, their ratio, the throughput and the tool's
# peak resident memory. Not part of the test suite.
#
#   bash bench/fuse_throughput.sh [--file] [ROUNDS]
#     --file   use the card image file even where a loop device is possible
#     ROUNDS   default 2; the best time of each side counts
set -euo pipefail
cd "$(dirname "$0")/.."
use_loop=1
if [[ ${1:-} == --file ]]; then
  use_loop=0
  shift
fi
rounds=${1:-2}

cmake -S . -B build >/dev/null
cmake --build build -j2 --target fuse_bench >/dev/null

out=bench/out
mkdir -p "$out"
card_sectors=4194304            # a 2 GiB card
rootfs_start=2048
rootfs_bytes=$((1024 * 1024 * 1024))
bootloader_bytes=300000
kernel_bytes=4000000

# The images: random bytes, made once.
[[ -f $out/rootfs.img && $(stat -c %s "$out/rootfs.img") -eq $rootfs_bytes ]] ||
  head -c "$rootfs_bytes" /dev/urandom >"$out/rootfs.img"
head -c "$bootloader_bytes" /dev/urandom >"$out/u-boot.bin"
head -c "$kernel_bytes" /dev/urandom >"$out/zImage"

# The blocks as they land on the card with the values at start (SRAM 8 KB,
# eFuse 1 KB, bootloader partition 512 KB, kernel partition 4 MB): BL1 with
# its checksum, BL2 zero-filled to 1056 sectors, the kernel and the root
# file system zero-filled to whole sectors and chunks.
python3 - "$out" <<'PY'
import sys
out = sys.argv[1]
boot = open(f"{out}/u-boot.bin", "rb").read()
bl1 = bytearray(boot[:8192].ljust(8192, b"\0"))
bl1[8188:8192] = (sum(bl1[:8188]) & 0xFFFFFFFF).to_bytes(4, "little")
open(f"{out}/bl1.blk", "wb").write(bl1)
open(f"{out}/bl2.blk", "wb").write(boot.ljust(540672, b"\0"))
kernel = open(f"{out}/zImage", "rb").read()
open(f"{out}/kernel.blk", "wb").write(kernel.ljust((len(kernel) + 511) // 512 * 512, b"\0"))
PY
s1=$((card_sectors - 18))
s2=$((card_sectors - 1074))
k=$((card_sectors - 9266))

card=$out/card.img
rm -f "$card"
truncate -s $((card_sectors * 512)) "$card"
target=$card
loop=""
if ((use_loop)) && [[ $(id -u) -eq 0 ]] && command -v losetup >/dev/null && loop=$(losetup -f --show "$card" 2>/dev/null); then
  target=$loop
  trap 'losetup -d "$loop"' EXIT
fi
echo "target: $target ($card_sectors sectors)"

now() { date +%s.%N; }
calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }

# One fusing run through the dialog; prints its wall time; keeps the
# process's own figures in $out/tool.txt.
tool_run() {
  local begin end
  begin=$(now)
  build/fuse_bench "$target" "$out/u-boot.bin" "$out/zImage" "$out/rootfs.img" "$rootfs_start" \
    >"$out/tool.txt" 2>"$out/tool.err" || { cat "$out/tool.err" >&2; exit 1; }
  end=$(now)
  calc "$end - $begin"
}

# The same bytes at the same offsets with dd, read back with dd and compared.
put() { dd if="$1" of="$target" bs=8M oflag=direct,seek_bytes seek=$(($2 * 512)) conv=notrunc status=none; }
check() {
  dd if="$target" bs=8M iflag=direct,skip_bytes,count_bytes skip=$(($2 * 512)) count="$(stat -c %s "$1")" status=none |
    cmp -s - "$1"
}
# Prints the whole time, then the writing and the verifying parts of it.
dd_run() {
  local begin mid end
  begin=$(now)
  put "$out/bl1.blk" $s1 && put "$out/bl2.blk" $s2 && put "$out/kernel.blk" $k && put "$out/rootfs.img" $rootfs_start
  mid=$(now)
  check "$out/bl1.blk" $s1 && check "$out/bl2.blk" $s2 && check "$out/kernel.blk" $k &&
    check "$out/rootfs.img" $rootfs_start || { echo "dd: read-back differs" >&2; exit 1; }
  end=$(now)
  echo "$(calc "$end - $begin") $(calc "$mid - $begin") $(calc "$end - $mid")"
}

best_tool="" best_dd=""
for ((r = 1; r <= rounds; r++)); do
  t=$(tool_run)
  read -r d d_write d_verify < <(dd_run)
  printf 'round %d: tool %.2f s, dd %.2f s (writing %.2f s, reading back and comparing %.2f s)\n' \
    "$r" "$t" "$d" "$d_write" "$d_verify"
  if [[ -z $best_tool || $(calc "$t < $best_tool") == 1.000000 ]]; then
    best_tool=$t
    cp "$out/tool.txt" "$out/tool-best.txt"
  fi
  [[ -z $best_dd || $(calc "$d < $best_dd") == 1.000000 ]] && best_dd=$d
done

mib=$(calc "($rootfs_bytes + 8192 + 540672 + $(stat -c %s "$out/kernel.blk")) / 1048576")
peak=$(sed -n 's/^peak_kib=//p' "$out/tool-best.txt")
baseline=$(sed -n 's/^baseline_peak_kib=//p' "$out/tool-best.txt")
run=$(sed -n 's/^run_seconds=//p' "$out/tool-best.txt")
printf 'written and verified: %.1f MiB\n' "$mib"
printf 'tool (whole process): %.2f s  %.1f MiB/s   (the run itself: %.2f s)\n' "$best_tool" "$(calc "$mib / $best_tool")" "$run"
printf 'dd + dd + cmp:        %.2f s  %.1f MiB/s\n' "$best_dd" "$(calc "$mib / $best_dd")"
printf 'ratio tool / dd:      %.3f\n' "$(calc "$best_tool / $best_dd")"
printf 'tool peak resident memory: %d KiB (%d KiB before the run; the transfer buffers are 16384 KiB)\n' "$peak" "$baseline"
