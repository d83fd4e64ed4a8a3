# Shared by run.sh and test.sh: installs what is missing, then configures and builds.
# Sourced, not run; expects ROOT to be the checkout.

ORVANTA_PACKAGES=(cmake g++ make qt6-base-dev qt6-serialport-dev libgl-dev fonts-dejavu-core
                  libbenchmark-dev xvfb xauth xdotool
                  cups printer-driver-cups-pdf poppler-utils fonts-liberation2
                  desktop-file-utils groff-base clang-format
                  ser2net libtelnet-dev systemd)

orvanta_install() {
    local missing=()
    for package in "${ORVANTA_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install ${missing[*]}" >&2; return 1; }
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y --no-install-recommends "${missing[@]}" \
        || { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }
}

# Qt wants a private runtime folder; a fresh machine or a CI shell may have none.
orvanta_runtime_dir() {
    if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
        XDG_RUNTIME_DIR="$(mktemp -d /tmp/orvanta-runtime.XXXXXX)"
    fi
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
}

orvanta_build() {
    local build="$ROOT/build"
    # ORVANTA_WERROR=ON (as CI sets it) turns every warning into an error.
    cmake -S "$ROOT" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORVANTA_WERROR="${ORVANTA_WERROR:-OFF}" >/dev/null || return 1
    cmake --build "$build" -j"$(nproc)" || return 1
}

# A folder holding what the program reads beside it: the help file and the graticules.
orvanta_workdir() {
    local work="$ROOT/build/work"
    mkdir -p "$work"
    [ -f "$ROOT/data/orva.hlp" ] && cp -f "$ROOT/data/orva.hlp" "$work/"
    if [ -d "$ROOT/data/graticules" ]; then
        mkdir -p "$work/graticules"
        cp -f "$ROOT"/data/graticules/*.rle "$work/graticules/" 2>/dev/null
    fi
    echo "$work"
}
