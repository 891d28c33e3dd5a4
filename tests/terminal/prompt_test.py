#!/usr/bin/env python3
"""The keyboard prompt in a real terminal: talo in a tmux pane, typed at with
send-keys and read back with capture-pane, against a real talo-sim.

Exit 0 when every case passed, 1 when one failed, 77 (skipped) when tmux or
line editing is missing. The Tab cases are skipped while completion offers
nothing (complete_probe says so); they run by themselves once it does."""

import argparse
import os
import shutil
import socket
import stat
import subprocess
import sys
import tempfile
import time

SIM_ADDRESS = "127.1.0.41"
CONTROL_PORT = 12399
LOGIN = "SELECT MANAGER %s USERNAME=administrator PASSWORD=password" % SIM_ADDRESS
PROMPT = "NoSystemSelected> "
ENDED = "talo ended with status "
SKIP = 77


class Pane:
    """One talo session in a tmux server of its own (its own socket), so no
    other tmux on the machine is touched."""

    def __init__(self, tmux, socket_name, command, env):
        self.tmux = tmux
        self.base = [tmux, "-L", socket_name, "-f", "/dev/null"]
        env_words = ["env"] + ["%s=%s" % kv for kv in env.items()]
        # The shell says how talo ended: tmux does not always know a dead
        # pane's status.
        self.run("new-session", "-d", "-x", "120", "-y", "50", "-s", "talo",
                 " ".join(env_words + [command, ";", "echo", ENDED + "$?"]))
        # A dead pane stays, so its last screen and exit status can be read.
        self.run("set-option", "-t", "talo", "remain-on-exit", "on")

    def run(self, *args):
        return subprocess.run(self.base + list(args), check=True, capture_output=True, text=True).stdout

    def keys(self, *keys):
        self.run("send-keys", "-t", "talo", *keys)

    def type(self, text):
        self.run("send-keys", "-t", "talo", "-l", text)

    def screen(self):
        # -J joins wrapped lines; -S - takes the scrolled-off part too.
        return self.run("capture-pane", "-p", "-J", "-S", "-", "-t", "talo")

    def last_line(self):
        lines = [l for l in self.screen().split("\n") if l.strip()]
        return lines[-1] if lines else ""

    def wait(self, predicate, what, timeout=10.0):
        deadline = time.time() + timeout
        while True:
            text = self.screen()
            if predicate(text):
                return text
            if time.time() > deadline:
                raise AssertionError("waited for %s; the screen was:\n%s" % (what, text))
            time.sleep(0.05)

    def wait_count(self, text, count, timeout=10.0):
        return self.wait(lambda s: s.count(text) >= count, "%d x %r" % (count, text), timeout)

    def wait_prompt_line(self, expected, timeout=10.0):
        """The bottom line shows the prompt followed by `expected`."""
        self.wait(lambda s: self.last_line().rstrip() == (PROMPT + expected).rstrip(),
                  "the line %r at the prompt" % expected, timeout)

    def dead_status(self, timeout=10.0):
        """talo's exit status, once it has ended."""
        text = self.wait(lambda s: ENDED in s, "talo to end", timeout)
        return int(text.split(ENDED)[-1].split()[0])

    def close(self):
        subprocess.run(self.base + ["kill-server"], capture_output=True)


class Run:
    def __init__(self, args):
        self.args = args
        self.home = tempfile.mkdtemp(prefix="talo_terminal_")
        self.history = os.path.join(self.home, ".talo_history")
        self.socket = "talo-terminal-%d" % os.getpid()
        self.sessions = 0
        self.failed = 0
        self.passed = 0
        self.skipped = 0

    def session(self):
        self.sessions += 1
        env = {"HOME": self.home, "TERM": "screen", "LC_ALL": "C"}
        return Pane(self.args.tmux, "%s-%d" % (self.socket, self.sessions), self.args.talo, env)

    def case(self, name, body, skip_reason=None):
        if skip_reason:
            print("SKIPPED %s: %s" % (name, skip_reason))
            self.skipped += 1
            return
        pane = self.session()
        try:
            pane.wait_count(PROMPT, 1)
            body(pane)
            print("passed  %s" % name)
            self.passed += 1
        except AssertionError as e:
            print("FAILED  %s: %s" % (name, e))
            self.failed += 1
        finally:
            pane.close()


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def log_in(pane):
    pane.type(LOGIN)
    pane.keys("Enter")
    pane.wait_count(PROMPT, 2)


