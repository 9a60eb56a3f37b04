#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12, as root), then configures and
# builds every face into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ ccache python3 python3-dev python3-pytest pybind11-dev
          python3-pybind11 libgtest-dev libgmock-dev libicu-dev
          wine wine64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools libwine-dev
          clang-14 libclang-rt-14-dev locales zlib1g-dev libz-mingw-w64-dev zip unzip
          libsqlite3-dev sqlite3
          libpugixml-dev libxml2-utils
          python3-mypy python3-build)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DPython3_EXECUTABLE=/usr/bin/python3
cmake --build build --parallel "$(nproc)"
