"""Harness for the end-to-end scenarios: the real tavi.exe in the session's
Wine prefix, driven through its message boxes like a user would.

Pieces:
  Wine       runs Windows programs through wine-run; asks winprobe what only
             a Windows process can see (folders, dialogs, processes).
  Dialogs    waits for a message box, photographs it, checks its caption,
             text, buttons, default button and icon, and answers it with a
             key press on the X display.
  Snapshot   the file tree of the prefix's drive_c (paths, sizes, hashes),
             so a scenario can state exactly what it changed.
  Scenario   one run's working state: the folders, a distribution folder,
             an output folder for screenshots, and a clean-up.

Python 3 standard library only. Every wait is bounded.
"""

import contextlib
import dataclasses
import hashlib
import json
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

CP932 = "cp932"

# Texts of the setup program's message boxes.
INSTALL_CAPTION = "簡易インストーラー"
INSTALL_TEXT = "「タヴィ」をインストールしますか？"
UNINSTALL_CAPTION = "簡易アンインストーラー"
UNINSTALL_TEXT = "「タヴィ」をアンインストールしますか？"
END_CAPTION = "終了"
CLOSING_TEXT = "終了しました"
DELETION_TEXT = "５秒後にファイルを削除します。"
SHORTCUT_FAILED_TEXT = "ショートカット作成失敗"
# MessageBoxA with no caption shows the system's default title, under the
# Japanese locale "エラー" (Error), in Wine as in Windows.
DEFAULT_CAPTION = "エラー"
YES_NO = ["はい(&Y)", "いいえ(&N)"]
YES, NO = YES_NO
OK_ONLY = ["OK"]

# Names the install writes.
# Installed name -> the distribution file it is a copy of, in install order.
COPIES = {"tavi.exe": "data1.dat", "readme.txt": "readme.txt", "install.exe": "tavi.exe",
          "sleep.exe": "data2.dat"}
SCRIPTS = ["uninstall.bat", "Uninstall2.bat"]
UNINSTALL_LINK = "アンインストール.lnk"
HELP_LINK = "ヘルプ.lnk"
TOOL_LINK = "タヴィ.lnk"
TEMP_SCRIPT = "uninstall_tavi_123456789.bat"
# Each shortcut: the folder it lies in, its name, its target in the install folder.
LINKS = [("menu", UNINSTALL_LINK, "install.exe"), ("menu", HELP_LINK, "readme.txt"),
         ("sendto", TOOL_LINK, "tavi.exe")]

# Processes that belong to a run of the setup program or its scripts; a
# scenario waits until none is left before it looks at the disk.
RUN_PROCESSES = {"tavi.exe", "install.exe", "cmd.exe", "conhost.exe", "sleep.exe"}

