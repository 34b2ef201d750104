#!/usr/bin/env bash
# Makes sure the Debian packages the build needs are installed.
# As root it installs the missing ones with apt-get; as anyone else it prints
# the one apt-get line to run and fails, so that nothing half-builds.
set -euo pipefail

# The build, then what the checks of the installation and the package run:
# desktop-file-validate, appstreamcli, lintian, and dpkg-shlibdeps with file for CPack;
# libinih-dev and pkg-config for the reference reader of the benchmarks;
# clang and its sanitizer and fuzzer runtimes for make check; clang-format for the format test;
# acl (setfacl) for the saver's tests.
packages=(g++ cmake ninja-build make qt6-base-dev qt6-qpa-plugins libgl-dev libbenchmark-dev
          desktop-file-utils appstream lintian dpkg-dev file libinih-dev pkg-config
          clang libclang-rt-14-dev clang-format util-linux acl)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing Debian packages. Run this once, then try again:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
