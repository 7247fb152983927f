#!/usr/bin/env python3
"""Drives ostrac-cli in a pseudo-terminal: arrow-up recall, Tab completion,
Ctrl-C at the prompt and while a program runs, and the history kept from one
run to the next. Every step waits for the output or the terminal state it
needs, never for a fixed time.

usage: line_editing_test.py CLI SHARED_DIR"""
import fcntl, os, pty, select, shutil, stat, struct, sys, tempfile, termios, time

CLI, SHARED = sys.argv[1:3]
TIMEOUT = 60  # seconds for any one awaited output: wide, for a busy machine
UP, TAB, CTRL_C, CTRL_D = b"\x1b[A", b"\t", b"\x03", b"\x04"


class Terminal:
    def __init__(self, home, env):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 200, 0, 0))
            os.execve(CLI, [CLI, "--home", home], env)
        self.output = b""

    def read(self, deadline):
        """The next output, or b"" once the program has ended or the deadline passed."""
        ready, _, _ = select.select([self.fd], [], [], max(0, deadline - time.monotonic()))
        try:
            return os.read(self.fd, 4096) if ready else b""
        except OSError:  # the other side closed
            return b""

    def expect(self, text):
        """Waits for `text` in the output that follows the last one awaited."""
        deadline = time.monotonic() + TIMEOUT
        while text not in self.output:
            data = self.read(deadline)
            if not data:
                sys.exit(f"waited for {text!r}; the terminal shows:\n{self.output.decode(errors='replace')}")
            self.output += data
        self.output = self.output.split(text, 1)[1]

    def type(self, keys, then=None, at_prompt=True):
        """At a prompt, waits until the line editor has the terminal: keys
        typed before are read as typed-ahead lines, Ctrl-D included."""
        deadline = time.monotonic() + TIMEOUT
        while at_prompt and termios.tcgetattr(self.fd)[3] & termios.ICANON:
            if time.monotonic() > deadline:
                sys.exit("the line editor never took the terminal")
            time.sleep(0.01)
        os.write(self.fd, keys)
        if then is not None:
            self.expect(then)

    def end(self):
        """Ctrl-D; returns the exit status."""
        self.type(CTRL_D)
        deadline = time.monotonic() + TIMEOUT
        while data := self.read(deadline):
            self.output += data
        while (ended := os.waitpid(self.pid, os.WNOHANG))[0] == 0 and time.monotonic() < deadline:
            time.sleep(0.05)
        if ended[0] == 0:
            os.kill(self.pid, 9)
            sys.exit(f"Ctrl-D did not end the program; the terminal shows:\n{self.output.decode(errors='replace')}")
        return os.waitstatus_to_exitcode(ended[1])


def check(condition, what):
    if not condition:
        sys.exit("failed: " + what)


work = tempfile.mkdtemp()
try:
    home = os.path.join(work, "home")
    os.mkdir(home)
    shutil.copy(os.path.join(SHARED, "data0.bin"), home)
    env = {"TERM": "xterm", "HOME": work, "XDG_STATE_HOME": os.path.join(work, "state"), "PATH": os.defpath}

    first = Terminal(home, env)
    first.expect(b"tutorial\r\n>> ")
    # Each step waits for the next prompt, so that no key reaches the
    # terminal while a program runs.
    first.type(b"x = 42\r", then=b">> x = 42\r\n>> ")
    first.type(b"print x + 1\r", then=b"\n43\r\n>> ")
    first.type(b"x = 100\r", then=b">> x = 100\r\n>> ")
    first.type(UP + UP + b"\r", then=b"\n101\r\n>> ")  # the line before last, recalled
    first.type(b"print fac" + TAB + b"(5)\r", then=b"\n120\r\n>> ")  # one name fits
    first.type(b"print solve_" + TAB, then=b"solve_bi  solve_nw")  # two fit: both listed
    first.type(CTRL_C, then=b"^C\r\n>> ")
    first.type(b"print 7\r", then=b"\n7\r\n>> ")  # the unfinished line was dropped
    first.type(b"for i = 1 to 1e12: next\r", then=b">> for i = 1 to 1e12: next\r\n")
    first.type(CTRL_C, then=b"User Halted!\r\n>> ", at_prompt=False)
    first.type(b"print 555\r", then=b"\n555\r\n>> ")
    check(first.end() == 1, "exit status 1 after a Break")

    state = os.path.join(work, "state", "ostrac")
    check(stat.S_IMODE(os.stat(state).st_mode) == 0o700, "the history's folder is the user's alone")
    second = Terminal(home, env)
    second.expect(b"tutorial\r\n>> ")
    second.type(UP + b"\r", then=b"\n555\r\n>> ")  # the last line of the first run
    check(second.end() == 0, "exit status 0")
    print("1 passed, 0 failed")
finally:
    shutil.rmtree(work)
