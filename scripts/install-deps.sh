#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only when one is missing,
# so that a configured machine starts building at once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libpng-dev
  libcairo2-dev fonts-dejavu-core fonts-dejavu-extra
  libsdl2-dev libfreetype-dev libfontconfig-dev libsodium-dev fonts-wine fonts-liberation
  nlohmann-json3-dev python3
  xvfb xdotool x11-utils jq socat
  desktop-file-utils appstream groff-base gzip
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# SQLCipher 4.5 or newer, and its shell. Debian 12 ships 3.4; its backports suite has 4.x, taken
# from the mirror the system already uses, for these two packages only.
cipher_ok() {
  local v
  v=$(dpkg-query -W -f='${Version}' libsqlcipher-dev 2>/dev/null) || return 1
  dpkg --compare-versions "$v" ge 4.5 && command -v sqlcipher >/dev/null
}
cipher_ok && exit 0
# The mirror that serves the system's own "bookworm" suite, from either format of apt's sources.
debian_mirror() {
  python3 - <<'PY'
import glob, re
files = glob.glob("/etc/apt/sources.list") + glob.glob("/etc/apt/sources.list.d/*.list")
for f in files:
    for line in open(f):
        m = re.match(r"\s*deb\s+(?:\[[^\]]*\]\s+)?(\S+)\s+bookworm\s", line)
        if m:
            print(m.group(1)); raise SystemExit
for f in glob.glob("/etc/apt/sources.list.d/*.sources"):
    for stanza in open(f).read().split("\n\n"):
        fields = dict(re.findall(r"^([A-Za-z-]+):\s*(.*)$", stanza, re.M))
        if "bookworm" in fields.get("Suites", "").split() and "URIs" in fields:
            print(fields["URIs"].split()[0]); raise SystemExit
PY
}
suite=()
if [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = bookworm ]; then
  list=/etc/apt/sources.list.d/calvira-bookworm-backports.list
  if ! grep -rqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    mirror=$(debian_mirror)
    [ -n "$mirror" ] || { echo "No Debian mirror found in the apt sources" >&2; exit 1; }
    echo "Enabling bookworm-backports from $mirror for SQLCipher 4"
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    options=""
    [ -f "$keyring" ] && options="[signed-by=$keyring] "
    echo "deb ${options}$mirror bookworm-backports main" | $sudo tee "$list" >/dev/null
  fi
  suite=(-t bookworm-backports)
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${suite[@]}" libsqlcipher-dev sqlcipher
cipher_ok || { echo "SQLCipher 4.5 or newer could not be installed" >&2; exit 1; }
