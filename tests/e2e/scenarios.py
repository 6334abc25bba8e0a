#!/usr/bin/python3
"""End-to-end scenarios: the real tavi.exe installed and uninstalled in the
session's Wine prefix, answered through its message boxes.

    scenarios.py NAME     runs one scenario (CTest runs each as its own test)
    scenarios.py --list   lists the scenario names

Each scenario starts from a prefix without an installation, states exactly
what it changes in drive_c, and leaves no installation behind, pass or fail.
"""

import sys
import time
import traceback

sys.dont_write_bytecode = True  # keep the source tree clean

from harness import (CLOSING_TEXT, COPIES, CP932, DEFAULT_CAPTION, DELETION_TEXT,
                     END_CAPTION, INSTALL_CAPTION, INSTALL_TEXT, LINKS, NO, OK_ONLY, SCRIPTS,
                     SHORTCUT_FAILED_TEXT, TEMP_SCRIPT, UNINSTALL_CAPTION, UNINSTALL_TEXT,
                     WAIT_UNINSTALL, YES, YES_NO, Failure, Scenario, check, check_equal,
                     cleanup_script, expect_changes, link_target, log, uninstall_script,
                     wait_for)

# The icons of the message box styles: MB_ICONQUESTION, MB_ICONINFORMATION.
QUESTION, INFORMATION = "question", "information"

# The uninstall pause: "Sleep 5000" in the uninstall script.
PAUSE_SECONDS = 5.0


def run_install(s):
    """Starts tavi.exe from the distribution folder and agrees to install."""
    process = s.start_setup()
    s.dialogs.expect(process, INSTALL_CAPTION, INSTALL_TEXT, YES_NO, YES, "y", QUESTION)
    return process


def finish_install(s, process):
    s.dialogs.expect(process, END_CAPTION, CLOSING_TEXT, OK_ONLY, "OK", "Return", INFORMATION)
    s.dialogs.expect_no_dialog(process)


def install(s):
    finish_install(s, run_install(s))


def check_installation(s, files, missing=()):
    """The installed files hold the distribution's bytes, the scripts their
    exact text, and each shortcut points at its installed file."""
    folder = s.wine.unix(s.install)
    for installed, source in COPIES.items():
        if installed in missing:
            check(not (folder / installed).exists(), f"{installed} was installed")
        else:
            check((folder / installed).read_bytes() == files[source],
                  f"installed {installed} is not the distribution's {source}")
    check_equal((folder / "uninstall.bat").read_bytes(),
                uninstall_script(s.install, s.temp), "uninstall.bat")
    check_equal((folder / "Uninstall2.bat").read_bytes(),
                cleanup_script(s.install, s.menu, s.sendto, s.temp), "Uninstall2.bat")
    check_links(s)


def check_links(s, which=("menu", "sendto")):
    for place, link, target in LINKS:
        if place not in which:
            continue
        path = s.wine.unix((s.menu if place == "menu" else s.sendto) + link.encode(CP932))
        check_equal(link_target(path), (s.install + target.encode(CP932)).decode(CP932),
                    f"target of {link}")


def start_uninstall(s):
    """Starts the installed copy as its Start-menu shortcut does: the link
    sets no working folder, so the current folder is not the install folder.
    (The shortcut's target is checked after the install.)"""
    return s.start_command([s.wine.unix(s.install + b"install.exe")], cwd=b"C:\\users\\")


def uninstall(s, installed):
    """Agrees to uninstall and waits, bounded, for the scripts to finish.
    Checks the pause: nothing is deleted while the pause program runs, and
    the removal ends no sooner than its 5 s after the deletion notice."""
    process = start_uninstall(s)
    s.dialogs.expect(process, UNINSTALL_CAPTION, UNINSTALL_TEXT, YES_NO, NO, "y",
                     INFORMATION)
    s.dialogs.expect(process, END_CAPTION, DELETION_TEXT, OK_ONLY, "OK", "Return", INFORMATION)
    answered = s.dialogs.answered_at
    s.dialogs.expect_no_dialog(process)

    check(wait_for(lambda: "sleep.exe" in s.wine.running(), 10, interval=0.05),
          "the uninstall script's pause program did not start")
    still_there = [p for p in installed if not (s.wine.drive_c / p).exists()]
    check_equal(still_there, [], "files gone while the pause program was still running")

    s.wine.wait_idle(WAIT_UNINSTALL)
    elapsed = time.monotonic() - answered
    log(f"the scripts ended {elapsed:.1f} s after the deletion notice was answered")
    check(elapsed >= PAUSE_SECONDS, f"the removal took {elapsed:.1f} s, less than the pause")


