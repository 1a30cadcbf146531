# The naive script the batch run is measured against: the KWN and DAB lines
# of a job read, split and converted one by one, each DAB row printed with
# string formatting.
import math
import sys

north, east = {}, {}
code, headed = "", False


def angle(a, bearing):
    a %= 2 * math.pi
    q1 = q2 = " "
    if bearing:
        if a > 1.5 * math.pi:
            q1, q2, a = "N", "W", 2 * math.pi - a
        elif a > math.pi:
            q1, q2, a = "S", "W", a - math.pi
        elif a > math.pi / 2:
            q1, q2, a = "S", "E", math.pi - a
        elif a > 0:
            q1, q2 = "N", "E"
    s = round(math.degrees(a) * 3600)
    return "%s%3d%3d%3d%s" % (q1, s // 3600, s // 60 % 60, s % 60, q2)


for line in sys.stdin:
    line = line.rstrip("\r\n")
    if len(line) == 3 and line[0].isalpha():
        code, headed = line, False
        continue
    fields = line.split(",")
    if code == "KWN":
        for k in range(0, len(fields) - 2, 3):
            n = int(fields[k])
            north[n], east[n] = float(fields[k + 1]), float(fields[k + 2])
    elif code == "DAB":
        if not headed:
            print("\nFrom   To       Ft.    Azimuth         Bearing")
            headed = True
        for k in range(0, len(fields) - 1, 2):
            i, j = int(fields[k]), int(fields[k + 1])
            dn, de = north[j] - north[i], east[j] - east[i]
            d = math.atan2(de, dn)
            print("%4d%5d%10.2f%13s%16s" % (i, j, math.hypot(de, dn), angle(d, False), angle(d, True)))
