#!/usr/bin/python3
"""Numbrook's workbooks built again with Debian's python3-xlsxwriter.

"plan" reads a workbook that numbrook-sheet wrote (with openpyxl, not timed)
and stores all it holds as a plan, a text file of tab-separated lines: the
default font, every look (font name, size, bold, italic, underline, colour,
alignment, top border, number format, font family), every column, row
height, cell and page break, and the page set-up (paper, orientation,
fit to the page's width, margins, header, footer, centring). "build" is
what the benchmark times: it loads the plan and writes the same workbook
with XlsxWriter in constant-memory mode, cell by cell in row order, as
numbrook-sheet does. bench/xlsx_replay does the same with libxlsxwriter.
"same" reads two workbooks and exits 0 when their plans are the same,
else prints the first lines that differ and exits 1. "parts" writes the
workbook's parts uncompressed, one after the other, so that the benchmark
can time their compression alone.

Usage: xlsxwriter_sheet.py plan SHEET.XLS PLAN
       xlsxwriter_sheet.py build PLAN OUTPUT.xlsx
       xlsxwriter_sheet.py same A.xlsx B.xlsx
       xlsxwriter_sheet.py parts SHEET.XLS PARTS
"""
import sys


def escaped(value):
    return str(value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def unescaped(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"t": "\t", "n": "\n"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def raw_header_footer(source, element):
    """The header or footer as the file holds it, its codes included."""
    import html
    import re
    import zipfile

    with zipfile.ZipFile(source) as book:
        xml = book.read("xl/worksheets/sheet1.xml").decode("utf-8")
    found = re.search(f"<{element}>(.*?)</{element}>", xml, re.S)
    return html.unescape(found.group(1)) if found else ""


def plan_lines(source):
    """The plan of a workbook as lines of tab-separated fields."""
    import openpyxl

    with open(source, "rb") as stream:
        book = openpyxl.load_workbook(stream)
    ws = book.worksheets[0]
    looks = {}

    def look(obj):
        font, align, border = obj.font, obj.alignment, obj.border
        key = (font.name or "", font.sz, int(bool(font.b)), int(bool(font.i)), int(font.u == "single"),
               font.color.rgb[-6:] if font.color is not None and font.color.type == "rgb" else "-",
               align.horizontal or "-", int(border.top is not None and border.top.style == "thin"),
               getattr(obj, "number_format", "General"), int(font.family or 0))
        return looks.setdefault(key, len(looks))

    lines = []
    default = book._fonts[0]
    lines.append(("default", default.name, default.sz, int(default.family or 0)))
    lines.append(("sheet", ws.title))
    setup = ws.page_setup
    lines.append(("paper", setup.paperSize or 0))
    lines.append(("landscape", int(setup.orientation == "landscape")))
    if ws.sheet_properties.pageSetUpPr is not None and ws.sheet_properties.pageSetUpPr.fitToPage:
        lines.append(("fit", setup.fitToWidth if setup.fitToWidth is not None else 1,
                      setup.fitToHeight if setup.fitToHeight is not None else 1))
    m = ws.page_margins
    lines.append(("margins", m.left, m.right, m.top, m.bottom))
    lines.append(("header", raw_header_footer(source, "oddHeader"), m.header))
    lines.append(("footer", raw_header_footer(source, "oddFooter"), m.footer))
    lines.append(("centered", int(bool(ws.print_options.horizontalCentered))))
    for dim in ws.column_dimensions.values():
        if dim.min is not None:
            # The file holds the width with the cell padding; XlsxWriter adds it.
            pixels = round(dim.width * 7)
            width = (pixels - 5) / 7 if pixels > 12 else pixels / 12
            lines.append(("column", dim.min - 1, dim.max - 1, round(width, 6), look(dim), int(bool(dim.hidden))))
    for n, d in sorted(ws.row_dimensions.items()):
        if d.height is not None:
            lines.append(("row", n - 1, d.height))
    for row in ws.iter_rows():
        for cell in row:
            if cell.value is None and not cell.has_style:
                continue
            value = cell.value
            if value is None:
                lines.append(("cell", cell.row - 1, cell.column - 1, look(cell), "b", ""))
            elif isinstance(value, str):
                lines.append(("cell", cell.row - 1, cell.column - 1, look(cell), "s", value))
            else:
                if isinstance(value, float) and value.is_integer():
                    value = int(value)
                lines.append(("cell", cell.row - 1, cell.column - 1, look(cell), "n", value))
    for brk in ws.row_breaks.brk:
        lines.append(("break", brk.id))
    looks_lines = [("look", index) + key for key, index in sorted(looks.items(), key=lambda item: item[1])]
    # The looks come first: a reader makes them before the cells that use them.
    return [lines[0]] + looks_lines + lines[1:]


def plan(source, target):
    with open(target, "w", encoding="utf-8") as out:
        for line in plan_lines(source):
            out.write("\t".join(escaped(field) for field in line) + "\n")


def read_plan(source):
    with open(source, encoding="utf-8") as stream:
        return [[unescaped(field) for field in line.rstrip("\n").split("\t")] for line in stream]


def build(source, target):
    import xlsxwriter

    lines = read_plan(source)
    default = next(line for line in lines if line[0] == "default")
    book = xlsxwriter.Workbook(target, {"constant_memory": True, "default_format_properties": {
        "font_name": default[1], "font_size": float(default[2]), "font_family": int(default[3])}})
    formats = []
    sheet = None
    rows = {}
    cells = []
    breaks = []
    for line in lines:
        kind = line[0]
        if kind == "look":
            name, size, bold, italic, underline, color, align, top, number_format, family = line[2:12]
            properties = {"font_name": name, "font_size": float(size), "bold": bold == "1", "italic": italic == "1",
                          "font_family": int(family)}
            if underline == "1":
                properties["underline"] = 1
            if color != "-":
                properties["font_color"] = "#" + color
            if align != "-":
                properties["align"] = align
            if top == "1":
                properties["top"] = 1
            if number_format != "General":
                properties["num_format"] = number_format
            formats.append(book.add_format(properties))
        elif kind == "sheet":
            sheet = book.add_worksheet(line[1])
        elif kind == "paper":
            sheet.set_paper(int(line[1]))
        elif kind == "landscape" and line[1] == "1":
            sheet.set_landscape()
        elif kind == "fit":
            sheet.fit_to_pages(int(line[1]), int(line[2]))
        elif kind == "margins":
            sheet.set_margins(*(float(value) for value in line[1:5]))
        elif kind == "header":
            sheet.set_header(line[1], {"margin": float(line[2])})
        elif kind == "footer":
            sheet.set_footer(line[1], {"margin": float(line[2])})
        elif kind == "centered" and line[1] == "1":
            sheet.center_horizontally()
        elif kind == "column":
            sheet.set_column(int(line[1]), int(line[2]), float(line[3]), formats[int(line[4])],
                             {"hidden": line[5] == "1"})
        elif kind == "row":
            rows[int(line[1])] = float(line[2])
        elif kind == "cell":
            cells.append(line)
        elif kind == "break":
            breaks.append(int(line[1]))
    written_row = -1
    for _, row, column, look, kind, value in cells:
        row, column = int(row), int(column)
        while written_row < row:
            written_row += 1
            if written_row in rows:
                sheet.set_row(written_row, rows[written_row])
        if kind == "b":
            sheet.write_blank(row, column, None, formats[int(look)])
        elif kind == "s":
            sheet.write_string(row, column, value, formats[int(look)])
        else:
            sheet.write_number(row, column, float(value), formats[int(look)])
    for row, height in sorted(rows.items()):
        if row > written_row:
            sheet.set_row(row, height)
    sheet.set_h_pagebreaks(breaks)
    book.close()


def same(first, second):
    a, b = plan_lines(first), plan_lines(second)
    if a == b:
        return
    differing = [(x, y) for x, y in zip(a, b) if x != y][:5]
    print(f"{first} and {second} differ ({len(a)} and {len(b)} lines):")
    for x, y in differing:
        print(f"  {x}\n  {y}")
    sys.exit(1)


def parts(source, target):
    import zipfile

    with zipfile.ZipFile(source) as book, open(target, "wb") as out:
        for name in book.namelist():
            out.write(book.read(name))


if __name__ == "__main__":
    {"plan": plan, "build": build, "same": same, "parts": parts}[sys.argv[1]](sys.argv[2], sys.argv[3])
