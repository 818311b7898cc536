#!/usr/bin/env python3
# Writes the factory recoil tables the program installs, one file per gun:
#   scripts/gen-shoot-data.py data
# writes data/ShootData_0.Shoot … data/ShootData_3.Shoot. Each gun fires 30 bullets; a bullet pulls
# the pointer down by y and sideways by x (left when x is negative) after its shot, then waits its
# delay (the gun's pace). The pull grows over the first shots as a real spray does, then settles.
import json
import math
import os
import sys

def bullet(x, y, delay):
    xa = 'down' if x < 0 else 'up'   # "down" = left
    ya = 'up'                        # "up" = downwards: the pull against the climb
    return [
        {'Action': 'down', 'Button': 1, 'Delay': 10, 'Type': 1},
        {'Action': 'up', 'Button': 1, 'Delay': 0, 'Type': 1},
        {'Action': xa, 'Button': abs(x), 'Delay': 5, 'Type': 4},
        {'Action': ya, 'Button': y, 'Delay': delay, 'Type': 5},
        {'Action': xa, 'Button': 0, 'Delay': 0, 'Type': 4},
        {'Action': ya, 'Button': 0, 'Delay': 0, 'Type': 5},
    ]

def spray(pace, first, peak, settle, sway, sway_period):
    events = []
    for b in range(30):
        rise = min(1.0, b / 7.0)
        y = round(first + (peak - first) * rise - (peak - settle) * max(0.0, (b - 12) / 18.0))
        x = round(sway * math.sin(2 * math.pi * b / sway_period))
        events += bullet(x, max(0, y), pace)
    return events

GUNS = [
    # pace ms, first pull, peak, settled pull, sideways sway, sway period in bullets
    ('ShootData_0', spray(100, 3, 8, 6, 2, 16)),   # assault rifle
    ('ShootData_1', spray(70, 2, 5, 4, 1, 10)),    # sub-machine gun
    ('ShootData_2', spray(85, 4, 9, 8, 3, 24)),    # light machine gun
    ('ShootData_3', spray(150, 9, 11, 7, 1, 30)),  # marksman rifle
]

folder = sys.argv[1] if len(sys.argv) > 1 else 'data'
for name, events in GUNS:
    document = {'MacroName': name, 'Guid': name, 'Events': events, 'Version': 64}
    text = json.dumps(document, indent=3, separators=(',', ' : ')) + '\n'
    with open(os.path.join(folder, name + '.Shoot'), 'w') as out:
        out.write(text)
