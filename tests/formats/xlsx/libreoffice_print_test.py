#!/usr/bin/python3
"""Prints workbooks as LibreOffice does (headless, to PDF) and reads the pages
with poppler-utils: A4 paper, upright or lying as the workbook asks, the
footer on every page, nothing within 5 mm of the
paper's edge, the header above and the footer below the problems, and as
many pages as the lines need, none holding only results.

Usage: libreoffice_print_test.py NUMBROOK-SHEET. Exits 77 (skipped) without soffice.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

MM = 72 / 25.4
# name, options, pages the lines need; a line too wide for upright A4 prints
# lying, with fewer problems (9 two-term, 6 three-term with random blanks)
# and the lines a lying page holds (22, or 6 with the column form).
CASES = [
    ("default", [], 1),
    ("four", ["--count=204"], 3),
    ("six", ["--per-row=6", "--count=300"], 2),
    ("ten", ["--per-row=10", "--count=1000"], 6),
    ("heavy", ["--terms=3", "--vertical", "--blank=random", "--per-row=3", "--count=60"], 3),
    ("heaviest", ["--terms=3", "--vertical", "--blank=random", "--per-row=10", "--count=1000"], 28),
    ("key", ["--vertical", "--per-row=5", "--count=150", "--answers"], 4),
    # Division frames take four rows under a line, 7 lines an upright page;
    # with remainders four problems a line print below 9 pt upright, so the
    # page lies and holds 4 lines (10 lines: 3 pages); ten a line become 6
    # (167 lines, 5 a page: 34 pages).
    ("tables", ["--no-add", "--mul", "--div", "--remainder=mixed", "--vertical", "--blank=random", "--per-row=4",
                "--count=40", "--answers"], 3),
    ("tables heaviest", ["--mul", "--div", "--remainder=mixed", "--vertical", "--per-row=10", "--count=1000"], 34),
    # Working lines take two rows as high as a line under each line, 8 lines
    # an upright page (20 lines: 3 pages); with brackets five problems a line
    # print at 9 pt or more lying, 6 lines a page (20 lines: 4 pages).
    ("steps", ["--terms=3", "--mul", "--sub", "--sub-range=99", "--brackets=mixed", "--steps", "--count=40",
               "--answers"], 3),
    ("steps wide", ["--terms=3", "--add", "--div", "--brackets=always", "--steps", "--per-row=10", "--count=100"], 4),
]


def pages_of(pdf):
    html = subprocess.run(["pdftotext", "-bbox", pdf, "-"], check=True, capture_output=True, text=True).stdout
    html = re.sub(r"<!DOCTYPE[^>]*>", "", html).replace(' xmlns="http://www.w3.org/1999/xhtml"', "")
    root = ET.fromstring(html)
    pages = []
    for page in root.iter("page"):
        words = [(w.text or "", *(float(w.get(k)) for k in ("xMin", "yMin", "xMax", "yMax"))) for w in page.iter("word")]
        pages.append((float(page.get("width")), float(page.get("height")), words))
    return pages


def check(name, pdf, expected_pages, failures):
    pages = pages_of(pdf)
    if len(pages) != expected_pages:
        failures.append("%s: %d pages, the lines need %d" % (name, len(pages), expected_pages))
    for number, (width, height, words) in enumerate(pages, 1):
        where = "%s page %d" % (name, number)
        if sorted((round(width), round(height))) != [595, 842]:
            failures.append("%s: %.0f x %.0f points, not A4" % (where, width, height))
        for text, x0, y0, x1, y1 in words:
            if min(x0, y0, width - x1, height - y1) < 5 * MM:
                failures.append("%s: '%s' lies within 5 mm of the edge" % (where, text))
        footer = [w for w in words if "你真棒" in w[0] or "要加油" in w[0]]
        header_starts = [w for w in words if w[0].startswith("姓名") or w[0].startswith("【说明")]
        # The header's lines whole: the sheet's number after the description
        # stands on the description's line as words of its own.
        header = [w for w in words if any(abs(w[2] - h[2]) < 2 for h in header_starts)]
        numbers = [w for w in words if re.fullmatch(r"\d+\.", w[0])]
        if not footer:
            failures.append("%s: no footer" % where)
        if not header:
            failures.append("%s: no header" % where)
        if not numbers:
            failures.append("%s: no problem starts here (a page of results only?)" % where)
        body = [w for w in words if w not in footer and w not in header and not re.search(r"[\u4e00-\u9fff○：]", w[0])]
        if body and footer and max(w[4] for w in body) > min(w[2] for w in footer):
            failures.append("%s: the problems reach into the footer" % where)
        if body and header and min(w[2] for w in body) < max(w[4] for w in header):
            failures.append("%s: the problems reach into the header" % where)


def main(program):
    if shutil.which("soffice") is None:
        print("skipped: LibreOffice (soffice) is not installed")
        return 77
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        books = []
        for name, options, pages in CASES:
            book = os.path.join(folder, name + ".xlsx")
            subprocess.run([program, "--seed=7", "-o", book] + options, check=True, capture_output=True)
            books.append((name, book, pages))
            if "--answers" in options:
                books.append((name + " key", os.path.join(folder, name + "答案.xlsx"), pages))
        env = dict(os.environ, HOME=folder)  # a profile of its own
        subprocess.run(["soffice", "--headless", "--convert-to", "pdf", "--outdir", folder] + [b for _, b, _ in books],
                       check=True, capture_output=True, env=env, timeout=240)
        for name, book, pages in books:
            check(name, book[:-5] + ".pdf", pages, failures)
    for failure in failures:
        print(failure)
    print("%d workbooks printed, %d faults" % (len(books), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
