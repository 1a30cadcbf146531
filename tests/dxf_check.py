#!/usr/bin/python3
"""DXF drawings read back by an independent reader (ezdxf): the auditor finds
no error, the header says feet, and the entities are those of the figure —
their count, layers, line ends, arc centers, radii and angles (within 1e-9
relative), the points with their numbers and descriptions, center marks.
With course labels (--courses), the labels on V-COURSES and the chords of
the curve table on V-TABLE are the courses TPR lists, bearing and distance.
Usage: dxf_check.py path/to/vantrel-cli path/to/Vantrel.txt"""
import math
import os
import re
import subprocess
import sys
import tempfile

import ezdxf

POINTS = {  # number: (north, east, description)
    1: (5000.0, 3000.0, "IRON PIN FND"),
    2: (5000.0, 3200.0, "ÉCOLE"),
    3: (4900.123456789, 3312.5, ""),
    4: (4800.0, 3200.0, ""),
    5: (4900.0, 3200.0, ""),
    6: (4800.0, 3000.0, "FENCE"),
    7: (5103.25, 3061.75, ""),
    8: (5050.5, 2950.25, ""),
}
# Map lists: C before a center. Arcs bulge either way and cross east.
FIGURES = [["1", "2", "C5", "4", "6", "1"], ["1", "C8", "7", "3"], ["6", "C5", "3", "2"]]


def job(lines):
    return "\r\n".join(lines) + "\r\n"


def known_points():
    fields = []
    for n, (north, east, _) in POINTS.items():
        fields += [str(n), repr(north), repr(east)]
    described = [f"{n},{d}" for n, (_, _, d) in POINTS.items() if d]
    return ["KWN", ",".join(fields), "DES", ",".join(described)]


# The program's own constants, with which ARE decides the side of an arc.
PI, TWO_PI = 3.1415926536, 6.2831853072


def azimuth(d_east, d_north):
    if d_north != 0:
        a = math.atan(d_east / d_north)
        return a if d_north > 0 else a + PI
    return PI / 2 if d_east > 0 else 3 * PI / 2


def arc_delta(pc, center, pt):
    """The central angle ARE takes, clockwise positive; a half turn keeps
    the sign of the difference of azimuths."""
    delta = azimuth(pt[1] - center[1], pt[0] - center[0]) - azimuth(pc[1] - center[1], pc[0] - center[0])
    if delta < -PI:
        delta += TWO_PI
    if delta > PI:
        delta -= TWO_PI
    return delta


def expected(figures):
    """The entities the figures should give, as (type, layer, values)."""
    lines, arcs, points, centers = [], [], [], []
    for figure in figures:
        entries = [(-int(f[1:]) if f.startswith("C") else int(f)) for f in figure]
        previous = None
        for i, value in enumerate(entries):
            p = abs(value)
            center = value <= 0
            (centers if center else points).append(p) if p not in (centers if center else points) else None
            north, east, _ = POINTS[p]
            if i == 0:
                previous = p
            elif not center:
                if entries[i - 1] > 0 and previous:
                    n0, e0, _ = POINTS[previous]
                    lines.append((e0, n0, east, north))
                previous = p
            elif i + 1 < len(entries) and entries[i - 1] > 0 and entries[i + 1] > 0:
                a, b = POINTS[entries[i - 1]], POINTS[entries[i + 1]]
                radius = math.hypot(b[0] - north, b[1] - east) / 2 + math.hypot(a[0] - north, a[1] - east) / 2
                a1 = math.atan2(a[0] - north, a[1] - east) % (2 * math.pi)
                a2 = math.atan2(b[0] - north, b[1] - east) % (2 * math.pi)
                if arc_delta(a, (north, east), b) > 0:  # clockwise: drawn counterclockwise from its end
                    a1, a2 = a2, a1
                arcs.append((east, north, radius, math.degrees(a1), math.degrees(a2)))
                previous = None
    return lines, arcs, points, centers


def close(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))