def check_uninstalled(s, base, after, changed=()):
    """Everything the install made is gone, bar one Wine difference.

    Wine's cmd keeps the running batch file open until the batch ends, while
    Windows reopens it for each line. So under Wine "uninstall.bat" is still
    open (its deletion pending) when the cleanup script's "rd" runs, the "rd"
    finds the folder not empty, and the emptied install folder stays behind.
    """
    temp_script = s.wine.unix(s.temp + TEMP_SCRIPT.encode(CP932))
    check(not temp_script.exists(), f"the temporary cleanup script is left: {temp_script}")
    install_folder = s.wine.rel(s.install)
    expect_changes(base, after, added=[install_folder], changed=changed)
    leftover = sorted(p.name for p in s.wine.unix(s.install).iterdir())
    check_equal(leftover, [], "files left in the install folder")


def scenario_install(s):
    """Yes, then OK on the closing notice: the install folder, the menu folder
    and the SendTo shortcut, nothing else."""
    files = s.make_distribution()
    before = s.snapshot()
    install(s)
    expect_changes(before, s.snapshot(), added=s.all_install_paths())
    check_installation(s, files)


def scenario_declined(s):
    """No at the install confirmation: the run ends and changes nothing. The
    command line is not read: words that other setup programs take for
    "uninstall" or "silent" change nothing."""
    s.make_distribution()
    before = s.snapshot()
    process = s.start_setup("/uninstall", "/S")
    s.dialogs.expect(process, INSTALL_CAPTION, INSTALL_TEXT, YES_NO, YES, "n", QUESTION)
    s.dialogs.expect_no_dialog(process)
    s.wine.wait_idle(10)
    expect_changes(before, s.snapshot())


def scenario_uninstall(s):
    """Enter at the uninstall confirmation declines (No is the default) and
    changes nothing; Yes and OK remove the installation after the pause."""
    s.make_distribution()
    base = s.snapshot()
    install(s)
    installed = s.snapshot()

    process = start_uninstall(s)
    s.dialogs.expect(process, UNINSTALL_CAPTION, UNINSTALL_TEXT, YES_NO, NO, "Return",
                     INFORMATION)
    s.dialogs.expect_no_dialog(process)
    s.wine.wait_idle(10)
    expect_changes(installed, s.snapshot())

    uninstall(s, s.all_install_paths())
    check_uninstalled(s, base, s.snapshot())


def scenario_reinstall(s):
    """An install over an installation replaces the files and both scripts
    whole; the uninstall then still removes everything."""
    s.make_distribution()
    base = s.snapshot()
    install(s)

    # Make every replacement visible: a new readme in the distribution, a
    # damaged installed tool, and scripts longer than the ones the install
    # writes, so that a script written over without truncation shows.
    files = s.make_distribution(readme="改訂版の説明書です。\r\n".encode(CP932))
    folder = s.wine.unix(s.install)
    (folder / "tavi.exe").write_bytes(b"damaged")
    for script in SCRIPTS:
        path = folder / script
        path.write_bytes(path.read_bytes() + b"\r\nREM left from an earlier install" * 50)

    install(s)
    new_readme = f"{s.wine.rel(s.dist)}/readme.txt"
    expect_changes(base, s.snapshot(), added=s.all_install_paths(), changed=[new_readme])
    check_installation(s, files)

    uninstall(s, s.all_install_paths())
    check_uninstalled(s, base, s.snapshot(), changed=[new_readme])


def scenario_rerun_from_distribution(s):
    """Started again from the distribution folder after an install: install
    mode, since only the folder of the executable is probed."""
    s.make_distribution()
    install(s)
    installed = s.snapshot()
    process = s.start_setup()
    s.dialogs.expect(process, INSTALL_CAPTION, INSTALL_TEXT, YES_NO, YES, "n", QUESTION)
    s.dialogs.expect_no_dialog(process)
    expect_changes(installed, s.snapshot())


def scenario_missing_readme(s):
    """No readme.txt in the distribution: no message about it, the rest is
    installed and the Help shortcut is still written."""
    files = s.make_distribution(leave_out=["readme.txt"])
    before = s.snapshot()
    install(s)
    install_folder = s.wine.rel(s.install)
    expect_changes(before, s.snapshot(),
                   added=[p for p in s.all_install_paths() if p != f"{install_folder}/readme.txt"])
    check_installation(s, files, missing=["readme.txt"])


