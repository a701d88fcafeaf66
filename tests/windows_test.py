"""A Windows build, 32-bit or 64-bit, run under wine: the console behaviour that
does not need a frozen clock, CR LF line ends, and every question and answer
byte for byte what the Linux build writes for the same launch (line ends
aside); and its projectile-set, whose set needs no clock, against the model
and, for every form that is a file, byte for byte against the Linux build's.

Usage: windows_test.py PROGRAM.exe ANSWER_TOOL LINUX_SET [unittest options]
ANSWER_TOOL is the Linux build's projectile-answer, LINUX_SET its
projectile-set."""

import os
import re
import subprocess
import sys
import tempfile
import unittest
from decimal import Decimal

import reference

EXE = None
ANSWER_TOOL = None
LINUX_SET = None
WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cmake", "wine-run")
TIMEOUT = 300

OPENING = reference.BANNER + reference.COUNT_PROMPT
QUESTION = re.compile(
    r"\n(\d+)\. A projectile is launched (?:"
    r"from the ground at a speed of ([\d.]+) m/s\n at an angle ([\d.]+) degrees|"
    r"horizontally from a height of ([\d.]+) m\n at a speed of ([\d.]+) m/s)")


def hundredths(printed):
    return int(Decimal(printed) * 100)


def windows_text(text):
    return text.replace("\n", "\r\n")


