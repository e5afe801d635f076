#!/usr/bin/env python3
"""Every control of the saver's entry for the screen-saver daemon, through vortexa-sim.

For each choice of each control, the command line the daemon's settings window would build (the
entry's fixed switches, then each control's switch: a list's chosen arg-set, a number's arg with
its value for %, a check box's arg-set or arg-unset; a number at the entry's default is left out,
as the daemon leaves it out) runs the simulator, over a settings file that holds other values than
every default. Each choice must be accepted, and different choices must give different scenes.

At its default every control adds nothing, so that the window, opened on the fixed switches alone
(the program line --add-to-xscreensaver writes), finds nothing changed; and the fixed switches alone
run what the program runs by default, as does each control's default named as an option.
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
SCRIPTS = ["independence", "capture", "opposition"]
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


def default_choice(name, kind, element):
    """The choice the daemon's window starts a control at: a list's option without arg-set, a check
    box's state without a switch (off when it has only arg-set, on when it has only arg-unset)."""
    if kind == "number":
        return element.get("default")
    if kind == "select":
        plain = [option.get("id") for option in element.iter("option") if option.get("arg-set") is None]
        if len(plain) != 1:
            fail(f"{name}: {len(plain)} options add no argument; the default must be the one")
        return plain[0] if plain else None
    if element.get("arg-set") and element.get("arg-unset"):
        fail(f"{name}: both states add an argument, so its default changes the command line")
    return "unset" if element.get("arg-set") else "set"


def default_as_option(name, kind, element, choice):
    """The program's own option for a control's default, or nothing where the default is the
    absence of an option (a check box that adds a switch when set)."""
    if kind == "number":
        return element.get("arg").replace("%", choice).split()
    if kind == "select":
        return ["--" + name, choice]
    unset = element.get("arg-unset")
    return [unset.replace("--no-", "--", 1)] if unset else []


def run_sim(sim, words, settings=None):
    command = [sim, "--start", "12:34:56", "--ms", "1500", *words]
    if settings:
        command[1:1] = ["--settings", settings]
    result = subprocess.run(command, capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        fail(f"{' '.join(words)}: exit {result.returncode}: {result.stderr.strip()}")
        return None
    return json.loads(result.stdout.splitlines()[-1])


def script_ranges(sim):
    """The fewest and most circles of each script, as the program holds --circles to them."""
    ranges = {}
    for script in SCRIPTS:
        counts = [run_sim(sim, ["--script", script, "--circles", str(n)]) for n in (6, 20)]
        ranges[script] = tuple(scene["circle_count"] if scene else None for scene in counts)
    return ranges


def check_labels(controls, sim):
    """The circles control shows its number and each script's range; the dial clocks say they
    need Opposition's square."""
    for name, kind, element in controls:
        if name == "circles":
            if element.get("type") != "spinbutton":
                fail("the circles control does not show its number (it is no spinbutton)")
            label = element.get("_label", "")
            for script, (fewest, most) in script_ranges(sim).items():
                if f"{script.capitalize()} {fewest}-{most}" not in label:
                    fail(f"the circles label does not give {script.capitalize()} {fewest}-{most}: {label}")
        if name == "clock":
            for option in element.iter("option"):
                if "dial" in option.get("id") and "(Opposition)" not in option.get("_label"):
                    fail(f"the dial clock {option.get('id')} does not say (Opposition): {option.get('_label')}")


def check_defaults(controls, defaults, sim, settings, fixed):
    """The fixed switches alone run the program's defaults, whatever the settings file holds, and
    name every control's default as the program's own option would."""
    alone = run_sim(sim, fixed, settings)
    plain = run_sim(sim, [])
    if alone is not None and alone != plain:
        fail(f"the fixed switches {' '.join(fixed)} over a settings file do not run the program's defaults")
    for name, kind, element in controls:
        choice = defaults[name]
        if choice is None:
            continue
        words = dict(choices_of(kind, element)).get(choice)
        if words:
            fail(f"{name}: its default {choice} adds {' '.join(words)} to the command line")
        option = default_as_option(name, kind, element, choice)
        if option and run_sim(sim, fixed + option, settings) != alone:
            fail(f"{name}: its default {choice} is not the program's default {' '.join(option)}")


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
    expected = {"script", "circles", "speed", "line-width", "clock", "captives", "showfps"}
    if names != expected:
        fail(f"the entry's controls are {sorted(names)}, not {sorted(expected)}")
    check_labels(controls, sim)
    defaults = {name: default_choice(name, kind, element) for name, kind, element in controls}

    with tempfile.TemporaryDirectory() as folder:
        settings = str(Path(folder) / "Vortexa.ini")
        Path(settings).write_text(SETTINGS_FILE, newline="")
        check_defaults(controls, defaults, sim, settings, fixed)
        for name, kind, element in controls:
            others = [word for other, other_kind, other_element in controls if other != name
                      for word in dict(choices_of(other_kind, other_element)).get(defaults[other], [])]
            scenes = {}
            for choice, words in choices_of(kind, element):
                scene = run_sim(sim, fixed + others + words, settings)
                if scene is not None:
                    scenes[choice] = scene
            check_control(name, scenes)
    if FAILURES:
        return 1
    print(f"ok: {len(controls)} controls, every default adds nothing and is the program's, every choice shown")
    return 0


def check_control(name, scenes):
    """Different choices give different scenes; the circle count as the script's range holds it;
    the frame rate only when set."""
    if name == "circles":
        # The other controls leave the first script, which draws 6 to 12 circles.
        for choice, scene in scenes.items():
            wanted = min(int(choice), 12)
            if scene["circle_count"] != wanted or len(scene["shapes"]) != wanted:
                fail(f"--circles {choice} drew {len(scene['shapes'])} circles, not {wanted}")
        distinct = {choice: scene for choice, scene in scenes.items() if int(choice) <= 12}
    else:
        distinct = scenes
    if name == "showfps":
        for choice, scene in scenes.items():
            if ("lblFrameRate" in scene["labels"]) != (choice == "set"):
                fail(f"showfps {choice}: the frame rate is {'not ' if choice == 'set' else ''}shown")
    seen = {}
    for choice, scene in distinct.items():
        key = json.dumps(scene, sort_keys=True)
        if key in seen:
            fail(f"{name}: the choices {seen[key]} and {choice} give the same scene")
        seen[key] = choice


if __name__ == "__main__":
    sys.exit(main())
