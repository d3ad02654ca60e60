"""The Python module against the shared library of the same build (VEXLOWEB_LIBRARY)."""

import contextlib
import gc
import os
import resource
import sqlite3
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.environ["VEXLOWEB_PYTHON_PATH"])
import vexloweb  # noqa: E402  pylint: disable=wrong-import-position

EXAMPLE_BUNDLE = os.environ["VEXLOWEB_EXAMPLE_BUNDLE"]
DOCUMENT = '{"package_name": "py.host", "menus": [{"menu": "Home", "url": "HOME"}]}'
SCRATCH = tempfile.TemporaryDirectory()  # pylint: disable=consider-using-with
NOTES = os.path.join(SCRATCH.name, "notes.txt")
ENVIRONMENT = dict(os.environ, PYTHONPATH=os.environ["VEXLOWEB_PYTHON_PATH"])  # for a new process
with open(NOTES, "w", encoding="utf-8") as notes_file:
    notes_file.write("my notes\n")

# A new process's record, then the C interface's load, as a C host calls it.
C_LOADER = """import ctypes, os, sys, vexloweb; print(vexloweb.record(), flush=True)
c = ctypes.CDLL(os.environ["VEXLOWEB_LIBRARY"])
c.vexloweb_set_bundle_path(os.fsencode(sys.argv[1])); c.vexloweb_load_configuration(b"app", None)"""


class SealAndOpen(unittest.TestCase):
    def test_round_trip_gives_back_the_same_text(self):
        sealed = vexloweb.seal(DOCUMENT)
        self.assertEqual(sealed.index("\n"), len(sealed) - 1)  # one line, and its line break
        for form in (sealed, sealed.encode(), bytearray(sealed.encode())):
            self.assertEqual(vexloweb.open(form), DOCUMENT)
        vexloweb.check(sealed)
        text = '{"about_text": "é 😀"}'
        self.assertEqual(vexloweb.open(vexloweb.seal(text)), text)
        text += "\0 {}"  # sealed unchecked by the tool: given back whole, past the NUL
        sealed = subprocess.run([os.environ["VEXLOWEB_TOOL"], "seal", "--no-check"],
                                input=text.encode(), capture_output=True, check=True).stdout
        self.assertEqual(vexloweb.open(sealed), text)

    def test_failures_raise_their_layer_reason_and_member_path_or_python_s_own_error(self):
        cases = [  # the call, then (layer, member path, a part of the reason) or Python's error
            (lambda: vexloweb.seal('{"tabs": [{"url": 5}]}'), ("document", "tabs[0].url",
                                                               "expected a string, found 5")),
            (lambda: vexloweb.open("no base64 here\n"), ("outer base64", None, "")),
            (lambda: vexloweb.check(""), ("file", None, "empty")),
            (lambda: vexloweb.set_record('{"admob_delay": 2.5}'), ("document", "admob_delay",
                                                                   "expected an integer")),
            (lambda: vexloweb.load("missing", bundle=EXAMPLE_BUNDLE), ("resource", None,
                                                                       "missing.io")),
            (lambda: vexloweb.load(b"\xff", bundle=EXAMPLE_BUNDLE), ("resource", None,
                                                                     "'\\xff.io'")),
            # The store's verdicts, passed through (the store's own tests hold the rest).
            (lambda: vexloweb.load("example", bundle=EXAMPLE_BUNDLE, defaults=NOTES),
             ("defaults", None, "the settings were not stored: '" + NOTES + "' is not an SQLite database")),
            (lambda: vexloweb.defaults(NOTES), ("defaults", None, "is not an SQLite database")),
            (lambda: vexloweb.defaults(SCRATCH.name), ("defaults", None, "is a folder")),
            (lambda: vexloweb.load("example\0 -- other", bundle=EXAMPLE_BUNDLE), ValueError),
            (lambda: vexloweb.load("example", bundle=EXAMPLE_BUNDLE + "\0/elsewhere"), ValueError),
            (lambda: vexloweb.set_bundle_path("/tmp\0/elsewhere"), ValueError),
            (lambda: vexloweb.set_defaults_path(b"a\0b"), ValueError),
            (lambda: vexloweb.defaults("a\0b"), ValueError),
            (lambda: vexloweb.seal(5), TypeError),
            (lambda: vexloweb.open(None), TypeError),
            (lambda: vexloweb.load(3), TypeError),
            (lambda: vexloweb.set_bundle_path(2.5), TypeError),
        ]
        for call, expected in cases:
            with self.assertRaises(vexloweb.VexloWebError if isinstance(expected, tuple)
                                   else expected) as raised:
                call()
            if isinstance(expected, tuple):
                (layer, member_path, reason), error = expected, raised.exception
                self.assertEqual((error.layer, error.member_path), (layer, member_path))
                self.assertIn(reason, error.reason)
                where = f" ({member_path})" if member_path else ""
                self.assertTrue(str(error).startswith(f"{layer}{where}: "), str(error))


