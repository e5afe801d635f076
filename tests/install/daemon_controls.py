#!/usr/bin/env python3
"""Every control of the saver's entry for the screen-saver daemon, through vortexa-sim.

For each choice of each control, the command line the daemon's settings window would build (the
entry's fixed switches, then each control's switch: a list's chosen arg-set, a number's arg with
its value for %, a check box's arg-set or arg-unset; a number at the entry's default is left out,
as the daemon leaves it out) runs the simulator, over a settings file that holds other values than
every default. Each choice must be accepted, and different choices must give different scenes.
"""
import json
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

# The switches that name where the show runs; the simulator has no window.
WINDOW_SWITCHES = {"--root"}
# A file far from every default: a number left out must not fall back to it.
SETTINGS_FILE = "krugN=11\r\nBorderWidth=3\r\nSpeed=5\r\nviewTime=4\r\nScenario=2\r\nPlen=1\r\nLocal=0\r\n"
FAILURES = []


def fail(message):
    FAILURES.append(message)
    print("FAIL: " + message, file=sys.stderr)


def controls_of(entry):
    """(id, kind, element) of every control, in the entry's order, groups opened."""
    found = []
    for element in entry.iter():
        if element.tag in ("select", "number", "boolean"):
            found.append((element.get("id"), element.tag, element))
    return found


def choices_of(kind, element):
    """(name, words it adds to the command line) of each choice of one control."""
    if kind == "select":
        return [(option.get("id"), option.get("arg-set", "").split()) for option in element.iter("option")]
    if kind == "boolean":
        return [(state, element.get(attribute, "").split())
                for state, attribute in (("set", "arg-set"), ("unset", "arg-unset"))]
    low, high, default = (int(element.get(name)) for name in ("low", "high", "default"))
    return [(str(value), [] if value == default else element.get("arg").replace("%", str(value)).split())
            for value in range(low, high + 1)]


def default_words(kind, element):
    return choices_of(kind, element)[0][1] if kind != "number" else []


def run_sim(sim, settings, words):
    command = [sim, "--settings", settings, "--start", "12:34:56", "--ms", "1500", *words]
    result = subprocess.run(command, capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        fail(f"{' '.join(words)}: exit {result.returncode}: {result.stderr.strip()}")
        return None
    return json.loads(result.stdout.splitlines()[-1])


def main():
    if len(sys.argv) != 3:
        print("usage: daemon_controls.py PATH-TO-vortexa.xml PATH-TO-vortexa-sim", file=sys.stderr)
        return 2
    entry = ElementTree.parse(sys.argv[1]).getroot()
    sim = sys.argv[2]
    fixed = [word for command in entry.iter("command") for word in command.get("arg").split()]
    fixed = [word for word in fixed if word not in WINDOW_SWITCHES]
    controls = controls_of(entry)
    names = {name for name, _, _ in controls}
    expected = {"script", "circles", "speed", "line-width", "clock", "captives", "language"}
    if names != expected:
        fail(f"the entry's controls are {sorted(names)}, not {sorted(expected)}")

    with tempfile.TemporaryDirectory() as folder:
        settings = str(Path(folder) / "Vortexa.ini")
        Path(settings).write_text(SETTINGS_FILE, newline="")
        for name, kind, element in controls:
            others = [word for other, other_kind, other_element in controls if other != name
                      for word in default_words(other_kind, other_element)]
            scenes = {}
            for choice, words in choices_of(kind, element):
                scene = run_sim(sim, settings, fixed + others + words)
                if scene is not None:
                    scenes[choice] = scene
            check_control(name, scenes)
    if FAILURES:
        return 1
    print(f"ok: {len(controls)} controls, every choice accepted and shown")
    return 0


def check_control(name, scenes):
    """Different choices give different scenes; the circle count as the script's range holds it."""
    if name == "circles":
        # The other controls leave the first script, which draws 6 to 12 circles.
        for choice, scene in scenes.items():
            wanted = min(int(choice), 12)
            if scene["circle_count"] != wanted or len(scene["shapes"]) != wanted:
                fail(f"--circles {choice} drew {len(scene['shapes'])} circles, not {wanted}")
        distinct = {choice: scene for choice, scene in scenes.items() if int(choice) <= 12}
    else:
        distinct = scenes
    seen = {}
    for choice, scene in distinct.items():
        key = json.dumps(scene, sort_keys=True)
        if key in seen:
            fail(f"{name}: the choices {seen[key]} and {choice} give the same scene")
        seen[key] = choice


if __name__ == "__main__":
    sys.exit(main())
