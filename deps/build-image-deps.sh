#!/bin/bash
# Builds the image libraries of the Windows targets from Debian's source packages:
#   - libjpeg-turbo and libpng as static libraries (with zlib from libz-mingw-w64-dev),
#   - FreeImage linked against them as CQVImage.dll with its import library,
# for x86_64-w64-mingw32 and i686-w64-mingw32, into a cache folder named after the source
# versions and a digest of this recipe:
#   build/deps-cache/<key>/out/<triple>/bin/CQVImage.dll
#                                       lib/{libCQVImage.dll.a, libjpeg.a, libpng16.a}
#                                       include/{FreeImage.h, libjpeg/*.h, libpng/*.h}
# A complete cache is reused as it is. An interrupted build resumes at the first step
# without a stamp.
#
# Usage: deps/build-image-deps.sh                 build (or reuse) the cache
#        deps/build-image-deps.sh --prefix TRIPLE print out/<triple> of the cache (no work)
# Environment: MARDAVEL_DEPS_CACHE (default <repo>/build/deps-cache), JOBS (parallel jobs of
# each make or ninja; default half the cores, as the two targets build side by side).
# Needs root (or sudo) on a fresh Debian 12 machine: it enables the deb-src index.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
ROOT=${MARDAVEL_DEPS_CACHE:-$top/build/deps-cache}
TRIPLES="x86_64-w64-mingw32 i686-w64-mingw32"

# Debian source packages (bookworm). When a version is no longer in the archive, the newest
# one of the same upstream version is taken and the build says so.
FI_VERSION=3.18.0+ds2-9+deb12u1
JPEG_VERSION=1:2.1.5-2
PNG_VERSION=1.6.39-2+deb12u5

# Everything that decides the output goes into the key.
RECIPE_FILES=("$here/build-image-deps.sh" "$here/freeimage/CQVImage.mk" "$here/freeimage/cqv_stub_plugins.cpp"
              "$top/cmake/mingw-x86_64.cmake" "$top/cmake/mingw-i686.cmake")
cache_key() {
  local digest
  digest=$(cat "${RECIPE_FILES[@]}" | sha256sum | cut -c1-10)
  echo "freeimage-${FI_VERSION#*:}_libjpeg-turbo-${JPEG_VERSION#*:}_libpng-${PNG_VERSION#*:}_$digest"
}
CACHE=$ROOT/$(cache_key)

if [ "${1:-}" = --prefix ]; then
  echo "$CACHE/out/$2"
  exit 0
fi
if [ -e "$CACHE/COMPLETE" ]; then
  echo "[deps] image libraries up to date: $CACHE"
  exit 0
fi
# One build at a time; a run that waited finds the cache complete.
mkdir -p "$ROOT"
exec 9>"$ROOT/.lock"
flock 9
if [ -e "$CACHE/COMPLETE" ]; then
  echo "[deps] image libraries up to date: $CACHE"
  exit 0
fi

JOBS=${JOBS:-$(( ($(nproc) + 1) / 2 ))}
SRC=$CACHE/src
STAMPS=$CACHE/stamps
LOGS=$CACHE/logs
SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo
mkdir -p "$SRC" "$STAMPS" "$LOGS" "$CACHE/out"
T_START=$(date +%s.%N)

log() { printf '[deps] %s\n' "$*" >&2; }
die() { printf '[deps] ERROR: %s\n' "$*" >&2; exit 1; }
done_already() { [ -e "$STAMPS/$1" ]; }
stamp() { touch "$STAMPS/$1"; }
# timed NAME CMD...: runs CMD and adds its wall time to timings.txt
timed() {
  local name=$1 t0; shift
  t0=$(date +%s.%N)
  "$@"
  awk -v n="$name" -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%-32s %6.1f s\n", n, b - a }' \
    | tee -a "$CACHE/timings.txt" >&2
}
# step NAME CMD...: runs CMD once; later runs skip it
step() {
  local name=$1; shift
  done_already "$name" && return 0
  timed "$name" "$@"
  stamp "$name"
}
# quiet LOGFILE CMD...: runs CMD with its output in LOGFILE, shows the end of it on failure
quiet() {
  local logfile=$1; shift
  "$@" >"$logfile" 2>&1 || { tail -40 "$logfile" >&2; die "failed: $* (log: $logfile)"; }
}

