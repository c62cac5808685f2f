#!/usr/bin/env bash
# Installs a build into a temporary prefix (as `cmake --install` does for a package) and
# starts the installed programs there (installed-start.sh).
#   install-and-start.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(dirname "$0")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
"$here/installed-start.sh" "$prefix"
