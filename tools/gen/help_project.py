#!/usr/bin/env python3
"""Prepares Kivora's help file for chmcmd.

    help_project.py SOURCE_DIR OUTPUT_DIR

Copies the topics of SOURCE_DIR/_RESOURCE into OUTPUT_DIR/_RESOURCE, putting
each script sample (a marker <!--sample:NAME--> names SOURCE_DIR/samples/NAME)
into the page, so the help shows exactly the files the sample test runs. Then
writes the project (Kivora.hhp) and the table of contents (Kivora.hhc); those
two are read in the project's code page, Japanese 932, while the topics say
themselves that they are UTF-8.
"""
import argparse
import html
import pathlib
import re
import shutil
import sys

TOPICS = ["HLP000001.html", "HLP000017.html", "HLP000018.html", "HLP000020.html", "HLP000024.html"]
SAMPLE = re.compile(r"<!--sample:([A-Za-z0-9_.-]+)-->")
TITLE = re.compile(r"<title>(.*?)</title>", re.S)


def inline_samples(page, samples_dir, used):
    def replace(match):
        name = match.group(1)
        path = samples_dir / name
        if not path.is_file():
            sys.exit(f"help_project: sample {name} not found in {samples_dir}")
        used.add(name)
        text = path.read_text(encoding="utf-8")
        return '<pre class="sample">' + html.escape(text, quote=False).rstrip("\n") + "</pre>"
    return SAMPLE.sub(replace, page)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("source", metavar="SOURCE_DIR", type=pathlib.Path,
                        help="docs/help: the topics in _RESOURCE and the samples")
    parser.add_argument("output", metavar="OUTPUT_DIR", type=pathlib.Path,
                        help="where the project, the contents and the topics go")
    args = parser.parse_args()
    source, output = args.source, args.output
    pages_in, pages_out = source / "_RESOURCE", output / "_RESOURCE"
    samples = source / "samples"
    if pages_out.exists():
        shutil.rmtree(pages_out)
    pages_out.mkdir(parents=True)

    used = set()
    titles = {}
    files = []
    for page in sorted(pages_in.iterdir()):
        if page.suffix == ".html":
            text = inline_samples(page.read_text(encoding="utf-8"), samples, used)
            (pages_out / page.name).write_text(text, encoding="utf-8", newline="\r\n")
            titles[page.name] = TITLE.search(text).group(1).strip()
        else:
            shutil.copyfile(page, pages_out / page.name)
        files.append("_RESOURCE/" + page.name)
    missing = [t for t in TOPICS if t not in titles]
    if missing:
        sys.exit(f"help_project: topics missing: {missing}")
    # The settings dialog's IME link opens this section.
    if 'id="imehelp"' not in (pages_out / "HLP000017.html").read_text(encoding="utf-8"):
        sys.exit("help_project: HLP000017.html lacks its imehelp section")
    unused = sorted(p.name for p in samples.glob("*.kxs") if p.name not in used)
    if unused:
        sys.exit(f"help_project: samples not shown in any topic: {unused}")

    project = "\r\n".join([
        "[OPTIONS]",
        "Compatibility=1.1 or later",
        "Compiled file=Kivora.chm",
        "Contents file=Kivora.hhc",
        "Default topic=_RESOURCE/HLP000001.html",
        "Display compile progress=No",
        "Full-text search=Yes",
        "Language=0x411 Japanese",
        "Title=Kivora ヘルプ",
        "",
        "[FILES]",
        *files,
        "",
    ])
    (output / "Kivora.hhp").write_bytes(project.encode("cp932"))

    entries = []
    for topic in TOPICS:
        entries.append(
            '\t<LI> <OBJECT type="text/sitemap">\r\n'
            f'\t\t<param name="Name" value="{html.escape(titles[topic])}">\r\n'
            f'\t\t<param name="Local" value="_RESOURCE/{topic}">\r\n'
            "\t\t</OBJECT>\r\n")
    contents = ("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n</HEAD><BODY>\r\n"
                "<UL>\r\n" + "".join(entries) + "</UL>\r\n</BODY></HTML>\r\n")
    (output / "Kivora.hhc").write_bytes(contents.encode("cp932"))


if __name__ == "__main__":
    main()