WAIT_DIALOG = 20.0
WAIT_EXIT = 20.0
WAIT_UNINSTALL = 40.0


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        if isinstance(actual, bytes) and isinstance(expected, bytes):
            # Script texts: show them as the code page 932 text they are.
            actual = actual.decode(CP932, "backslashreplace")
            expected = expected.decode(CP932, "backslashreplace")
        raise Failure(f"{what}:\n  expected {expected!r}\n  actual   {actual!r}")


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_for(predicate, timeout, interval=0.1):
    """Polls until predicate() is truthy; returns its value, or None on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


@dataclasses.dataclass
class Config:
    wine_dir: Path
    wine_run: Path
    tavi: Path
    tool: Path
    pause: Path
    probe: Path
    out_dir: Path

    @staticmethod
    def from_environment(scenario):
        def need(name):
            value = os.environ.get(name)
            if not value:
                sys.exit(f"harness: {name} is not set")
            return Path(value)

        return Config(
            wine_dir=need("TAVI_WINE_DIR"),
            wine_run=need("TAVI_WINE_RUN"),
            tavi=need("TAVI_EXE"),
            tool=need("TAVI_E2E_TOOL"),
            pause=need("TAVI_E2E_PAUSE"),
            probe=need("TAVI_E2E_PROBE"),
            out_dir=need("TAVI_E2E_OUT") / scenario,
        )


class Wine:
    def __init__(self, config):
        self.config = config
        self.prefix = config.wine_dir / "prefix"
        self.drive_c = self.prefix / "drive_c"
        self.env = dict(os.environ, TAVI_WINE_DIR=str(config.wine_dir))

    # Paths. Only drive C: is used; a Windows path is bytes in code page 932
    # or text, the Unix name of each part is its UTF-8 form.
    def unix(self, windows_path):
        if isinstance(windows_path, bytes):
            windows_path = windows_path.decode(CP932)
        check(windows_path[:3].upper() == "C:\\", f"not on drive C: {windows_path!r}")
        parts = [p for p in windows_path[3:].split("\\") if p]
        return self.drive_c.joinpath(*parts)

    def rel(self, windows_path):
        """A drive_c-relative key, as Snapshot uses."""
        return self.unix(windows_path).relative_to(self.drive_c).as_posix()

    def command(self, program, *args):
        return [str(self.config.wine_run), str(program), *[str(a) for a in args]]

    def run(self, program, *args, cwd=None, timeout=30):
        result = subprocess.run(self.command(program, *args), cwd=cwd or self.drive_c,
                                env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=timeout)
        return result

    def probe(self, *args):
        result = self.run(self.config.probe, *args)
        check(result.returncode == 0,
              f"winprobe {' '.join(args)} failed ({result.returncode}): {result.stderr!r}")
        return result.stdout

    def folders(self):
        """The folders as the setup program computes them, raw code page 932."""
        folders = {}
        for line in self.probe("folders").splitlines():
            key, _, value = line.partition(b"=")
            folders[key.decode()] = value.rstrip(b"\r")
        return folders

    def dialogs(self):
        return [json.loads(line) for line in self.probe("dialogs").decode().splitlines() if line]

    def processes(self):
        return [json.loads(line) for line in self.probe("processes").decode().splitlines() if line]

    def running(self, names=RUN_PROCESSES):
        return sorted(p["exe"] for p in self.processes() if p["exe"].lower() in names)

    def wait_idle(self, timeout, names=RUN_PROCESSES):
        """Waits until no process of a setup run is left; fails with those left."""
        if wait_for(lambda: not self.running(names), timeout, interval=0.2):
            return
        raise Failure(f"still running after {timeout:.0f} s: {self.running(names)}")

    def start(self, program, *args, cwd, log_path):
        log_file = open(log_path, "wb")
        process = subprocess.Popen(self.command(program, *args), cwd=cwd, env=self.env,
                                   stdin=subprocess.DEVNULL, stdout=log_file,
                                   stderr=subprocess.STDOUT)
        log_file.close()
        return process

    # The user's environment in the registry, which a program started from
    # outside Wine takes its TEMP and TMP from.
    def environment_value(self, name):
        """(type, data) of HKCU\\Environment\\name, or None."""
        result = self.run("reg", "query", "HKCU\\Environment", "/v", name)
        if result.returncode != 0:
            return None
        for line in result.stdout.decode(CP932, "replace").splitlines():
            fields = line.strip().split(None, 2)
            if len(fields) == 3 and fields[0].lower() == name.lower():
                return fields[1], fields[2]
        return None

    def set_environment_value(self, name, value):
        kind, data = value
        result = self.run("reg", "add", "HKCU\\Environment", "/v", name, "/t", kind,
                          "/d", data, "/f")
        check(result.returncode == 0, f"reg add {name} failed: {result.stdout!r}")

    def delete_environment_value(self, name):
        self.run("reg", "delete", "HKCU\\Environment", "/v", name, "/f")


class Screen:
    """The session's X display: screenshots and key presses."""

    def __init__(self, config, out_dir):
        self.display = (config.wine_dir / "display").read_text().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.out_dir = out_dir
        self.shots = 0

    def xdotool(self, *args, timeout=10):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                              timeout=timeout)

    def windows(self):
        """Every named X window, as 'id name' lines."""
        ids = self.xdotool("search", "--name", ".").stdout.decode().split()
        names = []
        for window in ids:
            name = self.xdotool("getwindowname", window).stdout.decode(errors="replace").strip()
            names.append(f"{window} {name!r}")
        return names

    def screenshot(self, label, window="root"):
        self.shots += 1
        path = self.out_dir / f"{self.shots:02d}-{label}.png"
        result = subprocess.run(["import", "-display", self.display, "-window", str(window),
                                 str(path)], capture_output=True, timeout=20)
        if result.returncode != 0 and window != "root":
            subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                           capture_output=True, timeout=20)
        return path

    def pixels(self):
        """The whole screen as raw 8-bit RGB rows, and its width."""
        result = subprocess.run(["import", "-display", self.display, "-window", "root",
                                 "-depth", "8", "rgb:-"], capture_output=True, timeout=20)
        check(result.returncode == 0, f"screen capture failed: {result.stderr!r}")
        width = int(self.xdotool("getdisplaygeometry").stdout.split()[0])
        return result.stdout, width

    def press(self, window, key, focus):
        if focus:
            # Without a window manager nothing gives Wine the focus; take it
            # and type through XTEST as a keyboard would.
            self.xdotool("windowfocus", "--sync", str(window))
            self.xdotool("key", key)
        else:
            self.xdotool("key", "--window", str(window), key)


