#!/usr/bin/env python3
"""The fleet view: one HTML page from what Oberin left on many servers, collected into one folder
per server (its name the server's): the status MIFs OBERINP.MIF, OBERINC.MIF and OBERINR.MIF of
the Windows directory and the reports oberin-preview.txt, oberin-changes.txt and
oberin-restore.txt, copied with their times. A row per server: its state, decided by its newest
status MIF (clean, needs cleanup, cleaned, not restorable: cleaned, but changes were not saved
for a restore, cleaned with failures, cleanup failed, restored, preview failed, restore failed),
the counts of its reports, their warnings, the status line and links to its files. A file that
cannot be read shows as the server's state ("damaged NAME", "missing NAME", "no status").
The servers that need the administrator come first. The page is one file of plain HTML 4 with
inline styles and no script, for any browser from Internet Explorer on Windows NT 4.0 on.

Usage: fleet-report.py FOLDER [PAGE]   (PAGE: FOLDER/fleet.html)
"""
import html
import os
import re
import sys
from urllib.request import pathname2url

# The runs in the order a server usually sees them: their status MIF and their report.
RUNS = (("preview", "OBERINP.MIF", "oberin-preview.txt"),
        ("cleanup", "OBERINC.MIF", "oberin-changes.txt"),
        ("restore", "OBERINR.MIF", "oberin-restore.txt"))
# A line of oberin-changes.txt: entry, action, target, outcome and perhaps "not saved"; its last
# lines about the restore kit: entry 0, "restore kit", the kit's folder and what there is to say.
CHANGE = re.compile(r"\d+\t[^\t]+\t[^\t]*\t(done|at restart|absent|failed \d+)(\tnot saved)?")
KIT = re.compile(r"0\trestore kit\t([^\t]*)\t(?:changes not saved for a restore: \d+|"
                 r"(on a volume without security: anyone may change it))")
COLUMNS = ("Server", "State", "Would change", "Changed", "At restart", "Failed", "Not saved",
           "Restored", "Warnings", "Status", "Files")
# Each state's colour, shown beside its name; the states that need the administrator first,
# most urgent first.
COLOURS = {"cleanup failed": "#b71c1c", "preview failed": "#c62828", "restore failed": "#d84315",
           "cleaned with failures": "#ef6c00", "not restorable": "#f9a825",
           "needs cleanup": "#1565c0", "cleaned": "#2e7d32", "restored": "#00838f",
           "clean": "#9e9e9e"}
URGENT = tuple(COLOURS)[:5]  # the states that need the administrator
UNREADABLE = "#6a1b9a"  # damaged, missing or no status


class Damaged(Exception):
    """A file that does not have the form its kind has."""


# A status MIF: the component "WORKSTATION" with these groups, attributes in this order. Every
# attribute is read-only, specific, a string no longer than its type says.
MIF_GROUPS = (("ComponentID", "1", "DMTF|ComponentID|1.0",
               (("Manufacturer", 64), ("Product", 64), ("Version", 64), ("Locale", 16),
                ("Serial Number", 64), ("Installation", 64))),
              ("InstallStatus", "2", "MICROSOFT|JOBSTATUS|1.0",
               (("Status", 32), ("Description", 128))))
STATEMENT = re.compile(r'^(START|END) (COMPONENT|GROUP|ATTRIBUTE)$|^(NAME|ID|CLASS|ACCESS|STORAGE|'
                       r'TYPE|VALUE) = ("[^"]*"|[^"\s]+)$', re.IGNORECASE)


