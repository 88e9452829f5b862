#!/usr/bin/env bash
# make-msi.sh DEPLOY VERSION MSI: builds the installer MSI of the files in DEPLOY at VERSION with
# wixl (packaging/windows/MonitorForm.wxs), then gives its File table the files' own versions.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deploy=$(cd "$1" && pwd) version=$2 msi=$(realpath -m "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/monitor-msi.XXXXXX")
trap 'rm -rf "$work"' EXIT

(cd "$deploy" && find . -type f | sed 's|^\./||' | sort) |
    wixl-heat -p '' --component-group ProgramFiles --var var.DeployDir \
        --directory-ref INSTALLDIR --win64 >"$work/files.wxs"
# wixl takes every source, even an absolute one, relative to where it runs.
(cd "$deploy" && wixl -a x64 -D Version="$version" -D DeployDir=. -D Win64=yes \
    -D IconFile="$(realpath --relative-to="$deploy" "$root/packaging/windows/MonitorForm.ico")" \
    -o "$msi" "$root/packaging/windows/MonitorForm.wxs" "$work/files.wxs")
# wixl leaves the File table's versions empty.
(cd "$work" && msiinfo export "$msi" File >File.idt)
python3 "$root/packaging/windows/file-versions.py" "$work/File.idt" "$work/files.wxs" "$deploy"
(cd "$work" && msibuild "$msi" -i File.idt)
