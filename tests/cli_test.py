"""End-to-end tests of projectile-questions as a user runs it: piped standard
input, captured standard output, standard error and exit status. Where the
questions must be known, the clock is frozen from outside by preloading
FROZEN_TIME_LIBRARY (frozen_time.cpp) and the text is predicted by the
independent model in reference.py. Then projectile-set, from the same build,
against the console program and the model.

Usage: cli_test.py PROGRAM FROZEN_TIME_LIBRARY [--runner COMMAND... --] [unittest options]
A cross build's programs run through COMMAND, its loader or emulator;
projectile-set is the one beside PROGRAM."""

import base64
import csv
import decimal
import html
import io
import os
import pty
import re
import signal
import subprocess
import sys
import tempfile
import threading
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

import reference

PROGRAM = None  # set from the command line
SET_PROGRAM = None  # projectile-set, beside PROGRAM
RUNNER = []  # set from the command line
FROZEN_TIME_LIBRARY = None  # set from the command line
FROZEN_SEED = 1767225600  # 2026-01-01 00:00:00 UTC
OPENING = reference.BANNER + reference.COUNT_PROMPT
TIMEOUT = 60
# The rule for a right value, read from its one place in the source, so that
# the quiz files' margins are held to whatever it says.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "quantity.h")) as quantity_h:
    TOLERANCE = decimal.Decimal(re.search(r"inline constexpr double tolerance = ([0-9.]+);", quantity_h.read())[1])


def frozen(seed=FROZEN_SEED):
    """The environment of a run whose clock stands still at second SEED."""
    return dict(os.environ, LD_PRELOAD=FROZEN_TIME_LIBRARY, FROZEN_TIME=str(seed))


def run(stdin, arguments=(), seed=FROZEN_SEED):
    return subprocess.run([*RUNNER, PROGRAM, *arguments], input=stdin, capture_output=True,
                          env=frozen(seed), timeout=TIMEOUT)


def questions_in(stdout):
    """The question numbers, in the order they were printed."""
    return [int(line.split(".")[0]) for line in stdout.split("\n")
            if line[:1].isdigit() and ". A projectile" in line]


class Session:
    """A run with standard input held open, for what happens between lines.
    The program is the direct child, so the watchdog's kill closes its pipes
    and a read that would wait forever ends instead."""

    def __init__(self):
        self.process = subprocess.Popen([*RUNNER, PROGRAM], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, env=frozen())
        self.watchdog = threading.Timer(TIMEOUT, self.process.kill)
        self.watchdog.start()
        self.seen = b""

    def type(self, data):
        self.process.stdin.write(data)
        self.process.stdin.flush()

    def read_until(self, marker):
        while marker not in self.seen:
            chunk = os.read(self.process.stdout.fileno(), 65536)
            if not chunk:
                raise AssertionError(f"output ended before {marker!r}: {self.seen[-200:]!r}")
            self.seen += chunk
        return self.seen.decode()

    def finish(self, stdin_data=b""):
        self.process.stdin.write(stdin_data)
        self.process.stdin.close()
        self.seen += self.process.stdout.read()
        error = self.process.stderr.read()
        status = self.process.wait()
        self.watchdog.cancel()
        self.process.stdout.close()
        self.process.stderr.close()
        return status, self.seen.decode(), error.decode()

    def stop(self):
        self.process.kill()
        self.process.wait()
        self.watchdog.cancel()
        for stream in (self.process.stdin, self.process.stdout, self.process.stderr):
            stream.close()


class Count(unittest.TestCase):
    def test_no_questions_end_the_run_at_once(self):
        for stdin in [b"0\n\n", b"-0\n", b"abc\n", b"\n", b"", b"   \n", b"+\n"]:
            with self.subTest(stdin=stdin):
                result = run(stdin)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stdout.decode(), OPENING)
                self.assertEqual(result.stderr, b"")

    def test_counts_read_as_atoi_does(self):
        for stdin, count in [(b"2\n\n", 2), (b"  +4\n\n", 4), (b"12abc\n\n", 12),
                             (b"3 please\n\n", 3), (b"5\r\n\r\n", 5), (b"\t7\n\n", 7)]:
            with self.subTest(stdin=stdin):
                result = run(stdin)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stdout.decode(), reference.run_text(FROZEN_SEED, count))
                self.assertEqual(result.stderr, b"")

    def test_arguments_are_ignored(self):
        plain = run(b"3\n\n")
        with_arguments = run(b"3\n\n", ["--help", "-n", "5"])
        self.assertEqual(with_arguments.stdout, plain.stdout)
        self.assertEqual(with_arguments.returncode, 0)


