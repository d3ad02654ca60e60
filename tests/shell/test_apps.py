"""Each app its own desktop app, end to end: its own website data and store (the harness's site
hears what each app's page sees), one instance per app, and install, list and uninstall with
hostile names. Runs under dbus-run-session, on X11."""

import json
import os
import pathlib
import re
import shutil
import signal
import sqlite3
import stat
import subprocess
import unittest

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402
from shell_harness import SHELL, WAIT, Scratch  # noqa: E402


def tree(root):
    """Every path under root: its mode, and a file's size and modification time."""
    found = {}
    for path in pathlib.Path(root).rglob("*"):
        info = path.lstat()
        found[str(path.relative_to(root))] = (
            info.st_mode, None if stat.S_ISDIR(info.st_mode) else (info.st_size, info.st_mtime_ns))
    return found


def changes(before, after):
    return {k for k in before.keys() | after.keys() if before.get(k) != after.get(k)}


class Apps(Scratch):
    own_runtime = True

    def setUp(self):
        super().setUp()
        self.base = self.site.url("/isolation.html?")
        self.seal("alpha", {"package_name": "com.example.alpha", "theme_color": "SOLID_3"})
        self.seal("beta", {"package_name": "org.example.beta", "theme_color": "SOLID_3"})

    def start(self, app, query, env=None):
        process = subprocess.Popen([SHELL, "--bundle", self.bundle, "--base-url",
                                    self.base + query, app], env=env or self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (process.poll() is None and process.kill(), process.communicate()))
        return process

    def report(self, **expected):
        """The next report that has every member of expected."""
        while True:
            got = self.site.reports.get(timeout=WAIT)
            if all(got.get(k) == v for k, v in expected.items()):
                return got

    def stop(self, process):
        process.send_signal(signal.SIGTERM)
        _, err = process.communicate(timeout=WAIT)
        self.assertEqual(process.returncode, 0, err)

    def preview(self, app, query):
        done = self.shell("--bundle", self.bundle, "--base-url", self.base + query, "--dump-ui",
                          app)
        self.assertEqual(done.returncode, 0, done.stderr)
        return json.loads(done.stdout)

    def test_each_app_keeps_its_own_cookies_storage_and_theme(self):
        alpha = self.start("alpha", "app=A&store=1")
        self.assertEqual(self.report(app="A")["cookie"], "")
        self.report(app="A", stored="1")
        self.stop(alpha)
        beta = self.start("beta", "app=B")
        self.assertEqual(self.report(app="B"), {"app": "B", "cookie": "", "local": "null"})
        self.stop(beta)
        again = self.start("alpha", "app=A2")
        self.assertEqual(self.report(app="A2"), {"app": "A2", "cookie": "k=v", "local": "v"})
        self.stop(again)
        for base, inside in [("XDG_DATA_HOME", "website"), ("XDG_CACHE_HOME", "."),
                             ("XDG_CONFIG_HOME", "defaults.sqlite3")]:
            for app_id in ("com.example.alpha", "org.example.beta"):
                folder = self.folder(base, app_id)
                self.assertTrue(os.path.exists(os.path.join(folder, inside)), (folder, inside))
                self.assertEqual(os.stat(folder).st_mode & 0o777, 0o700, folder)

        # A theme picked in alpha (stored as its side menu stores it) shows in alpha's preview,
        # not in beta's; previews see nothing of the apps' website data and write nothing.
        store = os.path.join(self.folder("XDG_CONFIG_HOME", "com.example.alpha"),
                             "defaults.sqlite3")
        with sqlite3.connect(store) as db:
            db.execute("INSERT OR REPLACE INTO entries VALUES ('APP_THEME', 0, 'SOLID_7')")
        db.close()
        before = tree(self.home)
        shown = {app: self.preview(app, "app=P") for app in ("alpha", "beta")}
        self.assertNotEqual(shown["alpha"]["colors"], shown["beta"]["colors"])
        self.assertEqual({app: s["page_title"] for app, s in shown.items()},
                         {"alpha": "seen:|null", "beta": "seen:|null"})
        self.assertEqual(changes(before, tree(self.home)), set())

        # Purging an app that was run but never installed removes its folders, and only its.
        self.assertEqual(self.shell("uninstall", "--purge", "com.example.alpha").returncode, 0)
        self.assertEqual({p.split(os.sep)[-1] for p in changes(before, tree(self.home))
                          if p.count(os.sep) == 3}, {"com.example.alpha"})
        self.assertTrue(os.path.exists(self.folder("XDG_DATA_HOME", "org.example.beta")))

    def test_a_second_launch_hands_over_to_the_first(self):
        first = self.start("alpha", "app=first")
        self.report(app="first")
        second = self.start("alpha", "app=second")
        err = second.communicate(timeout=WAIT)[1]
        self.assertEqual(second.returncode, 0, err)
        self.report(app="second")  # opened by the first instance
        other = self.start("beta", "app=other")  # another app is another application
        self.report(app="other")
        self.assertIn("?app=preview", self.preview("alpha", "app=preview")["url"])
        windows = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True)
        for app_id in ("com.example.alpha", "org.example.beta"):  # each its own taskbar entry
            self.assertIn('("%s" "%s")' % (app_id, app_id), windows.stdout)
        # Without a session bus a launch cannot find the first one: it runs on its own.
        alone = self.start("alpha", "app=alone", dict(self.env, DBUS_SESSION_BUS_ADDRESS="unix:"
                                                       "path=" + os.path.join(self.home, "no-bus")))
        self.report(app="alone")
        for process in (first, other, alone):
            self.assertIsNone(process.poll())
            self.stop(process)


