"""A Wine prefix of a host-driven test's own (never the shared test prefix), on the tests'
display: brought up with the project's scripts, taken down again so that its desktop leaves the
display to the GUI tests."""
import os
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def windows_path(host_path):
    """A host file as Wine's programs name it (drive Z: is the host's root)."""
    return 'Z:' + os.path.abspath(host_path).replace('/', '\\')


class Failures:
    def __init__(self):
        self.messages = []

    def check(self, condition, message):
        if not condition:
            self.messages.append(message)
            print('FAILED: ' + message, flush=True)
        return condition


class WinePrefix:
    def __init__(self, build, name):
        self.build = build
        self.path = os.path.join(ROOT, '.wine', name)
        self.env = dict(os.environ)
        self.env['BRINDLE_WINEPREFIX'] = self.path
        self.env.setdefault('BRINDLE_DISPLAY', ':97')
        # No desktop entries on the host for shortcuts.
        self.env['WINEDLLOVERRIDES'] = 'winemenubuilder.exe=d;mscoree,mshtml='
        self.env['WINEARCH'] = 'win32'
        self.env['WINEPREFIX'] = self.path
        self.env['WINEDEBUG'] = '-all'
        self.env['DISPLAY'] = self.env['BRINDLE_DISPLAY']

    def up(self):
        # Detached from our pipes, like every Wine process here: a service that inherits
        # CTest's pipe keeps CTest waiting.
        subprocess.run([os.path.join(ROOT, 'scripts', 'wine-up.sh'),
                        os.path.join(self.build, 'bin', 'desktop_holder.exe')],
                       env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)

    def down(self):
        # Its desktop must be gone before the next test: a second Wine desktop on the display
        # takes the X input focus, and the tests' Wine then cannot move the pointer.
        for option in ('-k', '-w'):
            subprocess.run(['wineserver', option], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def wine(self, *args, timeout=120, cwd=None):
        """Runs a Windows program to its end; returns (exit code, its output)."""
        with tempfile.TemporaryFile() as out:
            rc = subprocess.run(['wine', *args], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=subprocess.DEVNULL, timeout=timeout,
                                start_new_session=True, cwd=cwd).returncode
            out.seek(0)
            return rc, out.read().decode('utf-8', 'replace').replace('\r', '')

    def start(self, *args):
        return subprocess.Popen(['wine', *args], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                start_new_session=True)