class NegativeCount(unittest.TestCase):
    def test_waits_for_enter_after_the_closing_prompt(self):
        session = Session()
        session.type(b"-3\n")
        self.assertEqual(session.read_until(b"exit."), OPENING + reference.CLOSING_PROMPT)
        self.assertIsNone(session.process.poll(), "it must wait for a line at the closing prompt")
        status, out, err = session.finish(b"\n")
        self.assertEqual((status, out, err), (0, OPENING + reference.CLOSING_PROMPT, ""))


class LongLines(unittest.TestCase):
    def test_a_long_count_line_does_not_answer_the_closing_prompt(self):
        session = Session()
        session.type(b"2" + b"x" * 59 + b"\n")
        text = session.read_until(reference.CLOSING_PROMPT.encode())
        self.assertEqual(text, reference.run_text(FROZEN_SEED, 2))
        self.assertIsNone(session.process.poll(), "the rest of the count line answered the prompt")
        status, out, err = session.finish(b"\n")
        self.assertEqual((status, err), (0, ""))

    def test_a_count_past_int_saturates_and_streams(self):
        for digits in [b"9" * 40, b"2147483648", b"99999999999999999999"]:
            with self.subTest(digits=digits):
                session = Session()
                session.type(digits + b"\n")
                text = session.read_until(b"\n40. ")
                session.stop()
                self.assertEqual(questions_in(text)[:40], list(range(1, 41)))
                self.assertTrue(reference.run_text(FROZEN_SEED, 39).startswith(
                    text[:text.index("\n40. ")]))


class HostileInput(unittest.TestCase):
    """Whatever arrives on standard input, the run ends with status 0 and asks
    the number of questions at the start of the count line's first 15 bytes."""

    def test_odd_bytes_on_the_count_line(self):
        for stdin, count in [
                (b"3\x00\n\n", 3), (b"\x004\n\n", 0), (b"\xff\xfe7\n\n", 0),
                (b"7\xe9\xa0\n\n", 7), (b"\x1b[A\x1b[B5\n\n", 0), (b"5\x1b[A\n\n", 5),
                (b"2\r\n", 2), (b"-2147483649\n\n", -1), (b"-99999999999999999999\n\n", -1),
                (b" " * 20 + b"5\n\n", 0), (b"0000000000000000007\n\n", 0),
                (b"2" + b"x" * 10_000_000 + b"\n\n", 2), (b"\n5\n", 0)]:
            with self.subTest(stdin=stdin[:24]):
                result = run(stdin)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stderr, b"")
                if count == 0:
                    expected = OPENING
                elif count < 0:
                    expected = OPENING + reference.CLOSING_PROMPT
                else:
                    expected = reference.run_text(FROZEN_SEED, count)
                self.assertEqual(result.stdout.decode(), expected)

    def test_a_count_without_line_end_or_second_line(self):
        result = run(b"2")
        self.assertEqual((result.returncode, result.stdout.decode()),
                         (0, reference.run_text(FROZEN_SEED, 2)))

    def test_a_closed_standard_input(self):
        result = subprocess.run(["sh", "-c", 'exec "$0" <&-', PROGRAM], capture_output=True,
                                timeout=TIMEOUT)
        self.assertEqual((result.returncode, result.stdout.decode(), result.stderr),
                         (0, OPENING, b""))


class FrozenClock(unittest.TestCase):
    def test_one_second_draws_one_set_of_questions(self):
        first = run(b"50\n\n")
        second = run(b"50\n\n")
        self.assertEqual(first.stdout, second.stdout)
        other = run(b"50\n\n", seed=FROZEN_SEED + 1)
        self.assertNotEqual(first.stdout, other.stdout)
        # Only the low 32 bits of the time seed the generator.
        wrapped = run(b"50\n\n", seed=FROZEN_SEED + 2**32)
        self.assertEqual(first.stdout, wrapped.stdout)

    def test_thousands_of_questions_agree_with_the_model(self):
        # 2^31 and 2^32 - 1: a seed past a signed 32-bit time, and the last one.
        for seed in [FROZEN_SEED, 1000000000, 2147483648, 4294967295]:
            with self.subTest(seed=seed):
                result = run(b"3000\n\n", seed=seed)
                self.assertEqual(result.returncode, 0)
                expected = reference.run_text(seed, 3000)
                got = result.stdout.decode()
                if got != expected:
                    at_line = next(i for i, (a, b) in enumerate(
                        zip(got.split("\n"), expected.split("\n"))) if a != b)
                    self.fail(f"line {at_line}: {got.split(chr(10))[at_line]!r} != "
                              f"{expected.split(chr(10))[at_line]!r}")


