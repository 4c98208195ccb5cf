#!/usr/bin/python3
"""Numbrook's heaviest workbook built again with Debian's python3-xlsxwriter.

Two steps. "plan" reads a workbook that numbrook-sheet wrote (with openpyxl,
not timed) and stores every cell with its value and look, every row height,
column, page break and the page set-up as a marshal file. "build" is what
the benchmark times: it loads the plan and writes the same workbook with
XlsxWriter, cell by cell in row order, as numbrook-sheet does.

A third step, "parts", writes the workbook's parts uncompressed, one after
the other, so that the benchmark can time their compression alone.

Usage: xlsxwriter_sheet.py plan SHEET.XLS PLAN
       xlsxwriter_sheet.py build PLAN OUTPUT.xlsx
       xlsxwriter_sheet.py parts SHEET.XLS PARTS
"""
import marshal
import sys


def plan(source, target):
    import openpyxl

    with open(source, "rb") as stream:
        book = openpyxl.load_workbook(stream)
    ws = book.worksheets[0]
    looks = {}

    def look(obj):
        font, align, border = obj.font, obj.alignment, obj.border
        key = (font.sz, bool(font.b), bool(font.i), align.horizontal, border.top.style if border.top else None,
               font.color.rgb if font.color is not None and font.color.type == "rgb" else None,
               getattr(obj, "number_format", "General"))
        return looks.setdefault(key, len(looks))

    m = ws.page_margins
    columns = []
    for dim in ws.column_dimensions.values():
        if dim.min is not None:
            # The file holds the width with the cell padding; XlsxWriter adds it.
            pixels = round(dim.width * 7)
            width = (pixels - 5) / 7 if pixels > 12 else pixels / 12
            columns.append((dim.min - 1, dim.max - 1, width, look(dim), bool(dim.hidden)))
    cells = []
    for row in ws.iter_rows():
        for cell in row:
            if cell.value is None and not cell.has_style:
                continue
            value = cell.value
            if isinstance(value, float) and value.is_integer():
                value = int(value)
            cells.append((cell.row - 1, cell.column - 1, value, look(cell)))
    page = {
        "title": ws.title,
        "margins": (m.left, m.right, m.top, m.bottom),
        "header": ("&L" + (ws.oddHeader.left.text or ""), m.header),
        "footer": ("&C" + (ws.oddFooter.center.text or ""), m.footer),
        "centered": bool(ws.print_options.horizontalCentered),
        "rows": [(n - 1, d.height) for n, d in sorted(ws.row_dimensions.items()) if d.height is not None],
        "breaks": [b.id for b in ws.row_breaks.brk],
        "columns": columns,
        "cells": cells,
        "looks": sorted((index, key) for key, index in looks.items()),
    }
    with open(target, "wb") as out:
        marshal.dump(page, out)


def build(source, target):
    import xlsxwriter

    with open(source, "rb") as stream:
        page = marshal.load(stream)
    book = xlsxwriter.Workbook(target)
    sheet = book.add_worksheet(page["title"])
    formats = []
    for _, (size, bold, italic, align, top, color, number_format) in page["looks"]:
        properties = {"font_size": size, "bold": bold, "italic": italic}
        if align:
            properties["align"] = align
        if top == "thin":
            properties["top"] = 1
        if color:
            properties["font_color"] = "#" + color[-6:]
        if number_format and number_format != "General":
            properties["num_format"] = number_format
        formats.append(book.add_format(properties))
    sheet.set_margins(*page["margins"])
    sheet.set_header(page["header"][0], {"margin": page["header"][1]})
    sheet.set_footer(page["footer"][0], {"margin": page["footer"][1]})
    if page["centered"]:
        sheet.center_horizontally()
    for first, last, width, look, hidden in page["columns"]:
        sheet.set_column(first, last, width, formats[look], {"hidden": hidden})
    heights = dict(page["rows"])
    cells = page["cells"]
    written_row = -1
    for row, column, value, look in cells:
        while written_row < row:
            written_row += 1
            if written_row in heights:
                sheet.set_row(written_row, heights[written_row])
        if value is None:
            sheet.write_blank(row, column, None, formats[look])
        elif isinstance(value, str):
            sheet.write_string(row, column, value, formats[look])
        else:
            sheet.write_number(row, column, value, formats[look])
    for row, height in page["rows"]:
        if row > written_row:
            sheet.set_row(row, height)
    sheet.set_h_pagebreaks(page["breaks"])
    book.close()


def parts(source, target):
    import zipfile

    with zipfile.ZipFile(source) as book, open(target, "wb") as out:
        for name in book.namelist():
            out.write(book.read(name))


if __name__ == "__main__":
    {"plan": plan, "build": build, "parts": parts}[sys.argv[1]](sys.argv[2], sys.argv[3])
