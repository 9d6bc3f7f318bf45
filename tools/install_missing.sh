# Sourced by run.sh and package.sh: `install_missing WHO PACKAGE...` installs the Debian packages
# of the list that are missing, with sudo when not root; WHO names the caller in its messages.
install_missing() {
    local who=$1 missing=() sudo=()
    shift
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || {
            echo "$who: missing packages: ${missing[*]} (install them with apt-get as root)" >&2
            return 1
        }
        sudo=(sudo)
    fi
    echo "$who: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}