class Failures(unittest.TestCase):
    def test_a_full_disk_is_reported(self):
        with open("/dev/full", "wb") as full:
            result = subprocess.run([PROGRAM], input=b"5\n\n", stdout=full, stderr=subprocess.PIPE,
                                    timeout=TIMEOUT)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(),
                         "projectile-questions: write error: No space left on device\n")

    def test_a_write_that_fails_mid_run_stops_the_run(self):
        # A file size limit lets the prompt through and fails a later write
        # (EFBIG once SIGXFSZ is ignored): the run stops there, not after all
        # its questions.
        with tempfile.TemporaryDirectory() as directory:
            out = os.path.join(directory, "out")
            result = subprocess.run(
                ["sh", "-c", 'trap "" XFSZ; ulimit -f 100; exec "$0" >"$1"', PROGRAM, out],
                input=b"100000000\n\n", capture_output=True, timeout=TIMEOUT)
            self.assertEqual(result.returncode, 1)
            self.assertEqual(result.stderr.decode(),
                             "projectile-questions: write error: File too large\n")
            self.assertLessEqual(os.path.getsize(out), 100 * 512)

    def test_a_closed_standard_output_is_reported(self):
        result = subprocess.run(["sh", "-c", 'exec "$0" >&-', PROGRAM], input=b"5\n\n",
                                capture_output=True, timeout=TIMEOUT)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(),
                         "projectile-questions: write error: Bad file descriptor\n")

    def test_a_reader_that_goes_away_ends_it_quietly(self):
        # trap "" PIPE makes the program start with SIGPIPE ignored.
        for setup in ["", 'trap "" PIPE; ']:
            with self.subTest(setup=setup):
                result = subprocess.run(
                    ["sh", "-c", setup + 'printf "100000\\n\\n" | "$0" | head -n 3', PROGRAM],
                    capture_output=True, timeout=TIMEOUT)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stdout.decode(), OPENING.split("\n")[0] + "\n\n"
                                 + reference.COUNT_PROMPT + "\n")
                self.assertEqual(result.stderr, b"")

    def test_the_writer_dies_of_sigpipe_not_an_error_status(self):
        session = Session()
        session.type(b"100000\n")
        session.read_until(b"\n2. ")
        session.process.stdout.close()
        status = session.process.wait(TIMEOUT)
        session.watchdog.cancel()
        error = session.process.stderr.read()
        session.process.stderr.close()
        session.process.stdin.close()
        self.assertEqual(status, -signal.SIGPIPE)
        self.assertEqual(error, b"")


def set_run(*arguments, seed=FROZEN_SEED):
    return subprocess.run([*RUNNER, SET_PROGRAM, *arguments], capture_output=True,
                          env=frozen(seed), timeout=TIMEOUT)


def model_pieces(set_number, count):
    """Each question's text and its worked answer, as the model writes them."""
    raw = reference.CrtRand(set_number)
    pieces = []
    for number in range(1, count + 1):
        kind, umag, angle, h = reference.draw(raw)
        pieces.append((reference.question_text(number, kind, umag, angle, h),
                       reference.answer_text(umag, angle, h)))
    return pieces


USAGE = ("Usage: projectile-set [--set S] [--count N] [--class FILE | --versions K]\n"
         "         [--worksheet | --moodle | --qti | --list | --figures DIR |\n"
         "          --answer-sheets DIR] [--letter] [--mark FILE...]\n")
def assert_images_resolve(test, quiz, names):
    """Every image of a Canvas assessment names a file of its package as
    Canvas resolves it on import: $IMS-CC-FILEBASE$/P links the file whose
    path in the zip is P, or is P less some of its leading folders (Canvas
    drops leading folders of P to find a match, and never adds any)."""
    sources = [m for element in quiz.iter() if element.text
               for m in re.findall(r'<img src="([^"]*)"', element.text)]
    test.assertTrue(sources)
    for source in sources:
        test.assertTrue(source.startswith("$IMS-CC-FILEBASE$/"), source)
        wanted = source[len("$IMS-CC-FILEBASE$/"):]
        test.assertTrue(any(name == wanted or wanted.endswith("/" + name) for name in names), source)


