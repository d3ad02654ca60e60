"""The Python module against the shared library of the same build (VEXLOWEB_LIBRARY)."""

import gc
import os
import resource
import sys
import tempfile
import unittest

sys.path.insert(0, os.environ["VEXLOWEB_PYTHON_PATH"])
import vexloweb  # noqa: E402  pylint: disable=wrong-import-position

EXAMPLE_BUNDLE = os.environ["VEXLOWEB_EXAMPLE_BUNDLE"]
DOCUMENT = '{"package_name": "py.host", "menus": [{"menu": "Home", "url": "HOME"}]}'


class SealAndOpen(unittest.TestCase):
    def test_round_trip_gives_back_the_same_text(self):
        sealed = vexloweb.seal(DOCUMENT)
        self.assertTrue(sealed.endswith("\n"))
        self.assertEqual(sealed.count("\n"), 1)
        self.assertEqual(vexloweb.open(sealed), DOCUMENT)
        self.assertEqual(vexloweb.open(sealed.encode()), DOCUMENT)
        vexloweb.check(sealed)
        text = '{"about_text": "é 😀"}'
        self.assertEqual(vexloweb.open(vexloweb.seal(text)), text)

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
        ]
        for call, layer, member_path, reason in cases:
            with self.assertRaises(vexloweb.VexloWebError) as raised:
                call()
            self.assertEqual(raised.exception.layer, layer)
            self.assertEqual(raised.exception.member_path, member_path)
            self.assertIn(reason, raised.exception.reason)


class LoadAndRecord(unittest.TestCase):
    def test_load_holds_the_record_and_exports_the_defaults(self):
        vexloweb.load("example", bundle=EXAMPLE_BUNDLE, defaults=None)
        self.assertEqual(vexloweb.record()["package_name"], "com.example.bakery")
        self.assertIn("COLOR_PRIMARY", vexloweb.defaults())
        with tempfile.TemporaryDirectory() as scratch:  # a store for this load only
            store = os.path.join(scratch, "defaults.sqlite3")
            vexloweb.load("example", bundle=EXAMPLE_BUNDLE, defaults=store)
            self.assertEqual(vexloweb.defaults(store)["COLOR_PRIMARY"], "quarn_gradient3_primary")
        vexloweb.set_record({"loader_int_time": 1.5})
        self.assertEqual(vexloweb.record(), {"loader_int_time": 1.5})

    def test_version(self):
        self.assertEqual(vexloweb.version(), os.environ["VEXLOWEB_EXPECTED_VERSION"])


class Resources(unittest.TestCase):
    def test_no_memory_grows_over_many_calls(self):
        # 4 KiB of text per call: a leaked string of any call would grow by tens of MiB.
        document = '{"about_text": "%s"}' % ("x" * 4096)
        vexloweb.set_record(document)

        def calls(count):
            for _ in range(count):
                vexloweb.open(vexloweb.seal(document))
                try:
                    vexloweb.seal('{"menus": 1, "about_text": "%s"}' % ("y" * 4096))
                except vexloweb.VexloWebError:
                    pass
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
