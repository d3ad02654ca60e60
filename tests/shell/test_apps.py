"""Each app its own desktop app, end to end: its own website data and store (a local server on
127.0.0.1 sees what each app's page sees), one instance per app, and install, list and uninstall
in a scratch $XDG_DATA_HOME with hostile names. Run under dbus-run-session (a session bus), with
VEXLOWEB_SHELL and VEXLOWEB_TOOL in the environment; the installs need no display."""

import http.server
import json
import os
import queue
import shutil
import signal
import sqlite3
import subprocess
import tempfile
import threading
import unittest
import urllib.parse

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

SHELL = os.environ["VEXLOWEB_SHELL"]
TOOL = os.environ["VEXLOWEB_TOOL"]
WAIT = 90

# The page reports what it sees, then (with ?store) keeps a cookie and a local-storage value.
PAGE = b"""<!doctype html><title>page</title><script>
const q = new URLSearchParams(location.search);
const seen = {app: q.get('app'), cookie: document.cookie, local: String(localStorage.getItem('k'))};
document.title = 'seen:' + seen.cookie + '|' + seen.local;
fetch('/report?' + new URLSearchParams(seen)).then(() => {
  if (!q.has('store')) return;
  document.cookie = 'k=v; Max-Age=86400; Path=/';
  localStorage.setItem('k', 'v');
  fetch('/report?' + new URLSearchParams({app: q.get('app'), stored: 1}));
});
</script>"""


class Server(http.server.ThreadingHTTPServer):
    def __init__(self):
        self.reports = queue.Queue()
        super().__init__(("127.0.0.1", 0), Handler)


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/report":
            self.server.reports.put(dict(urllib.parse.parse_qsl(url.query, True)))
            body, kind = b"", "text/plain"
        else:
            body, kind = PAGE, "text/html"
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def tree(root):
    """Every path under root: its mode, and a file's size and modification time."""
    found = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            found[os.path.relpath(path, root)] = (
                ("folder", info.st_mode) if name in dirs else
                (info.st_size, info.st_mtime_ns, info.st_mode))
    return found


def changes(before, after):
    """The paths added, removed or changed between two trees."""
    return {k for k in before.keys() | after.keys() if before.get(k) != after.get(k)}


