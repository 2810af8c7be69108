"""Starts a Windows program under Wine and passes on its output and exit status.

usage: wine_start.py PROGRAM [ARGUMENTS...]

The wine command starts every program in Wine's 32-bit loader; for a 64-bit program that loader
runs start.exe, which creates the 64-bit process. Now and then that process dies while Wine is
still setting it up, before any code of the program has run (seen once in CI; not in 4,000 starts
tried here). start.exe then prints, on standard output,

    Application could not be started, or no application associated with the specified file.
    ShellExecuteEx failed: Internal error.

and exits with 1. Only then is the program started again, at most twice more, with a note on
standard error. Anything else, every failure of the program included, is passed on as it is.
Output that could still be the start of that text is held back until it is known not to be.
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

NOT_STARTED = (b"Application could not be started, or no application associated with the "
               b"specified file.\nShellExecuteEx failed: Internal error.")
ATTEMPTS = 3
POLL_S = 0.02


def _plain(output):
    return output.replace(b"\r", b"").rstrip(b"\n")


def never_started(status, output):
    """True when start.exe reported that the program's process died before it ran."""
    return status == 1 and _plain(output) == NOT_STARTED


def _could_be_the_report(held):
    return NOT_STARTED.startswith(_plain(held))


def _note(program, attempt):
    sys.stderr.write(f"wine_start: Wine could not start {program}; starting it again "
                     f"(attempt {attempt + 1} of {ATTEMPTS})\n")
    sys.stderr.flush()


def run(command, **options):
    """subprocess.run(["wine", *command], capture_output=True, ...), started again as above."""
    for attempt in range(1, ATTEMPTS + 1):
        result = subprocess.run(["wine", *command], capture_output=True, **options)
        output = result.stdout.encode() if isinstance(result.stdout, str) else result.stdout
        if attempt == ATTEMPTS or not never_started(result.returncode, output):
            return result
        _note(command[0], attempt)
    raise AssertionError("unreachable")


def _run_streaming(command):
    """Runs the program with its standard output in a file, not a pipe: Wine's desktop process,
    when a program starts it, keeps the program's handles, and the end of a pipe would then wait
    for the desktop to end."""
    child, stopping = None, False

    def forward(signum, _frame):
        nonlocal stopping
        stopping = True
        if child is not None and child.poll() is None:
            child.send_signal(signum)

    signal.signal(signal.SIGTERM, forward)
    signal.signal(signal.SIGINT, forward)
    out = sys.stdout.buffer
    for attempt in range(1, ATTEMPTS + 1):
        with tempfile.TemporaryFile() as log:
            child = subprocess.Popen(["wine", *command], stdout=log)
            held, streaming, offset, status = b"", False, 0, None
            while status is None:
                status = child.poll()
                log.seek(offset)
                data = log.read()
                offset += len(data)
                if not streaming:
                    held += data
                    if _could_be_the_report(held):
                        data = b""
                    else:
                        data, held, streaming = held, b"", True
                if data:
                    out.write(data)
                    out.flush()
                if status is None:
                    time.sleep(POLL_S)
        if attempt < ATTEMPTS and not stopping and never_started(status, held):
            _note(command[0], attempt)
            continue
        out.write(held)
        out.flush()
        # A program ended by a signal is reported as the shell would report it.
        return status if status >= 0 else 128 - status
    raise AssertionError("unreachable")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(_run_streaming(sys.argv[1:]))