class Dialogs:
    """Expects message boxes in order and answers each one."""

    def __init__(self, wine, screen):
        self.wine = wine
        self.screen = screen
        self.seen = []
        self.answered_at = None

    def describe(self):
        lines = ["X windows:"] + [f"  {w}" for w in self.screen.windows()]
        lines += ["dialogs:"] + [f"  {d}" for d in self.wine.dialogs()]
        lines += ["processes:"] + [f"  {p}" for p in self.wine.running()]
        return "\n".join(lines)

    def fail(self, message):
        shot = self.screen.screenshot("failure")
        raise Failure(f"{message}\nscreenshot: {shot}\n{self.describe()}\n"
                      f"dialogs answered so far: {self.seen}")

    def icon(self, dialog):
        """Which standard icon the dialog shows (question, information,
        warning, error), None for none: its pixels on the screen compared
        with the standard icons as winprobe draws them on the same colour."""
        if dialog["icon"] is None:
            return None
        x, y, width, height = dialog["icon"]
        found = "unknown"
        # The box may be found a moment before it is painted.
        deadline = time.monotonic() + 3.0
        while found == "unknown" and time.monotonic() < deadline:
            screen, screen_width = self.screen.pixels()
            crop = b"".join(screen[((y + row) * screen_width + x) * 3:
                                   ((y + row) * screen_width + x + width) * 3]
                            for row in range(height))
            found = self.identify_icon(crop, width)
        return found

    def identify_icon(self, crop, size):
        # The corners of the standard icons are transparent: the background.
        red, green, blue = crop[0:3]
        folder = self.screen.out_dir / "icons" / f"{red}-{green}-{blue}-{size}"
        if not folder.is_dir():
            folder.mkdir(parents=True)
            result = self.wine.run(self.wine.config.probe, "icons", red, green, blue, size,
                                   cwd=folder)
            check(result.returncode == 0, f"winprobe icons failed: {result.stderr!r}")
        for name in ("question", "information", "warning", "error"):
            if (folder / f"{name}.rgb").read_bytes() == crop:
                return name
        return "unknown"

    def expect(self, process, caption, text, buttons, default, answer, icon,
               timeout=WAIT_DIALOG):
        """Waits for the one dialog with this caption, checks it, answers it."""
        dialogs = []
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            dialogs = self.wine.dialogs()
            if any(d["caption"] == caption for d in dialogs):
                break
            if dialogs:
                # The previous one was seen to close: this one came instead.
                self.fail(f"dialog {dialogs[0]['caption']!r} ({dialogs[0]['text']!r}) "
                          f"where {caption!r} was expected")
            if process is not None and process.poll() is not None:
                self.fail(f"the program ended (exit code {process.returncode}) "
                          f"while waiting for dialog {caption!r}")
            time.sleep(0.1)
        if not dialogs:
            self.fail(f"no dialog {caption!r} within {timeout:.0f} s")
        if len(dialogs) != 1:
            self.fail(f"expected the dialog {caption!r} alone, found {len(dialogs)}")
        dialog = dialogs[0]
        shot = self.screen.screenshot(caption, dialog["xid"] or "root")
        log(f"dialog {caption!r}: {dialog['text']!r} {dialog['buttons']} "
            f"default {dialog['default']!r} -> {answer} ({shot.name})")
        check_equal(dialog["text"], text, f"text of dialog {caption!r} ({shot})")
        check_equal(dialog["buttons"], buttons, f"buttons of dialog {caption!r} ({shot})")
        check_equal(dialog["default"], default, f"default button of dialog {caption!r} ({shot})")
        check_equal(self.icon(dialog), icon, f"icon of dialog {caption!r} ({shot})")
        self.answer(dialog, answer)
        self.seen.append((caption, answer))
        return dialog

    def answer(self, dialog, key):
        def gone():
            return all(d["hwnd"] != dialog["hwnd"] for d in self.wine.dialogs())

        # The dialog cannot close before this; what the answer starts cannot
        # start before it either.
        self.answered_at = time.monotonic()
        for focus in (False, True):
            self.screen.press(dialog["xid"], key, focus)
            if wait_for(gone, 5.0):
                return
        self.fail(f"dialog {dialog['caption']!r} did not close on key {key}")

    def expect_no_dialog(self, process, timeout=WAIT_EXIT):
        """Waits for the program to end with exit code 0 and no dialog left."""
        try:
            code = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail(f"the program did not end within {timeout:.0f} s")
        if code != 0:
            self.fail(f"the program ended with exit code {code}, expected 0")
        check_equal(self.wine.dialogs(), [], "dialogs left after the program ended")


