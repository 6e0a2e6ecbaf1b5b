# Installs what the project needs and is missing, with apt-get (Debian 12, as
# root). Sourced by scripts/test and scripts/run.
ensure_packages() {
  packages=(cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
            g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth imagemagick clang clang-format
            libclang-rt-14-dev python3-pil xdotool nsis zip unzip)
  missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null || { echo "apt-get update failed" >&2; return 1; }
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
      { echo "apt-get install failed" >&2; return 1; }
  fi
}