def editing_and_recall(pane):
    log_in(pane)
    # Typed with a letter missing, mended with Left and an insert.
    pane.type("SHOW SYSTM")
    pane.keys("Left")
    pane.type("E")
    pane.wait_prompt_line("SHOW SYSTEM")
    pane.keys("Enter")
    pane.wait(lambda s: "Cheetah" in s and s.count(PROMPT) >= 3, "the systems listed")
    # Up brings the line back; Enter runs it again.
    pane.keys("Up")
    pane.wait_prompt_line("SHOW SYSTEM")
    pane.keys("Enter")
    pane.wait(lambda s: s.count("Cheetah") >= 2 and s.count(PROMPT) >= 4, "the systems listed again")
    # Ctrl-C abandons a line: nothing runs, a fresh prompt follows.
    pane.type("SHOW BOGUS")
    pane.keys("C-c")
    text = pane.wait_count(PROMPT, 5)
    pane.wait_prompt_line("")
    expect("Token not found" not in text, "the abandoned line ran:\n" + text)
    # Ctrl-R finds the line by a part of it.
    pane.keys("C-r")
    pane.type("SYST")
    # The found line stands at the prompt, the search below it.
    pane.wait(lambda s: (PROMPT + "SHOW SYSTEM\nbck:SYST") in s.split("^C")[-1], "the search to find SHOW SYSTEM")
    pane.keys("Enter")
    pane.wait(lambda s: s.count("Cheetah") >= 3, "the found line to run")
    pane.wait(lambda s: pane.last_line().rstrip() == PROMPT.rstrip(), "a prompt after the found line")
    # Ctrl-D on an empty line ends the session as the end of input does.
    pane.keys("C-d")
    status = pane.dead_status()
    text = pane.screen()
    expect("Error: Input stream error:\n       Success" in text, "no end-of-input message:\n" + text)
    expect(status == 0, "exit status %s" % status)


def history_file_is_private(run):
    def check(pane):
        st = os.lstat(run.history)
        expect(stat.S_ISREG(st.st_mode), "the history is not a regular file")
        expect(stat.S_IMODE(st.st_mode) == 0o600, "the history's mode is %o" % stat.S_IMODE(st.st_mode))
        with open(run.history) as f:
            lines = f.read().split("\n")
        expect("SHOW SYSTEM" in lines, "SHOW SYSTEM is not in the history: %r" % lines)
        expect(not any("PASSWORD=" in l.upper() for l in lines), "a password line was kept: %r" % lines)
        expect("SHOW BOGUS" not in lines, "the abandoned line was kept: %r" % lines)
        # The next session starts with it: Up recalls the last line of the one before.
        pane.keys("Up")
        pane.wait_prompt_line("SHOW SYSTEM")
        pane.keys("C-u")
        pane.keys("C-d")
        pane.dead_status()
    return check


def line_limit(pane):
    # The plain reader's limit: 2046 characters fit, 2047 do not.
    pane.type("!" + "x" * 2045)
    pane.keys("Enter")
    text = pane.wait_count(PROMPT, 2)
    expect("too long" not in text, "2046 characters were refused:\n" + text)
    pane.type("!" + "x" * 2046)
    pane.keys("Enter")
    text = pane.wait_count(PROMPT, 3)
    expect("Error: Input line too long, limit 2048 characters" in text, "2047 characters were taken:\n" + text)
    pane.keys("C-d")
    pane.dead_status()


def interrupt_during_a_command(run):
    def check(pane):
        # The file's first command pauses two seconds after it: Ctrl-C then
        # must neither end talo nor cut the file short.
        script = os.path.join(run.home, "slow.talo")
        with open(script, "w") as f:
            f.write("SET OPTIONS COMMAND_DELAY=2\nSHOW OPTIONS\n")
        pane.type("FILE " + script)
        pane.keys("Enter")
        pane.wait(lambda s: "SET OPTIONS COMMAND_DELAY=2" in s, "the file's first command")
        pane.keys("C-c")
        # (The terminal itself echoes the ^C.)
        pane.wait(lambda s: "COMMAND_DELAY = 2 (seconds)" in s and pane.last_line().rstrip() == PROMPT.rstrip(),
                  "the file's second command and a prompt", timeout=15)
        pane.keys("C-d")
        expect(pane.dead_status() == 0, "talo did not end normally")
    return check


