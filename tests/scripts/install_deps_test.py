#!/usr/bin/env python3
"""scripts/install-deps.sh against stand-ins for apt-get, dpkg and dpkg-query: a failed index
update does not stop it, a failed install is retried once against the release's own suites
without the security suite, and a second failure ends with a clear message."""
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SCRIPT = ROOT / 'scripts' / 'install-deps.sh'

# Records every call; fails the update or the install as STUB_FAIL says
# (update, install, install-once: only the install without a sources list of its own).
APT_GET = r'''#!/usr/bin/env bash
echo "apt-get $*" >> "$STUB_LOG"
for a in "$@"; do case $a in Dir::Etc::sourcelist=*) cat "${a#*=}" >> "$STUB_LOG";; esac; done
custom=0; case "$*" in *Dir::Etc::sourcelist=*) custom=1;; esac
case " $* " in
  *" update "*) [[ $STUB_FAIL == *update* && $custom == 0 ]] && exit 100 ;;
  *" install "*) [[ $STUB_FAIL == *install-always* ]] && exit 100
                 [[ $STUB_FAIL == *install-once* && $custom == 0 ]] && exit 100 ;;
esac
exit 0
'''
DPKG = '#!/usr/bin/env bash\necho i386\n'
DPKG_QUERY = '#!/usr/bin/env bash\n[ "$STUB_INSTALLED" = 1 ] && echo "install ok installed"\nexit 0\n'
ID = '#!/usr/bin/env bash\necho 0\n'
SOURCES = '''Types: deb
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main
'''


class InstallDeps(unittest.TestCase):
    def run_script(self, fail='', installed='0'):
        tmp = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        bin_dir = tmp / 'bin'
        bin_dir.mkdir()
        for name, text in (('apt-get', APT_GET), ('dpkg', DPKG), ('dpkg-query', DPKG_QUERY), ('id', ID)):
            (bin_dir / name).write_text(text)
            (bin_dir / name).chmod(0o755)
        etc = tmp / 'etc'
        (etc / 'apt' / 'sources.list.d').mkdir(parents=True)
        (etc / 'apt' / 'sources.list.d' / 'debian.sources').write_text(SOURCES)
        (etc / 'os-release').write_text('ID=debian\nVERSION_CODENAME=bookworm\n')
        log = tmp / 'log'
        log.touch()
        env = dict(os.environ, PATH=f'{bin_dir}:{os.environ["PATH"]}', BRINDLE_APT_ETC=str(etc),
                   STUB_LOG=str(log), STUB_FAIL=fail, STUB_INSTALLED=installed)
        done = subprocess.run(['bash', str(SCRIPT)], env=env, capture_output=True, text=True, timeout=60)
        return done, log.read_text().splitlines()

    def test_table(self):
        # (what fails, exit code, apt-get calls as "verb:own-sources", text on stderr)
        cases = [
            ('', 0, ['update:0', 'install:0'], ''),
            ('update', 0, ['update:0', 'install:0'], 'going on'),
            ('install-once', 0, ['update:0', 'install:0', 'update:1', 'install:1'], 'retrying once'),
            ('update install-once', 0, ['update:0', 'install:0', 'update:1', 'install:1'], 'retrying once'),
            ('install-always', 1, ['update:0', 'install:0', 'update:1', 'install:1'], 'could not install'),
        ]
        for fail, code, calls, message in cases:
            with self.subTest(fail=fail):
                done, log = self.run_script(fail)
                self.assertEqual(done.returncode, code, done.stderr)
                seen = [('update' if ' update' in l else 'install') + ':' + str(int('sourcelist=' in l))
                        for l in log if l.startswith('apt-get')]
                self.assertEqual(seen, calls)
                self.assertIn(message, done.stderr)
                if 'update:1' in calls:
                    # The retry's own list: the release and its updates from the main archive, no security.
                    self.assertIn('deb http://mirror.example/debian bookworm main', log)
                    self.assertIn('deb http://mirror.example/debian bookworm-updates main', log)
                    self.assertFalse([l for l in log if l.startswith('deb') and 'security' in l])

    def test_nothing_missing_calls_no_apt(self):
        done, log = self.run_script(installed='1')
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(log, [])


if __name__ == '__main__':
    sys.exit(unittest.main())
