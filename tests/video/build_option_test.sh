#!/usr/bin/env bash
# The QUIL_VIDEO option, checked by configuring the project in a scratch
# folder where pkg-config finds none of FFmpeg's libraries:
#  - with the option on, configuration stops and names the Debian package;
#  - with it off, configuration goes through, nothing of FFmpeg is linked
#    and no video module is made, while quil still has its replay command
#    and the module's loader (which then says that the build has no video
#    support).
# Usage: build_option_test.sh SOURCE_FOLDER SCRATCH_FOLDER
set -euo pipefail
source=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch/no-libraries"
trap 'rm -rf "$scratch"' EXIT
export PKG_CONFIG_LIBDIR="$scratch/no-libraries" PKG_CONFIG_PATH=""

if cmake -S "$source" -B "$scratch/on" -G Ninja -DQUIL_BENCH=OFF >"$scratch/on.log" 2>&1; then
  echo "QUIL_VIDEO on configured without FFmpeg's libraries"
  exit 1
fi
if ! tr -s " \n" "  " <"$scratch/on.log" | grep -q "install the Debian package libavformat-dev"; then
  echo "the failed configuration does not name the package:"
  cat "$scratch/on.log"
  exit 1
fi

if ! cmake -S "$source" -B "$scratch/off" -G Ninja -DQUIL_BENCH=OFF -DQUIL_VIDEO=OFF \
    >"$scratch/off.log" 2>&1; then
  echo "QUIL_VIDEO off did not configure:"
  cat "$scratch/off.log"
  exit 1
fi
if grep -n -E "libav(codec|format|filter|util)|libswscale|libquil_video\.a|quil-video" \
    "$scratch/off/build.ninja"; then
  echo "QUIL_VIDEO off still builds or links the above"
  exit 1
fi
grep -q "cli_replay.cpp" "$scratch/off/build.ninja"
grep -q "QUIL_VIDEO_MODULE_BUILT=0" "$scratch/off/build.ninja"
echo "QUIL_VIDEO on stops without FFmpeg; off links none of it"
