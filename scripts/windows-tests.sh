#!/usr/bin/env bash
# The Windows program, built here and tried under Wine: builds it (scripts/build-windows.sh: Qt
# and Hunspell for Windows are built once per machine and cached), runs the Windows layer's tests
# (scripts/wine-tests.sh), the end-to-end test of the form on an X display of its own, and the
# installer's test. Exits non-zero on any failure.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_WINDOWS_BUILD_DIR:-$root/build-windows}

MONITOR_WINDOWS_BUILD_DIR=$build "$root/scripts/build-windows.sh"
MONITOR_WINDOWS_LAYER_BUILD_DIR=$build/layer-tests "$root/scripts/wine-tests.sh"
echo "== The form end to end under Wine"
"$root/tests/windows/e2e/form-e2e.sh" "$build"
echo "== The installer under Wine"
"$root/tests/windows/e2e/msi-test.sh" "$build"
echo "Windows tests passed; the form's screenshot: $build/e2e/monitor-form-wine.png"
