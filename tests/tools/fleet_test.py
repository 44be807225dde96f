#!/usr/bin/env python3
"""fleet_test.py SHIPPED_FOLDER: without Wine, the package definition files built there, every
status MIF the machine cases expect (read by the fleet view's reader of the layout Oberin writes)
and the fleet view's page of the cases' outputs."""
import configparser
import glob
import html.parser
import importlib.util
import os
import re
import subprocess
import sys
import tempfile
import unittest
from urllib.parse import unquote

sys.dont_write_bytecode = True  # nothing of the tool is left in the source tree
TESTS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPORT = os.path.join(os.path.dirname(TESTS), "tools", "fleet-report.py")
found = importlib.util.spec_from_file_location("fleet_report", REPORT)
fleet = importlib.util.module_from_spec(found)
found.loader.exec_module(fleet)
SHIPPED = None
# The states of a server that need the administrator; so does every file that cannot be read.
NEEDS_ADMINISTRATOR = ("cleanup failed", "preview failed", "restore failed",
                       "cleaned with failures", "not restorable")


def needs_administrator(state):
    """Whether a server in state needs the administrator: a failure or an unreadable file."""
    return (state in NEEDS_ADMINISTRATOR or state == "no status" or
            state.startswith(("damaged ", "missing ")))


def table(name):
    """The rows of a case table of tests/ (as CaseTable reads them), "-" for an empty field."""
    with open(os.path.join(TESTS, name), encoding="ascii") as file:
        return [[field if field != "-" else "" for field in line.rstrip("\n").split(" | ")]
                for line in file if line.strip() and not line.startswith("#")]


def made_files(changes):
    """The files a run made or changed with their text, by name, from its expected change list."""
    files, name = {}, None
    for line in changes.splitlines():
        if line.startswith("    | ") and name:
            files[name].append(line[6:])
        else:
            # The kit's files (its copy of the change report among them) are not the server's.
            match = re.fullmatch(r"\+ file (?!.*\\oberin-restore\\).*\\([^\\]+)", line)
            name = match[1] if match else None
            if name:
                files[name] = []
    return {name: "\r\n".join(lines) + "\r\n" for name, lines in files.items() if lines}


def read(path):
    with open(path, encoding="utf-8", newline="") as file:
        return file.read()


def expected_mifs():
    """(change list, name, text) of each status MIF the machine cases expect a run to write."""
    return [(path, name, text) for path in sorted(glob.glob(os.path.join(
        TESTS, "machines", "*", "expected*.changes")))
        for name, text in made_files(read(path)).items() if name.endswith(".MIF")]


class PackageDefinitionTest(unittest.TestCase):
    def test_each_entry_is_as_the_documents_and_the_programs_ask(self):
        mifs = [fleet.read_mif(text) for _, _, text in expected_mifs()]
        modes = {row[1]: row[2] for row in table(os.path.join("app", "arguments.txt"))}
        files = {}
        for name, section, entry, rule in table(os.path.join("tools", "package-entries.txt")):
            if name not in files:
                files[name] = configparser.ConfigParser(interpolation=None, strict=True)
                files[name].optionxform = str
                files[name].read_string(read(os.path.join(SHIPPED, name)))
            package = files[name]["Package Definition"]
            programs = package.get("Programs", package.get("SetupVariations")).split(", ")
            for part in [section.replace("PROGRAM", program) for program in programs] \
                    if "PROGRAM" in section else [section]:
                value = files[name][part].get(entry)
                where = f"{name} [{part}] {entry}: {value}"
                size = re.fullmatch(r"(required)? ?(up to (\d+))?", rule)
                if size:
                    self.assertTrue(value or not size[1], where)
                    self.assertLessEqual(len(value or ""), int(size[3] or 1000), where)
                elif rule.startswith("mode "):
                    self.assertEqual(rule[5:], modes.get(value.replace("OBERIN.EXE ", "", 1)),
                                     where)
                elif rule.startswith("mif "):
                    self.assertEqual({value}, {mif[rule[4:]] for mif in mifs}, where)
                else:
                    self.assertEqual(None if rule == "absent" else rule, value, where)


class StatusMifTest(unittest.TestCase):
    def test_every_expected_mif_reads_by_the_layout_oberin_writes(self):
        mifs = expected_mifs()
        self.assertGreater(len(mifs), 20)
        for path, _, text in mifs:
            self.assertIn(fleet.read_mif(text)["Status"], ("Success", "Failed"), path)


class Rows(html.parser.HTMLParser):
    """The cells of each row of a page's tables, the targets of its links, the names its anchors
    give and the tags it uses."""

    def __init__(self):
        super().__init__()
        self.rows, self.links, self.anchors, self.tags = [], [], [], set()

    def handle_starttag(self, tag, attributes):
        self.tags.add(tag)
        if tag == "tr":
            self.rows.append([])
        elif tag == "td":
            self.rows[-1].append("")
        elif tag == "a" and "href" in dict(attributes):
            self.links.append(dict(attributes)["href"])
        elif tag == "a":
            self.anchors.append(dict(attributes)["name"])

    def handle_data(self, data):
        if self.rows and self.rows[-1]:
            self.rows[-1][-1] += data


class FleetReportTest(unittest.TestCase):
    def test_page_gives_each_server_its_state_and_counts_whatever_its_files(self):
        """Each server's row as fleet.txt says, those that need the administrator first; the
        summary's counts lead to their rows; plain HTML 4: no script, no CSS of its own."""
        servers = table(os.path.join("tools", "fleet.txt"))
        with tempfile.TemporaryDirectory() as top:
            for server, runs, damage, *_ in servers:
                files = {}  # name: text and the time of the run that wrote it last
                for time, run in enumerate(runs.split(", "), 1000000000):
                    case, number = run.split(":")
                    changes = f"expected{'' if number == '1' else '-' + number}.changes"
                    for name, text in made_files(read(os.path.join(
                            TESTS, "machines", case, changes))).items():
                        if re.fullmatch(r"oberin-\w+\.txt|OBERIN.\.MIF", name):
                            files[name] = (text, time)
                if damage:
                    action, name, *edit = damage.split(" ", 2)
                    text, time = files.pop(name)
                    if action == "cut":
                        text = text[:len(text) // 2]
                    elif action == "edit":
                        old, new = edit[0].replace("\\t", "\t").replace("\\n", "\r\n").split(" => ")
                        text = text.replace(old, new, 1)
                    if action != "delete":
                        files[name] = (text, time)
                os.mkdir(os.path.join(top, server))
                for name, (text, time) in files.items():
                    with open(os.path.join(top, server, name), "w", newline="") as file:
                        file.write(text)
                    os.utime(os.path.join(top, server, name), (time, time))
            subprocess.run([sys.executable, REPORT, top], check=True)
            rows = Rows()
            with open(os.path.join(top, "fleet.html"), encoding="utf-8") as file:
                rows.feed(file.read())
            for link in rows.links:
                self.assertTrue(link[1:] in rows.anchors if link.startswith("#") else
                                os.path.isfile(os.path.join(top, unquote(link))), link)
        shown = [[cell.strip() for cell in cells[:9]] for cells in rows.rows if cells]
        attention = [needs_administrator(row[1]) for row in shown]
        self.assertEqual(sorted(attention, reverse=True), attention)
        self.assertEqual(len(set(row[1] for row in shown)), len(rows.anchors))
        self.assertEqual(set(), rows.tags & {"script", "style", "link"})
        self.assertEqual(sorted(server[:1] + server[3:] for server in servers),
                         sorted(row for row in shown))


if __name__ == "__main__":
    SHIPPED = sys.argv.pop(1)
    unittest.main()