PRINTED = [("Time of flight", r"Time of flight = (\S+) s", "s"), ("Range", r"Range = (\S+) m", "m"),
           ("Max height", r"Max height = (\S+) m", "m"),
           ("Impact speed", r"Velocity on impact is (\S+) m/s", "m/s"),
           ("Impact angle", r"at an angle of (\S+) degrees below", "degrees")]


class ProjectileSet(unittest.TestCase):
    def test_a_set_is_the_console_run_at_its_second(self):
        # 2100-01-01: the set is the second's low 32 bits, as the seed is.
        for second in [FROZEN_SEED, 4102444800]:
            with self.subTest(second=second):
                console = run(b"25\n\n", seed=second).stdout.decode()
                questions = console[len(OPENING):-len(reference.CLOSING_PROMPT)]
                result = set_run("--set", str(second % 2**32), "--count", "25", seed=12345)
                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(result.stdout.decode(), questions)
                self.assertEqual(questions, "".join(q + a for q, a in model_pieces(second % 2**32, 25)))

    def test_without_a_set_the_clock_gives_it_and_it_is_named(self):
        result = set_run()
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stderr.decode(), f"projectile-set: set {FROZEN_SEED}, from the clock\n")
        self.assertEqual(result.stdout.decode(), "".join(q + a for q, a in model_pieces(FROZEN_SEED, 10)))

    def test_a_worksheet_is_the_questions_then_their_answers(self):
        pieces = model_pieces(1796634001, 12)
        result = set_run("--worksheet", "--set=1796634001", "--count=12")
        self.assertEqual(result.returncode, 0)
        # The key's table: each question's asked values as its answer prints
        # them, in columns as wide as their widest cell, two spaces apart.
        rows = [["No."] + [f"{name} ({unit})" for name, _, unit in PRINTED]]
        for n, (_, answer) in enumerate(pieces, 1):
            rows.append([str(n)] + [m[1] if (m := re.search(pattern, answer)) else "-"
                                    for _, pattern, _ in PRINTED])
        widths = [max(len(row[c]) for row in rows) for c in range(len(rows[0]))]
        table = "".join("  ".join(cell.ljust(w) for cell, w in zip(row[:-1], widths)) + "  " + row[-1] + "\n"
                        for row in rows)
        self.assertEqual(result.stdout.decode(), "".join(q for q, _ in pieces) + "\nAnswers\n\n" + table
                         + "".join(f"\n{n}.{a}" for n, (_, a) in enumerate(pieces, 1)))

    def test_a_moodle_file_holds_each_question_with_its_values_and_tolerances(self):
        pieces = model_pieces(4294967295, 40)
        result = set_run("--moodle", "--set", "4294967295", "--count", "40")
        with tempfile.TemporaryDirectory() as folder:
            self.assertEqual(set_run("--figures", folder, "--set", "4294967295", "--count", "40").returncode, 0)
            figures = {name: open(os.path.join(folder, name), "rb").read() for name in os.listdir(folder)}
        self.assertEqual(result.returncode, 0)
        quiz = ElementTree.fromstring(result.stdout)
        category, *questions = quiz
        self.assertEqual(category.findtext("category/text"), "$course$/top/Projectile motion, set 4294967295")
        self.assertEqual(len(questions), 40)
        for number, (question, (statement, answer)) in enumerate(zip(questions, pieces), 1):
            self.assertEqual(question.get("type"), "cloze")
            self.assertEqual(question.findtext("name/text"), f"Set 4294967295, question {number}")
            text = question.findtext("questiontext/text")
            # The statement without its number: Moodle numbers the questions.
            self.assertEqual(html.unescape(re.fullmatch(r"<pre>([^<]*)</pre>.*", text, re.S)[1]),
                             statement.strip("\n").split(". ", 1)[1])
            blanks = re.findall(r"<p>([\w ]+): \{(\d+):NUMERICAL:=([^:}]+):([^}]+)\} ([^<]+)</p>", text)
            expected = [(name, m[1], unit + (" below the horizontal" if unit == "degrees" else ""))
                        for name, pattern, unit in PRINTED if (m := re.search(pattern, answer))]
            self.assertEqual([(name, value, unit) for name, _, value, _, unit in blanks], expected)
            # Each question is worth 20 marks, however many blanks it has.
            self.assertEqual(sum(int(weight) for _, weight, *_ in blanks), 20)
            self.assertEqual(question.findtext("defaultgrade"), "20")
            for _, _, value, tolerance, _ in blanks:
                self.assertAlmostEqual(float(tolerance) / float(value), float(TOLERANCE), delta=1e-7)
            feedback = question.findtext("generalfeedback/text")
            self.assertTrue(feedback.startswith(
                "<pre>" + html.escape(answer.strip("\n"), quote=False) + "</pre>"))
            # Each figure: an image whose alternative text is its desc, and
            # the file itself, byte for byte what --figures writes.
            for part, name in [("questiontext", "question"), ("generalfeedback", "answer")]:
                image = re.search(r'<img src="@@PLUGINFILE@@/([^"]+)" alt="([^"]*)">',
                                  question.findtext(f"{part}/text"))
                self.assertEqual(image[1], f"{name}-{number}.svg")
                (file,) = question.findall(f"{part}/file")
                self.assertEqual((file.get("name"), file.get("path"), file.get("encoding")),
                                 (image[1], "/", "base64"))
                figure = base64.b64decode(file.text)
                self.assertEqual(figure, figures[image[1]])
                self.assertEqual(html.unescape(image[2]),
                                 ElementTree.fromstring(figure).findtext("{http://www.w3.org/2000/svg}desc"))

    def test_a_qti_package_reads_back_validates_and_marks_each_value_within_1_percent(self):
        schemas = os.path.join(os.path.dirname(os.path.abspath(__file__)), "schemas")
        qti = "{http://www.imsglobal.org/xsd/ims_qtiasiv1p2}"
        cp = "{http://www.imsglobal.org/xsd/imscp_v1p1}"
        for set_number, count in [(2101770013, 2000), (1796634001, 2000)]:
            with self.subTest(set=set_number), tempfile.TemporaryDirectory() as folder:
                result = set_run("--qti", "--set", str(set_number), "--count", str(count))
                self.assertEqual((result.returncode, result.stderr), (0, b""))
                package = os.path.join(folder, "q.zip")
                with open(package, "wb") as out:
                    out.write(result.stdout)
                self.assertEqual(subprocess.run(["unzip", "-tq", package], capture_output=True).returncode, 0)
                with zipfile.ZipFile(io.BytesIO(result.stdout)) as archive:
                    self.assertIsNone(archive.testzip())
                    names = archive.namelist()
                    archive.extractall(os.path.join(folder, "files"))
                files = os.path.join(folder, "files")
                # Every file but the manifest is declared in it, and nothing else.
                manifest = ElementTree.parse(os.path.join(files, "imsmanifest.xml")).getroot()
                declared = [f.get("href") for f in manifest.iter(f"{cp}file")]
                self.assertEqual(sorted(declared), sorted(n for n in names if n != "imsmanifest.xml"))
                identifiers = [r.get("identifier") for r in manifest.iter(f"{cp}resource")]
                self.assertEqual(len(set(identifiers)), len(identifiers))
                self.assertTrue(all(re.fullmatch(r"[A-Za-z][\w-]*", i) for i in identifiers))
                assessment_file = next(n for n in names if n.endswith(".xml") and "/" in n and "meta" not in n)
                self.assertEqual([n for n in names if n.endswith(".xml")],
                                 ["imsmanifest.xml", assessment_file, os.path.dirname(assessment_file) + "/assessment_meta.xml"])
                checked = [
                    ["xmllint", "--nonet", "--noout", "--dtdvalid", os.path.join(schemas, "qti-canvas.dtd"),
                     os.path.join(files, assessment_file)],
                    ["xmllint", "--nonet", "--noout", "--schema", os.path.join(schemas, "imscp_v1p1.xsd"),
                     os.path.join(files, "imsmanifest.xml")]]
                for command in checked:
                    valid = subprocess.run(command, capture_output=True, timeout=TIMEOUT,
                                           env=dict(os.environ, XML_CATALOG_FILES=os.path.join(schemas, "catalog.xml")))
                    self.assertEqual(valid.returncode, 0, valid.stderr.decode()[-500:])
                quiz = ElementTree.parse(os.path.join(files, assessment_file)).getroot()
                assert_images_resolve(self, quiz, names)
                self.assertEqual(quiz.find(f"{qti}assessment").get("title"), f"Projectile motion, set {set_number}")
                items = list(quiz.iter(f"{qti}item"))
                self.assertEqual(len({i.get("ident") for i in items}), len(items))
                self.assertEqual(quiz.findall(f".//{qti}vargt") + quiz.findall(f".//{qti}varlt"), [])
                expected = []
                for number, (_, answer) in enumerate(model_pieces(set_number, count), 1):
                    asked = [(name, m[1]) for name, pattern, _ in PRINTED if (m := re.search(pattern, answer))]
                    expected += [(f"Question {number}: {name.lower()}", printed, 20 // len(asked)) for name, printed in asked]
                got = []
                for item in items:
                    fields = {f.findtext(f"{qti}fieldlabel"): f.findtext(f"{qti}fieldentry")
                              for f in item.iter(f"{qti}qtimetadatafield")}
                    self.assertEqual(fields["question_type"], "numerical_question")
                    render = item.find(f".//{qti}render_fib")
                    self.assertEqual((render.get("fibtype"), [c.tag for c in render]), ("Decimal", [f"{qti}response_label"]))
                    value = item.findtext(f".//{qti}varequal")
                    # The margin is the tolerance of the printed value, exactly.
                    self.assertEqual(decimal.Decimal(item.findtext(f".//{qti}vargte")), decimal.Decimal(value) * (1 - TOLERANCE))
                    self.assertEqual(decimal.Decimal(item.findtext(f".//{qti}varlte")), decimal.Decimal(value) * (1 + TOLERANCE))
                    got.append((item.get("title"), value, int(fields["points_possible"])))
                self.assertEqual(got, expected)
                with open(os.path.join(files, os.path.dirname(assessment_file), "assessment_meta.xml")) as meta_file:
                    meta = meta_file.read()
                self.assertIn(f"<points_possible>{20 * count}</points_possible>", meta)
                # The figures are --figures' files, byte for byte.
                figures = os.path.join(folder, "figures")
                self.assertEqual(set_run("--figures", figures, "--set", str(set_number), "--count", "50").returncode, 0)
                for name in os.listdir(figures):
                    with open(os.path.join(figures, name), "rb") as mine, open(os.path.join(files, "web_resources", name), "rb") as packed:
                        self.assertEqual(mine.read(), packed.read(), name)

    def test_a_qti_package_is_not_written_to_a_terminal_nor_reported_written_to_a_full_disk(self):
        main, other = pty.openpty()
        try:
            result = subprocess.run([*RUNNER, SET_PROGRAM, "--qti", "--set", "1"], stdout=other,
                                    stderr=subprocess.PIPE, timeout=TIMEOUT)
        finally:
            os.close(other)
            os.close(main)
        self.assertEqual((result.returncode, result.stderr.decode()),
                         (2, "projectile-set: --qti writes a zip file: send it to a file, e.g. > set.zip\n"))
        with open("/dev/full", "wb") as full:
            result = subprocess.run([*RUNNER, SET_PROGRAM, "--qti", "--set", "1"], stdout=full,
                                    stderr=subprocess.PIPE, timeout=TIMEOUT)
        self.assertEqual((result.returncode, result.stderr.decode()),
                         (1, "projectile-set: write error: No space left on device\n"))

    def test_a_class_gets_a_sheet_and_a_key_each_a_list_and_quiz_files(self):
        names = ["Lee, Sam", 'Say "Hi"', "=Sum, Al", "<b>Bold</b> & Co", "\u674e \u96f7", "-1"]
        names += [f"Last{i}, First{i}" for i in range(len(names), 30)]
        rows = "".join(f'{i},"{n.replace(chr(34), chr(34) * 2)}",x{i}@school\r\n' for i, n in enumerate(names))
        with tempfile.TemporaryDirectory() as folder:
            roster = os.path.join(folder, "roster.CSV")
            with open(roster, "wb") as out:
                out.write(("\ufeffId,Student,Email\r\n\r\n" + rows).encode())
            listed = set_run("--class", roster, "--set", "1796634001", "--list")
            self.assertEqual((listed.returncode, listed.stderr), (0, b""))
            # UTF-8 with a byte-order mark, as a spreadsheet on Windows needs it.
            self.assertTrue(listed.stdout.startswith(b"\xef\xbb\xbf"))
            table = list(csv.reader(io.StringIO(listed.stdout.decode("utf-8-sig"), newline="")))
            self.assertEqual(table[0], ["name", "version", "set"])
            # A name a spreadsheet would take for a formula keeps a ' before it.
            self.assertEqual([r[0] for r in table[1:]],
                             ["'" + n if n[0] in "=+-@" else n for n in names])
            self.assertEqual([r[1] for r in table[1:]], [str(v) for v in range(1, 31)])
            sets = [int(r[2]) for r in table[1:]]
            self.assertEqual(len(set(sets)), 30)
            # The first three versions are the same whatever the class's size.
            few = set_run("--versions", "3", "--set", "1796634001", "--list").stdout.decode().split("\r\n")
            self.assertEqual([int(line.split(",")[2]) for line in few[1:4]], sets[:3])

            result = set_run("--class", roster, "--set", "1796634001", "--count", "5", "--worksheet")
            self.assertEqual((result.returncode, result.stderr), (0, b""))
            *sheets, key = result.stdout.decode().split("\f")
            self.assertEqual(len(sheets), 30)
            self.assertTrue(key.startswith("Answers\n"))
            for name, number, sheet in zip(names, sets, sheets):
                single = set_run("--set", str(number), "--count", "5", "--worksheet").stdout.decode()
                questions, single_key = single.split("\nAnswers\n\n")
                self.assertEqual(sheet, f"{name}, set {number}\n{questions}")
                table = single_key[:single_key.index("\n1.\n")]
                self.assertIn(f"\n{name}, set {number}\n{table}", key)

            moodle = ElementTree.fromstring(set_run("--versions", "4", "--set", "7", "--count", "3", "--moodle").stdout)
            categories = [q.findtext("category/text") for q in moodle if q.get("type") == "category"]
            self.assertEqual(categories, [f"$course$/top/Projectile motion, set 7/Question {k}" for k in (1, 2, 3)])
            self.assertEqual([q.get("type") for q in moodle], (["category"] + ["cloze"] * 4) * 3)

            package = set_run("--versions", "4", "--set", "7", "--count", "3", "--qti").stdout
            with zipfile.ZipFile(io.BytesIO(package)) as archive:
                archive.extractall(folder)
                names = archive.namelist()
            schemas = os.path.join(os.path.dirname(os.path.abspath(__file__)), "schemas")
            valid = subprocess.run(["xmllint", "--nonet", "--noout", "--dtdvalid", os.path.join(schemas, "qti-canvas.dtd"),
                                    os.path.join(folder, "projectile-set-7", "projectile-set-7.xml")], capture_output=True)
            self.assertEqual(valid.returncode, 0, valid.stderr.decode())
            quiz = ElementTree.parse(os.path.join(folder, "projectile-set-7", "projectile-set-7.xml")).getroot()
            assert_images_resolve(self, quiz, names)
            qti = "{http://www.imsglobal.org/xsd/ims_qtiasiv1p2}"
            groups = quiz.findall(f"{qti}assessment/{qti}section/{qti}section")
            self.assertTrue(groups and all(g.findtext(f".//{qti}selection_number") == "1" for g in groups))
            for k in (1, 2, 3):
                here = [g for g in groups if g.get("title").startswith(f"Question {k}: ")]
                self.assertEqual(sum(int(g.findtext(f".//{qti}points_per_item")) for g in here), 20)

    def test_a_class_list_that_will_not_do_is_refused_naming_the_line(self):
        with tempfile.TemporaryDirectory() as folder:
            for contents, reason in [
                    (b"Ann\nBo\nAnn\n", 'line 3: the name "Ann" is on line 1 too'),
                    (b"Ann\n" + "\u00e9".encode() * 101 + b"\n", "line 2: the name is longer than 100 characters"),
                    (b"Ann\r\nB\x00o\r\n", "line 2: the name holds a control character"),
                    (b"\n\n", "the list holds no names")]:
                with self.subTest(reason=reason):
                    roster = os.path.join(folder, "roster.txt")
                    with open(roster, "wb") as out:
                        out.write(contents)
                    result = set_run("--class", roster, "--worksheet")
                    self.assertEqual((result.returncode, result.stdout), (2, b""))
                    self.assertEqual(result.stderr.decode(), f"projectile-set: {roster}: {reason}\n")
            result = set_run("--class", os.path.join(folder, "missing.txt"))
            self.assertEqual((result.returncode, result.stdout), (2, b""))
            self.assertIn("cannot be read", result.stderr.decode())

    def test_bad_arguments_are_named_with_the_usage_and_status_2(self):
        for arguments, reason in [
                (["--count", "0"], "--count must be a whole number from 1 to 10000, not '0'"),
                (["--count=abc"], "--count must be a whole number from 1 to 10000, not 'abc'"),
                (["--set", "4294967296"], "--set must be a whole number from 0 to 4294967295, not '4294967296'"),
                (["--set"], "--set needs a value"),
                (["--worksheet", "--moodle"],
                 "--worksheet, --moodle, --qti, --list, --figures and --answer-sheets are one choice: "
                 "give one of them once"),
                (["--figures=", "--set=1"], "--figures needs a folder"),
                (["--figures"], "--figures needs a value"),
                (["--frob"], "unknown option '--frob'"),
                (["7"], "unexpected argument '7'")]:
            with self.subTest(arguments=arguments):
                result = set_run(*arguments)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, b"")
                self.assertEqual(result.stderr.decode(), f"projectile-set: {reason}\n{USAGE}")
        result = set_run("--help")
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        self.assertTrue(result.stdout.decode().startswith(USAGE))

    def test_figures_for_every_question_parse_and_draw(self):
        with tempfile.TemporaryDirectory() as root:
            folder = os.path.join(root, "made", "here")
            result = set_run("--figures", folder, "--set", "1796634001", "--count", "2000")
            self.assertEqual((result.returncode, result.stdout, result.stderr), (0, b"", b""))
            names = sorted(os.listdir(folder))
            self.assertEqual(names, sorted(f"{kind}-{k}.svg" for kind in ["question", "answer"]
                                           for k in range(1, 2001)))
            svg = "{http://www.w3.org/2000/svg}"
            pieces = model_pieces(1796634001, 2000)
            for name in names:
                figure = ElementTree.parse(os.path.join(folder, name)).getroot()
                self.assertEqual((figure.tag, figure.get("role")), (f"{svg}svg", "img"), name)
                self.assertTrue(figure.findtext(f"{svg}title") and figure.findtext(f"{svg}desc"), name)
                self.assertEqual(figure.get("viewBox"), f"0 0 {figure.get('width')} {figure.get('height')}")
                paths = figure.findall(f".//{svg}path[@class='trajectory']")
                self.assertEqual(len(paths), name.startswith("answer"), name)
                if name.startswith("answer"):
                    # Its labels carry the worked answer's printed digits.
                    answer = pieces[int(name[len("answer-"):-len(".svg")]) - 1][1]
                    labels = " ".join(t.text for t in figure.iter(f"{svg}text"))
                    for _, pattern, _ in PRINTED:
                        if m := re.search(pattern, answer):
                            self.assertIn(m[1], labels, name)
            # A renderer other than a browser's (librsvg) draws a few of each kind.
            for name in names[:4] + names[-4:]:
                drawn = subprocess.run(["rsvg-convert", "-o", os.path.join(root, "drawn.png"),
                                        os.path.join(folder, name)], stderr=subprocess.PIPE, timeout=TIMEOUT)
                self.assertEqual((drawn.returncode, drawn.stderr), (0, b""), name)
            # A file that cannot be written is named, with status 1.
            blocked = os.path.join(root, "blocked")
            os.makedirs(os.path.join(blocked, "answer-1.svg"))
            result = set_run("--figures", blocked, "--set", "1", "--count", "1")
            self.assertEqual(result.returncode, 1)
            self.assertRegex(result.stderr.decode(), rf"^projectile-set: cannot write {re.escape(blocked)}/answer-1.svg: ")

    def test_a_full_disk_is_reported(self):
        with open("/dev/full", "wb") as full:
            result = subprocess.run([*RUNNER, SET_PROGRAM, "--set", "1"], stdout=full,
                                    stderr=subprocess.PIPE, timeout=TIMEOUT)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(), "projectile-set: write error: No space left on device\n")


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    SET_PROGRAM = os.path.join(os.path.dirname(PROGRAM), "projectile-set")
    FROZEN_TIME_LIBRARY = os.path.abspath(sys.argv.pop(1))
    if sys.argv[1:2] == ["--runner"]:
        end = sys.argv.index("--")
        RUNNER = sys.argv[2:end]
        del sys.argv[1:end + 1]
    unittest.main()