def read_mif(text):
    """The attributes of a status MIF by name; Damaged when it departs from the grammar."""
    statements = []
    for line in text.splitlines():
        if line.strip():
            match = STATEMENT.match(line.strip())
            if not match:
                raise Damaged(f"not a MIF statement: {line.strip()}")
            statements.append(" ".join(match.group(1, 2)).upper() if match.group(1)
                              else (match.group(3).upper(), match.group(4)))
    statements.reverse()

    def take(expected):
        if not statements or statements[-1] != expected:
            raise Damaged(f"expected {expected}, found {statements[-1] if statements else 'the end'}")
        statements.pop()

    def value(keyword):
        if not statements or statements[-1][0] != keyword:
            raise Damaged(f"expected {keyword}")
        return statements.pop()[1]

    take("START COMPONENT")
    take(("NAME", '"WORKSTATION"'))
    attributes = {}
    for group, number, kind, members in MIF_GROUPS:
        take("START GROUP")
        take(("NAME", f'"{group}"'))
        take(("ID", number))
        take(("CLASS", f'"{kind}"'))
        for index, (name, size) in enumerate(members, 1):
            take("START ATTRIBUTE")
            take(("NAME", f'"{name}"'))
            take(("ID", str(index)))
            if value("ACCESS").upper() != "READ-ONLY" or value("STORAGE").upper() != "SPECIFIC":
                raise Damaged(f"{name}: not read-only and specific")
            if value("TYPE").upper() != f"STRING({size})":
                raise Damaged(f"{name}: not a string of {size}")
            quoted = value("VALUE")
            if not quoted.startswith('"') or len(quoted) - 2 > size:
                raise Damaged(f"{name}: not a string of up to {size} characters")
            attributes[name] = quoted[1:-1]
            take("END ATTRIBUTE")
        take("END GROUP")
    take("END COMPONENT")
    if statements:
        raise Damaged("text after the component")
    if attributes["Status"] not in ("Success", "Failed"):
        raise Damaged("a status other than Success or Failed")
    return attributes


def read_counts(run, text):
    """The counts of a run's report by column; Damaged when they are not there."""
    lines = text.splitlines()
    if run == "preview":
        totals = [line.split("\t") for line in lines if line.startswith("all\t")]
        if len(totals) != 1 or len(totals[0]) != 3 or not "".join(totals[0][1:]).isdigit():
            raise Damaged("no count of all changes")
        return {"Would change": str(int(totals[0][1]) - int(totals[0][2]))}
    if run == "cleanup":
        counts, warnings = {"Changed": 0, "At restart": 0, "Failed": 0, "Not saved": 0}, []
        for line in lines:
            match, kit = CHANGE.fullmatch(line), KIT.fullmatch(line)
            if kit:
                if kit[2]:
                    warnings.append(f"restore kit {kit[1]} {kit[2]}")
                continue
            if not match:
                raise Damaged(f"not a change: {line}")
            column = {"done": "Changed", "at": "At restart", "failed": "Failed"}.get(
                match[1].split(" ")[0])
            if column:
                counts[column] += 1
            if match[2] and column in ("Changed", "At restart"):
                counts["Not saved"] += 1
        return dict({column: str(count) for column, count in counts.items()},
                    Warnings="; ".join(warnings))
    # A restore that could not start (no kit, a kit refused, another Windows) says why alone.
    if len(lines) == 1 and re.match(r"Oberin (restore: |is not supported)", lines[0]):
        return {}
    last = [line for line in lines if line.strip()][-1:]
    match = re.fullmatch(r"(\d+) of (\d+) items restored\.", last[0] if last else "")
    if not match:
        raise Damaged("no count of the items restored")
    return {"Restored": f"{match[1]} of {match[2]}"}


def read_file(folder, name, reader, *arguments):
    """What reader makes of the file's text; Damaged, named by the file, when it cannot."""
    try:
        with open(os.path.join(folder, name), "rb") as file:
            return reader(*arguments, file.read().decode("cp1252", errors="replace"))
    except (OSError, Damaged) as fault:
        raise Damaged(f"damaged {name}") from fault