class Install(Scratch):
    """install, list and uninstall with names, titles and paths that try to break the launcher."""
    home_name = "ho me \"q\" %u $(x) ;\n\\ é"
    own_runtime = True
    NAME = "we ird's \"app\" %f $(touch x);\nnext ☕"
    TITLE = "Tea & \"Cakes\" <b> %f $(id)\nExec=/bin/evil"

    def setUp(self):
        super().setUp()
        self.data = self.xdg["XDG_DATA_HOME"]
        for folder in ("applications", "icons/hicolor"):  # as a desktop has them
            os.makedirs(os.path.join(self.data, folder))
        self.program = self.copy_shell("bin $`'\" ;\n\\ é")  # its path goes into Exec too
        self.seal(self.NAME, {"package_name": "com.example.tea room",
                              "menu_header_title": self.TITLE, "theme_color": "SOLID_5"})

    def copy_shell(self, folder):
        os.makedirs(os.path.join(self.scratch, folder))
        return shutil.copy(SHELL, os.path.join(self.scratch, folder))

    def test_round_trip_with_hostile_names(self):
        before = tree(self.home)
        done = self.shell("install", "--bundle", self.bundle, self.NAME, program=self.program)
        self.assertEqual(done.returncode, 0, done.stderr)
        app_id, entry = done.stdout.rstrip("\n").split("\t")
        self.assertEqual(entry, os.path.join(self.data, "applications", app_id + ".desktop"))
        check = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
        self.assertEqual((check.returncode, check.stdout + check.stderr), (0, ""))
        info = Gio.DesktopAppInfo.new_from_filename(entry)
        self.assertEqual((info.get_name(), info.get_startup_wm_class(), info.get_string("Icon")),
                         (self.TITLE.replace("\n", " "), app_id, app_id))
        # Field codes as GLib expands them with no file (%% is %, other codes go), then its quoting.
        expanded = re.sub("%(.)", lambda m: "%" if m[1] == "%" else "", info.get_commandline(),
                          flags=re.S)
        argv = GLib.shell_parse_argv(expanded)[1]
        folder = self.folder("XDG_DATA_HOME", app_id)
        self.assertEqual(argv, [self.program, "--bundle", folder, "--", self.NAME])
        routed = self.shell("--route", "https://x.example/", *argv[1:], program=argv[0])
        self.assertEqual((routed.returncode, routed.stdout), (0, "INSIDE\n"), routed.stderr)
        icon = pathlib.Path(self.data, "icons/hicolor/scalable/apps", app_id + ".svg")
        self.assertIn(">T</text>", icon.read_text(encoding="utf-8"))

        # Reinstalling, under this name or another, leaves one copy and one launcher.
        shutil.copy(os.path.join(self.bundle, self.NAME + ".io"),
                    os.path.join(self.bundle, "renamed.io"))
        for name in (self.NAME, "renamed"):
            done = self.shell("install", "--bundle", self.bundle, name, program=self.program)
            self.assertEqual(done.returncode, 0, done.stderr)
            self.assertEqual(os.listdir(folder), [name + ".io"])
        self.assertEqual(self.shell("list").stdout,
                         "renamed\t%s\t%s\n" % (app_id, info.get_string("Name")))
        self.assertEqual(self.shell("uninstall", "renamed").returncode, 0)
        self.assertEqual(changes(before, tree(self.home)), {"bundle/renamed.io"})
        self.assertEqual(self.shell("list").stdout, "")
        done = self.shell("uninstall", "renamed")
        self.assertEqual(done.returncode, 1)
        self.assertIn("no installed app has that name", done.stderr)

    def test_a_failed_install_or_purge_changes_nothing(self):
        os.rmdir(os.path.join(self.data, "icons", "hicolor"))
        with open(os.path.join(self.data, "icons", "hicolor"), "w", encoding="ascii") as f:
            f.write("a file where the icon's folder should go")
        before = tree(self.home)
        percent = self.copy_shell("100%")  # launchers look programs up before expanding codes
        for name, why, program in [
                (self.NAME, "hicolor: not a folder", SHELL), ("missing", "resource", SHELL),
                ("a/b", "NAME must be a file name", SHELL),
                (self.NAME, "launchers cannot run a program whose path holds '%'", percent)]:
            done = self.shell("install", "--bundle", self.bundle, name, program=program)
            self.assertEqual(done.returncode, 1, name)
            self.assertIn(why, done.stderr)
        for name in ("..", "vexloweb", "../../..", "", "a.b/.."):  # purge removes only an app's
            self.assertEqual(self.shell("uninstall", "--purge", name).returncode, 1, name)
        self.assertEqual(changes(before, tree(self.home)), set())


if __name__ == "__main__":
    unittest.main()
