#!/usr/bin/env python3
"""Brindle's MSI packages as a user installs them: Wine's msiexec in a Wine prefix of their own
(.wine/msi, created on first use), on the tests' display. One scenario per run, each from a
prefix without Brindle; what it finds wrong is printed and makes the exit code 1."""
import argparse
import filecmp
import glob
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'support'))
from wine_prefix import Failures, WinePrefix, windows_path  # noqa: E402

INSTALL_DIR = r'C:\Program Files\Marbeck\Brindle'
UNINSTALL_KEY = r'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
CATALOG_ENTRY = r'HKLM\SOFTWARE\Marbeck\Quillon\PackageTestApp'
RECENT_KEY = r'HKCU\Software\Marbeck\Quillon\RecentApplication'
WINDOW_STATE_KEY = r'HKCU\Software\Marbeck\Quillon\WindowState'


class Prefix(WinePrefix):
    """The package tests' Wine: never the shared test prefix."""

    def __init__(self, build):
        super().__init__(build, 'msi')

    def host(self, path):
        """Where a file of drive C: lies on the host."""
        assert path[:3].upper() == 'C:\\'
        return os.path.join(self.path, 'drive_c', *path[3:].split('\\'))

    def msiexec(self, *args):
        return self.wine('msiexec', *args)[0]

    def reg_values(self, key):
        """The values of one key as {name: text}; None when the key is missing."""
        rc, out = self.wine('reg', 'query', key)
        if rc != 0:
            return None
        values = {}
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith('REG_'):
                values[parts[0]] = parts[2] if len(parts) == 3 else ''
        return values

    def installed_products(self, product, maker):
        """(product code, DisplayVersion) of every installed-programs entry of Brindle."""
        rc, out = self.wine('reg', 'query', UNINSTALL_KEY, '/s')
        entries, key = {}, None
        for line in out.splitlines():
            if line.startswith('HKEY_'):
                key = line.rsplit('\\', 1)[-1]
                entries[key] = {}
            elif key and line.strip():
                parts = line.strip().split(None, 2)
                if len(parts) == 3:
                    entries[key][parts[0]] = parts[2]
        return sorted((code, v.get('DisplayVersion')) for code, v in entries.items()
                      if v.get('DisplayName') == product and v.get('Publisher') == maker)


