"""The Debian package, built into a folder of the test's own and checked without installing it."""

import os
import re
import subprocess
import tempfile
import unittest

CPACK_CONFIG = os.environ["CPACK_CONFIG"]


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=600, **kwargs)


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        built = run("cpack", "--config", CPACK_CONFIG, "-B", cls.dir.name)
        assert built.returncode == 0, built.stdout + built.stderr
        cls.deb = next(os.path.join(cls.dir.name, f) for f in os.listdir(cls.dir.name) if f.endswith(".deb"))
        cls.root = os.path.join(cls.dir.name, "root")
        assert run("dpkg-deb", "-x", cls.deb, cls.root).returncode == 0

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def test_name_contents_and_dependencies(self):
        self.assertRegex(os.path.basename(self.deb), r"^tessaglyph_\d+\.\d+\.\d+_amd64\.deb$")
        files = {line.split()[-1].lstrip(".") for line in run("dpkg-deb", "-c", self.deb).stdout.splitlines()}
        for path in ["/usr/bin/tessaglyph", "/usr/bin/tessaglyph-cli", "/usr/share/applications/tessaglyph.desktop",
                     "/usr/share/icons/hicolor/48x48/apps/tessaglyph.png",
                     "/usr/share/tessaglyph/translations/tessaglyph_zh.qm",
                     "/usr/share/metainfo/example.tessaglyph.Tessaglyph.metainfo.xml",
                     "/usr/share/man/man1/tessaglyph-cli.1.gz", "/usr/share/doc/tessaglyph/copyright"]:
            self.assertIn(path, files)
        # Read from the binaries, not listed by hand.
        depends = run("dpkg-deb", "-f", self.deb, "Depends").stdout
        for library in ["libqt6widgets6", "libharfbuzz-subset0", "libfontconfig1", "libwoff1"]:
            self.assertRegex(depends, r"\b%s \(>= " % library)

    def test_checkers_find_no_errors(self):
        lintian = run("lintian", self.deb)
        self.assertEqual([line for line in lintian.stdout.splitlines() if re.match(r"[EW]: ", line)], [])
        desktop = run("desktop-file-validate", self.root + "/usr/share/applications/tessaglyph.desktop")
        self.assertEqual(desktop.returncode, 0, desktop.stdout)
        metainfo = run("appstreamcli", "validate", "--no-net",
                       self.root + "/usr/share/metainfo/example.tessaglyph.Tessaglyph.metainfo.xml")
        self.assertEqual(metainfo.returncode, 0, metainfo.stdout)
        manual = run("man", "-l", self.root + "/usr/share/man/man1/tessaglyph-cli.1.gz", env=dict(os.environ, MANWIDTH="80"))
        self.assertIn("EXIT STATUS", manual.stdout)

    def test_packaged_program_runs(self):
        cli = run(self.root + "/usr/bin/tessaglyph-cli", "--version")
        self.assertRegex(cli.stdout, r"^tessaglyph-cli \d+\.\d+\.\d+\n")


if __name__ == "__main__":
    unittest.main()
