#!/usr/bin/env bash
# Stops the project's Wine processes and the Xvfb that wine-up.sh started.
source "$(dirname "$0")/wine-env.sh"
wineserver -k 2>/dev/null || true
pkill -f "Xvfb $DISPLAY" 2>/dev/null || true
