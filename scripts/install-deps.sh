#!/usr/bin/env bash
# Installs what Tivelor needs to build, test and run on Debian 12.
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-qpa-plugins fonts-liberation clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
# Another install may hold the package manager's locks: wait for it (up to
# ten minutes) rather than fail.
wait_lock=(-o DPkg::Lock::Timeout=600)
apt_get() {
  local tries=120 log
  log=$(mktemp)
  while ! $SUDO env DEBIAN_FRONTEND=noninteractive apt-get "${wait_lock[@]}" "$@" 2>"$log"; do
    if grep -qiE "could not get lock|unable to acquire|another process" "$log" && [ $((--tries)) -gt 0 ]; then
      sleep 5
    else
      cat "$log" >&2
      rm -f "$log"
      return 1
    fi
  done
  rm -f "$log"
}
apt_get update -qq
apt_get install -y -qq "${missing[@]}"