def decoded(text):
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def check(path, figures):
    failures = []
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        failures.append(f"auditor errors: {[str(e.message) for e in auditor.errors]}")
    if doc.dxfversion != "AC1009":
        failures.append(f"version {doc.dxfversion}")
    if doc.header.get("$INSUNITS") != 2:
        failures.append(f"$INSUNITS {doc.header.get('$INSUNITS')}")
    layers = {layer.dxf.name for layer in doc.layers}
    for name in ["V-LINES", "V-ARCS", "V-POINTS", "V-NUMBERS", "V-DESCRIPTIONS", "V-CENTERS"]:
        if name not in layers:
            failures.append(f"layer {name} missing")
    msp = doc.modelspace()
    lines, arcs, points, centers = expected(figures)

    got_lines = [(e.dxf.start[0], e.dxf.start[1], e.dxf.end[0], e.dxf.end[1]) for e in msp.query('LINE[layer=="V-LINES"]')]
    if len(got_lines) != len(lines) or not all(all(map(close, g, w)) for g, w in zip(got_lines, lines)):
        failures.append(f"lines {got_lines} != {lines}")
    got_arcs = [(e.dxf.center[0], e.dxf.center[1], e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle)
                for e in msp.query('ARC[layer=="V-ARCS"]')]
    if len(got_arcs) != len(arcs) or not all(all(map(close, g, w)) for g, w in zip(got_arcs, arcs)):
        failures.append(f"arcs {got_arcs} != {arcs}")
    got_points = [(e.dxf.location[0], e.dxf.location[1]) for e in msp.query('POINT[layer=="V-POINTS"]')]
    want_points = [(POINTS[p][1], POINTS[p][0]) for p in points]
    if got_points != want_points:
        failures.append(f"points {got_points} != {want_points}")
    numbers = [e.dxf.text for e in msp.query('TEXT[layer=="V-NUMBERS"]')]
    if numbers != [str(p) for p in points]:
        failures.append(f"numbers {numbers}")
    descriptions = [decoded(e.dxf.text) for e in msp.query('TEXT[layer=="V-DESCRIPTIONS"]')]
    if descriptions != [POINTS[p][2] for p in points if POINTS[p][2]]:
        failures.append(f"descriptions {descriptions}")
    marks = msp.query('LINE[layer=="V-CENTERS"]')
    if len(marks) != 2 * len(centers):
        failures.append(f"{len(marks)} center mark lines for {len(centers)} centers")
    other = [e.dxftype() for e in msp if e.dxf.layer not in layers - {"0"}]
    if other:
        failures.append(f"entities on no figure layer: {other}")
    return [f"{os.path.basename(path)}: {f}" for f in failures]


TPR_ROW = re.compile(r"^\s+([NS]?)\s*(\d+)\s+(\d+)\s+(\d+)([EW]?)\s+([0-9.]+)")
LABEL = re.compile(r"^([NS]) (\d+)°(\d\d)'(\d\d)\" ([EW])(?:  ([0-9.]+)')?$")


def as_tpr(match):
    """Bearing and distance of a label or row, as TPR's columns give them."""
    quadrant, degrees, minutes, seconds, toward, distance = match.groups()
    # TPR leaves the quadrant letters of due north blank; a label names them.
    return (quadrant or "N", int(degrees), int(minutes), int(seconds), toward or "E", distance)


def check_courses(cli, reference, folder, figure):
    """TPR's courses of the figure against the labels of the DXF --courses
    writes: each line's label, and each curve's chord bearing and chord."""
    failures = []
    listed = ",".join(figure)
    with open(os.path.join(folder, "courses.cmd"), "w", encoding="utf-8", newline="") as f:
        f.write(job(known_points() + ["TPR", "B", listed, "MAP", listed]))
    run = subprocess.run([cli, "--folder", folder, "--reference", reference, "--courses", "--map",
                          os.path.join(folder, "courses.dxf"), os.path.join(folder, "courses.cmd")],
                         capture_output=True, text=True)
    tpr = [as_tpr(m) for m in map(TPR_ROW.match, run.stdout.splitlines()) if m]
    doc = ezdxf.readfile(os.path.join(folder, "courses.dxf"))
    if doc.audit().has_errors:
        failures.append("courses.dxf: auditor errors")
    msp = doc.modelspace()
    labels = [decoded(e.dxf.text) for e in msp.query('TEXT[layer=="V-COURSES"]')]
    lines = [as_tpr(LABEL.match(t)) for t in labels if LABEL.match(t)]
    curve_numbers = [t for t in labels if re.fullmatch(r"C\d+", t)]
    # The table one text per cell, row by row: Curve, Radius, Delta, Length,
    # Chord Bearing, Chord.
    cells = [decoded(e.dxf.text) for e in msp.query('TEXT[layer=="V-TABLE"]')]
    rows = [cells[k:k + 6] for k in range(6, len(cells), 6)]
    chords = []
    for row in rows:
        bearing = LABEL.match(row[4])
        if not bearing:
            failures.append(f"courses.dxf: chord bearing {row[4]!r}")
            continue
        chords.append(as_tpr(bearing)[:5] + (row[5].rstrip("'"),))
    if len(curve_numbers) != len(rows):
        failures.append(f"courses.dxf: {len(curve_numbers)} curve labels for {len(rows)} table rows")
    if sorted(lines + chords) != sorted(tpr) or not tpr:
        failures.append(f"courses.dxf: labels {sorted(lines + chords)} != TPR {sorted(tpr)}")
    return failures