class Apps(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.dir = self.scratch.name
        self.xdg = {name: os.path.join(self.dir, name.lower())
                    for name in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME")}
        # A session's runtime folder, where dconf and the accessibility bus keep their files.
        self.runtime = tempfile.TemporaryDirectory()
        self.env = dict(os.environ, HOME=self.dir, XDG_RUNTIME_DIR=self.runtime.name, **self.xdg)
        self.server = Server()
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.base = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.running = []

    def tearDown(self):
        for process in self.running:
            if process.poll() is None:
                process.kill()
                process.wait()
        self.server.shutdown()
        self.server.server_close()
        self.scratch.cleanup()
        self.runtime.cleanup()

    def seal(self, name, document, folder=None):
        folder = folder or self.dir
        source = os.path.join(self.dir, name + ".json")
        with open(source, "w", encoding="utf-8") as out:
            json.dump(document, out)
        subprocess.run([TOOL, "seal", "-o", os.path.join(folder, name + ".io"), source],
                       check=True)

    def start(self, app, query, *args):
        process = subprocess.Popen([SHELL, "--bundle", self.dir, "--base-url",
                                    self.base + "?" + query, *args, app], env=self.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.running.append(process)
        return process

    def report(self, **expected):
        """The next report that has every member of expected."""
        while True:
            got = self.server.reports.get(timeout=WAIT)
            if all(got.get(k) == v for k, v in expected.items()):
                return got

    def stop(self, process):
        process.send_signal(signal.SIGTERM)
        out, err = process.communicate(timeout=WAIT)
        self.assertEqual(process.returncode, 0, err)

    def test_each_app_keeps_its_own_cookies_storage_and_theme(self):
        self.seal("alpha", {"package_name": "com.example.alpha", "theme_color": "SOLID_3"})
        self.seal("beta", {"package_name": "org.example.beta", "theme_color": "SOLID_3"})
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

        # Each app's folders are its own and the owner's only.
        for base, sub in [("XDG_DATA_HOME", "website"), ("XDG_CACHE_HOME", ""),
                          ("XDG_CONFIG_HOME", "defaults.sqlite3")]:
            for app in ("com.example.alpha", "org.example.beta"):
                folder = os.path.join(self.xdg[base], "vexloweb", "apps", app)
                self.assertTrue(os.path.exists(os.path.join(folder, sub)), (folder, sub))
                self.assertEqual(os.stat(folder).st_mode & 0o777, 0o700, folder)

        # A theme the user picked in alpha (kept in its store as the side menu keeps it) shows in
        # alpha's preview and not in beta's; a preview reads it and writes nothing anywhere.
        store = os.path.join(self.xdg["XDG_CONFIG_HOME"], "vexloweb/apps/com.example.alpha/"
                             "defaults.sqlite3")
        with sqlite3.connect(store) as db:
            db.execute("INSERT OR REPLACE INTO entries VALUES ('APP_THEME', 0, 'SOLID_7')")
        db.close()
        before = tree(self.dir)
        colours = {}
        for app in ("alpha", "beta"):
            done = subprocess.run([SHELL, "--bundle", self.dir, "--base-url",
                                   self.base + "?app=P" + app, "--dump-ui", app], env=self.env,
                                  capture_output=True, text=True, timeout=WAIT)
            self.assertEqual(done.returncode, 0, done.stderr)
            shown = json.loads(done.stdout)
            self.assertEqual(shown["page_title"], "seen:|null", app)  # nothing of the app's own
            colours[app] = shown["colors"]["primary"]
        self.assertNotEqual(colours["alpha"], colours["beta"])
        self.assertEqual(changes(before, tree(self.dir)), set())

    def test_a_second_launch_hands_over_to_the_first(self):
        self.seal("alpha", {"package_name": "com.example.alpha"})
        self.seal("beta", {"package_name": "org.example.beta"})
        first = self.start("alpha", "app=first")
        self.report(app="first")
        second = self.start("alpha", "app=second")
        self.assertEqual(second.wait(timeout=WAIT), 0, second.stderr.read())
        self.report(app="second")  # opened in the first instance's window
        other = self.start("beta", "app=other")  # another app is another application
        self.report(app="other")
        preview = subprocess.run([SHELL, "--bundle", self.dir, "--base-url",
                                  self.base + "?app=preview", "--dump-ui", "alpha"], env=self.env,
                                 capture_output=True, text=True, timeout=WAIT)
        self.assertEqual(preview.returncode, 0, preview.stderr)
        self.assertIn("?app=preview", json.loads(preview.stdout)["url"])
        self.assertIsNone(other.poll())
        self.assertIsNone(first.poll())
        self.stop(first)
        self.stop(other)


class Install(unittest.TestCase):
    """install, list and uninstall with names, titles and paths that try to break the launcher."""

    NAME = "we ird's \"app\" %f $(touch x);\nnext ☕"
    TITLE = "Tea & \"Cakes\" <b> %f $(id)\nExec=/bin/evil"

    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        root = os.path.join(self.scratch.name, "ho me \"q\" %u $(x) ;\n\\ é")
        os.makedirs(os.path.join(root, "share", "applications"))
        os.makedirs(os.path.join(root, "share", "icons", "hicolor"))
        self.data = os.path.join(root, "share")
        self.env = dict(os.environ, HOME=root, XDG_DATA_HOME=self.data,
                        XDG_CONFIG_HOME=os.path.join(root, "config"),
                        XDG_CACHE_HOME=os.path.join(root, "cache"))
        # The program itself in a hostile folder too: its path goes into Exec.
        self.shell = self.copy_shell(os.path.join(self.scratch.name, "bin $`'\" ;\n\\ é"))
        self.bundle = os.path.join(root, "bundle")
        os.makedirs(self.bundle)
        source = os.path.join(root, "app.json")
        with open(source, "w", encoding="utf-8") as out:
            json.dump({"package_name": "com.example.tea room", "menu_header_title": self.TITLE,
                       "theme_color": "SOLID_5"}, out)
        subprocess.run([TOOL, "seal", "-o", os.path.join(self.bundle, self.NAME + ".io"), source],
                       check=True)

    def tearDown(self):
        self.scratch.cleanup()

    @staticmethod
    def copy_shell(folder):
        os.makedirs(folder)
        return shutil.copy(SHELL, folder)

    def shell_run(self, *args, shell=None):
        return subprocess.run([shell or self.shell, *args], env=self.env, capture_output=True, text=True,
                              timeout=WAIT)

    def test_round_trip_with_hostile_names(self):
        before = tree(self.env["HOME"])
        done = self.shell_run("install", "--bundle", self.bundle, self.NAME)
        self.assertEqual(done.returncode, 0, done.stderr)
        app_id, entry = done.stdout.rstrip("\n").split("\t")
        self.assertTrue(Gio.Application.id_is_valid(app_id), app_id)
        self.assertEqual(entry, os.path.join(self.data, "applications", app_id + ".desktop"))
        check = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
        self.assertEqual((check.returncode, check.stdout + check.stderr), (0, ""))

        info = Gio.DesktopAppInfo.new_from_filename(entry)
        self.assertEqual(info.get_name(), self.TITLE.replace("\n", " "))
        self.assertEqual(info.get_startup_wm_class(), app_id)
        self.assertEqual(info.get_string("Icon"), app_id)
        # Field codes as GLib expands them with no file: %% is %, other codes are dropped.
        command, i, expanded = info.get_commandline(), 0, ""
        while i < len(command):
            if command[i] == "%":
                expanded += "%" if command[i + 1:i + 2] == "%" else ""
                i += 2
            else:
                expanded += command[i]
                i += 1
        ok, argv = GLib.shell_parse_argv(expanded)
        folder = os.path.join(self.data, "vexloweb", "apps", app_id)
        self.assertEqual(argv, [self.shell, "--bundle", folder, "--", self.NAME])
        # The launcher's command runs the installed copy.
        routed = subprocess.run(argv[:1] + ["--route", "https://x.example/"] + argv[1:],
                                env=self.env, capture_output=True, text=True, timeout=WAIT)
        self.assertEqual((routed.returncode, routed.stdout), (0, "INSIDE\n"), routed.stderr)
        icon = os.path.join(self.data, "icons", "hicolor", "scalable", "apps", app_id + ".svg")
        with open(icon, encoding="utf-8") as svg:
            self.assertIn(">T</text>", svg.read())

        listed = self.shell_run("list")
        self.assertEqual(listed.returncode, 0, listed.stderr)
        self.assertEqual(listed.stdout.count("\n"), 1)
        self.assertIn("\t" + app_id + "\t", listed.stdout)

        # Reinstalling, under this name or another, leaves one copy and one launcher.
        shutil.copy(os.path.join(self.bundle, self.NAME + ".io"),
                    os.path.join(self.bundle, "renamed.io"))
        for name in (self.NAME, "renamed"):
            done = self.shell_run("install", "--bundle", self.bundle, name)
            self.assertEqual(done.returncode, 0, done.stderr)
            self.assertEqual(sorted(os.listdir(folder)), [name + ".io"])
        self.assertTrue(self.shell_run("list").stdout.startswith("renamed\t" + app_id + "\t"))

        # Gone again, as if never installed; then nothing is left to remove.
        done = self.shell_run("uninstall", "renamed")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(changes(before, tree(self.env["HOME"])), {"bundle/renamed.io"})
        self.assertEqual(self.shell_run("list").stdout, "")
        done = self.shell_run("uninstall", "renamed")
        self.assertEqual(done.returncode, 1)
        self.assertIn("no installed app has that name", done.stderr)

    def test_a_failed_install_changes_nothing(self):
        # An icon folder that cannot be made: a file stands where it should go.
        os.rmdir(os.path.join(self.data, "icons", "hicolor"))
        with open(os.path.join(self.data, "icons", "hicolor"), "w", encoding="ascii") as f:
            f.write("x")
        before = tree(self.env["HOME"])
        done = self.shell_run("install", "--bundle", self.bundle, self.NAME)
        self.assertEqual(done.returncode, 1)
        self.assertIn("not a folder", done.stderr)
        self.assertEqual(changes(before, tree(self.env["HOME"])), set())
        # Launchers look the program up before expanding field codes: a '%' in its path is refused.
        percent = self.copy_shell(os.path.join(self.scratch.name, "100%"))
        for name, why, shell in [
                ("missing", "resource", None), ("a/b", "NAME must be a file name", None),
                (self.NAME, "launchers cannot run a program whose path holds '%'", percent)]:
            done = self.shell_run("install", "--bundle", self.bundle, name, shell=shell)
            self.assertEqual(done.returncode, 1, name)
            self.assertIn(why, done.stderr)
        self.assertEqual(changes(before, tree(self.env["HOME"])), set())


if __name__ == "__main__":
    unittest.main()