class LoadAndRecord(unittest.TestCase):
    def test_load_holds_the_record_and_exports_the_defaults(self):
        vexloweb.set_defaults_path(NOTES)  # defaults=None leaves it for a fresh store in memory
        vexloweb.load("example", bundle=EXAMPLE_BUNDLE, defaults=None)
        self.assertEqual(vexloweb.record()["package_name"], "com.example.bakery")
        self.assertIn("COLOR_PRIMARY", vexloweb.defaults())
        store = os.path.join(SCRATCH.name, "defaults.sqlite3")  # a store for this load only
        vexloweb.load("example", bundle=EXAMPLE_BUNDLE, defaults=store)
        self.assertEqual(vexloweb.defaults(store)["COLOR_PRIMARY"], "quarn_gradient3_primary")
        sqlite3.connect(store, isolation_level=None).execute(  # a key that is not UTF-8
            "INSERT INTO entries VALUES (CAST(X'FE' AS TEXT), 0, 'v')")
        self.assertEqual(vexloweb.defaults(store)["\\xfe"], "v")
        vexloweb.set_record({"loader_int_time": 1.5})
        self.assertEqual(vexloweb.record(), {"loader_int_time": 1.5})

    def test_a_new_process_holds_no_record_and_a_c_load_prints_as_the_app_does(self):
        bundle = tempfile.mkdtemp(dir=SCRATCH.name)  # a file of another key: the cipher's line
        subprocess.run([os.environ["VEXLOWEB_TOOL"], "seal", "--key", "0123456789abcdef", "-o",
                        os.path.join(bundle, "app.io")], input=b"{}", check=True)
        ran = subprocess.run([sys.executable, "-c", C_LOADER, bundle], capture_output=True,
                             env=ENVIRONMENT, text=True, check=True)
        self.assertEqual(ran.stdout, 'None\n"Error: Failed to crypt data. Status -4304"\n')
        self.assertEqual(vexloweb.version(), os.environ["VEXLOWEB_EXPECTED_VERSION"])


class Resources(unittest.TestCase):
    def test_no_memory_grows_over_many_calls(self):
        # 4 KiB of text per call: a leaked string of any call would grow by tens of MiB.
        document = '{"about_text": "%s"}' % ("x" * 4096)
        vexloweb.set_record(document)

        def calls(count):
            for _ in range(count):
                vexloweb.open(vexloweb.seal(document))
                with contextlib.suppress(vexloweb.VexloWebError):
                    vexloweb.seal('{"menus": 1, "about_text": "%s"}' % ("y" * 4096))
                vexloweb.record()
        calls(300)  # warm up
        gc.collect()
        before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss  # KiB
        calls(3000)
        gc.collect()
        self.assertLess(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before, 8192,
                        "the peak resident memory grew: a leak")


class Finding(unittest.TestCase):
    def test_the_library_is_looked_for_in_order_and_a_failure_names_every_place(self):
        import ctypes  # pylint: disable=import-outside-toplevel
        import importlib.util  # pylint: disable=import-outside-toplevel
        from unittest import mock  # pylint: disable=import-outside-toplevel
        with mock.patch.dict(os.environ, {"VEXLOWEB_LIBRARY": "/nowhere/libvexloweb.so.1"}):
            self.assertEqual(vexloweb._candidates()[0], "/nowhere/libvexloweb.so.1")
            self.assertEqual(vexloweb._candidates()[-1], "libvexloweb.so.1")
            module_spec = importlib.util.spec_from_file_location("vexloweb_again", vexloweb.__file__)
            with mock.patch.object(ctypes, "CDLL", side_effect=OSError("not here")), \
                    self.assertRaises(ImportError) as raised:
                module_spec.loader.exec_module(importlib.util.module_from_spec(module_spec))
        self.assertRegex(str(raised.exception), r"tried /nowhere/libvexloweb\.so\.1 \(not here\);.* "
                         r"libvexloweb\.so\.1 \(not here\)\. Install")


if __name__ == "__main__":
    unittest.main()
