"""vexloweb-shell end to end, under Xvfb: each app in apps/ is sealed, run with --dump-ui and
--screenshot against local pages, and what it shows is read back (the JSON and the PNG's pixels).
Hostile pages are served from pages/ by a server on 127.0.0.1; what the shell hands to the desktop
is seen by a handler registered for every scheme in the scratch XDG folders, which logs its
argument. Needs VEXLOWEB_SHELL, VEXLOWEB_TOOL and VEXLOWEB_EXAMPLES in the environment."""

import ctypes
import http.server
import json
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import unittest

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
SHELL = os.environ["VEXLOWEB_SHELL"]
TOOL = os.environ["VEXLOWEB_TOOL"]
EXAMPLES = os.environ["VEXLOWEB_EXAMPLES"]
with open(os.path.join(HERE, "..", "data", "shell", "end_to_end.json"), encoding="utf-8") as f:
    TABLES = json.load(f)  # the rows of the tables below


def page(name):
    return "file://" + os.path.join(HERE, "pages", name)


def read_png(path):
    """(width, height, rows of (r, g, b)) of a PNG."""
    with Image.open(path) as image:
        rgb = image.convert("RGB")
        width, height = rgb.size
        pixels = list(rgb.getdata())
    return width, height, [pixels[y * width:(y + 1) * width] for y in range(height)]


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def closed_port():
    """A loopback port that nothing listens on."""
    with socket.socket() as closed:
        closed.bind(("127.0.0.1", 0))
        return closed.getsockname()[1]


class Site(http.server.ThreadingHTTPServer):
    """pages/ on 127.0.0.1, recording every path asked for. /slow/N answers after N seconds;
    /broken-download promises a file and breaks the connection off."""

    def __init__(self):
        self.paths = []
        site = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            protocol_version = "HTTP/1.1"  # so that a body cut short is an error

            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=os.path.join(HERE, "pages"), **kwargs)

            def log_message(self, *args):
                pass

            def do_GET(self):
                site.paths.append(self.path)
                if self.path.startswith("/slow/"):
                    time.sleep(float(self.path.split("/")[2]))
                    self.path = "/rules.html"
                if self.path != "/broken-download":
                    return super().do_GET()
                self.send_response(200)
                self.send_header("Content-Disposition", 'attachment; filename="broken.bin"')
                self.send_header("Content-Length", "100000")
                self.end_headers()
                self.wfile.write(b"only this")
                self.connection.shutdown(socket.SHUT_RDWR)

        super().__init__(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.serve_forever, daemon=True).start()

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.server_address[1], path)


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


