"""vexloweb-shell end to end, on X11 and on Wayland: each app in apps/ is sealed, run with --dump-ui
and --screenshot against pages/ (as files, or from the harness's site), and what it shows is read
back (the JSON and the PNG's pixels). What the shell hands to the desktop is seen by a handler
registered for every scheme, which logs its argument. Needs VEXLOWEB_EXAMPLES too."""

import ctypes
import json
import os
import pathlib
import shutil
import socket
import subprocess
import threading
import time
import unittest

from PIL import Image

from shell_harness import HERE, SHELL, Scratch, app_json, write

EXAMPLES = os.environ["VEXLOWEB_EXAMPLES"]
with open(os.path.join(HERE, "..", "data", "shell", "end_to_end.json"), encoding="utf-8") as f:
    TABLES = json.load(f)  # the rows of the tables below


def page(name):
    return "file://" + os.path.join(HERE, "pages", name)


def colour(image, x, y):
    return "#%02x%02x%02x" % image.getpixel((x, y))


def closed_port():
    with socket.socket() as closed:
        closed.bind(("127.0.0.1", 0))
        return closed.getsockname()[1]


def click(x, y, after, window):
    """A synthetic click (XTest) at x, y of the screen, `after` seconds from when a window of class
    `window` is shown. False under Wayland, which has no synthetic input to give."""
    if not os.environ.get("DISPLAY"):
        return False

    def shown():  # GDK's own 1x1 leader window has the class from the start: not that one
        tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True)
        for line in tree.stdout.splitlines():
            if '"%s")' % window in line and ") 1x1+" not in line:
                state = subprocess.run(["xwininfo", "-id", line.split()[0]],
                                       capture_output=True, text=True).stdout
                if "IsViewable" in state:
                    return True
        return False

    def run():
        for _ in range(200):
            if shown():
                break
            time.sleep(0.1)
        time.sleep(after)
        x11, xtest = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        display = ctypes.c_void_p(x11.XOpenDisplay(None))
        xtest.XTestFakeMotionEvent(display, -1, x, y, 0)
        for down in (1, 0):
            xtest.XTestFakeButtonEvent(display, 1, down, 0)
            x11.XFlush(display)
    threading.Thread(target=run, daemon=True).start()
    return True


