#!/usr/bin/env python3
"""What the distribution engine and the administrator read, without Wine: the package definition
files beside the shipped program, every status MIF the machine cases expect (read by the fleet
view's reader of the documented grammar) and the fleet view's page of the cases' outputs.

Usage: fleet_test.py SHIPPED_FOLDER   (where OBERIN.SMS and OBERIN.PDF were built)
"""
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
spec = importlib.util.spec_from_file_location("fleet_report", REPORT)
fleet = importlib.util.module_from_spec(spec)
spec.loader.exec_module(fleet)
SHIPPED = None
# The start-up mode each program of the packages must ask for (see app/arguments.txt).
MODES = {"Preview": "preview", "Cleanup": "silent", "Restore": "restore"}


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
            match = re.fullmatch(r"\+ file .*\\([^\\]+)", line)
            name = match[1] if match else None
            if name:
                files[name] = []
    return {name: "\r\n".join(lines) + "\r\n" for name, lines in files.items() if lines}


def read(path):
    with open(path, encoding="ascii", newline="") as file:
        return file.read()


def expected_mifs():
    """(change list, name, text) of each status MIF the machine cases expect a run to write."""
    return [(path, name, text) for path in sorted(glob.glob(os.path.join(
        TESTS, "machines", "*", "expected*.changes")))
        for name, text in made_files(read(path)).items() if name.endswith(".MIF")]


def package_definition(name):
    definition = configparser.ConfigParser(interpolation=None, strict=True)
    definition.optionxform = str
    definition.read_string(read(os.path.join(SHIPPED, name)))
    return definition


class PackageDefinitionTest(unittest.TestCase):
    def require(self, section, limits):
        """Each entry of limits (name: longest length, 0 for any) that the document requires."""
        for entry, limit in limits.items():
            self.assertIn(entry, section, section.name)
            self.assertLessEqual(len(section[entry]), limit or 1000, entry)

    def expect_command(self, program, command_line):
        """The command line starts the shipped program in the mode program asks for."""
        file, _, arguments = command_line.partition(" ")
        self.assertEqual("OBERIN.EXE", file)
        modes = {row[2] for row in table(os.path.join("app", "arguments.txt"))
                 if row[1] == arguments}
        self.assertEqual({MODES[program]}, modes, command_line)

    def test_sms_2_0_package_runs_each_program_unattended_on_nt_351_and_40(self):
        sms = package_definition("OBERIN.SMS")
        self.assertEqual("2.0", sms["PDF"]["Version"])
        package = sms["Package Definition"]
        self.require(package, {"Name": 50, "Version": 32, "Publisher": 32, "Programs": 0})
        for entry, limit in {"Language": 32, "Comment": 127, "MIFFileName": 50, "MIFName": 50,
                             "MIFVersion": 32, "MIFPublisher": 32}.items():
            self.assertLessEqual(len(package.get(entry, "")), limit, entry)
        programs = package["Programs"].split(", ")
        self.assertEqual(sorted(MODES), sorted(programs))
        for name in programs:
            program = sms[name]
            self.require(program, {"Name": 50, "CommandLine": 127})
            self.assertLessEqual(len(program.get("Comment", "")), 127)
            self.expect_command(name, program["CommandLine"])
            self.assertEqual(("AnyUserStatus", "False", "True", "Win NT (I386)"),
                             (program["CanRunWhen"], program["UserInputRequired"],
                              program["AdminRightsRequired"], program["SupportedClients"]))
            versions = {entry: value for entry, value in program.items() if "Version" in entry}
            self.assertEqual({f"Win NT (I386) {end}Version{n}": f"{release}.{low}"
                              for n, release in ((1, "3.51"), (2, "4.00"))
                              for end, low in (("Min", "0000.0"), ("Max", "9999.9999"))},
                             versions)
            self.assertEqual("SMSRestart" if name != "Preview" else None,
                             program.get("AfterRunning"), name)
        # The engine matches a program's status MIF by these.
        for path, name, text in expected_mifs():
            mif = fleet.read_mif(text)
            self.assertEqual((package["MIFName"], package["MIFVersion"], package["MIFPublisher"]),
                             (mif["Product"], mif["Version"], mif["Manufacturer"]), path)

    def test_sms_1_2_package_has_the_same_commands(self):
        pdf = package_definition("OBERIN.PDF")
        self.assertEqual("1.0", pdf["PDF"]["Version"])
        package = pdf["Package Definition"]
        self.require(package, {"Product": 0, "Version": 0, "Comment": 0, "SetupVariations": 0})
        variations = package["SetupVariations"].split(", ")
        self.assertEqual(sorted(MODES), sorted(variations))
        for name in variations:
            command = pdf[name + " Setup"]
            self.require(command, {"CommandName": 0, "CommandLine": 0, "UserInputRequired": 0,
                                   "SynchronousSystemExitRequired": 0, "SupportedPlatforms": 0})
            self.expect_command(name, command["CommandLine"])
            self.assertEqual(("FALSE", "Windows NT (x86)"),
                             (command["UserInputRequired"], command["SupportedPlatforms"]))
            self.assertEqual(package_definition("OBERIN.SMS")[name]["CommandLine"],
                             command["CommandLine"])
        inventory = pdf["Setup Package for Inventory"]
        self.require(inventory, {"InventoryThisPackage": 0, "Detection Rule Part 1": 0})
        self.assertEqual("OBERIN.EXE", pdf[inventory["Detection Rule Part 1"]]["Filename"])