def scenario_install_folder_blocked(s):
    """A file named "tavi" stands where the install folder goes: no copies
    and no scripts, the shortcuts still written, the closing notice shown."""
    s.make_distribution()
    blocker = s.wine.unix(s.install[:-1])
    blocker.write_bytes(b"not a folder")
    before = s.snapshot()
    install(s)
    expect_changes(before, s.snapshot(), added=s.menu_paths() + s.sendto_paths())
    check_equal(blocker.read_bytes(), b"not a folder", "the file named tavi")
    check_links(s)


def scenario_menu_blocked(s):
    """A file named "tavi" stands where the menu folder goes: the two menu
    shortcuts fail, one message each, and the install goes on."""
    files = s.make_distribution()
    blocker = s.wine.unix(s.menu[:-1])
    blocker.write_bytes(b"not a folder")
    before = s.snapshot()
    process = run_install(s)
    for _ in range(2):
        s.dialogs.expect(process, DEFAULT_CAPTION, SHORTCUT_FAILED_TEXT, OK_ONLY, "OK", "Return",
                         None)
    finish_install(s, process)
    expect_changes(before, s.snapshot(), added=s.install_paths() + s.sendto_paths())
    check_equal(blocker.read_bytes(), b"not a folder", "the file named tavi")
    check_links(s, which=("sendto",))
    for name in COPIES:
        check((s.wine.unix(s.install) / name).is_file(), f"{name} not installed")


# A temp folder with double-byte characters, "ソ" whose trail byte is 0x5C
# (the byte of "\"), a space, and a "%" that the command interpreter would
# otherwise take for the start of a variable.
AWKWARD_TEMP = "C:\\一時 ソフト%"


def scenario_awkward_temp(s):
    """With that temp folder the scripts still name it exactly, and install
    and uninstall leave nothing behind, the temporary cleanup script
    included."""
    saved = {name: s.wine.environment_value(name) for name in ("TEMP", "TMP")}
    temp = s.wine.unix(AWKWARD_TEMP.encode(CP932))
    try:
        temp.mkdir()
        for name in saved:
            s.wine.set_environment_value(name, ("REG_SZ", AWKWARD_TEMP))
        s.refresh_folders()
        check_equal(s.temp.decode(CP932), AWKWARD_TEMP + "\\", "the temp folder in the prefix")

        files = s.make_distribution()
        base = s.snapshot()
        install(s)
        expect_changes(base, s.snapshot(), added=s.all_install_paths())
        check_installation(s, files)
        check(b"%%" in (s.wine.unix(s.install) / "uninstall.bat").read_bytes(),
              "the % of the temp folder is not doubled in uninstall.bat")

        uninstall(s, s.all_install_paths())
        check_uninstalled(s, base, s.snapshot())
        check_equal(sorted(p.name for p in temp.iterdir()), [], "files left in the temp folder")
    finally:
        for name, value in saved.items():
            if value:
                s.wine.set_environment_value(name, value)
            else:
                s.wine.delete_environment_value(name)
        s.refresh_folders()
        s.remove_installation()
        if temp.is_dir():
            for leftover in temp.iterdir():
                leftover.unlink()
            temp.rmdir()


SCENARIOS = {
    "install": scenario_install,
    "declined": scenario_declined,
    "uninstall": scenario_uninstall,
    "reinstall": scenario_reinstall,
    "rerun_from_distribution": scenario_rerun_from_distribution,
    "missing_readme": scenario_missing_readme,
    "install_folder_blocked": scenario_install_folder_blocked,
    "menu_blocked": scenario_menu_blocked,
    "awkward_temp": scenario_awkward_temp,
}


def main(argv):
    if len(argv) != 2 or (argv[1] not in SCENARIOS and argv[1] != "--list"):
        sys.exit(f"usage: {argv[0]} --list | {' | '.join(SCENARIOS)}")
    if argv[1] == "--list":
        print("\n".join(SCENARIOS))
        return 0
    started = time.monotonic()
    s = Scenario(argv[1])
    try:
        with s.cleanup():
            SCENARIOS[argv[1]](s)
    except Failure as failure:
        log(f"FAILED: {failure}")
        log(f"screenshots and logs: {s.config.out_dir}")
        return 1
    except Exception:  # a harness step that broke: still a failed scenario
        log(f"FAILED:\n{traceback.format_exc()}")
        log(f"screenshots and logs: {s.config.out_dir}")
        return 1
    log(f"passed in {time.monotonic() - started:.1f} s; screenshots in {s.config.out_dir}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
