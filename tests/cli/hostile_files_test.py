#!/usr/bin/python3
"""The command line against what a hostile machine does to files: full and
inode-less disks (private tmpfs mounts, as root), links, files the user may not
write, a signal in the middle of a write, absurd values and control bytes on the
command line, a closed standard output. Each case once failed.

usage: hostile_files_test.py RACKGEN WORK_DIR"""
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

RACKGEN, WORK = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
ENV = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
IS_ROOT = os.geteuid() == 0
CAN_MOUNT = IS_ROOT and shutil.which("unshare") and subprocess.run(
    ["unshare", "-m", "true"], capture_output=True).returncode == 0


def run(*args, cwd=WORK):
    return subprocess.run([RACKGEN, *args], cwd=cwd, env=ENV, capture_output=True, text=True, timeout=120)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def in_tmpfs(options, script):
    """Runs the shell script in a private mount namespace with a tmpfs of those
    options on $M (and rackgen as $R); its standard output and error."""
    mount = f'M=$(mktemp -d) && mount -t tmpfs -o {options} tmpfs "$M" && cd "$M" && R="{RACKGEN}"\n'
    r = subprocess.run(["unshare", "-m", "sh", "-c", mount + script], env=ENV, capture_output=True,
                       text=True, timeout=120)
    return r.stdout, r.stderr


@unittest.skipUnless(CAN_MOUNT, "private tmpfs mounts need root and unshare -m")
class Disks(unittest.TestCase):
    def test_link_to_a_file_on_a_full_disk(self):
        # The target stays whole and the link stays a link.
        out, err = in_tmpfs("size=64k", '$R -z 9 --gear g.svg; cp g.svg /dev/shm/.g$$; ln -s g.svg link.svg\n'
                            'dd if=/dev/zero of=fill bs=4k count=64 2>/dev/null\n'
                            '$R -z 9 --gear link.svg --module 2; echo "rc=$?"\n'
                            'cmp -s g.svg /dev/shm/.g$$ && echo same; rm /dev/shm/.g$$; test -L link.svg && echo link\n'
                            'ls -A')
        self.assertEqual(out.split("\n"), ["rc=1", "same", "link", "fill", "g.svg", "link.svg", ""])
        self.assertIn('cannot write "link.svg": No space left on device', err)

    def test_no_inode_left(self):
        # Rewritten in place when the new contents fit, left as it was when they do not.
        out, err = in_tmpfs("size=80k,nr_inodes=3", '$R -z 9 --gear g.svg; touch a\n'
                            '$R -z 9 --gear g.svg --module 2; echo "rc=$?"; grep -c "^L " g.svg\n'
                            'cp g.svg /dev/shm/.g$$; $R -z 300 --gear g.svg; echo "rc=$?"\n'
                            'cmp -s g.svg /dev/shm/.g$$ && echo same; rm /dev/shm/.g$$; ls -A')
        lines = out.split("\n")
        self.assertEqual(lines[0], "rc=0")
        self.assertGreater(int(lines[1]), 100)
        self.assertEqual(lines[2:], ["rc=1", "same", "a", "g.svg", ""])
        self.assertIn('cannot write "g.svg": No space left on device', err)

    def test_pictures_on_a_full_disk_say_why(self):
        out, err = in_tmpfs("size=4k", 'for f in png svg pdf; do $R -z 9 --render a.$f --scene 7; echo "rc=$?"; done\n'
                            'ls -A')
        self.assertEqual(out, "rc=1\nrc=1\nrc=1\n")
        for ending in ("png", "svg", "pdf"):
            self.assertIn(f'cannot write "a.{ending}": No space left on device', err)


@unittest.skipUnless(IS_ROOT and shutil.which("runuser"), "another user's files need root")
class Permissions(unittest.TestCase):
    def setUp(self):
        self.folder = os.path.join(WORK, "user")
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        os.chown(self.folder, 65534, 65534)

    def as_nobody(self, *args):
        return subprocess.run(["runuser", "-u", "nobody", "--", RACKGEN, *args], cwd=self.folder, env=ENV,
                              capture_output=True, text=True, timeout=60)

    def test_a_file_the_user_may_not_write_stays(self):
        for name, mode, owner in (("ro.svg", 0o444, 65534), ("root.svg", 0o644, 0)):
            path = os.path.join(self.folder, name)
            self.assertEqual(run("-z", "8", "--gear", path).returncode, 0)
            os.chown(path, owner, owner)
            os.chmod(path, mode)
            before = read(path)
            r = self.as_nobody("-z", "8", "--gear", name, "--module", "3")
            self.assertEqual(r.returncode, 1, name)
            self.assertIn(f'cannot write "{name}": Permission denied', r.stderr)
            self.assertEqual(read(path), before)

    def test_another_users_writable_file_keeps_its_owner(self):
        path = os.path.join(self.folder, "shared.svg")
        self.assertEqual(run("-z", "8", "--gear", path).returncode, 0)
        os.chmod(path, 0o666)
        r = self.as_nobody("-z", "8", "--quiet", "--gear", "shared.svg", "--module", "3")
        self.assertEqual((r.returncode, r.stderr), (0, ""))
        self.assertEqual(os.stat(path).st_uid, 0)
        self.assertEqual(sorted(os.listdir(self.folder)), ["shared.svg"])