class Snapshot:
    """The drive_c file tree: relative path -> ("dir",) | ("link", target) |
    ("file", size, sha256). Symbolic links are recorded, never followed.

    Nothing in drive_c is ignored. Wine keeps its registry (the .reg files)
    beside drive_c, not in it, and in these scenarios it writes nothing of
    its own inside: every change found is one the scenario must account for.
    The distribution folder lies in drive_c too, so each scenario also
    asserts that the setup program only reads it.

    Hashing the whole prefix each time would take seconds; a file whose inode,
    size, modification and change times are all unchanged is taken to have
    the hash it had (as git does). The change time cannot be set back by a
    program, so a rewritten file is always hashed again."""

    def __init__(self, entries):
        self.entries = entries

    @staticmethod
    def take(wine):
        # Beside drive_c, so that it goes with the prefix it describes.
        cache_path = wine.prefix / "e2e-hash-cache.json"
        try:
            cache = json.loads(cache_path.read_text())
        except (OSError, ValueError):
            cache = {}
        new_cache = {}
        entries = {}
        root = wine.drive_c
        pending = [""]
        while pending:
            folder = pending.pop()
            with os.scandir(root / folder) as scan:
                for entry in scan:
                    rel = f"{folder}/{entry.name}" if folder else entry.name
                    if entry.is_symlink():
                        entries[rel] = ("link", os.readlink(entry.path))
                    elif entry.is_dir():
                        entries[rel] = ("dir",)
                        pending.append(rel)
                    else:
                        st = entry.stat(follow_symlinks=False)
                        key = [st.st_ino, st.st_size, st.st_mtime_ns, st.st_ctime_ns]
                        cached = cache.get(rel)
                        if cached and cached[:4] == key:
                            digest = cached[4]
                        else:
                            digest = hashlib.sha256(Path(entry.path).read_bytes()).hexdigest()
                        new_cache[rel] = key + [digest]
                        entries[rel] = ("file", st.st_size, digest)
        tmp = cache_path.with_suffix(".tmp")
        tmp.write_text(json.dumps(new_cache))
        tmp.replace(cache_path)
        return Snapshot(entries)

    def diff(self, later):
        """(added, removed, changed): sorted lists of relative paths."""
        before, after = self.entries, later.entries
        added = sorted(set(after) - set(before))
        removed = sorted(set(before) - set(after))
        changed = sorted(p for p in set(before) & set(after) if before[p] != after[p])
        return added, removed, changed