class StatusMifTest(unittest.TestCase):
    def test_every_expected_mif_reads_by_the_documented_grammar(self):
        mifs = expected_mifs()
        self.assertGreater(len(mifs), 20)
        for path, name, text in mifs:
            self.assertIn(name, ("OBERINP.MIF", "OBERINC.MIF", "OBERINR.MIF"), path)
            self.assertIn(fleet.read_mif(text)["Status"], ("Success", "Failed"), path)

    def test_reader_refuses_what_the_grammar_does_not_allow(self):
        _, _, text = expected_mifs()[0]
        for old, new in (("END COMPONENT", ""), ('"Success"', '"Done"'), ("ID = 6", "ID = 7"),
                         ('"Velmora"', '"' + "V" * 65 + '"'), ("STRING(16)", "STRING(15)"),
                         ('"Oberin"', 'Oberin'), ("END COMPONENT", "END COMPONENT\r\nEND GROUP"),
                         ("READ-ONLY", "READ-WRITE")):
            with self.subTest(old=old, new=new), self.assertRaises(fleet.Damaged):
                fleet.read_mif(text.replace(old, new, 1))


class Rows(html.parser.HTMLParser):
    """The cells of each row of a page's tables, and the targets of its links."""

    def __init__(self):
        super().__init__()
        self.rows, self.links = [], []

    def handle_starttag(self, tag, attributes):
        if tag == "tr":
            self.rows.append([])
        elif tag == "td":
            self.rows[-1].append("")
        elif tag == "a":
            self.links.append(dict(attributes)["href"])

    def handle_data(self, data):
        if self.rows and self.rows[-1]:
            self.rows[-1][-1] += data


class FleetReportTest(unittest.TestCase):
    def test_page_gives_each_server_its_state_and_counts_whatever_its_files(self):
        with tempfile.TemporaryDirectory() as fleet_folder:
            for server, runs, damage, *_ in table(os.path.join("tools", "fleet.txt")):
                folder = os.path.join(fleet_folder, server)
                os.mkdir(folder)
                for time, run in enumerate(runs.split(", "), 1000000000):
                    case, number = run.split(":")
                    changes = os.path.join(TESTS, "machines", case, "expected" + (
                        "" if number == "1" else "-" + number) + ".changes")
                    for name, text in made_files(read(changes)).items():
                        if re.fullmatch(r"oberin-\w+\.txt|OBERIN.\.MIF", name):
                            with open(os.path.join(folder, name), "w", newline="") as file:
                                file.write(text)
                            os.utime(os.path.join(folder, name), (time, time))
                if damage:
                    action, name = damage.split(" ")
                    path = os.path.join(folder, name)
                    text = read(path)
                    os.remove(path)
                    if action == "cut":
                        with open(path, "w", newline="") as file:
                            file.write(text[:len(text) // 2])
            page = os.path.join(fleet_folder, "fleet.html")
            subprocess.run([sys.executable, REPORT, fleet_folder], check=True)
            rows = Rows()
            with open(page, encoding="utf-8") as file:
                rows.feed(file.read())
            for link in rows.links:
                self.assertTrue(os.path.isfile(os.path.join(fleet_folder, unquote(link))), link)
        shown = {cells[0]: cells[1:7] for cells in rows.rows if cells}
        for server, _, _, *expected in table(os.path.join("tools", "fleet.txt")):
            self.assertEqual(expected, shown.pop(server), server)
        self.assertEqual({}, shown)


if __name__ == "__main__":
    SHIPPED = sys.argv.pop(1)
    unittest.main()
