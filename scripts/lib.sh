# Shared by scripts/run and scripts/test: the Debian packages the build needs.
PACKAGES=(g++ cmake ninja-build qtbase5-dev xvfb xauth xdotool imagemagick fonts-wqy-microhei openbox trayer
    qttranslations5-l10n x11-xserver-utils xserver-xorg-core xserver-xorg-video-dummy libfontconfig-dev pkg-config
    libxdamage-dev libxext-dev libxcb1-dev)

install_packages() {
    local missing=()
    local package
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
        "${sudo[@]}" apt-get update
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

build_jobs() {
    nproc 2>/dev/null || echo 2
}
