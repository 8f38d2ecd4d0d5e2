# Sourced: the Wine environment of the project (its own 32-bit prefix, quiet, one display).
BRINDLE_ROOT=${BRINDLE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEARCH=win32
export WINEPREFIX=${BRINDLE_WINEPREFIX:-$BRINDLE_ROOT/.wine/test}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export DISPLAY=${BRINDLE_DISPLAY:-:97}
