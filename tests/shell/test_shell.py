"""vexloweb-shell end to end, under Xvfb: each app in apps/ is sealed, run with --dump-ui and
--screenshot against local pages, and what it shows is read back (the JSON and the PNG's pixels).
Needs VEXLOWEB_SHELL, VEXLOWEB_TOOL and VEXLOWEB_EXAMPLES in the environment."""

import json
import os
import socket
import subprocess
import tempfile
import unittest

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
SHELL = os.environ["VEXLOWEB_SHELL"]
TOOL = os.environ["VEXLOWEB_TOOL"]
EXAMPLES = os.environ["VEXLOWEB_EXAMPLES"]


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


class Shell(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.dir = self.scratch.name
        self.env = dict(os.environ, HOME=self.dir, XDG_CONFIG_HOME=os.path.join(self.dir, "config"),
                        XDG_DATA_HOME=os.path.join(self.dir, "data"),
                        XDG_CACHE_HOME=os.path.join(self.dir, "cache"))

    def tearDown(self):
        self.scratch.cleanup()

    def run_shell(self, app, *args, bundle=None):
        """Seals apps/APP.json (unless a bundle is given) and runs the shell on it."""
        if bundle is None:
            bundle = self.dir
            subprocess.run([TOOL, "seal", "-o", os.path.join(bundle, app + ".io"),
                            os.path.join(HERE, "apps", app + ".json")], check=True)
        return subprocess.run([SHELL, "--bundle", bundle, "--defaults",
                               os.path.join(self.dir, "defaults.sqlite3"), *args, app],
                              env=self.env, capture_output=True, text=True, timeout=120)

    def preview(self, app, base_url, bundle=None):
        png = os.path.join(self.dir, app + ".png")
        done = self.run_shell(app, "--base-url", base_url, "--dump-ui", "--screenshot", png,
                              bundle=bundle)
        self.assertEqual(done.returncode, 0, done.stderr)
        return json.loads(done.stdout), read_png(png)

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
            {"url": "https://maps.example/place", "open": "EXTERNAL"},
            {"url": page("payments/pay.html"), "open": "CUSTOM_TAB"}])
        self.assertEqual(shown["url"], page("rules.html"))  # neither left the app's own view
        for address, expected in [("https://maps.example/x", "EXTERNAL"),
                                  ("https://maps.example", "INSIDE"),
                                  ("https://a.example/payments/1", "CUSTOM_TAB"),
                                  ("https://a.example/", "INSIDE")]:
            done = self.run_shell("rules", "--route", address)
            self.assertEqual((done.returncode, done.stdout), (0, expected + "\n"), address)

    def test_a_page_that_fails_shows_the_error_page(self):
        with socket.socket() as closed:  # a loopback port that nothing listens on
            closed.bind(("127.0.0.1", 0))
            port = closed.getsockname()[1]
        shown, _ = self.preview("failing", "http://127.0.0.1:%d/" % port)
        self.assertEqual(shown["error"], {"kind": "error", "title": "Oven is cold",
                                          "text": "Try again soon.", "state": "visible"})

    def test_a_page_gets_no_file_no_location_and_no_path_in_a_download(self):
        shown, _ = self.preview("safety", page("safety.html"))
        self.assertIn("file-blocked", shown["page_title"])
        self.assertNotIn("file-read", shown["page_title"])
        self.assertIn("location-refused", shown["page_title"])
        self.assertEqual(shown["permissions_refused"], ["WebKitGeolocationPermissionRequest"])
        self.assertEqual(len(shown["downloads"]), 1, shown["downloads"])
        saved = shown["downloads"][0]["saved_as"]
        self.assertEqual(os.path.dirname(saved), os.path.join(self.dir, "Downloads"))
        self.assertNotIn("/", os.path.basename(saved))

    def test_a_file_that_does_not_load_exits_1_with_the_reason(self):
        with open(os.path.join(self.dir, "broken.io"), "w", encoding="ascii") as broken:
            broken.write("not base64!\n")
        done = self.run_shell("broken", "--dump-ui", bundle=self.dir)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stdout, "")
        self.assertTrue(done.stderr.startswith("vexloweb-shell: load broken: outer base64: "),
                        done.stderr)
        self.assertEqual(subprocess.run([SHELL, "--bogus", "x"], capture_output=True).returncode, 2)
        for size in ("99x800", "400x8193", "400", "400x800x2"):
            self.assertEqual(subprocess.run([SHELL, "--size", size, "x"],
                                            capture_output=True).returncode, 2, size)
        self.assertEqual(subprocess.run([SHELL], capture_output=True).returncode, 2)


if __name__ == "__main__":
    unittest.main()