def server_row(folder):
    """The cells of one server's row: its state, counts, status line and files."""
    files = {name.lower(): name for name in sorted(os.listdir(folder))
             if os.path.isfile(os.path.join(folder, name))}
    row = {"Files": list(files.values())}
    newest = None
    try:
        for run, mif, report in RUNS:
            if report.lower() in files:
                row.update(read_file(folder, files[report.lower()], read_counts, run))
            if mif.lower() not in files:
                continue
            status = read_file(folder, files[mif.lower()], read_mif)
            if status["Status"] == "Success" and report.lower() not in files:
                raise Damaged(f"missing {report}")
            time = os.path.getmtime(os.path.join(folder, files[mif.lower()]))
            if newest is None or time >= newest[0]:
                newest = (time, run, status)
        if newest is None:
            raise Damaged("no status")
    except Damaged as fault:
        return dict(row, State=str(fault), Status="")
    _, run, status = newest
    if status["Status"] == "Failed":
        state = {"preview": "preview failed", "restore": "restore failed"}.get(
            run, "cleaned with failures" if "Changed" in row else "cleanup failed")
    elif run == "preview":
        state = "clean" if row["Would change"] == "0" else "needs cleanup"
    elif run == "cleanup":
        state = ("clean" if row["Changed"] == row["At restart"] == "0"
                 else "not restorable" if row["Not saved"] != "0" else "cleaned")
    else:
        state = "restored"
    return dict(row, State=state, Status=f"{status['Status']}: {status['Description']}")


def attention(state):
    """The place of a state's rows: failures, then unreadable files, then the rest."""
    return (1, 0) if state not in COLOURS else \
        (0 if state in URGENT else 2, list(COLOURS).index(state))


def swatch(state):
    """The state's name with its colour beside it."""
    colour = COLOURS.get(state, UNREADABLE)
    return (f'<span style="background-color: {colour}; color: {colour}; border: 1px solid #000">'
            f"&nbsp;&nbsp;&nbsp;</span> {html.escape(state)}")


def page(folder, page_path):
    """The page's HTML: a row per server folder of folder, links relative to page_path."""
    rows = sorted((dict(server_row(os.path.join(folder, name)), Server=name)
                   for name in os.listdir(folder) if os.path.isdir(os.path.join(folder, name))),
                  key=lambda row: (attention(row["State"]), row["State"], row["Server"]))
    states, lines = {}, []
    for row in rows:
        # The first row of each state is where the summary's count leads.
        anchor = "" if row["State"] in states else \
            f'<a name="state-{len(states)}">'
        states.setdefault(row["State"], [len(states), 0])[1] += 1
        base = os.path.relpath(os.path.join(folder, row["Server"]), os.path.dirname(page_path))
        links = " ".join(f'<a href="{html.escape(pathname2url(os.path.join(base, name)))}">'
                         f"{html.escape(name)}</a>" for name in row["Files"])
        cells = [anchor + html.escape(row["Server"]) + ("</a>" if anchor else ""),
                 swatch(row["State"])] + [html.escape(row.get(column, ""))
                                          for column in COLUMNS[2:-1]] + [links]
        shade = ' style="background-color: #fff3e0"' if attention(row["State"])[0] < 2 else ""
        lines.append(f"<tr{shade}>" + "".join(f'<td valign="top">{cell}</td>' for cell in cells)
                     + "</tr>")
    summary = "".join(f'<li><a href="#state-{number}">{count}</a> {swatch(state)}</li>'
                      for state, (number, count) in states.items())
    text = ('<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">\n<html><head>'
            '<meta http-equiv="Content-Type" content="text/html; charset=us-ascii">'
            "<title>Oberin fleet</title></head>\n"
            '<body style="font-family: Arial, Helvetica, sans-serif; font-size: 10pt">\n'
            f"<h1>Oberin fleet</h1>\n<p>{len(rows)} servers, those that need you first:</p>\n"
            f'<ul style="list-style-type: none">{summary}</ul>\n'
            '<table border="1" cellspacing="0" cellpadding="3" style="font-size: 9pt">\n'
            '<tr style="background-color: #e0e0e0">'
            + "".join(f"<th>{column}</th>" for column in COLUMNS) + "</tr>\n"
            + "\n".join(lines) + "\n</table>\n</body></html>\n")
    # Plain ASCII, whatever the servers' names: any browser reads it.
    return text.encode("ascii", "xmlcharrefreplace").decode("ascii")


def main(arguments):
    if len(arguments) not in (2, 3) or not os.path.isdir(arguments[1]):
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    page_path = arguments[2] if len(arguments) == 3 else os.path.join(arguments[1], "fleet.html")
    with open(page_path, "w", encoding="utf-8") as out:
        out.write(page(arguments[1], page_path))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
