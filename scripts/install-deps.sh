#!/usr/bin/env bash
# Installs every Debian package Gaugery needs to build, test and run. Idempotent: when
# everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
  # build
  build-essential cmake make pkg-config git dpkg-dev ccache
  # libraries
  libicu-dev nlohmann-json3-dev qt6-base-dev
  # Asio and Beast (header-only) of the HTTP server and client, on Linux and Windows
  libboost1.81-dev
  # the gzip answers of `gaugery serve`, and the HTTP client its tests scrape it with
  libcpp-httplib-dev zlib1g-dev
  # zlib of the Windows builds (counter logs)
  libz-mingw-w64-dev
  # tests, benchmarks, fuzzing; ip makes the veth pair of the network tests; locale
  # sources for the tests of locale-dependent output
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev iproute2 locales
  # the Prometheus server that scrapes `gaugery serve` in the end-to-end test
  prometheus
  # cross builds for Windows, and Wine to run their tests (32-bit Wine needs i386)
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 wine32:i386
  # Wine's own fonts: without them window captions draw their buttons as letters
  fonts-wine
  # a virtual display for brindle.exe's windows under Wine, and the screenshot's tools
  xvfb xauth imagemagick x11-utils
  # peers of the benchmark script, and the process table they read
  procps python3 python3-psutil
  # the web view of `gaugery serve`, tested and pictured in a headless browser
  chromium chromium-driver python3-selenium
  # the exporters that bench/exporters.sh runs beside `gaugery serve`, and its scraper
  prometheus-process-exporter prometheus-node-exporter curl
  # fonts the example program asks for
  fonts-liberation fontconfig
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
# The exporters' packages would start their services: bench/exporters.sh runs the binaries
# itself, so a policy refuses every service start during the installation and the
# services are left disabled.
exporter_services=(prometheus-process-exporter prometheus-node-exporter)
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
  $sudo chmod +x "$policy"
  trap '$sudo rm -f "$policy"' EXIT
fi
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
if command -v deb-systemd-helper >/dev/null; then
  for service in "${exporter_services[@]}"; do
    $sudo deb-systemd-helper disable "$service.service" 2>/dev/null || true
  done
fi
