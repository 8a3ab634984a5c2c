# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Shell helpers shared by the project's scripts; sourced, not run.

# install_missing PACKAGE...: installs those of the given Debian packages that are missing.
install_missing() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    ((${#missing[@]})) || return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends \
        "${missing[@]}"
}

# wait_until SECONDS COMMAND...: runs the command every 0.1 s until it succeeds.
wait_until() {
    local limit=$(($1 * 10)) i
    shift
    for ((i = 0; i < limit; i++)); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    return 1
}
