# Debian package installation for the set-up scripts; sourced, not run.
# The caller lists its packages in the array PACKAGES.

# Prints each package of PACKAGES that is not installed, one a line.
missing_packages() {
    local package
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

# Sets the array as_root to what runs a command as root (nothing when this
# is root, otherwise sudo); ends the calling script, named by $1, when
# neither is possible.
find_as_root() {
    as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || {
            echo "$1: run as root (or install sudo) to install packages" >&2
            exit 1
        }
        as_root=(sudo)
    fi
}

# Installs PACKAGES with apt-get through as_root (see find_as_root), waiting
# for another installation's lock; the arguments are further options of
# apt-get install. apt-get's output goes to standard error.
install_packages() {
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update >&2
    "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y "$@" "${PACKAGES[@]}" >&2
}
