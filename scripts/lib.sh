# Shared by scripts/test and scripts/run: installing what is missing, a private X display and a
# private Wine prefix. Source it; it defines functions only.

vm_packages=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 fonts-wine xvfb xauth imagemagick python3 python3-pil procps ccache openbox xdotool x11-utils tesseract-ocr tesseract-ocr-rus faketime)
# clang and its sanitizer and libFuzzer runtimes, for the fuzz targets (scripts/fuzz).
vm_packages+=(clang-14 libclang-rt-14-dev)

vm_say() { printf '== %s (%s s)\n' "$*" "$SECONDS"; }

# Installs the Debian packages that are missing (apt-get update once, only when needed).
vm_install_missing() {
  local missing=()
  for p in "${vm_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  vm_say "installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Starts Xvfb on a free display number; sets VM_XVFB_PID and exports DISPLAY. Without -noreset
# the server resets when its last client leaves and refuses the connections that come meanwhile:
# a window manager started just after a test's programs ended failed one start in five.
vm_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${VM_SCREEN:-1280x800x24}" -nolisten tcp -noreset >/dev/null 2>&1 &
    VM_XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$VM_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Prepares a Wine prefix in $1 (created once, then reused) for the wine-run script and exports
# VM_WINE_DIR, WINEPREFIX and the quiet Wine settings. HOME points at a folder whose ALSA
# configuration is a null device, so sound files play without a sound card.
vm_prepare_wine() {
  export VM_WINE_DIR="$1"
  export WINEPREFIX="$VM_WINE_DIR/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe="
  mkdir -p "$VM_WINE_DIR/home"
  printf 'pcm.!default {\n  type null\n}\n' > "$VM_WINE_DIR/home/.asoundrc"
  echo "$DISPLAY" > "$VM_WINE_DIR/display"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    vm_say "creating the Wine prefix $WINEPREFIX"
    HOME="$VM_WINE_DIR/home" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    HOME="$VM_WINE_DIR/home" /usr/lib/wine/wineserver -w || true
  fi
  vm_unmanaged_test_windows
}

# The Windows test programs run on a display without a window manager. Wine hands a managed
# window's hide to the window manager and waits up to 2 s for it to withdraw the window: with
# none there, every test that closes a framed window waited that long. Unmanaged, Wine keeps the
# windows' order and focus itself, as Windows does. Only these two programs, by Wine's
# per-program settings: the end-to-end runs keep the clock managed under their window manager.
vm_unmanaged_test_windows() {
  grep -q 'AppDefaults\\\\tests_win32_serial.exe\\\\X11 Driver' "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  local reg=$VM_WINE_DIR/unmanaged-tests.reg p
  printf 'REGEDIT4\n' >"$reg"
  for p in tests_win32.exe tests_win32_serial.exe; do
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s\\X11 Driver]\n"Managed"="N"\n' "$p" >>"$reg"
  done
  HOME="$VM_WINE_DIR/home" /usr/lib/wine/wine64 regedit /S "$reg" >/dev/null 2>&1 || true
}

vm_stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "${VM_XVFB_PID:-}" ] && kill "$VM_XVFB_PID" >/dev/null 2>&1 || true
}

# Builds the 64-bit clock as it ships (preset release-win64: optimised, stripped) and sets
# VM_RELEASE_CLOCK to its path; the build's output goes to build/$1.build.log.
vm_build_release_clock() {
  local log=build/$1.build.log
  mkdir -p build
  { cmake --preset release-win64 >/dev/null && cmake --build --preset release-win64 --target vemtaro -- -j2; } \
    >"$log" 2>&1 || { tail -20 "$log"; echo "build of the release clock failed" >&2; return 1; }
  VM_RELEASE_CLOCK=$PWD/build/release-win64/app/win/vemtaro.exe
}
