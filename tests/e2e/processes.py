"""Processes the end-to-end tests start: each in a session of its own, dying with the test,
and stopped by its pid."""

import ctypes
import os
import signal
import subprocess

STOP_TIMEOUT = 10.0


def die_with_parent():
    # A test killed outright (a ctest timeout) must leave nothing it started behind.
    libc = ctypes.CDLL("libc.so.6", use_errno=True)
    pr_set_pdeathsig = 1
    libc.prctl(pr_set_pdeathsig, signal.SIGKILL)


def stop_process(process, timeout=STOP_TIMEOUT):
    """Ends one process we started (in a session of its own) and its group, by its pid."""
    if process.poll() is not None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(process.pid, sig)
        except ProcessLookupError:
            return
        try:
            process.wait(timeout)
            return
        except subprocess.TimeoutExpired:
            continue


def spawn(args, env, **kwargs):
    """Starts a process in a session of its own that dies with the test."""
    return subprocess.Popen(args, env=env, start_new_session=True, preexec_fn=die_with_parent, **kwargs)
