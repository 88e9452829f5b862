#!/usr/bin/env bash
# debian-source.sh PACKAGE INSTALLED-BINARY FOLDER: unpacks Debian's source of PACKAGE, at the
# version of the installed INSTALLED-BINARY, into FOLDER (its upstream tarball only) and prints
# the unpacked folder. Uses a sources list of its own, so the system's apt set-up is left alone.
set -euo pipefail

package=$1 binary=$2 folder=$3
mkdir -p "$folder/apt-lists/partial" "$folder/apt-sources" "$folder/apt-cache"
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
echo "deb-src http://deb.debian.org/debian $suite main" >"$folder/apt-sources/debian-src.list"
apt_options=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$folder/apt-sources"
    -o Dir::State::Lists="$folder/apt-lists" -o Dir::Cache="$folder/apt-cache"
    -o APT::Sandbox::User="$(id -un)")
version=$(dpkg-query -W -f='${source:Version}' "$binary")
apt-get "${apt_options[@]}" update -qq
(cd "$folder" && apt-get "${apt_options[@]}" -qq source --download-only "$package=$version" >/dev/null)
upstream=${version%-*}
upstream=${upstream#*:}
tarball=$(ls "$folder/${package}_${upstream}".orig.tar.*)
top=$(tar -tf "$tarball" | awk -F/ 'NR == 1 { print $1 }')
tar -C "$folder" -xf "$tarball"
rm -rf "$folder/apt-lists" "$folder/apt-sources" "$folder/apt-cache" "$folder/${package}_"*
echo "$folder/$top"
