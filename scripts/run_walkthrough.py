#!/usr/bin/python3
"""Installs and uninstalls tavi in the Wine session that scripts/run.sh made
(TAVI_WINE_DIR), starting tavi.exe from a copy of the distribution folder.

    run_walkthrough.py --mode auto|user --dist DIR --probe EXE [--docs DIR]

auto  answers the four dialogs itself (Yes, OK, Yes, OK), saves a picture of
      each into TAVI_WINE_DIR/screenshots/ (and, with --docs, a copy without
      metadata into DIR), and checks what it prints: the installed files
      against the distribution, the scripts against their expected text, the
      shortcut targets, and that the uninstall leaves nothing but the one
      known Wine difference.
user  a person answers the dialogs on their own display; the same report
      follows each step.

Exit code 0 on success, 1 with the reason printed otherwise. Every wait is
bounded.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # keep tests/e2e free of __pycache__
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))

import harness  # noqa: E402  (found through the path set just above)
from harness import (CLOSING_TEXT, COPIES, CP932, DELETION_TEXT, END_CAPTION,  # noqa: E402
                     INSTALL_CAPTION, INSTALL_TEXT, LINKS, NO, OK_ONLY, SCRIPTS, TEMP_SCRIPT,
                     UNINSTALL_CAPTION, UNINSTALL_LINK, UNINSTALL_TEXT, WAIT_UNINSTALL, YES,
                     YES_NO, Failure, check, check_equal, log)

DIST_FOLDER = b"C:\\tavi-dist\\"
# A person may take their time over a dialog, but not for ever.
WAIT_PERSON = 600.0


class NamedScreen(harness.Screen):
    """Saves the next dialog's picture under a name chosen beforehand
    (install-question.png, ...) in the screenshots folder; anything else,
    such as the picture of a failure, goes where the harness puts it.

    Keys go to the focused window through XTEST. Wine gives its unmanaged
    windows the focus, and "xdotool key --window" aimed at the focused
    window leaves the key held down in the X server once the dialog closes
    on the press: the next dialog then closes at once on the repeated key."""

    def __init__(self, config, out_dir, shots_dir):
        super().__init__(config, out_dir)
        self.shots_dir = shots_dir
        self.next_name = None

    def press(self, window, key, focus):
        self.xdotool("windowfocus", "--sync", str(window))
        self.xdotool("key", key)

    def screenshot(self, label, window="root"):
        path = super().screenshot(label, window)
        if label == "failure" or self.next_name is None:
            return path
        named = self.shots_dir / f"{self.next_name}.png"
        path.replace(named)
        self.next_name = None
        return named


def windows_path(rel):
    """A drive_c-relative snapshot key as the Windows path a user knows."""
    return "C:\\" + rel.replace("/", "\\")


def text(path_bytes):
    return path_bytes.decode(CP932)


def shown(path):
    """A local path, relative to the current folder when it lies inside."""
    relative = os.path.relpath(path)
    return path if relative.startswith("..") else relative


class Walkthrough(harness.InstallFolders):
    def __init__(self, args):
        self.mode = args.mode
        self.dist_source = Path(args.dist).resolve()
        self.docs = Path(args.docs) if args.docs else None
        if self.docs:
            self.docs.mkdir(parents=True, exist_ok=True)
        run_dir = Path(os.environ["TAVI_WINE_DIR"])
        self.shots_dir = run_dir / "screenshots"
        out_dir = run_dir / "out"
        for folder in (self.shots_dir, out_dir):
            shutil.rmtree(folder, ignore_errors=True)
            folder.mkdir(parents=True)
        self.config = harness.Config(
            wine_dir=run_dir,
            wine_run=Path(__file__).resolve().parent.parent / "tests" / "wine" / "wine-run",
            tavi=self.dist_source / "tavi.exe", tool=self.dist_source / "data1.dat",
            pause=self.dist_source / "data2.dat", probe=Path(args.probe).resolve(),
            out_dir=out_dir)
        self.wine = harness.Wine(self.config)
        self.screen = NamedScreen(self.config, out_dir, self.shots_dir)
        self.dialogs = harness.Dialogs(self.wine, self.screen)
        self.started = []
        self.runs = 0

    # Setting up.
    def prepare(self):
        if self.mode == "auto":
            # Without a window manager nobody draws the caption bar; Wine
            # draws it itself for unmanaged windows, so the pictures show the
            # dialog's title. Only this throwaway prefix is changed.
            result = self.wine.run("reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v",
                                   "Managed", "/d", "N", "/f")
            check(result.returncode == 0, f"could not set Wine's X11 'Managed' option: "
                                          f"{result.stdout!r}")
        dist = self.wine.unix(DIST_FOLDER)
        shutil.copytree(self.dist_source, dist)
        names = ", ".join(sorted(p.name for p in dist.iterdir()))
        print(f"distribution: {text(DIST_FOLDER)}, a copy of {shown(self.dist_source)}/: "
              f"{names}")

        self.read_folders()
        self.base = harness.Snapshot.take(self.wine)

    def start(self, program, cwd):
        self.runs += 1
        log(f"start {text(program)}")
        process = self.wine.start(self.wine.unix(program), cwd=self.wine.unix(cwd),
                                  log_path=self.config.out_dir / f"run{self.runs}.log")
        self.started.append(process)
        return process

    def expect(self, process, name, caption, message, buttons, default, key, icon):
        self.screen.next_name = name
        self.dialogs.expect(process, caption, message, buttons, default, key, icon)

    def wait_for_person(self, process, what):
        try:
            process.wait(timeout=WAIT_PERSON)
        except subprocess.TimeoutExpired:
            raise Failure(f"{what} still waits for an answer after {WAIT_PERSON:.0f} s; "
                          f"giving up") from None

    # Install.
    def run_install(self):
        print(f"\n== Install: {text(DIST_FOLDER)}tavi.exe")
        process = self.start(DIST_FOLDER + b"tavi.exe", cwd=DIST_FOLDER)
        if self.mode == "auto":
            self.expect(process, "install-question", INSTALL_CAPTION, INSTALL_TEXT, YES_NO,
                        YES, "y", "question")
            self.expect(process, "closing-notice", END_CAPTION, CLOSING_TEXT, OK_ONLY, "OK",
                        "Return", "information")
            self.dialogs.expect_no_dialog(process)
        else:
            print(f"Answer the dialogs on your display: 「{INSTALL_CAPTION}」, then "
                  f"「{CLOSING_TEXT}」.")
            self.wait_for_person(process, "the install")
        self.wine.wait_idle(10)

        installed = harness.Snapshot.take(self.wine)
        if self.mode == "user" and self.base.diff(installed) == ([], [], []):
            print("Nothing was installed: the install was declined.")
            return False
        harness.expect_changes(self.base, installed, added=self.all_install_paths())
        self.report_installation()
        return True

    def report_installation(self):
        folder = self.wine.unix(self.install)
        dist = self.wine.unix(DIST_FOLDER)
        print(f"\nInstalled files in {text(self.install)}")
        width = max(len(name) for name in [*COPIES, *SCRIPTS])
        for name in [*COPIES, *SCRIPTS]:
            data = (folder / name).read_bytes()
            source = COPIES.get(name)
            if source:
                check(data == (dist / source).read_bytes(),
                      f"installed {name} differs from the distribution's {source}")
                origin = f"copy of {source}"
            else:
                origin = "uninstall script" if name == "uninstall.bat" else "cleanup script"
            print(f"  {name:<{width}}  {len(data):>9,} bytes  {origin}")

        print("\nShortcuts (targets read with lnkinfo)")
        for place, link, target in LINKS:
            path = (self.menu if place == "menu" else self.sendto) + link.encode(CP932)
            actual = harness.link_target(self.wine.unix(path))
            check_equal(actual, text(self.install) + target, f"target of {link}")
            print(f"  {text(path)}\n    -> {actual}")

        expected = {"uninstall.bat": harness.uninstall_script(self.install, self.temp),
                    "Uninstall2.bat": harness.cleanup_script(self.install, self.menu,
                                                             self.sendto, self.temp)}
        for name, script in expected.items():
            data = (folder / name).read_bytes()
            check_equal(data, script, name)
            print(f"\n{name} (code page 932 with CR LF line ends, shown decoded)")
            for line in data.decode(CP932).split("\r\n"):
                if line:
                    print(f"  | {line}")

    # Uninstall.
    def run_uninstall(self):
        program = self.install + b"install.exe"
        print(f"\n== Uninstall: {text(program)}, as the Start-menu entry "
              f"{UNINSTALL_LINK} starts it")
        # The shortcut sets no working folder, so neither does this.
        process = self.start(program, cwd=b"C:\\users\\")
        if self.mode == "auto":
            self.expect(process, "uninstall-question", UNINSTALL_CAPTION, UNINSTALL_TEXT,
                        YES_NO, NO, "y", "information")
            self.expect(process, "deletion-notice", END_CAPTION, DELETION_TEXT, OK_ONLY, "OK",
                        "Return", "information")
            answered = self.dialogs.answered_at
            self.dialogs.expect_no_dialog(process)
        else:
            print(f"Answer the dialogs on your display: 「{UNINSTALL_CAPTION}」 (No is the "
                  f"default button), then 「{DELETION_TEXT}」.")
            self.wait_for_person(process, "the uninstall")
            answered = time.monotonic()

        log(f"waiting (at most {WAIT_UNINSTALL:.0f} s) for the scripts: a 5 s pause, "
            f"then the removal")
        self.wine.wait_idle(WAIT_UNINSTALL)
        after = harness.Snapshot.take(self.wine)
        added, removed, changed = self.base.diff(after)
        if self.mode == "user" and set(added) == set(self.all_install_paths()):
            print("The uninstall was declined: the installation stays in this throwaway "
                  "prefix.")
            return
        log(f"the scripts ended {time.monotonic() - answered:.1f} s after the deletion "
            f"notice was closed")
        self.report_leftovers(added, removed, changed)

    def report_leftovers(self, added, removed, changed):
        install = self.wine.rel(self.install)
        temp_script = self.wine.unix(self.temp + TEMP_SCRIPT.encode(CP932))
        check(not temp_script.exists(),
              f"the temporary cleanup script is left: {text(self.temp)}{TEMP_SCRIPT}")
        wine_difference = (added == [install] and not removed and not changed and
                           not any(self.wine.unix(self.install).iterdir()))
        if not added and not removed and not changed:
            print("\nLeft after the uninstall: nothing.")
            return
        if wine_difference:
            print(f"\nLeft after the uninstall: only the empty folder {text(self.install)}")
            print("  This is the known Wine difference, not a fault: Wine's cmd keeps the "
                  "running\n  uninstall.bat open until it ends, so the cleanup script's "
                  "\"rd\" finds the\n  folder not yet empty. On Windows the folder goes "
                  "too.")
            return
        lines = [f"  left:    {windows_path(p)}" for p in added]
        lines += [f"  removed: {windows_path(p)}" for p in removed]
        lines += [f"  changed: {windows_path(p)}" for p in changed]
        raise Failure("the uninstall did not leave the prefix as it was:\n" +
                      "\n".join(lines))

    # Pictures.
    def report_screenshots(self):
        names = ["install-question", "closing-notice", "uninstall-question",
                 "deletion-notice"]
        print(f"\nScreenshots of the dialogs in {shown(self.shots_dir)}/")
        for name in names:
            path = self.shots_dir / f"{name}.png"
            check(path.is_file(), f"no screenshot {path}")
            if self.docs:
                # Without time stamps, so that the same dialog gives the same
                # bytes and docs/ changes only when the dialog does.
                target = self.docs / path.name
                result = subprocess.run(["convert", str(path), "-strip", str(target)],
                                        capture_output=True, timeout=30)
                check(result.returncode == 0, f"could not copy {path} to {target}: "
                                              f"{result.stderr!r}")
            print(f"  {path.name}")
        if self.docs:
            print(f"  (copied into {shown(self.docs)}/)")

    def stop_started(self):
        for process in self.started:
            if process.poll() is None:
                process.kill()
                process.wait(timeout=10)

    def run(self):
        self.prepare()
        if self.run_install():
            self.run_uninstall()
        if self.mode == "auto":
            self.report_screenshots()


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--mode", choices=["auto", "user"], required=True)
    parser.add_argument("--dist", required=True, help="the distribution folder")
    parser.add_argument("--probe", required=True, help="tavi_e2e_probe.exe")
    parser.add_argument("--docs", help="also copy the screenshots into this folder (auto)")
    args = parser.parse_args(argv[1:])
    # The prompts of the person's mode must show before the wait, even
    # through a pipe.
    sys.stdout.reconfigure(line_buffering=True)
    if "TAVI_WINE_DIR" not in os.environ:
        sys.exit("run_walkthrough: TAVI_WINE_DIR is not set (scripts/run.sh sets it)")

    walkthrough = Walkthrough(args)
    try:
        walkthrough.run()
    except Failure as failure:
        print(f"\nFAILED: {failure}", flush=True)
        print(f"logs and pictures: {shown(walkthrough.config.out_dir)}", flush=True)
        return 1
    except Exception:  # a step that broke: still a failed run, with its trace
        print(f"\nFAILED:\n{traceback.format_exc()}", flush=True)
        return 1
    finally:
        walkthrough.stop_started()
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except KeyboardInterrupt:
        sys.exit(130)
