"""The Python module against the shared library of the same build (VEXLOWEB_LIBRARY)."""

import contextlib
import gc
import hashlib
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
        self.assertTrue(sealed.endswith("\n"))
        self.assertEqual(sealed.count("\n"), 1)
        for form in (sealed, sealed.encode(), bytearray(sealed.encode())):
            self.assertEqual(vexloweb.open(form), DOCUMENT)
        vexloweb.check(sealed)
        text = '{"about_text": "é 😀"}'
        self.assertEqual(vexloweb.open(vexloweb.seal(text)), text)
        text += "\0 {}"  # sealed unchecked by the tool: given back whole, past the NUL
        sealed = subprocess.run([os.environ["VEXLOWEB_TOOL"], "seal", "--no-check"],
                                input=text.encode(), capture_output=True, check=True).stdout
        self.assertEqual(vexloweb.open(sealed), text)

    def test_failures_carry_layer_reason_and_member_path(self):
        cases = [
            (lambda: vexloweb.seal('{"tabs": [{"url": 5}]}'), "document", "tabs[0].url",
             "expected a string, found 5"),
            (lambda: vexloweb.open("no base64 here\n"), "outer base64", None, ""),
            (lambda: vexloweb.check(""), "file", None, "empty"),
            (lambda: vexloweb.set_record('{"admob_delay": 2.5}'), "document", "admob_delay",
             "expected an integer"),
            (lambda: vexloweb.load("missing", bundle=EXAMPLE_BUNDLE), "resource", None,
             "missing.io"),
            (lambda: vexloweb.load(b"\xff", bundle=EXAMPLE_BUNDLE), "resource", None, "'\\xff.io'"),
            (lambda: vexloweb.load("example", bundle=EXAMPLE_BUNDLE, defaults=NOTES), "defaults",
             None, "the settings were not stored: '" + NOTES + "' is not an SQLite database"),
            (lambda: vexloweb.defaults(NOTES), "defaults", None, "is not an SQLite database"),
            (lambda: vexloweb.defaults(SCRATCH.name), "defaults", None, "is a folder"),
        ]
        for call, layer, member_path, reason in cases:
            with self.assertRaises(vexloweb.VexloWebError) as raised:
                call()
            error, where = raised.exception, f" ({member_path})" if member_path else ""
            self.assertEqual((error.layer, error.member_path), (layer, member_path))
            self.assertIn(reason, error.reason)
            self.assertTrue(str(error).startswith(f"{layer}{where}: "), str(error))


class LoadAndRecord(unittest.TestCase):
    def test_load_holds_the_record_and_exports_the_defaults(self):
        vexloweb.set_defaults_path(NOTES)  # defaults=None leaves it for a fresh store in memory
        vexloweb.load("example", bundle=EXAMPLE_BUNDLE, defaults=None)
        self.assertEqual(vexloweb.record()["package_name"], "com.example.bakery")
        self.assertIn("COLOR_PRIMARY", vexloweb.defaults())
        with tempfile.TemporaryDirectory() as scratch:  # a store for this load only
            store = os.path.join(scratch, "defaults.sqlite3")
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

    def test_version(self):
        self.assertEqual(vexloweb.version(), os.environ["VEXLOWEB_EXPECTED_VERSION"])


# The C interface's two reads of a store, called as a C host calls them.
C_READER = """import ctypes, os, sys; c = ctypes.CDLL(os.environ["VEXLOWEB_LIBRARY"])
c.vexloweb_defaults_json_at.restype = c.vexloweb_read_defaults.restype = ctypes.c_char_p
c.vexloweb_defaults_json_at(os.fsencode(sys.argv[1]))
json = c.vexloweb_read_defaults(os.fsencode(sys.argv[1]), None)
sys.exit(print(json) or json is None)"""


# What a read must leave as it was: size, content hash, journal mode (from the header, without
# opening the database) and the files beside it; a folder's listing.
def _snapshot(path):
    if os.path.isdir(path):
        return sorted(os.listdir(path))
    with open(path, "rb") as file:
        content = file.read()
    return (len(content), hashlib.sha256(content).hexdigest(),
            "wal" if content[18:20] == b"\2\2" else "rollback",
            [side for side in ("-wal", "-shm") if os.path.exists(path + side)])


class Stores(unittest.TestCase):
    def test_a_read_changes_nothing_and_every_reader_refuses_what_is_not_a_store(self):
        python = [sys.executable, "-c", "import os, sys, vexloweb; "]
        sql = "d = __import__('sqlite3').connect(sys.argv[1]); d.executescript(%r); d.close()"
        stores = {  # name: how it is made, what a reader says of it (None: it is read)
            "ours": (f"vexloweb.load('example', bundle={EXAMPLE_BUNDLE!r}, defaults=sys.argv[1])",
                     None),
            "empty": ("open(sys.argv[1], 'w').close()", "is an empty file, not a store"),
            "text": ("open(sys.argv[1], 'w').write('my notes')", "is not an SQLite database"),
            "view": (sql % "PRAGMA user_version=7; CREATE VIEW v AS SELECT 1", "another program's"),
            "theirs": (sql % "PRAGMA journal_mode=WAL; CREATE TABLE entries(id, note)", "another"),
            "folder": ("os.mkdir(sys.argv[1])", "is a folder"),
        }
        readers = [python[:2] + [python[2] + "print(vexloweb.defaults(sys.argv[1]))"],
                   python[:2] + [C_READER],
                   [os.environ.get("VEXLOWEB_TOOL"), "defaults", "--defaults"]]
        scratch = tempfile.mkdtemp(dir=SCRATCH.name)
        for name, (making, said) in stores.items():
            path = os.path.join(scratch, name)
            subprocess.run(python[:2] + [python[2] + making, path], env=ENVIRONMENT, check=True)
            before = _snapshot(path)
            self.assertTrue(name != "ours" or before[2:] == ("wal", []), before)
            for command in filter(lambda reader: reader[0], readers):  # the tool, when built
                with self.subTest(store=name, reader=command[0]):
                    ran = subprocess.run(command + [path], capture_output=True, text=True,
                                         env=ENVIRONMENT, check=False)
                    self.assertEqual(ran.returncode, 0 if said is None else 1, ran.stderr)
                    self.assertIn(said or "COLOR_PRIMARY", ran.stderr if said else ran.stdout)
                    self.assertEqual(_snapshot(path), before)


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
        self.assertIn("/nowhere/libvexloweb.so.1 (not here)", str(raised.exception))
        self.assertIn("libvexloweb.so.1 (not here)", str(raised.exception))


class Boundary(unittest.TestCase):
    def test_nul_and_wrong_types_are_refused_as_python_refuses_them(self):
        cases = [
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
        for call, error in cases:
            with self.assertRaises(error):
                call()


if __name__ == "__main__":
    unittest.main()
