"""Runs the README's runnable blocks, in order, as a reader would: the `setup` blocks in the
source tree (they install into a scratch $HOME), everything else in an empty scratch folder.
A block marked `file=NAME` is written to that file instead of being run.
Usage: readme_test.py SOURCE_DIR"""

import os
import re
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^```(\w+)([^\n]*)\n(.*?)^```$", re.M | re.S)


def blocks(readme):
    for language, info, body in FENCE.findall(readme):
        words = info.split()
        if "runnable" in words or "setup" in words:
            name = next((w[5:] for w in words if w.startswith("file=")), None)
            yield language, "setup" in words, name, body


def script(readme, source, work):
    lines = ["set -euo pipefail"]
    for language, setup, name, body in blocks(readme):
        if name:
            lines.append(f"cat > {name} <<'README_BLOCK'\n{body}README_BLOCK")
        elif language == "sh":
            lines.append(f"cd {source}" if setup else f"cd {work}")
            lines.append(body)
        else:
            raise SystemExit(f"a runnable {language} block needs file=NAME")
    return "\n".join(lines) + "\n"


def main():
    source = os.path.abspath(sys.argv[1])
    with open(os.path.join(source, "README.md"), encoding="utf-8") as readme_file:
        readme = readme_file.read()
    with tempfile.TemporaryDirectory() as scratch:
        home, work = os.path.join(scratch, "home"), os.path.join(scratch, "work")
        os.makedirs(home)
        os.makedirs(work)
        env = {"HOME": home, "PATH": "/usr/local/bin:/usr/bin:/bin", "LANG": "C.UTF-8"}
        text = script(readme, source, work)
        done = subprocess.run(["bash", "-c", text], env=env, cwd=work, check=False)
        count = sum(1 for _ in blocks(readme))
        print(f"README: {count} blocks run in order")
        print(f"{1 if done.returncode == 0 else 0} passed, {0 if done.returncode == 0 else 1} failed")
        return done.returncode


if __name__ == "__main__":
    sys.exit(main())
