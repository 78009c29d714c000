#!/usr/bin/env bash
# Fuzzes the settings file reader with libFuzzer for a bounded time.
#   fuzz/run.sh [SECONDS]   (default 60)
# Builds fuzz/build/settings_parse_fuzzer with clang (address and undefined-
# behaviour checks), seeds a corpus with well-formed and broken files, runs,
# and prints libFuzzer's summary. Crashing inputs are left in fuzz/build/.
# Not part of the test suite.
set -euo pipefail
seconds="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
out="$here/build"
mkdir -p "$out/corpus"

need=()
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
if ((${#need[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${need[@]}"
fi

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" \
  "$here/settings_parse_fuzzer.cpp" "$root/src/ui/settings_text.cpp" \
  "$root/src/platform/text/wide_format.cpp" "$root/src/platform/text/wide_scan.cpp" \
  -o "$out/settings_parse_fuzzer"

python3 - "$out/corpus" <<'PY'
import sys, pathlib
corpus = pathlib.Path(sys.argv[1])
seeds = {
    "example": "2 1 0 512 0 4 1 8 1 100 D:\\images\\boot.bin D:\\images\\zImage  D:\\images\\rootfs.img",
    "no_drive": "-1 1 0 512 0 4 1 8 1 100 a b c d",
    "empty_paths": "2 1 0 512 0 4 1 8 1 100    ",
    "wide": "-2147483648 4294967295 +7 -0 1\t2\r\n3 4 5 6 /p\u00e9/\ud83d\ude00 \udc00 x y",
    "long_path": "0 0 0 0 0 0 0 0 0 0 /" + "a" * 200 + " b",
    "letter": "x",
}
for name, text in seeds.items():
    (corpus / name).write_bytes(text.encode("utf-16-le", "surrogatepass"))
PY

cd "$out"
"$out/settings_parse_fuzzer" -max_total_time="$seconds" -max_len=4096 -dict="$here/settings.dict" -print_final_stats=1 corpus
