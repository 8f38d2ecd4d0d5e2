#!/usr/bin/env bash
# CTest's emulator: runs one Windows program of the build under the project's Wine.
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