class Shell(Scratch):
    def setUp(self):
        super().setUp()
        # Every scheme and file type the desktop could be asked to open goes to a handler that
        # appends its argument to launched.log (its launcher: tests/data/shell/home).
        shutil.copytree(os.path.join(HERE, "..", "data", "shell", "home"), self.home,
                        dirs_exist_ok=True)
        self.launched = os.path.join(self.home, "launched.log")

    def launched_lines(self):
        return pathlib.Path(self.launched).read_text(encoding="utf-8").splitlines()

    def run_shell(self, app, *args, bundle=None):
        if bundle is None and not os.path.exists(os.path.join(self.bundle, app + ".io")):
            self.seal(app)
        return self.shell("--bundle", bundle or self.bundle, "--defaults",
                          os.path.join(self.home, "defaults.sqlite3"), *args, app)

    def preview(self, app, base_url, bundle=None, status=0):
        png = os.path.join(self.home, app + ".png")
        done = self.run_shell(app, "--base-url", base_url, "--dump-ui", "--screenshot", png,
                              bundle=bundle)
        self.assertEqual(done.returncode, status, done.stderr)
        self.assertNotRegex(done.stderr, "CRITICAL|[Ii]nvalid UTF-8")
        self.stderr = done.stderr
        with Image.open(png) as image:
            return json.loads(done.stdout), image.convert("RGB")

    def test_each_app_shows_its_configuration(self):
        site = "file://" + os.path.join(EXAMPLES, "site", "index.html")
        # App, its bundle under the examples (null: sealed from apps/) and the colour of the top
        # rows: the bar's, or the page's where there is no bar; apps/APP.shows.json holds members
        # the shell must report for it.
        for app, bundle, top in TABLES["shows"]:
            with self.subTest(app=app):
                shown, image = self.preview(app, site, bundle and os.path.join(EXAMPLES, bundle))
                for key, value in app_json(app + ".shows").items():
                    self.assertEqual(shown[key], value, key)
                self.assertEqual((shown["url"], shown["routes"]),
                                 (site, [{"url": site, "open": "INSIDE"}]))
                self.assertEqual(image.size, (400, 800))  # a long title is cut short
                self.assertEqual(colour(image, 200, 2), top)

    def test_rules_send_the_links_a_page_follows_where_they_say(self):
        shown, image = self.preview("rules", page("rules.html"))
        # A solid theme: one colour, and the bar painted in it.
        self.assertEqual(shown["colors"], {"primary": "#9720b6", "primary_dark": "#9720b6"})
        self.assertEqual(colour(image, 200, 2), "#9720b6")
        self.assertEqual(shown["routes"], [
            {"url": page("rules.html"), "open": "INSIDE"},
            {"url": "https://maps.example/place", "open": "EXTERNAL"}])
        self.assertEqual(shown["url"], page("rules.html"))  # it did not leave the app's own view
        self.assertEqual((shown["error"], shown["tab_bar"]), (None, "visible"))  # one tab: a bar
        self.assertFalse(os.path.exists(self.launched))  # a preview hands nothing out
        # --route: a link the user clicks on the app's first page.
        for address, expected in TABLES["clicked"]:
            done = self.run_shell("rules", "--route", address)
            self.assertEqual((done.returncode, done.stdout), (0, expected + "\n"), address)

    def test_a_page_that_fails_shows_the_error_page(self):
        address = "http://127.0.0.1:%d/" % closed_port()
        shown, _ = self.preview("failing", address, status=3)  # drawn, but the page failed
        reason = "Could not connect to 127.0.0.1: Connection refused"
        self.assertEqual(shown["error"], {"kind": "error", "title": "Oven is cold",
                                          "text": "Try again soon.", "reason": reason,
                                          "state": "visible"})
        self.assertIn("vexloweb-shell: page %s: %s\n" % (address, reason), self.stderr)

    def test_a_page_gets_no_file_no_location_and_no_path_in_a_download(self):
        shown, _ = self.preview("safety", page("safety.html"))
        self.assertEqual(shown["page_title"], "file-blocked location-refused")
        self.assertEqual(shown["permissions_refused"], ["your location"])
        self.assertEqual([(d["saved_as"], d["outcome"]) for d in shown["downloads"]],
                         [(os.path.join(self.home, "Downloads", "escape.txt"), "finished")])

    def test_careless_arguments_and_files_that_do_not_load_exit_with_a_sentence(self):
        # The status and a sentence, nothing on standard output, never an abort. A window its
        # content makes taller than --size is a fault, not a picture; a picture not written
        # outranks a first page that failed. In a row, {preview} stands for a preview against a
        # closed port of an app in the bundle (rules, or broken, a file that does not load), and
        # {dir} for the scratch folder.
        write(os.path.join(self.bundle, "broken.io"), "not base64!\n")
        self.seal("rules")
        preview = ["--bundle", self.bundle, "--base-url", "http://127.0.0.1:%d/" % closed_port()]
        for row, status, sentence in TABLES["arguments"]:
            args = [a.replace("{dir}", self.home) for a in row if a != "{preview}"]
            done = self.shell(*(preview if "{preview}" in row else []), *args)
            self.assertEqual((done.returncode, done.stdout), (status, ""), args)
            self.assertIn(sentence, done.stderr, args)
        with open("/dev/full", "w") as full:
            done = subprocess.run([SHELL, "--bundle", self.bundle, "--route", "https://x/", "rules"],
                                  stdout=full, stderr=subprocess.PIPE, text=True, env=self.env)
        self.assertEqual((done.returncode, done.stderr),
                         (1, "vexloweb-shell: cannot write to standard output\n"))

    def test_no_hostile_page_launches_anything_or_leaves_its_view(self):
        site = self.site
        dead = closed_port()
        # Run as a user would (not a preview: hand-offs reach the desktop's handler). A page sends
        # one web address that the rules send out; a hostile page gets nothing else out, flood or
        # not. A busy machine may take a while to start WebKit: the one address that must get out
        # is waited for; a hostile page gets its seven seconds.
        self.seal("hostile")
        for page, allowed in [("one.html", ["https://127.0.0.2:%d/one" % dead]),
                              ("hostile.html", None)]:
            with self.subTest(page=page):
                write(self.launched, "")
                deadline = time.monotonic() + (7 if allowed is None else 40)
                with subprocess.Popen([SHELL, "--bundle", self.bundle, "--base-url",
                                       site.url("/hostile/%s?dead=%d" % (page, dead)), "hostile"],
                                      env=self.env, stderr=subprocess.DEVNULL) as shell:
                    while time.monotonic() < deadline and self.launched_lines() != allowed:
                        time.sleep(0.2)
                    self.assertIsNone(shell.poll(), "the shell ended early")
                    shell.terminate()
                launched = self.launched_lines()
                if allowed is not None:
                    self.assertEqual(launched, allowed)
                else:  # at most the flood's first address
                    self.assertTrue(len(launched) <= 1 and
                                    all(a.startswith("https://127.0.0.2:") for a in launched), launched)

        address = site.url("/hostile/hostile.html?dead=%d" % dead)
        shown, _ = self.preview("hostile", address)
        self.assertEqual((shown["url"], shown["error"], shown["custom_tabs"]), (address, None, 0))
        decided = {way: {r["url"] for r in shown["routes"] if r["open"] == way}
                   for way in ("INSIDE", "EXTERNAL", "REFUSED")}
        framed = "http://localhost:%d/framed.html" % site.server_address[1]
        self.assertEqual(decided["INSIDE"], {address, "about:srcdoc", framed})  # file: WebKit stops
        self.assertLessEqual(len(decided["EXTERNAL"]), 1, decided)
        self.assertLessEqual({"mailto:victim@example.invalid", "smb://share.invalid/share",
                              "tel:+100", "x-vexloweb-test:open"}, decided["REFUSED"])
        # The popups: refused, or stopped by WebKit before they are asked about.
        self.assertFalse(any(path.startswith("/popup/") for path in site.paths), site.paths)

    def test_downloads_keep_every_file_and_say_when_one_fails(self):
        write(os.path.join(self.xdg["XDG_CONFIG_HOME"], "user-dirs.dirs"),
              'XDG_DOWNLOAD_DIR="$HOME/deep/Downloads"\n')
        folder = os.path.join(self.home, "deep", "Downloads")
        # Before (None: the folder is missing), and the folder after: name -> text.
        for before, after in [
                (None, {"report.txt": "first", "report (1).txt": "second"}),
                ({"report.txt": "old"},
                 {"report.txt": "old", "report (1).txt": "first", "report (2).txt": "second"})]:
            with self.subTest(before=before):
                for name, text in (before or {}).items():
                    write(os.path.join(folder, name), text)
                shown, _ = self.preview("hostile", self.site.url("/hostile/downloads.html"))
                found = {p.name: p.read_text() for p in pathlib.Path(folder).iterdir()}
                self.assertEqual(found, after)  # nothing replaced, nothing half-written left
                saved = {os.path.basename(d["saved_as"]) for d in shown["downloads"]
                         if d["outcome"] == "finished"}
                self.assertEqual(saved, set(after) - set(before or {}))
                self.assertEqual([(d["outcome"], d["saved_as"]) for d in shown["downloads"]
                                  if d["outcome"] != "finished"], [("failed", None)])
                self.assertIn("vexloweb-shell: download broken.bin failed: ", self.stderr)
                shutil.rmtree(folder)

    def test_a_long_menu_and_long_labels_keep_the_window_its_size(self):
        document = app_json("long", menus=[{"menu": "Entry %d, named at a length no menu shows whole"
                                            % i, "url": self.site.url("/%d" % i)} for i in range(1000)])
        document["tabs"].insert(0, {"menu": "x" * 5000})
        self.seal("long", document)
        # The menu button, while the first page is still coming.
        clicked = click(20, 24, after=1, window="com.example.long")
        shown, image = self.preview("long", self.site.url("/slow/6"))
        self.assertEqual(image.size, (400, 800))
        if clicked:
            self.assertTrue(shown["side_menu_open"])
            self.assertEqual(colour(image, 100, 400), "#ffffff")  # the menu's panel
        for option in ("loader_style", "toolbar_style"):
            self.assertIn("vexloweb-shell: %s " % option, self.stderr)

    def test_a_custom_tab_has_the_apps_settings_and_writes_nothing(self):
        site = self.site
        shown, _ = self.preview("jsoff_tab", site.url("/hostile/to_tab.html"))
        self.assertEqual(shown["custom_tabs"], 1)
        self.assertIn({"url": site.url("/tab/inner.html"), "open": "CUSTOM_TAB"}, shown["routes"])
        # The tab's page is held by the same policy: its frame to smb: is refused.
        self.assertIn({"url": "smb://share.invalid/tab", "open": "REFUSED"}, shown["routes"])
        self.assertIn("/tab/loaded.png", site.paths)  # the tab loaded its page
        self.assertNotIn("/js-ran", site.paths)       # and ran none of its script
        for folder in ("XDG_DATA_HOME", "XDG_CACHE_HOME"):
            for root, dirs, files in os.walk(self.xdg[folder]):
                self.assertFalse([n for n in dirs + files if "webkit" in n.lower()], root)


if __name__ == "__main__":
    unittest.main()