def tab_completes_keywords(pane):
    # "SH" begins both SHOW and SHUTDOWN, as the parser says of it too: Tab
    # completes nothing, a second Tab lists both.
    pane.type("SH")
    pane.keys("Tab")
    pane.keys("Tab")
    pane.wait(lambda s: "SHUTDOWN" in s and s.count(PROMPT + "SH") >= 2, "SHOW and SHUTDOWN listed")
    pane.type("O")
    pane.keys("Tab")
    pane.wait_prompt_line("SHOW ")
    # Tab on a word with many endings beeps; the second lists them, above
    # the prompt and line shown again.
    pane.keys("Tab")
    pane.keys("Tab")
    text = pane.wait(lambda s: s.count(PROMPT + "SHOW") >= 2, "SHOW's options listed above a fresh prompt")
    listed = text.split(PROMPT + "SHOW")[1]
    expect("SYSTEM" in listed and "VDISK" in listed, "SHOW's options not listed:\n" + text)
    pane.wait_prompt_line("SHOW ")
    end_session(pane)


def tab_completes_system_names(pane):
    log_in(pane)
    pane.type("SHOW SYSTEM")
    pane.keys("Enter")
    pane.wait(lambda s: "Cheetah" in s and s.count(PROMPT) >= 3, "the systems listed")
    pane.type("SELECT SYSTEM Che")
    pane.keys("Tab")
    pane.wait_prompt_line("SELECT SYSTEM Cheetah ")
    end_session(pane)


def end_session(pane):
    pane.keys("C-u")
    # Ctrl-D only once the editor has emptied the line: under load it could
    # otherwise arrive while the editor is still redrawing.
    pane.wait_prompt_line("")
    pane.keys("C-d")
    expect(pane.dead_status() == 0, "talo did not end normally")


def wait_for_sim(proc):
    deadline = time.time() + 10
    while time.time() < deadline:
        if proc.poll() is not None:
            return False
        try:
            with socket.create_connection((SIM_ADDRESS, CONTROL_PORT), timeout=1):
                return True
        except OSError:
            time.sleep(0.05)
    return False


def main():
    parser = argparse.ArgumentParser()
    for name in ("talo", "sim", "probe", "tmux", "libedit"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()

    if not shutil.which(args.tmux):
        print("SKIPPED: tmux is not installed (scripts/install-packages.sh test installs it)")
        return SKIP
    if args.libedit.upper() not in ("ON", "TRUE", "1", "YES"):
        print("SKIPPED: talo was built without libedit (install libedit-dev and configure again)")
        return SKIP

    no_completion = None
    if subprocess.run([args.probe]).returncode != 0:
        no_completion = "completion offers nothing for \"SH\" yet"

    run = Run(args)
    sim = subprocess.Popen([args.sim, "--address", SIM_ADDRESS], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
    try:
        if not wait_for_sim(sim):
            print("FAILED: talo-sim did not start on %s" % SIM_ADDRESS)
            return 1
        run.case("editing, Up, Ctrl-C, Ctrl-R and Ctrl-D", editing_and_recall)
        run.case("the history file, and Up in the next session", history_file_is_private(run))
        run.case("the line limit", line_limit)
        run.case("Ctrl-C while a command runs", interrupt_during_a_command(run))
        run.case("Tab lists SH's two endings, completes SHO and lists SHOW's options", tab_completes_keywords,
                 no_completion)
        run.case("Tab completes a system name", tab_completes_system_names, no_completion)
    finally:
        sim.terminate()
        try:
            sim.wait(5)
        except subprocess.TimeoutExpired:
            sim.kill()
        shutil.rmtree(run.home, ignore_errors=True)
    print("%d passed, %d failed, %d skipped" % (run.passed, run.failed, run.skipped))
    return 1 if run.failed else 0


if __name__ == "__main__":
    sys.exit(main())