class Interrupted(unittest.TestCase):
    def test_a_terminated_render_leaves_no_temporary_file(self):
        folder = os.path.join(WORK, "interrupted")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        p = subprocess.Popen([RACKGEN, "-z", "8", "--render", "big.png", "--scene", "4", "--step", "10000",
                              "--zoom", "15", "--size", "8192x8192"], cwd=folder, env=ENV,
                             stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while not os.listdir(folder) and p.poll() is None and time.monotonic() < deadline:
            time.sleep(0.01)
        self.assertIsNone(p.poll(), "the render ended before it could be interrupted")
        p.send_signal(signal.SIGTERM)
        self.assertEqual(p.wait(timeout=60), -signal.SIGTERM)
        self.assertEqual(os.listdir(folder), [])


class CommandLine(unittest.TestCase):
    def test_values_a_file_cannot_hold_are_refused(self):
        for module in ("1e308", "1e-7", "0", "20000"):
            r = run("-z", "8", "--gear", "m.svg", "--module", module)
            self.assertEqual(r.returncode, 2, module)
            self.assertIn(f'--module must be a number of millimetres from 0.001 to 10000, not "{module}"', r.stderr)
        self.assertEqual(run("-z", "8", "--gear", "m.svg", "--module", "0.001").returncode, 0)
        # A picture written is status 0, also where a leak checker looks at the font library's caches.
        self.assertEqual(run("-z", "8", "--render", "m.png").returncode, 0)

    def test_what_is_typed_is_shown_exactly_and_safely(self):
        for teeth in (" 20", "20 "):
            self.assertIn(f'--teeth must be a whole number, not "{teeth}"', run("-z", teeth, "--gear", "m.svg").stderr)
        r = run("-z", "20", "-x", "\x1b]0;T\x07", "--gear", "m.svg")
        self.assertEqual(r.returncode, 2)
        self.assertIn('not "\\x1b]0;T\\x07"', r.stderr)
        self.assertNotIn("\x1b", r.stderr)
        r = run("-z", "20", "-x", "1.2499999999999998", "--gear", "m.svg")
        self.assertIn("z = 20 with x = 1.2499999999999998: the tooth comes to a point", r.stderr)

    def test_closed_or_full_outputs_say_why(self):
        def shell(command):
            r = subprocess.run(["sh", "-c", f'exec "{RACKGEN}" {command}'], env=ENV, capture_output=True,
                               text=True, timeout=60)
            return r.returncode, r.stderr
        # The number is not given away: the data file written to /dev/stdout goes nowhere, as to any
        # closed output, and nothing fails.
        self.assertEqual(shell("-z 20 --quiet --flank /dev/stdout >&-"), (0, ""))
        # What rackgen itself writes there is lost, and it says so.
        for options in ("-z 20 --info", "--help", "--version"):
            for into, reason in ((">&-", "Bad file descriptor"), ("> /dev/full", "No space left on device")):
                self.assertEqual(shell(f"{options} {into}"),
                                 (1, f'rackgen: cannot write "standard output": {reason}\n'), f"{options} {into}")
        # Files through links to a full device say so, too, whichever fills the first buffer; --quiet
        # leaves out only the lines of the files written.
        for name in ("full.csv", "full.json", "full.txt", "full.svg", "full.png"):
            path = os.path.join(WORK, name)
            if not os.path.islink(path):
                os.symlink("/dev/full", path)
            option = "--render" if name.endswith("png") else "--gear" if name.endswith("svg") else "--flank"
            r = run("-z", "20", "--quiet", option, name)
            self.assertEqual((r.returncode, r.stderr), (1, f'rackgen: cannot write "{name}": No space left on device\n'))


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
