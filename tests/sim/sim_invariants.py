#!/usr/bin/env python3
"""Runs vortexa-sim for ten virtual minutes over every script, with and without the dial clock and
with both captives choices, and checks what must hold on every dump."""

import itertools
import json
import os
import subprocess
import sys
import tempfile

RUN_MS = 600000
EVERY_MS = 1000
CIRCLES = {1: 12, 2: 10, 3: 20}  # the most circles the dialog offers for each script
HUB_HALF = 75


class Run:
    def __init__(self, scenario, view_time, captives, screen):
        self.scenario, self.view_time, self.captives, self.screen = scenario, view_time, captives, screen
        self.problems = []

    def name(self):
        return f"script {self.scenario}, clock {self.view_time}, captives {self.captives}, screen {self.screen}"

    def check(self, condition, message):
        if not condition and len(self.problems) < 10:
            self.problems.append(message)


def settings_text(scenario, view_time, captives):
    values = [("krugN", CIRCLES[scenario]), ("BorderWidth", 2), ("Speed", 3), ("viewTime", view_time),
              ("Scenario", scenario), ("Plen", captives), ("Local", 1)]
    return "".join(f"{key}={value}\r\n" for key, value in values)


def simulate(sim, run, folder):
    path = os.path.join(folder, f"s{run.scenario}v{run.view_time}p{run.captives}.ini")
    with open(path, "w", newline="") as out:
        out.write(settings_text(run.scenario, run.view_time, run.captives))
    result = subprocess.run([sim, "--settings", path, "--screen", run.screen, "--ms", str(RUN_MS),
                             "--every", str(EVERY_MS)], capture_output=True, text=True, check=False)
    run.check(result.returncode == 0, f"exit status {result.returncode}: {result.stderr.strip()}")
    return [json.loads(line) for line in result.stdout.splitlines()]


def duration(seconds):
    return f"{seconds // 3600}:{seconds // 60 % 60:02d}:{seconds % 60:02d}"


def check_steps_keep_their_magnitudes(run, first, dump):
    for i, (x0, y0, x, y) in enumerate(zip(first["step_x"], first["step_y"], dump["step_x"], dump["step_y"])):
        if run.scenario == 2 and i >= 2:
            # A captured circle runs in one direction at a time, at its first speed or its turning speed.
            run.check((x == 0) != (y == 0), f"ms {dump['ms']}: circle {i} has steps ({x}, {y})")
            run.check(abs(x + y) in (abs(y0), 10 * i + 15), f"ms {dump['ms']}: circle {i} runs at {abs(x + y)}")
        else:
            run.check((abs(x), abs(y)) == (abs(x0), abs(y0)), f"ms {dump['ms']}: circle {i} steps ({x}, {y})")


def check_independence(run, dump):
    width, height = dump["screen"]["width"], dump["screen"]["height"]
    for shape, sx, sy in zip(dump["shapes"], dump["step_x"], dump["step_y"]):
        left, top, size = shape["left"], shape["top"], shape["width"]
        run.check(-abs(sx) <= left <= width - size + abs(sx), f"ms {dump['ms']}: circle {shape['index']} left {left}")
        run.check(-abs(sy) <= top <= height - size + abs(sy), f"ms {dump['ms']}: circle {shape['index']} top {top}")


def check_opposition(run, dump):
    width, height = dump["screen"]["width"], dump["screen"]["height"]
    block, margin = dump["shapes"][0], dump["shapes"][1]["width"]
    side, sx, sy = block["width"], abs(dump["step_x"][0]), abs(dump["step_y"][0])
    run.check(margin - sx <= block["left"] <= width - side - margin + sx, f"ms {dump['ms']}: block left {block['left']}")
    run.check(margin - sy <= block["top"] <= height - side - margin + sy, f"ms {dump['ms']}: block top {block['top']}")
    for shape in dump["shapes"][1:]:
        if run.captives == 1:
            run.check(shape["border_style"] == 1, f"ms {dump['ms']}: circle {shape['index']} marked with none taken")
        else:
            run.check(shape["visible"], f"ms {dump['ms']}: circle {shape['index']} hidden while captives are taken")
    # The dial or the label is centred where the block stood before its last move.
    centre_x = block["left"] - dump["step_x"][0] + side // 2
    centre_y = block["top"] - dump["step_y"][0] + side // 2
    if dump["ms"] == 0:
        return
    if run.view_time in (1, 3):
        hub = dump["shapes_s"][1]
        run.check((hub["left"] + HUB_HALF, hub["top"] + HUB_HALF) == (centre_x, centre_y),
                  f"ms {dump['ms']}: hub at ({hub['left']}, {hub['top']}), block centre was ({centre_x}, {centre_y})")
    else:
        label = dump["labels"]["lblT"]
        run.check(label["left"] + label["width"] // 2 == centre_x, f"ms {dump['ms']}: label left {label['left']}")


def check_clock(run, dump):
    seconds = dump["ms"] // 1000
    label = dump["labels"]["lblT"]
    if seconds > 0 and run.view_time in (2, 3):
        run.check(label["caption"] == duration(seconds), f"ms {dump['ms']}: time since start {label['caption']}")
    if run.view_time == 3 and seconds > 0:
        shown = [int(entry["caption"]) for entry in dump["labels"]["lblS"]]
        run.check(shown == [seconds % 60, seconds // 60 % 60, seconds // 3600], f"ms {dump['ms']}: dial labels {shown}")
    hint = dump["labels"]["lblF1"]
    run.check(hint["visible"] == (seconds < 9), f"ms {dump['ms']}: hint visible {hint['visible']}")


def check_run(sim, run, folder):
    dumps = simulate(sim, run, folder)
    run.check(len(dumps) == RUN_MS // EVERY_MS + 1, f"{len(dumps)} dumps")
    if not dumps:
        return
    for dump in dumps:
        check_steps_keep_their_magnitudes(run, dumps[0], dump)
        check_clock(run, dump)
        if run.scenario == 1:
            check_independence(run, dump)
        if run.scenario == 3:
            check_opposition(run, dump)


def main():
    sim = sys.argv[1]
    runs = [Run(s, v, p, "1920x1080") for s, v, p in itertools.product((1, 2, 3), (0, 1, 2, 3), (0, 1))]
    runs += [Run(3, v, p, "3840x2160") for v, p in itertools.product((2, 3), (0, 1))]
    failed = False
    with tempfile.TemporaryDirectory() as folder:
        for run in runs:
            check_run(sim, run, folder)
            if run.problems:
                failed = True
                print(f"{run.name()}:\n  " + "\n  ".join(run.problems))
    print(f"{len(runs)} runs of {RUN_MS} ms checked")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