def expect_changes(before, after, added=(), removed=(), changed=()):
    """Asserts that exactly these paths were added, removed and changed."""
    actual = before.diff(after)
    expected = (sorted(added), sorted(removed), sorted(changed))
    if actual != expected:
        lines = []
        for label, a, e in zip(("added", "removed", "changed"), actual, expected):
            for path in sorted(set(a) - set(e)):
                lines.append(f"  unexpectedly {label}: {path}")
            for path in sorted(set(e) - set(a)):
                lines.append(f"  not {label} as expected: {path}")
        raise Failure("the prefix did not change as expected:\n" + "\n".join(lines))


# Script texts, from the folders the setup program computed. Every path goes
# in byte for byte, except that "%" is doubled: the command interpreter reads
# "%%" in a batch file as one "%".
def _escaped(folder):
    return folder.replace(b"%", b"%%")


def _q(path):
    return b'"' + path + b'"'


def uninstall_script(install, temp):
    temp_script = _escaped(temp) + TEMP_SCRIPT.encode(CP932)
    lines = [
        b"Sleep 5000",
        b"copy " + _q(_escaped(install) + b"uninstall2.bat") + b" " + _q(temp_script),
        b"call " + _q(temp_script),
    ]
    return b"\r\n".join(lines)


def cleanup_script(install, menu, sendto, temp):
    i, m = _escaped(install), _escaped(menu)
    lines = [b"del " + _q(i + name) for name in
             (b"tavi.exe", b"sleep.exe", b"install.exe", b"readme.txt", b"uninstall.bat",
              b"uninstall.pif", b"uninstall2.bat")]
    lines.append(b"rd " + _q(_escaped(install[:-1])))
    lines += [b"del " + _q(m + name.encode(CP932)) for name in (UNINSTALL_LINK, HELP_LINK)]
    lines.append(b"rd " + _q(_escaped(menu[:-1])))
    lines.append(b"del " + _q(_escaped(sendto) + TOOL_LINK.encode(CP932)))
    lines.append(b"del " + _q(_escaped(temp) + TEMP_SCRIPT.encode(CP932)))
    return b"".join(line + b"\r\n" for line in lines)


def link_target(path):
    """The local path a .lnk file points at, read with lnkinfo."""
    result = subprocess.run(["lnkinfo", "-c", "windows-932", str(path)], capture_output=True,
                            timeout=20)
    check(result.returncode == 0, f"lnkinfo {path} failed: {result.stderr!r}")
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        key, _, value = line.partition(":")
        if key.strip() == "Local path":
            return value.strip()
    raise Failure(f"no local path in {path}:\n{result.stdout.decode('utf-8', 'replace')}")


README = "タヴィの説明書です。\r\n".encode(CP932)


class InstallFolders:
    """The folders the setup program computes, as code page 932 bytes, and
    the paths an install makes in them, as snapshot keys. Needs self.wine."""

    def read_folders(self):
        f = self.wine.folders()
        self.install = f["programfiles"] + b"\\tavi\\"
        self.menu = f["programs"] + b"\\tavi\\"
        self.sendto = f["sendto"] + b"\\"
        self.temp = f["temp"]

    def install_paths(self, files=(*COPIES, *SCRIPTS)):
        folder = self.wine.rel(self.install)
        return [folder] + [f"{folder}/{name}" for name in files]

    def menu_paths(self, links=(UNINSTALL_LINK, HELP_LINK)):
        folder = self.wine.rel(self.menu)
        return [folder] + [f"{folder}/{name}" for name in links]

    def sendto_paths(self):
        return [f"{self.wine.rel(self.sendto)}/{TOOL_LINK}"]

    def all_install_paths(self):
        return self.install_paths() + self.menu_paths() + self.sendto_paths()