class Shell(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = Site()

    @classmethod
    def tearDownClass(cls):
        cls.site.shutdown()

    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.dir = self.scratch.name
        self.env = dict(os.environ, HOME=self.dir, XDG_CONFIG_HOME=os.path.join(self.dir, "config"),
                        XDG_DATA_HOME=os.path.join(self.dir, "data"),
                        XDG_CACHE_HOME=os.path.join(self.dir, "cache"))
        self.register_logging_handler()

    def register_logging_handler(self):
        """Every scheme and file type the desktop could be asked to open goes to a handler that
        appends its argument to self.launched."""
        self.launched = os.path.join(self.dir, "launched.log")
        handler = os.path.join(self.dir, "log-handler")
        write(handler, '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.launched)
        os.chmod(handler, 0o755)
        types = ["x-scheme-handler/" + scheme for scheme in
                 ("http", "https", "mailto", "tel", "sms", "smb", "ftp", "file", "x-vexloweb-test")]
        types += ["text/plain", "text/html", "application/octet-stream", "inode/directory"]
        write(os.path.join(self.env["XDG_DATA_HOME"], "applications", "vexloweb-log.desktop"),
              "[Desktop Entry]\nType=Application\nName=Log\nExec=%s %%u\nMimeType=%s;\n"
              % (handler, ";".join(types)))
        write(os.path.join(self.env["XDG_CONFIG_HOME"], "mimeapps.list"),
              "[Default Applications]\n" + "".join("%s=vexloweb-log.desktop\n" % t for t in types))

    def launched_lines(self):
        with open(self.launched, encoding="utf-8") as log:
            return log.read().splitlines()

    def tearDown(self):
        self.scratch.cleanup()

    def seal(self, app, document=None):
        """Seals apps/APP.json, or `document`, into the scratch folder."""
        source = os.path.join(HERE, "apps", app + ".json")
        if document is not None:
            source = os.path.join(self.dir, app + ".json")
            write(source, json.dumps(document))
        subprocess.run([TOOL, "seal", "-o", os.path.join(self.dir, app + ".io"), source],
                       check=True)

    def run_shell(self, app, *args, bundle=None, timeout=120):
        """Seals apps/APP.json (unless a bundle is given) and runs the shell on it."""
        if bundle is None:
            bundle = self.dir
            if not os.path.exists(os.path.join(bundle, app + ".io")):
                self.seal(app)
        return subprocess.run([SHELL, "--bundle", bundle, "--defaults",
                               os.path.join(self.dir, "defaults.sqlite3"), *args, app],
                              env=self.env, capture_output=True, text=True, timeout=timeout)

    def preview(self, app, base_url, bundle=None, status=0):
        png = os.path.join(self.dir, app + ".png")
        done = self.run_shell(app, "--base-url", base_url, "--dump-ui", "--screenshot", png,
                              bundle=bundle)
        self.assertEqual(done.returncode, status, done.stderr)
        self.assertNotRegex(done.stderr, "CRITICAL|[Ii]nvalid UTF-8")
        self.stderr = done.stderr
        return json.loads(done.stdout), read_png(png)

    def run_live(self, app, base_url, seconds, until=None):
        """Runs the app as a user would (not a preview: hand-offs reach the desktop) for a
        while, or until `until()` holds, then closes it."""
        self.seal(app)
        with subprocess.Popen([SHELL, "--bundle", self.dir, "--base-url", base_url, app],
                              env=self.env, stderr=subprocess.DEVNULL) as shell:
            deadline = time.monotonic() + seconds
            while time.monotonic() < deadline and not (until and until()):
                time.sleep(0.2)
            self.assertIsNone(shell.poll(), "the shell ended early")
            shell.terminate()

    def test_each_app_shows_its_configuration(self):
        site = "file://" + os.path.join(EXAMPLES, "site", "index.html")
        # app, its bundle (None: sealed from apps/), whether the top rows are the bar's colour;
        # apps/APP.shows.json holds members the shell must report for it.
        cases = [("example", os.path.join(EXAMPLES, "bundle"), True), ("solid_hidden", None, False),
                 ("primary_fullscreen", None, True)]
        for app, bundle, barOnTop in cases:
            with self.subTest(app=app):
                with open(os.path.join(HERE, "apps", app + ".shows.json"), encoding="utf-8") as f:
                    expected = json.load(f)
                shown, (width, height, rows) = self.preview(app, site, bundle)
                for key, value in expected.items():
                    self.assertEqual(shown[key], value, key)
                self.assertEqual(shown["url"], site)
                self.assertEqual(shown["routes"], [{"url": site, "open": "INSIDE"}])
                self.assertEqual((width, height), (400, 800))  # a long title is cut short
                top = hex_colour(rows[2][200])
                if barOnTop:
                    self.assertEqual(top, shown["colors"]["primary"])
                else:
                    self.assertEqual(top, "#fff3dc")  # the page itself starts at the top

    def test_rules_send_the_links_a_page_follows_where_they_say(self):
        shown, (_, _, rows) = self.preview("rules", page("rules.html"))
        # A solid theme: one colour, and the bar painted in it.
        self.assertEqual(shown["colors"], {"primary": "#9720b6", "primary_dark": "#9720b6"})
        self.assertEqual(hex_colour(rows[2][200]), "#9720b6")
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
        self.assertIn("file-blocked", shown["page_title"])
        self.assertNotIn("file-read", shown["page_title"])
        self.assertIn("location-refused", shown["page_title"])
        self.assertEqual(shown["permissions_refused"], ["your location"])
        self.assertEqual([(d["saved_as"], d["outcome"]) for d in shown["downloads"]],
                         [(os.path.join(self.dir, "Downloads", "escape.txt"), "finished")])

    def test_a_file_that_does_not_load_exits_1_with_the_reason(self):
        write(os.path.join(self.dir, "broken.io"), "not base64!\n")
        done = self.run_shell("broken", "--dump-ui", bundle=self.dir)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stdout, "")
        self.assertTrue(done.stderr.startswith("vexloweb-shell: load broken: outer base64: "),
                        done.stderr)
        # Careless arguments: a sentence and the status, never an abort. A window its content
        # makes taller than --size is a fault, not a picture; a picture not written outranks a
        # first page that failed. In a row, {preview} stands for a preview of rules against a closed
        # port and {dir} for the scratch folder.
        self.seal("rules")
        preview = ["--bundle", self.dir, "--base-url", "http://127.0.0.1:%d/" % closed_port()]
        for row, status, sentence in TABLES["arguments"]:
            args = [a.replace("{dir}", self.dir) for a in row if a != "{preview}"]
            args = (preview if "{preview}" in row else []) + args
            done = subprocess.run([SHELL, *args], capture_output=True, text=True, env=self.env)
            self.assertEqual(done.returncode, status, args)
            self.assertIn(sentence, done.stderr, args)
        with open("/dev/full", "w") as full:
            done = subprocess.run([SHELL, "--bundle", self.dir, "--route", "https://x/", "rules"],
                                  stdout=full, stderr=subprocess.PIPE, text=True, env=self.env)
        self.assertEqual((done.returncode, done.stderr),
                         (1, "vexloweb-shell: cannot write to standard output\n"))

    def test_no_hostile_page_launches_anything_or_leaves_its_view(self):
        site = self.site
        dead = closed_port()
        # Run as a user would: what reaches the desktop's handler. A page sends one web address
        # that the rules send out; a hostile page gets nothing else out, flood or not.
        for page, allowed in [("one.html", ["https://127.0.0.2:%d/one" % dead]),
                              ("hostile.html", None)]:
            with self.subTest(page=page):
                write(self.launched, "")
                # A busy machine may take a while to start WebKit: the one address that must get
                # out is waited for; a hostile page gets its seven seconds.
                self.run_live("hostile", site.url("/hostile/%s?dead=%d" % (page, dead)),
                              7 if allowed is None else 40,
                              until=allowed and (lambda: self.launched_lines() == allowed))
                launched = self.launched_lines()
                if allowed is not None:
                    self.assertEqual(launched, allowed)
                else:  # at most the flood's first address
                    self.assertTrue(len(launched) <= 1 and
                                    all(a.startswith("https://127.0.0.2:") for a in launched), launched)

        address = site.url("/hostile/hostile.html?dead=%d" % dead)
        shown, _ = self.preview("hostile", address)
        self.assertEqual((shown["url"], shown["error"], shown["custom_tabs"]), (address, None, 0))
        decided = {}
        for route in shown["routes"]:
            decided.setdefault(route["open"], set()).add(route["url"])
        framed = "http://localhost:%d/framed.html" % site.server_address[1]
        self.assertEqual(decided["INSIDE"], {address, "about:srcdoc", framed})  # file: WebKit stops
        self.assertLessEqual(len(decided.get("EXTERNAL", ())), 1, decided)
        self.assertLessEqual({"mailto:victim@example.invalid", "smb://share.invalid/share",
                              "tel:+100", "x-vexloweb-test:open"}, decided["REFUSED"])
        # The popups: refused, or stopped by WebKit before they are asked about.
        self.assertFalse(any(path.startswith("/popup/") for path in site.paths), site.paths)

    def test_downloads_keep_every_file_and_say_when_one_fails(self):
        write(os.path.join(self.env["XDG_CONFIG_HOME"], "user-dirs.dirs"),
              'XDG_DOWNLOAD_DIR="$HOME/deep/Downloads"\n')
        folder = os.path.join(self.dir, "deep", "Downloads")
        # Before (None: the folder is missing), and the folder after: name -> text.
        for before, after in [
                (None, {"report.txt": "first", "report (1).txt": "second"}),
                ({"report.txt": "old"},
                 {"report.txt": "old", "report (1).txt": "first", "report (2).txt": "second"})]:
            with self.subTest(before=before):
                for name, text in (before or {}).items():
                    write(os.path.join(folder, name), text)
                shown, _ = self.preview("hostile", self.site.url("/hostile/downloads.html"))
                found = {}
                for name in os.listdir(folder):
                    with open(os.path.join(folder, name)) as f:
                        found[name] = f.read()
                self.assertEqual(found, after)  # nothing replaced, nothing half-written left
                saved = {os.path.basename(d["saved_as"]) for d in shown["downloads"]
                         if d["outcome"] == "finished"}
                self.assertEqual(saved, set(after) - set(before or {}))
                self.assertEqual([(d["outcome"], d["saved_as"]) for d in shown["downloads"]
                                  if d["outcome"] != "finished"], [("failed", None)])
                self.assertIn("vexloweb-shell: download broken.bin failed: ", self.stderr)
                shutil.rmtree(folder)

    def test_a_long_menu_and_long_labels_keep_the_window_its_size(self):
        site = self.site
        self.seal("long", {
            "package_name": "com.example.long", "navigation_bar": "LOGO",
            "menu_header_title": "\u00c9lan bakery, with a name far longer than any bar can show",
            "splash_screen": False, "left_button_option": "LEFT_SLIDER",
            "loader_style": "", "toolbar_style": ".x",
            "tabs": [{"menu": "x" * 5000}, {"menu": "P\u00e2tisserie et boulangerie du quartier"},
                     {"menu": "\u0627\u0644\u0645\u062e\u0628\u0632 \u0627\u0644\u0639\u0631\u0628\u064a"},
                     {"menu": "\u65e5\u672c\u306e\u30d1\u30f3\u5c4b", "icon": "go-home-symbolic"}],
            "menus": [{"menu": "Entry %d, named at a length no menu shows whole" % i,
                       "url": site.url("/%d" % i)} for i in range(1000)]})
        # The menu button, while the first page is still coming.
        clicked = click(20, 24, after=1, window="com.example.long")
        shown, (width, height, rows) = self.preview("long", site.url("/slow/6"))
        self.assertEqual((width, height), (400, 800))
        if clicked:
            self.assertTrue(shown["side_menu_open"])
            self.assertEqual(hex_colour(rows[400][100]), "#ffffff")  # the menu's panel
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
            for root, dirs, files in os.walk(self.env[folder]):
                self.assertFalse([n for n in dirs + files if "webkit" in n.lower()], root)


if __name__ == "__main__":
    unittest.main()