class Scenario:
    def __init__(self, options):
        self.o = options
        self.f = Failures()
        self.prefix = Prefix(options.build)
        self.msi = {lang: os.path.join(options.build, f'Brindle-{options.version}-{lang}.msi')
                    for lang in ('en', 'de')}
        with open(os.path.join(options.build, 'package', 'installed-files.txt')) as names:
            self.files = [n.strip() for n in names if n.strip()]

    # ---- what the scenarios look at

    def products(self):
        return self.prefix.installed_products(self.o.product, self.o.maker)

    def shortcuts(self):
        programs = os.path.join('Microsoft', 'Windows', 'Start Menu', 'Programs', 'Brindle.lnk')
        drive = os.path.join(self.prefix.path, 'drive_c')
        # Windows puts a per-machine package's shortcut into the common Start menu; Wine's
        # msiexec into the installing user's.
        return (glob.glob(os.path.join(drive, 'ProgramData', programs)) +
                glob.glob(os.path.join(drive, 'users', '*', 'AppData', 'Roaming', programs)))

    def build_file(self, name, lang):
        if name == 'QclRes.dll' and lang != 'en':
            return os.path.join(self.o.build, 'bin', lang, name)
        return os.path.join(self.o.build, 'bin', name)

    def expect_installed(self, version, lang, label):
        f = self.f
        products = self.products()
        f.check([v for _, v in products] == [version],
                f'{label}: one installed Brindle at {version}, found {products}')
        for name in ('Brindle.exe', 'QclRes.dll', 'BrindleCatalog.exe'):
            f.check(name in self.files, f'{label}: the package lists {name}')
        for name in self.files:
            installed = self.prefix.host(INSTALL_DIR + '\\' + name)
            if f.check(os.path.isfile(installed), f'{label}: {name} installed'):
                f.check(filecmp.cmp(installed, self.build_file(name, lang), shallow=False),
                        f'{label}: installed {name} is the build\'s ({lang})')
        links = self.shortcuts()
        if f.check(len(links) == 1, f'{label}: one Start-menu shortcut "Brindle", found {links}'):
            with open(links[0], 'rb') as link:
                target = link.read()
            f.check(b'Brindle.exe' in target or 'Brindle.exe'.encode('utf-16-le') in target,
                    f'{label}: the shortcut starts Brindle.exe')

    def expect_removed(self, label):
        f = self.f
        f.check(self.products() == [], f'{label}: no Brindle installed, found {self.products()}')
        f.check(not os.path.exists(self.prefix.host(INSTALL_DIR)), f'{label}: {INSTALL_DIR} is gone')
        f.check(not os.path.exists(self.prefix.host(r'C:\Program Files\Marbeck')),
                f'{label}: the maker folder the package made is gone')
        f.check(self.shortcuts() == [], f'{label}: the shortcut is gone')

    def install(self, msi):
        return self.prefix.msiexec('/i', windows_path(msi), '/qn')

    def install_with_ui(self, msi):
        """Installs with the installer's own dialogs; when it refuses, reads and answers the
        message box it shows. Returns (exit code, the box's texts)."""
        installer = self.prefix.start('msiexec', '/i', windows_path(msi))
        # Wine's installer captions its box "Install Failed" (Windows: the product name).
        _, texts = self.prefix.wine(os.path.join(self.o.build, 'bin', 'message_box_text.exe'),
                                    'Install Failed', '30000')
        try:
            return installer.wait(timeout=60), texts
        except subprocess.TimeoutExpired:
            installer.kill()
            return None, texts

    def run_and_halt(self, label):
        """The installed Brindle starts from the install folder; Brindle.exe /halt ends it."""
        f = self.f
        exe = INSTALL_DIR + r'\Brindle.exe'
        process = self.prefix.start(exe)
        window = ''
        for _ in range(150):
            found = subprocess.run(['xdotool', 'search', '--name', '^Brindle$'], env=self.prefix.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            window = found.stdout.strip()
            if window or process.poll() is not None:
                break
            time.sleep(0.2)
        if not f.check(window and process.poll() is None, f'{label}: Brindle\'s window "Brindle" appears'):
            process.kill()
            return
        rc, _ = self.prefix.wine(exe, '/halt')
        f.check(rc == 0, f'{label}: Brindle.exe /halt ends with 0, got {rc}')
        try:
            f.check(process.wait(timeout=20) == 0, f'{label}: the running Brindle ends with 0')
        except subprocess.TimeoutExpired:
            f.check(False, f'{label}: the running Brindle ends after /halt')
            process.kill()

    # ---- set-up and clean-up

    def remove_every_brindle(self):
        for code, _ in self.products():
            self.prefix.msiexec('/x', code, '/qn')
        for key in (r'HKLM\SOFTWARE\Marbeck', r'HKCU\Software\Marbeck'):
            self.prefix.wine('reg', 'delete', key, '/f')

    def plant_user_and_maker_data(self):
        """A registered catalogue entry and a user's recent list, which no package owns."""
        w = self.prefix.wine
        w('reg', 'add', CATALOG_ENTRY, '/v', 'AppName', '/d', 'Package Test', '/f')
        w('reg', 'add', CATALOG_ENTRY, '/v', 'AppPath', '/d', r'C:\windows\notepad.exe', '/f')
        w('reg', 'add', CATALOG_ENTRY, '/v', 'Category', '/t', 'REG_DWORD', '/d', '1', '/f')
        w('reg', 'add', RECENT_KEY, '/v', 'Name0', '/d', 'PackageTestApp', '/f')
        w('reg', 'add', RECENT_KEY, '/v', 'Time0', '/t', 'REG_DWORD', '/d', '1700000000', '/f')

    def expect_user_and_maker_data(self, label):
        catalog = self.prefix.reg_values(CATALOG_ENTRY) or {}
        recent = self.prefix.reg_values(RECENT_KEY) or {}
        self.f.check(catalog.get('AppName') == 'Package Test' and catalog.get('Category') == '0x1',
                     f'{label}: the catalogue entry is intact: {catalog}')
        self.f.check(recent.get('Name0') == 'PackageTestApp' and recent.get('Time0') == '0x6553f100',
                     f'{label}: the recent list is intact: {recent}')

    # ---- the scenarios

    def InstallRunReinstallUninstall(self):
        f, en = self.f, self.msi['en']
        self.plant_user_and_maker_data()
        f.check(self.install(en) == 0, 'silent install ends with 0')
        self.expect_installed(self.o.version, 'en', 'installed')
        self.run_and_halt('installed')
        f.check(self.prefix.reg_values(WINDOW_STATE_KEY) is not None, 'Brindle saved its window state')

        before = self.products()
        f.check(self.install(en) == 0, 'installing the same package again ends with 0')
        f.check(self.products() == before, 'installing the same package again keeps the same product')
        self.expect_installed(self.o.version, 'en', 'installed again')

        f.check(self.prefix.msiexec('/x', windows_path(en), '/qn') == 0, 'silent uninstall ends with 0')
        self.expect_removed('uninstalled')
        self.expect_user_and_maker_data('uninstalled')
        f.check(self.prefix.reg_values(WINDOW_STATE_KEY) is not None, 'uninstalled: the window state stays')

    def UpgradeAndDowngrade(self):
        f, en, lower = self.f, self.msi['en'], self.o.lower
        lower_version = os.path.basename(lower).split('-')[1]
        self.plant_user_and_maker_data()
        f.check(self.install(lower) == 0, f'installing {lower_version} ends with 0')
        f.check([v for _, v in self.products()] == [lower_version], f'{lower_version} is installed')

        f.check(self.install(en) == 0, f'upgrading to {self.o.version} ends with 0')
        self.expect_installed(self.o.version, 'en', 'upgraded')
        self.expect_user_and_maker_data('upgraded')

        # Refused: msiexec ends with 1603 (Windows) or its low byte (Wine's exit code).
        rc = self.install(lower)
        f.check(rc in (1603, 1603 & 0xFF), f'installing {lower_version} over {self.o.version} is refused, got {rc}')
        rc, texts = self.install_with_ui(lower)
        f.check(rc in (1603, 1603 & 0xFF), f'installing {lower_version} with its dialogs is refused, got {rc}')
        f.check(f'A newer version of {self.o.product} is already installed.' in texts,
                f'the refusal tells why: {texts!r}')
        self.expect_installed(self.o.version, 'en', 'after the refused downgrades')

        f.check(self.prefix.msiexec('/x', windows_path(en), '/qn') == 0, 'silent uninstall ends with 0')
        self.expect_removed('uninstalled')

    def GermanPackage(self):
        f = self.f
        f.check(self.install(self.msi['en']) == 0, 'installing the English package ends with 0')
        # Same version, other language: the German package takes the English one's place.
        f.check(self.install(self.msi['de']) == 0, 'installing the German package over it ends with 0')
        self.expect_installed(self.o.version, 'de', 'German')
        f.check(not filecmp.cmp(self.build_file('QclRes.dll', 'de'), self.build_file('QclRes.dll', 'en'),
                                shallow=False), 'the German library differs from the English one')
        self.run_and_halt('German')  # the window's title stays "Brindle"
        f.check(self.prefix.msiexec('/x', windows_path(self.msi['de']), '/qn') == 0, 'silent uninstall ends with 0')
        self.expect_removed('German uninstalled')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('scenario', choices=['InstallRunReinstallUninstall', 'UpgradeAndDowngrade',
                                             'GermanPackage'])
    parser.add_argument('--build', required=True)
    parser.add_argument('--version', required=True)
    parser.add_argument('--lower', required=True, help='a package of a lower version')
    parser.add_argument('--product', required=True)
    parser.add_argument('--maker', required=True)
    options = parser.parse_args()

    scenario = Scenario(options)
    scenario.prefix.up()
    try:
        scenario.remove_every_brindle()
        getattr(scenario, options.scenario)()
    finally:
        scenario.remove_every_brindle()
        scenario.prefix.down()
    failures = scenario.f.messages
    print(f'{options.scenario}: {len(failures)} failure(s)')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
