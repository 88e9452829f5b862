#!/usr/bin/env bash
# package-windows.sh BUILD QT HUNSPELL: gathers what the Windows program needs into BUILD/deploy
# (the programs, Qt's DLLs and platform plugin, the compiler's run-time DLLs, the en_GB dictionary
# and every licence notice), without debug sections, and builds BUILD/MonitorForm.msi from it
# (scripts/make-msi.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd) qt=$2 hunspell=$3
deploy=$build/deploy
runtime=/usr/lib/gcc/x86_64-w64-mingw32/12-posix

rm -rf "$deploy"
mkdir -p "$deploy/platforms" "$deploy/styles" "$deploy/dictionaries" \
    "$deploy/licenses/qt" "$deploy/licenses/hunspell" "$deploy/licenses/en_GB-dictionary" \
    "$deploy/licenses/mingw-w64-runtime"
cp "$build/app/MonitorForm.exe" "$build/tools/monitorfhi/monitorfhi.exe" "$deploy/"
for module in Core Gui Widgets PrintSupport; do
    cp "$qt/bin/Qt6$module.dll" "$deploy/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$deploy/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$deploy/styles/"
cp "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$deploy/"
cp /usr/share/hunspell/en_GB.aff /usr/share/hunspell/en_GB.dic "$deploy/dictionaries/"

cp -r "$qt/licenses/." "$deploy/licenses/qt/"
cp "$hunspell"/COPYING "$hunspell"/COPYING.LESSER "$hunspell"/COPYING.MPL \
    "$hunspell"/license.hunspell "$hunspell"/license.myspell "$deploy/licenses/hunspell/"
cp /usr/share/doc/hunspell-en-gb/copyright "$deploy/licenses/en_GB-dictionary/copyright.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$deploy/licenses/mingw-w64-runtime/gcc-copyright.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$deploy/licenses/mingw-w64-runtime/winpthreads-copyright.txt"
cp "$root/packaging/windows/NOTICE.txt" "$deploy/licenses/"

# Neither debug sections (the compiler's run-time DLLs carry them) nor symbol tables go into the
# package: the DLLs' exports are tables of their own. BUILD keeps the programs unstripped.
find "$deploy" \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-all {} +

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
"$root/scripts/make-msi.sh" "$deploy" "$version" "$build/MonitorForm.msi"
echo "$build/MonitorForm.msi"