class Scenario(InstallFolders):
    """One scenario's folders, distribution and output."""

    def __init__(self, name):
        self.name = name
        self.config = Config.from_environment(name)
        shutil.rmtree(self.config.out_dir, ignore_errors=True)
        self.config.out_dir.mkdir(parents=True)
        self.wine = Wine(self.config)
        self.screen = Screen(self.config, self.config.out_dir)
        self.dialogs = Dialogs(self.wine, self.screen)
        self.dist = ("C:\\tavi-dist\\" + name + "\\").encode(CP932)
        self.runs = 0
        self.started = []
        self.refresh_folders()

    def refresh_folders(self):
        """The folders the setup program will compute, as code page 932 bytes."""
        self.read_folders()
        log(f"folders: install {self.install.decode(CP932)!r}, "
            f"menu {self.menu.decode(CP932)!r}, sendto {self.sendto.decode(CP932)!r}, "
            f"temp {self.temp.decode(CP932)!r}")

    def remove_installation(self):
        """Removes whatever an install or a failed scenario left behind."""
        for folder in (self.install, self.menu):
            path = self.wine.unix(folder)
            if path.is_dir() and not path.is_symlink():
                shutil.rmtree(path)
            elif path.exists() or path.is_symlink():
                path.unlink()
        for path in (self.wine.unix(self.sendto + TOOL_LINK.encode(CP932)),
                     self.wine.unix(self.temp + TEMP_SCRIPT.encode(CP932))):
            if path.exists() or path.is_symlink():
                path.unlink()

    def make_distribution(self, leave_out=(), readme=README):
        """The distribution folder: tavi.exe, data1.dat, data2.dat, readme.txt.
        Returns the bytes of each file by name."""
        dist = self.wine.unix(self.dist)
        shutil.rmtree(dist, ignore_errors=True)
        dist.mkdir(parents=True)
        files = {
            "tavi.exe": self.config.tavi.read_bytes(),
            "data1.dat": self.config.tool.read_bytes(),
            "data2.dat": self.config.pause.read_bytes(),
            "readme.txt": readme,
        }
        for name, data in files.items():
            if name not in leave_out:
                (dist / name).write_bytes(data)
        return files

    def remove_distribution(self):
        shutil.rmtree(self.wine.unix(b"C:\\tavi-dist\\"), ignore_errors=True)

    def snapshot(self):
        return Snapshot.take(self.wine)

    def start_command(self, command, cwd):
        """Starts a Windows command line (program and arguments as text) in
        a Windows current folder."""
        self.runs += 1
        log_path = self.config.out_dir / f"run{self.runs}.log"
        log(f"start {' '.join(str(part) for part in command)} in {cwd.decode(CP932)}")
        process = self.wine.start(*command, cwd=self.wine.unix(cwd), log_path=log_path)
        self.started.append(process)
        return process

    def start_setup(self, *args):
        """Starts tavi.exe in the distribution folder, as a double click would
        (with `args` on its command line, which it must ignore)."""
        return self.start_command([self.wine.unix(self.dist + b"tavi.exe"), *args],
                                  cwd=self.dist)

    def stop_processes(self):
        """Ends what a failed run left running: the programs this scenario
        started, then (after a bounded wait) any script process of theirs.
        Returns the names of the processes that had to be ended."""
        ended = []
        for process in self.started:
            if process.poll() is None:
                process.kill()
                process.wait(timeout=10)
                ended.append(f"started program (pid {process.pid})")
        if wait_for(lambda: not self.wine.running(), 15, interval=0.2):
            return ended
        for p in self.wine.processes():
            if p["exe"].lower() in RUN_PROCESSES:
                self.wine.run("taskkill", "/f", "/pid", p["pid"])
                ended.append(p["exe"])
        return ended

    @contextlib.contextmanager
    def cleanup(self):
        """A clean start, and a clean prefix for the next scenario whatever
        happens. Left-over processes fail a scenario that passed."""
        self.remove_installation()
        self.remove_distribution()
        passed = False
        try:
            yield
            passed = True
        finally:
            ended = self.stop_processes()
            self.remove_installation()
            self.remove_distribution()
            if passed and ended:
                raise Failure(f"processes still running at the end: {ended}")
