# Debian packages the project needs to build and test, and a function that
# installs the ones that are missing. Sourced by the run and test scripts.

OSTRAC_PACKAGES=(
  build-essential cmake bison libedit-dev
  libopenblas-dev
  libgtest-dev libgmock-dev libbenchmark-dev python3
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev qt6-qpa-plugins fonts-dejavu-core
)

ostrac_install_missing() {
  local missing=()
  for pkg in "${OSTRAC_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
