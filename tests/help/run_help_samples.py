#!/usr/bin/env python3
"""Runs every script sample the help pages show through kxscript.

    run_help_samples.py KXSCRIPT HELP_SOURCE_DIR

Builds the pages as the help file gets them (tools/gen/help_project.py), takes
each <pre class="sample"> block out of them, and runs it. A sample fails when
kxscript exits non-zero or reports an error ("error CODE: TEXT" on standard
error), so the help never shows a script that does not run.
"""
import html
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
BLOCK = re.compile(r'<pre class="sample">(.*?)</pre>', re.S)


def main():
    kxscript, source = sys.argv[1], sys.argv[2]
    failures = 0
    count = 0
    with tempfile.TemporaryDirectory() as work:
        pages = pathlib.Path(work) / "pages"
        subprocess.run([sys.executable, str(ROOT / "tools" / "gen" / "help_project.py"), source, str(pages)],
                       check=True)
        for page in sorted((pages / "_RESOURCE").glob("*.html")):
            for n, block in enumerate(BLOCK.findall(page.read_text(encoding="utf-8")), 1):
                count += 1
                script = pathlib.Path(work) / f"{page.stem}-{n}.kxs"
                script.write_text(html.unescape(block).replace("\r\n", "\n") + "\n", encoding="utf-8")
                run = subprocess.run([kxscript, str(script)], stdin=subprocess.DEVNULL, capture_output=True,
                                     text=True, encoding="utf-8")
                if run.returncode != 0 or run.stderr:
                    failures += 1
                    print(f"{page.name} sample {n}: exit {run.returncode}\n{run.stderr}")
                else:
                    print(f"{page.name} sample {n}: ok")
    if count == 0:
        print("no samples found in the help pages")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
