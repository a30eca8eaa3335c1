# pugixml's source, from Debian's source package; sourced, not run. Needs
# as_root (packages.sh's find_as_root) for adding the source lists.

# Unpacks Debian's source package of pugixml into the folder $1 unless one
# is there already, and prints the source folder (holding src/pugixml.cpp).
# Source packages come from the same Debian mirrors as the binaries; their
# list is added when apt has none. Fails when the source cannot be had.
pugixml_source() {
    local deps=$1 found list
    found=$(find "$deps" -maxdepth 3 -path '*/src/pugixml.cpp' 2>/dev/null | head -n 1 || true)
    if [ -z "$found" ]; then
        if ! apt-get source --print-uris pugixml >/dev/null 2>&1; then
            list=/etc/apt/sources.list.d/tessaron-deb-src.sources
            sed -n 's/^Types: deb$/Types: deb-src/p; /^Types:/!p' /etc/apt/sources.list.d/debian.sources \
                | "${as_root[@]}" tee "$list" >/dev/null
            "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update >&2
        fi
        mkdir -p "$deps"
        (cd "$deps" && apt-get source pugixml >&2)
        found=$(find "$deps" -maxdepth 3 -path '*/src/pugixml.cpp' | head -n 1)
    fi
    [ -n "$found" ] || return 1
    dirname "$(dirname "$found")"
}
