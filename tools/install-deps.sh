#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages of the named lists in tools/deps/ (default:
# runtime, build and qt6) that are missing. Idempotent and quiet when nothing is
# missing.
set -eu
here=$(dirname "$0")
[ $# -gt 0 ] || set -- runtime build qt6
lists=""
for name in "$@"; do lists="$lists $here/deps/$name.list"; done
# shellcheck disable=SC2086
wanted=$(cat $lists | sed 's/#.*//' | tr -s ' \t' '\n\n' | sed '/^$/d' | sort -u)
missing=""
for p in $wanted; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *) missing="$missing $p" ;;
    esac
done
[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        SUDO=sudo
    else
        echo "Please install these packages as root:$missing" >&2
        exit 1
    fi
else
    SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q >/dev/null
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing >/dev/null