def check_alignment(path):
    """A tangent east from the origin and a quarter turn right of radius 1000
    about E 1000 N -1000 on V-ALIGNMENT: the tangent and 26 ticks (stations 0
    to 2500 every 100 ft, the plot option's interval) as lines, the curve as
    an arc counterclockwise from east to north, the stations as texts."""
    failures = []
    doc = ezdxf.readfile(path)
    if doc.audit().has_errors:
        failures.append("auditor errors")
    msp = doc.modelspace()
    lines = msp.query('LINE[layer=="V-ALIGNMENT"]')
    if len(lines) != 27:
        failures.append(f"{len(lines)} alignment lines, not 27")
    elif not all(map(close, (lines[0].dxf.start[0], lines[0].dxf.start[1], lines[0].dxf.end[0], lines[0].dxf.end[1]),
                     (0.0, 0.0, 1000.0, 0.0))):
        failures.append(f"tangent {lines[0].dxf.start} {lines[0].dxf.end}")
    arcs = [(e.dxf.center[0], e.dxf.center[1], e.dxf.radius, e.dxf.start_angle % 360, e.dxf.end_angle)
            for e in msp.query('ARC[layer=="V-ALIGNMENT"]')]
    if len(arcs) != 1 or not all(abs(g - w) <= 1e-6 for g, w in zip(arcs[0], (1000.0, -1000.0, 1000.0, 0.0, 90.0))):
        failures.append(f"arcs {arcs}")
    labels = [e.dxf.text for e in msp.query('TEXT[layer=="V-ALIGNMENT"]')]
    if labels != [str(k * 100) for k in range(26)]:
        failures.append(f"station labels {labels}")
    return [f"{os.path.basename(path)}: {f}" for f in failures]


def main():
    cli, reference = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        pane = known_points() + ["DXF"] + ["fig%d,%s" % (k, ",".join(f)) for k, f in enumerate(FIGURES)]
        # The plot window's drawing: every MAP line of one MAP command.
        pane += ["MAP"] + [",".join(f) for f in FIGURES]
        pane += ["KWN", "21,0,0,22,0,1000,23,-1000,1000,24,-1000,2000", "ALN", "1,0,L,21,22,C,22,23,24",
                 "DXF", "route,A1"]
        with open(os.path.join(folder, "job.cmd"), "w", encoding="utf-8", newline="") as f:
            f.write(job(pane))
        run = subprocess.run([cli, "--folder", folder, "--reference", reference, "--map",
                              os.path.join(folder, "map.dxf"), os.path.join(folder, "job.cmd")],
                             capture_output=True, text=True)
        # Arcs whose ends lie at unequal distances from their center are
        # said to be drawn with the mean radius; nothing else is said.
        said = [line for line in run.stderr.splitlines() if "has unequal radii" not in line]
        if run.returncode != 0 or said:
            failures.append(f"vantrel-cli: status {run.returncode}: {run.stderr}")
        for k, figure in enumerate(FIGURES):
            failures += check(os.path.join(folder, f"fig{k}.dxf"), [figure])
        failures += check_alignment(os.path.join(folder, "route.dxf"))
        failures += check(os.path.join(folder, "map.dxf"), FIGURES)
        # A closed figure of lines and arcs bulging either way.
        failures += check_courses(cli, reference, folder, ["1", "2", "C5", "4", "6", "1"])
    for failure in failures:
        print(failure)
    print("DXF files match their figures" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
