"""What the shell's end-to-end tests share: a home of their own with the XDG folders in it, a
bundle folder there, sealing a document into it, and running the shell in that home."""

import json
import os
import subprocess
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SHELL = os.environ["VEXLOWEB_SHELL"]
TOOL = os.environ["VEXLOWEB_TOOL"]
WAIT = 120


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


class Scratch(unittest.TestCase):
    """A home of its own; with own_runtime, a session's runtime folder beside it (where dconf and
    at-spi write). A Wayland run keeps the compositor's, where its socket is."""
    root_name = "home"
    own_runtime = True

    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.addCleanup(self.scratch.cleanup)
        self.root = os.path.join(self.scratch.name, self.root_name)
        self.xdg = {n: os.path.join(self.root, n.lower())
                    for n in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME")}
        self.env = dict(os.environ, HOME=self.root, **self.xdg)
        if self.own_runtime:
            self.env["XDG_RUNTIME_DIR"] = os.path.join(self.scratch.name, "run")
            os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.bundle = os.path.join(self.root, "bundle")
        os.makedirs(self.bundle)

    def seal(self, name, document=None):
        """Seals apps/NAME.json, or `document`, into the bundle as NAME.io."""
        source = os.path.join(HERE, "apps", name + ".json")
        if document is not None:
            source = os.path.join(self.scratch.name, "app.json")
            write(source, json.dumps(document))
        subprocess.run([TOOL, "seal", "-o", os.path.join(self.bundle, name + ".io"), source],
                       check=True)

    def shell(self, *args, program=SHELL):
        return subprocess.run([program, *args], env=self.env, capture_output=True, text=True,
                              timeout=WAIT)

    def folder(self, base, app_id):
        return os.path.join(self.xdg[base], "vexloweb", "apps", app_id)