# ---------------------------------------------------------------- sources
# Source packages need a deb-src entry; fresh Debian images only carry binary ones. Each
# bookworm entry gets its deb-src twin (deb822 stanzas and one-line entries alike).
enable_deb_src() {
  local d=/etc/apt/sources.list.d f
  [ -n "$(apt-cache showsrc libpng1.6 2>/dev/null)" ] && return 0
  log "enabling Debian's source index"
  {
    for f in "$d"/*.sources; do
      [ -e "$f" ] && [ "$f" != "$d/mardavel-deb-src.sources" ] || continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           /(^|\n)Types:[^\n]*deb/ && !/(^|\n)Types:[^\n]*deb-src/ && /(^|\n)Suites:[^\n]*bookworm/ \
             && !/(^|\n)Enabled: *no/ { sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f"
    done
  } | $SUDO tee "$d/mardavel-deb-src.sources" >/dev/null
  {
    for f in /etc/apt/sources.list "$d"/*.list; do
      [ -e "$f" ] && [ "$f" != "$d/mardavel-deb-src.list" ] || continue
      awk '$1 == "deb" && / bookworm/ { $1 = "deb-src"; print }' "$f"
    done
  } | $SUDO tee "$d/mardavel-deb-src.list" >/dev/null
  quiet "$LOGS/apt-update.log" $SUDO apt-get update
  [ -n "$(apt-cache showsrc libpng1.6 2>/dev/null)" ] || die "no source index for bookworm after enabling deb-src"
}

# Versions of PKG in the index, newest first.
listed_versions() {
  local vs=() i j t
  mapfile -t vs < <(apt-cache showsrc "$1" | awk '/^Version:/ { print $2 }' | sort -u)
  for ((i = 0; i < ${#vs[@]}; i++)); do
    for ((j = i + 1; j < ${#vs[@]}; j++)); do
      if dpkg --compare-versions "${vs[j]}" gt "${vs[i]}"; then t=${vs[i]}; vs[i]=${vs[j]}; vs[j]=$t; fi
    done
  done
  [ ${#vs[@]} -eq 0 ] || printf '%s\n' "${vs[@]}"
}
upstream_of() { local v=${1#*:}; echo "${v%-*}"; }

# fetch_one PKG VERSION: downloads the pinned version, else the newest of its upstream version;
# with a stale index, refreshes it once and tries again.
fetch_one() {
  local pkg=$1 want=$2 v attempt candidates
  for attempt in 1 2; do
    candidates=("$want")
    while read -r v; do
      [ "$v" != "$want" ] && [ "$(upstream_of "$v")" = "$(upstream_of "$want")" ] && candidates+=("$v")
    done < <(listed_versions "$pkg")
    for v in "${candidates[@]}"; do
      if (cd "$SRC" && apt-get source --download-only -qq "$pkg=$v" >>"$LOGS/fetch.log" 2>&1); then
        [ "$v" = "$want" ] || log "WARNING: $pkg $want is gone from the archive; built $v instead (update the pin)"
        echo "${pkg}_${v#*:}.dsc" > "$SRC/$pkg.dsc-name"
        echo "$pkg $v" >> "$SRC/versions.txt"
        return 0
      fi
    done
    [ "$attempt" = 2 ] || quiet "$LOGS/apt-update-2.log" $SUDO apt-get update
  done
  die "could not fetch the source package $pkg (versions tried: ${candidates[*]}); see $LOGS/fetch.log"
}
fetch_sources() {
  rm -f "$SRC/versions.txt"
  fetch_one freeimage "$FI_VERSION"
  fetch_one libjpeg-turbo "$JPEG_VERSION"
  fetch_one libpng1.6 "$PNG_VERSION"
}

# ---------------------------------------------------------------- patches
# FreeImage: the Debian patches that matter for the files we compile, in series order:
#  - Disable-vendored-dependencies: the +ds2 tarball has no bundled codecs; include the system
#    <jpeglib.h>, <png.h> and <zlib.h> (it also hides the JPEG transform API, whose source is gone);
#  - Fix_compilation_external-static, Use-system-jpeg_read_icc_profile: libjpeg-turbo 2.1 has
#    its own jpeg_read_icc_profile;
#  - CVE-2020-21427_21428_22524: BMP RLE, DDS and PFM overflows (its BMP header check is widened
#    again below).
# The others touch Makefiles, tests, docs or plugins that are not compiled (TIFF, RAW, ...);
# Fix-compatibility-with-system-libpng is left out on purpose: our libpng does not need it and
# its iCCP change drops every ICC profile.
FI_PATCHES="Disable-vendored-dependencies.patch Fix_compilation_external-static.patch
  Use-system-jpeg_read_icc_profile.patch CVE-2020-21427_21428_22524.patch"
FI_NOT_APPLIED="Use-system-dependencies.patch Fix-macro-redefinition-for-64-bit-integer-types.patch
  Fix-compatibility-with-system-libpng.patch Disable-usage-of-HTML-timestamps-in-doxygen.patch
  Disable-testing-of-JPEG-transform.patch Disable-testing-of-JXR-MemIO.patch Fix-encoding-of-fi-header.patch
  Enable-substitution-of-pkg-config.patch CVE-2019-12211-13.patch Fix-libraw-compilation.patch"
# libpng and libjpeg-turbo: the whole series (security fixes come in by themselves) except
# patches of the config script, docs and install paths.
PNG_NOT_APPLIED="libpng-config.patch"
JPEG_NOT_APPLIED="1001-use-utc-timestamp.patch 2001_dont-set-RPATH.patch 1001_fix-groff-warning-macro-f-not-defined.patch"

in_list() { [[ " $(echo $2) " == *" $1 "* ]]; }
series() { grep -v '^\s*#' "$1/debian/patches/series" | awk 'NF { print $1 }'; }
apply_patch() { patch -d "$1" -p1 -s --batch --forward < "$1/debian/patches/$2" || die "patch $2 does not apply"; }

# unpack PKG DIR WANTED NOT_APPLIED: WANTED "all" applies the series minus NOT_APPLIED,
# otherwise exactly WANTED (and a patch in neither list is reported: it needs a review).
unpack() {
  local pkg=$1 dir=$SRC/$2 wanted=$3 skipped=$4 p
  rm -rf "$dir" "$dir.tmp"
  quiet "$LOGS/unpack-$pkg.log" dpkg-source --skip-patches -x "$SRC/$(cat "$SRC/$pkg.dsc-name")" "$dir.tmp"
  for p in $(series "$dir.tmp"); do
    if in_list "$p" "$skipped"; then
      continue
    elif [ "$wanted" = all ] || in_list "$p" "$wanted"; then
      apply_patch "$dir.tmp" "$p"
    else
      log "WARNING: Debian patch $p of $pkg is new to this script and was not applied; review it"
    fi
  done
  [ "$pkg" != freeimage ] || fix_freeimage "$dir.tmp"
  mv "$dir.tmp" "$dir"
}

# replace FILE OLD NEW [COUNT]: a literal replacement whose text must occur exactly COUNT
# times (default once). "\n" in OLD and NEW stands for a line end, CRLF or LF (the FreeImage
# sources have both).
replace() {
  OLD=$2 NEW=$3 COUNT=${4:-1} perl -0777 -i -pe '
    my $re = join "(\r?\n)", map { quotemeta } split /\\n/, $ENV{OLD}, -1;
    my $n = () = /$re/g;
    die "$ARGV: expected text found $n times, not $ENV{COUNT}: $ENV{OLD}\n" unless $n == $ENV{COUNT};
    s/$re/my $eol = $1 \/\/ "\n"; $ENV{NEW} =~ s{\\n}{$eol}gr/ge;' "$1" || die "cannot patch $(basename "$1")"
}

# Our own changes to FreeImage (the FreeImage Public License asks for them to be described):
fix_freeimage() {
  local s=$1/Source/FreeImage
  # 1. The CVE patch's CheckBitmapInfoHeader() refuses every header but the 40-byte one, so
  #    BMPs with V2-V5 headers (GIMP, ImageMagick, Photoshop) and OS/2 2.x BMPs stop loading
  #    although the loader reads them. Accept those header sizes again.
  replace "$s/PluginBMP.cpp" 'if (bih->biSize != sizeof(BITMAPINFOHEADER)) {' \
    'if (bih->biSize != 40 && bih->biSize != 52 && bih->biSize != 56 && bih->biSize != 64 && bih->biSize != 108 && bih->biSize != 124) {'
  # 2. The 16-, 24- and 32-bit BMP paths ignore a short read of the pixel rows and hand out a
  #    half-empty picture as a success; fail such files like the palette path does.
  replace "$s/PluginBMP.cpp" '	LoadPixelData(io, handle, dib, height, pitch, bit_count);' \
    '	if (!LoadPixelData(io, handle, dib, height, pitch, bit_count)) throw "Error encountered while decoding BMP data";' 8
  # 3. Every bitmap was allocated (and cleared) at whatever size a file header claims, up to
  #    the whole address space. Refuse pixel data above 256 MiB (8192 x 8192 at 32 bits).
  replace "$s/BitmapAccess.cpp" 'if(dImageSize > FIBITMAP_MAX_MEMORY) {' \
    'if(dImageSize > FIBITMAP_MAX_MEMORY || dPitch * height > 268435456.0) {'
  # 4. At load the DLL would also LoadLibrary every *.fip file in the program's folder as a
  #    plug-in (changing the current folder meanwhile, and keeping the search handle in a long,
  #    which truncates it on Win64). This DLL takes its built-in formats only.
  replace "$s/FreeImage.cpp" 'void FreeImage_SO_Initialise() {\n  FreeImage_Initialise(FALSE);' \
    'void FreeImage_SO_Initialise() {\n  FreeImage_Initialise(TRUE);'
}

unpack_sources() {
  unpack freeimage freeimage "$FI_PATCHES" "$FI_NOT_APPLIED"
  unpack libjpeg-turbo libjpeg-turbo all "$JPEG_NOT_APPLIED"
  unpack libpng1.6 libpng all "$PNG_NOT_APPLIED"
}

# ---------------------------------------------------------------- libraries
toolchain_of() { case $1 in x86_64*) echo "$top/cmake/mingw-x86_64.cmake" ;; *) echo "$top/cmake/mingw-i686.cmake" ;; esac; }

# Only the static library is built (not the tools); its headers are copied by hand.
build_jpeg() {
  local t=$1 b=$CACHE/build/$1/libjpeg-turbo p=$CACHE/out/$1
  rm -rf "$b"; mkdir -p "$p/lib" "$p/include/libjpeg"
  quiet "$LOGS/libjpeg-turbo-$t.log" cmake -G Ninja -S "$SRC/libjpeg-turbo" -B "$b" \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$t")" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_INSTALL_PREFIX="$b/unused" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON
  quiet "$LOGS/libjpeg-turbo-$t-build.log" ninja -C "$b" -j"$JOBS" jpeg-static
  cp "$b/libjpeg.a" "$p/lib/"
  cp "$b/jconfig.h" "$SRC/libjpeg-turbo/jpeglib.h" "$SRC/libjpeg-turbo/jmorecfg.h" "$SRC/libjpeg-turbo/jerror.h" "$p/include/libjpeg/"
}

build_png() {
  local t=$1 b=$CACHE/build/$1/libpng p=$CACHE/out/$1
  rm -rf "$b"; mkdir -p "$p/lib" "$p/include/libpng"
  quiet "$LOGS/libpng-$t.log" cmake -G Ninja -S "$SRC/libpng" -B "$b" \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$t")" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY="/usr/$t/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$t/include"
  quiet "$LOGS/libpng-$t-build.log" ninja -C "$b" -j"$JOBS" png_static
  cp "$b/libpng16.a" "$p/lib/"
  cp "$SRC/libpng/png.h" "$SRC/libpng/pngconf.h" "$b/pnglibconf.h" "$p/include/libpng/"
}

# FreeImage with the plug-ins that need no further library; the others are registered by
# cqv_stub_plugins.cpp so that every format keeps its number (see that file).
build_freeimage() {
  local t=$1 b=$CACHE/build/$1/freeimage p=$CACHE/out/$1
  rm -rf "$b"; mkdir -p "$b" "$p/bin" "$p/lib" "$p/include"
  quiet "$LOGS/freeimage-$t.log" make -C "$b" -f "$here/freeimage/CQVImage.mk" -j"$JOBS" \
    T="$t" FI="$SRC/freeimage" P="$p" STUBS="$here/freeimage/cqv_stub_plugins.cpp"
  if [[ $t == i686* ]]; then
    # The DLL exports undecorated names (--kill-at), but code compiled against FreeImage.h
    # refers to __imp__FreeImage_Load@12: the import library is made from the decorated names.
    { echo "LIBRARY CQVImage.dll"; echo "EXPORTS"
      awk '$2 == "=" { print "    " $3 } $1 ~ /^FreeImage_/ && $2 ~ /^@/ { print "    " $1 }' "$b/CQVImage.def"
    } > "$b/CQVImage-decorated.def"
    (cd "$b" && "$t-dlltool" -k -d CQVImage-decorated.def -D CQVImage.dll -l libCQVImage.dll.a -t cqvimage)
  fi
  cp "$b/CQVImage.dll" "$p/bin/"
  cp "$b/libCQVImage.dll.a" "$p/lib/"
  cp "$SRC/freeimage/Source/FreeImage.h" "$p/include/"
}

# The export table must hold the undecorated FreeImage_* names only, and the DLL must need
# no mingw runtime DLL.
check_dll() {
  local t=$1 dll=$CACHE/out/$1/bin/CQVImage.dll n bad imports
  "$t-objdump" -p "$dll" > "$LOGS/objdump-$t.txt"
  awk '/\[Ordinal\/Name Pointer\] Table/ { f = 1; next } f && NF == 0 { f = 0 } f { print $NF }' \
    "$LOGS/objdump-$t.txt" > "$CACHE/out/$t/exports.txt"
  n=$(wc -l < "$CACHE/out/$t/exports.txt")
  bad=$(grep -cv '^FreeImage_[A-Za-z0-9_]*$' "$CACHE/out/$t/exports.txt" || true)
  imports=$(awk '/DLL Name:/ { print $3 }' "$LOGS/objdump-$t.txt" | sort -u | tr '\n' ' ')
  log "$t: CQVImage.dll $(stat -c %s "$dll") bytes, $n exports, imports $imports"
  [ "$n" -ge 240 ] && [ "$bad" = 0 ] || die "$t: CQVImage.dll exports $bad names that are not plain FreeImage_*"
  case " $imports " in *" KERNEL32.dll "*) ;; *) die "$t: unexpected import table: $imports" ;; esac
  for dll in $imports; do
    case $dll in KERNEL32.dll|msvcrt.dll|USER32.dll|ADVAPI32.dll) ;; *) die "$t: CQVImage.dll needs $dll" ;; esac
  done
}

build_target() {
  local t=$1
  # libjpeg-turbo and libpng do not depend on each other
  step "libjpeg-turbo $t" build_jpeg "$t" &
  local jpeg=$!
  step "libpng $t" build_png "$t" &
  local png=$!
  local failed=0
  wait "$jpeg" || failed=1
  wait "$png" || failed=1
  [ $failed = 0 ] || exit 1
  step "FreeImage $t" build_freeimage "$t"
  check_dll "$t"
}

# The licence texts that go with the binaries (see NOTICE).
collect_licences() {
  local l=$CACHE/out/licenses
  mkdir -p "$l"
  cp "$SRC/freeimage/license-fi.txt" "$l/FreeImage-license-fi.txt"
  cp "$SRC/libjpeg-turbo/LICENSE.md" "$l/libjpeg-turbo-LICENSE.md"
  cp "$SRC/libjpeg-turbo/README.ijg" "$l/libjpeg-turbo-README.ijg"
  cp "$SRC/libpng/LICENSE" "$l/libpng-LICENSE"
}

# ---------------------------------------------------------------- main
need=()
for tool in dpkg-source:dpkg-dev patch:patch perl:perl nasm:nasm cmake:cmake ninja:ninja-build make:make \
            x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix i686-w64-mingw32-g++-posix:g++-mingw-w64-i686-posix; do
  command -v "${tool%%:*}" >/dev/null || need+=("${tool#*:}")
done
[ -e /usr/x86_64-w64-mingw32/lib/libz.a ] && [ -e /usr/i686-w64-mingw32/lib/libz.a ] || need+=(libz-mingw-w64-dev)
[ ${#need[@]} -eq 0 ] || die "missing packages (scripts/setup installs them): ${need[*]}"

log "building the image libraries into $CACHE (cold build: about a minute)"
echo "# run $(date -u +%FT%TZ) JOBS=$JOBS" >> "$CACHE/timings.txt"
if ! done_already fetch; then enable_deb_src; fi
step fetch fetch_sources
step unpack unpack_sources
pids=()
for t in $TRIPLES; do
  build_target "$t" &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
[ $failed = 0 ] || die "build failed (logs in $LOGS)"

collect_licences
cp "$SRC/versions.txt" "$CACHE/versions.txt"
# Only the outputs, the source packages and the logs are kept.
rm -rf "$CACHE/build" "$SRC/freeimage" "$SRC/libjpeg-turbo" "$SRC/libpng"
touch "$CACHE/COMPLETE"
awk -v a="$T_START" -v b="$(date +%s.%N)" 'BEGIN { printf "%-32s %6.1f s\n", "total", b - a }' \
  | tee -a "$CACHE/timings.txt" >&2
log "done: $(tr '\n' ',' < "$CACHE/versions.txt" | sed 's/,$//; s/,/, /g')"
