#!/usr/bin/env python3
"""The main dialog at 96, 120, 144 and 192 DPI, as Wine's LogPixels sets them: dpi_probe.exe
measures the page, its images and the About box once per DPI, in a Wine prefix of this test's own
(.wine/dpi, created on first use); every figure must be the 96-DPI one scaled, within a pixel.
The prefix is put back to 96 DPI and taken down at the end. What it finds wrong is printed and
makes the exit code 1."""
import argparse
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'support'))
from wine_prefix import Failures, WinePrefix, windows_path  # noqa: E402

DPIS = (96, 120, 144, 192)
DESKTOP_KEY = r'HKCU\Control Panel\Desktop'
DESKTOP_SIZE = '1280x1024'  # the display's size: the window fits at 192 DPI


def scaled(pixels, dpi):
    """A 96-DPI length at `dpi`, rounded to the nearest pixel as the program does (MulDiv)."""
    return (pixels * dpi + 48) // 96


def near(a, b):
    return abs(a - b) <= 1


class DpiPrefix(WinePrefix):
    def __init__(self, build):
        super().__init__(build, 'dpi')

    def set_dpi(self, dpi):
        rc, _ = self.wine('reg', 'add', DESKTOP_KEY, '/v', 'LogPixels', '/t', 'REG_DWORD', '/d', str(dpi), '/f')
        return rc == 0

    def up(self):
        super().up()
        # A desktop as large as the display; the explorer takes a new size only when it starts.
        key = r'HKCU\Software\Wine\Explorer\Desktops'
        _, out = self.wine('reg', 'query', key, '/v', 'Default')
        if DESKTOP_SIZE not in out:
            self.wine('reg', 'add', key, '/v', 'Default', '/d', DESKTOP_SIZE, '/f')
            self.down()
            super().up()


def measure(prefix, dpi, bin_dir):
    """The probe's figures at `dpi`: {name: [values...]} (tab items: a list of them); None on failure."""
    with tempfile.TemporaryDirectory() as scratch:
        out = os.path.join(scratch, 'figures.txt')
        if not prefix.set_dpi(dpi):
            return None
        rc, _ = prefix.wine(os.path.join(bin_dir, 'dpi_probe.exe'), windows_path(out),
                            windows_path(os.path.join(bin_dir, 'fixture_sizes.ico')), cwd=bin_dir, timeout=90)
        if rc != 0 or not os.path.exists(out):
            print(f'dpi_probe.exe at {dpi} DPI ended with {rc}', flush=True)
            return None
        figures = {'tabitem': []}
        with open(out) as f:
            for line in f:
                name, *values = line.split()
                values = [int(v) for v in values]
                if name == 'tabitem':
                    figures['tabitem'].append(values)
                else:
                    figures[name] = values
        return figures


def check(f, dpi, m, base):
    """The figures `m` measured at `dpi` against the 96-DPI ones `base`, scaled."""
    def s(pixels):
        return scaled(pixels, dpi)

    def rect_near(name, expected):
        f.check(all(near(a, b) for a, b in zip(m[name], expected)),
                f'{dpi} DPI: {name} {m[name]}, expected {expected} within a pixel')

    at = f'{dpi} DPI'
    f.check(m['dpi'] == [dpi], f'{at}: the window reports {m["dpi"]} DPI')
    width, height = base['client']
    f.check(near(m['client'][0], s(width)) and near(m['client'][1], s(height)),
            f'{at}: client area {m["client"]}, expected {s(width)} x {s(height)} (96 DPI: {width} x {height})')
    f.check(near(m['page'][1], s(15)), f'{at}: the page stands {m["page"][1]} below the top, expected {s(15)}')
    f.check(len(m['tabitem']) == 3 and all(near(w, s(100)) and near(h, s(22)) for w, h in m['tabitem']),
            f'{at}: tab items {m["tabitem"]}, expected {s(100)} x {s(22)}')
    left, top, right, bottom = m['tabclient']
    rect_near('open', [right - s(215), top + s(68), right - s(115), top + s(90)])
    rect_near('help', [right - s(110), top + s(68), right - s(10), top + s(90)])
    rect_near('view', [left + s(2), top + s(100), right - s(2), bottom - s(2)])
    pane = m['pane']
    band_top, band_bottom = top + s(35), top + s(92)
    f.check(near(pane[0], left + s(10)) and near(pane[2], right - s(225)),
            f'{at}: pane from {pane[0]} to {pane[2]}, expected {left + s(10)} to {right - s(225)}')
    f.check(pane[1] >= band_top - 1 and pane[3] <= band_bottom + 1 and
            near(pane[1] + pane[3], band_top + band_bottom),
            f'{at}: pane {pane[1]}..{pane[3]} not centred in its band {band_top}..{band_bottom}')
    f.check(near(m['fontheight'][0], s(base['fontheight'][0])),
            f'{at}: font {m["fontheight"][0]} pixels high, expected {s(base["fontheight"][0])}')
    f.check(near(m['rowheight'][0], s(22)), f'{at}: tree rows {m["rowheight"][0]} high, expected {s(22)}')
    f.check(near(m['treeimage'][0], s(16)), f'{at}: tree images {m["treeimage"][0]} wide, expected {s(16)}')
    f.check(near(m['listimage'][0], s(32)), f'{at}: list images {m["listimage"][0]} wide, expected {s(32)}')
    f.check(m['treeicon'] == [1] and m['listicon'] == [1],
            f'{at}: the entry icons are not the icon file\'s image for their size '
            f'(tree {m["treeicon"]}, list {m["listicon"]})')
    f.check(m['foldercolours'][0] <= 4,
            f'{at}: the folder picture shows {m["foldercolours"][0]} colours: stretched, not drawn at size')
    about, main = m['about'], m['main']
    f.check(about[0] >= main[0] and about[1] >= main[1] and about[2] <= main[2] and about[3] <= main[3],
            f'{at}: the About box {about} does not fit inside the main window {main}')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', required=True)
    options = parser.parse_args()
    bin_dir = os.path.join(options.build, 'bin')

    prefix = DpiPrefix(options.build)
    prefix.up()
    rows = {}
    try:
        for dpi in DPIS:
            rows[dpi] = measure(prefix, dpi, bin_dir)
    finally:
        prefix.set_dpi(96)
        prefix.down()

    f = Failures()
    if f.check(all(rows.values()), 'the probe ran at every DPI'):
        for dpi in DPIS:
            check(f, dpi, rows[dpi], rows[96])
    print(f'{len(DPIS)} DPIs: {len(f.messages)} failure(s)')
    return 1 if f.messages else 0


if __name__ == '__main__':
    sys.exit(main())