class UnderWine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A wine prefix of the test's own, which the first run boots.
        cls.folder = tempfile.TemporaryDirectory()
        cls.prefix = os.path.join(cls.folder.name, "wine")

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=dict(os.environ, WINEPREFIX=cls.prefix),
                       timeout=TIMEOUT, check=False)
        cls.folder.cleanup()

    def run_exe(self, stdin):
        result = subprocess.run([WINE_RUN, self.prefix, EXE], input=stdin, capture_output=True,
                                timeout=TIMEOUT)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout

    def test_counts_that_ask_nothing(self):
        for stdin in [b"0\r\n", b"-0\n", b"abc\r\n", b"\r\n", b""]:
            with self.subTest(stdin=stdin):
                self.assertEqual(self.run_exe(stdin).decode(), windows_text(OPENING))

    def test_a_negative_count_goes_to_the_closing_prompt(self):
        self.assertEqual(self.run_exe(b"-3\r\n\r\n").decode(),
                         windows_text(OPENING + reference.CLOSING_PROMPT))

    def test_counts_and_answers_agree_with_the_linux_build(self):
        for stdin, count in [(b"2\r\n\r\n", 2), (b"  +4\r\n\r\n", 4), (b"12abc\n\n", 12),
                             (b"200000\r\n\r\n", 200000)]:
            with self.subTest(stdin=stdin):
                raw = self.run_exe(stdin).decode()
                self.assertEqual(raw.count("\n"), raw.count("\r\n"), "a line end is not CR LF")
                text = raw.replace("\r\n", "\n")
                launches = []
                for match in QUESTION.finditer(text):
                    number, speed, angle, height, horizontal_speed = match.groups()
                    if speed is not None:
                        launches.append(f"{number} 1 {hundredths(speed)} {hundredths(angle)}")
                    else:
                        launches.append(
                            f"{number} 2 {hundredths(horizontal_speed)} {hundredths(height)}")
                self.assertEqual(len(launches), count)
                linux = subprocess.run([ANSWER_TOOL], input="\n".join(launches) + "\n",
                                       capture_output=True, text=True, check=True,
                                       timeout=TIMEOUT).stdout
                expected = OPENING + linux + reference.CLOSING_PROMPT
                if text != expected:
                    lines = zip(text.split("\n"), expected.split("\n"))
                    at = next(i for i, (a, b) in enumerate(lines) if a != b)
                    self.fail(f"line {at}: windows {text.split(chr(10))[at]!r}, "
                              f"linux {expected.split(chr(10))[at]!r}")

    def test_a_set_is_the_linux_text_in_cr_lf(self):
        program = os.path.join(os.path.dirname(EXE), "projectile-set.exe")
        result = subprocess.run([WINE_RUN, self.prefix, program, "--set", "1796634001", "--count", "5"],
                                capture_output=True, timeout=TIMEOUT)
        self.assertEqual(result.returncode, 0, result.stderr)
        raw = reference.CrtRand(1796634001)
        expected = []
        for number in range(1, 6):
            kind, umag, angle, h = reference.draw(raw)
            expected += [reference.question_text(number, kind, umag, angle, h),
                         reference.answer_text(umag, angle, h)]
        self.assertEqual(result.stdout.decode(), windows_text("".join(expected)))


    def test_every_file_is_the_linux_builds_bytes(self):
        # Standard output is in text mode on Windows, which would add a CR
        # before every LF of a zip, a CSV's CR LF and an XML file.
        program = os.path.join(os.path.dirname(EXE), "projectile-set.exe")
        with tempfile.TemporaryDirectory() as folder:
            roster = os.path.join(folder, "roster.csv")
            with open(roster, "wb") as out:
                out.write('Name,Note\r\n"Lee, Sam","a\nb"\r\n"Say ""Hi""",\r\n=1+1,\r\n\u674e \u96f7,\r\n'.encode())
            # Wine's drive Z: is the root of this machine's files.
            windows_roster = "Z:" + roster.replace("/", "\\")
            for form in ["--moodle", "--qti", "--list"]:
                for who in ([["--count", "3"]] if form == "--list" else [["--count", "3"], ["--count", "40"]]):
                    for linux_class, windows_class in [(["--class", roster], ["--class", windows_roster]),
                                                       ([], [])][: 1 if form == "--list" else 2]:
                        arguments = [form, "--set", "2101770013", *who]
                        with self.subTest(arguments=arguments + linux_class):
                            linux = subprocess.run([LINUX_SET, *arguments, *linux_class], capture_output=True,
                                                   timeout=TIMEOUT, check=True)
                            windows = subprocess.run([WINE_RUN, self.prefix, program, *arguments, *windows_class],
                                                     capture_output=True, timeout=TIMEOUT)
                            self.assertEqual(windows.returncode, 0, windows.stderr)
                            self.assertEqual(windows.stdout, linux.stdout)
                            if form == "--qti":
                                package = os.path.join(folder, "set.zip")
                                with open(package, "wb") as out:
                                    out.write(windows.stdout)
                                tested = subprocess.run(["unzip", "-tq", package], capture_output=True)
                                self.assertEqual(tested.returncode, 0, tested.stdout)

    def test_answer_sheets_and_marks_are_the_linux_builds(self):
        program = os.path.join(os.path.dirname(EXE), "projectile-set.exe")
        with tempfile.TemporaryDirectory() as folder:
            # Filled and spoiled pages of two students, as the scan test makes them.
            made = subprocess.run(["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "scan_test.py"),
                                   "--images", LINUX_SET, folder, "2", "150"], capture_output=True)
            self.assertEqual(made.returncode, 0, made.stderr)
            scans = sorted(f for f in os.listdir(folder) if f.endswith(".png"))
            arguments = ["--set", "2101770013", "--versions", "2", "--count", "10"]
            linux = subprocess.run([LINUX_SET, *arguments, "--mark", *scans], cwd=folder,
                                   capture_output=True, timeout=TIMEOUT)
            windows = subprocess.run([WINE_RUN, self.prefix, program, *arguments, "--mark", *scans],
                                     cwd=folder, capture_output=True, timeout=TIMEOUT)
            self.assertEqual(windows.returncode, 0, windows.stderr)
            self.assertEqual(windows.stdout, linux.stdout)
            self.assertTrue(windows.stdout.startswith(b"\xef\xbb\xbfname,version,set,total,unclear,"))
            subprocess.run([WINE_RUN, self.prefix, program, *arguments, "--answer-sheets", "windows"],
                           cwd=folder, capture_output=True, timeout=TIMEOUT, check=True)
            subprocess.run([LINUX_SET, *arguments, "--answer-sheets", "linux"], cwd=folder, check=True)
            for page in ["version-1-page-1.svg", "version-2-page-2.svg"]:
                with open(os.path.join(folder, "linux", page), "rb") as a, \
                        open(os.path.join(folder, "windows", page), "rb") as b:
                    self.assertEqual(b.read(), a.read(), page)


if __name__ == "__main__":
    EXE = os.path.abspath(sys.argv.pop(1))
    ANSWER_TOOL = os.path.abspath(sys.argv.pop(1))
    LINUX_SET = os.path.abspath(sys.argv.pop(1))
    unittest.main()
