"""What the shell's end-to-end tests share: pages/ served on 127.0.0.1, and for each test a home
of its own (HOME, with the XDG folders in it) where apps are sealed and the shell runs. Needs
VEXLOWEB_SHELL and VEXLOWEB_TOOL in the environment."""

import http.server
import json
import os
import queue
import socket
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
SHELL = os.environ["VEXLOWEB_SHELL"]
WAIT = 120


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def app_json(name, **members):
    """apps/NAME.json, with `members` added."""
    with open(os.path.join(HERE, "apps", name + ".json"), encoding="utf-8") as f:
        return dict(json.load(f), **members)


class Site(http.server.ThreadingHTTPServer):
    """pages/ on 127.0.0.1, recording every path asked for; the query of each /report goes to
    `reports`. /slow/N answers after N seconds; /broken-download promises a file and breaks the
    connection off."""

    def __init__(self):
        self.paths, self.reports = [], queue.Queue()
        site = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            protocol_version = "HTTP/1.1"  # so that a body cut short is an error

            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=os.path.join(HERE, "pages"), **kwargs)

            def log_message(self, *args):
                pass

            def do_GET(self):
                site.paths.append(self.path)
                url = urllib.parse.urlsplit(self.path)
                if url.path == "/report":
                    site.reports.put(dict(urllib.parse.parse_qsl(url.query, True)))
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


class Scratch(unittest.TestCase):
    """HOME is `home_name` in a scratch folder, with the XDG folders and the bundle in it. With
    own_runtime, a session's runtime folder beside it (where dconf and at-spi write); a Wayland run
    keeps the compositor's, where its socket is."""
    home_name = "home"
    own_runtime = False

    @classmethod
    def setUpClass(cls):
        cls.site = Site()
        cls.addClassCleanup(cls.site.server_close)
        cls.addClassCleanup(cls.site.shutdown)

    def setUp(self):
        self.scratch = self.enterContext(tempfile.TemporaryDirectory())
        self.home = os.path.join(self.scratch, self.home_name)
        self.xdg = {n: os.path.join(self.home, n.lower())
                    for n in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME")}
        self.env = dict(os.environ, HOME=self.home, **self.xdg)
        if self.own_runtime:
            self.env["XDG_RUNTIME_DIR"] = os.path.join(self.scratch, "run")
            os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.bundle = os.path.join(self.home, "bundle")
        os.makedirs(self.bundle)

    def seal(self, name, document=None):
        """Seals `document`, or apps/NAME.json, into the bundle as NAME.io."""
        source = os.path.join(self.scratch, "app.json")
        write(source, json.dumps(app_json(name) if document is None else document))
        subprocess.run([os.environ["VEXLOWEB_TOOL"], "seal", "-o",
                        os.path.join(self.bundle, name + ".io"), source], check=True)

    def shell(self, *args, program=SHELL):
        return subprocess.run([program, *args], env=self.env, capture_output=True, text=True,
                              timeout=WAIT)

    def folder(self, base, app_id):
        return os.path.join(self.xdg[base], "vexloweb", "apps", app_id)
