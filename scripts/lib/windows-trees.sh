# The Windows build trees; sourced, not run.

# The build tree of one architecture (i686 or x86_64).
windows_build_tree() {
    case "$1" in
    x86_64) echo build-windows ;;
    *) echo "build-windows-$1" ;;
    esac
}

# The architectures to build and test: TESSARON_WINDOWS_ARCHS, or both.
windows_archs() {
    echo "${TESSARON_WINDOWS_ARCHS:-i686 x86_64}"
}
