#!/usr/bin/python3
"""Prints what openpyxl finds in a workbook, one fact per line, tab-separated.

An independent reader of the spreadsheet worksheets: the C++ tests compare
these lines with what the sheet must hold.
"""
import sys

import openpyxl


def text(value):
    if value is None:
        return ""
    if isinstance(value, float) and value.is_integer():
        value = int(value)
    return str(value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def style(obj):
    font, align, border = obj.font, obj.alignment, obj.border
    fields = [
        "font=%s" % text(font.name),
        "size=%s" % text(font.sz),
        "bold=%d" % bool(font.b),
        "italic=%d" % bool(font.i),
        "align=%s" % text(align.horizontal),
        "top=%s" % text(border.top.style if border.top else None),
        "color=%s" % text(font.color.rgb if font.color is not None and font.color.type == "rgb" else None),
        "underline=%s" % text(font.u),
    ]
    # A line to write on, only where one is drawn.
    if border.bottom is not None and border.bottom.style:
        fields.append("bottom=%s" % text(border.bottom.style))
    return fields


def main(path):
    # Read from an open file: openpyxl judges a path by its ending, and the
    # worksheets end in ".XLS" although they are Office Open XML.
    with open(path, "rb") as stream:
        book = openpyxl.load_workbook(stream)
    out = []
    out.append(["sheets", str(len(book.worksheets))])
    ws = book.worksheets[0]
    out.append(["sheet", ws.title])
    m = ws.page_margins
    for name in ("left", "right", "top", "bottom", "header", "footer"):
        out.append(["margin", name, repr(getattr(m, name))])
    out.append(["default_row_height", repr(ws.sheet_format.defaultRowHeight)])
    out.append(["centered", str(int(bool(ws.print_options.horizontalCentered)))])
    out.append(["paper", text(ws.page_setup.paperSize)])
    out.append(["orientation", text(ws.page_setup.orientation)])
    out.append(["header_left", text(ws.oddHeader.left.text)])
    out.append(["header_center", text(ws.oddHeader.center.text)])
    out.append(["footer_center", text(ws.oddFooter.center.text)])
    out.append(["footer_left", text(ws.oddFooter.left.text)])
    for name, part in (("header_left_font", ws.oddHeader.left), ("footer_center_font", ws.oddFooter.center)):
        out.append([name, "%s %s" % (text(part.font), text(part.size))])
    fit = ws.sheet_properties.pageSetUpPr
    if fit is not None and fit.fitToPage:
        out.append(["fit", "%s wide, %s tall" % (text(ws.page_setup.fitToWidth or 1), text(ws.page_setup.fitToHeight))])
    for dim in ws.column_dimensions.values():
        if dim.min is None:
            continue
        for column in range(dim.min, dim.max + 1):
            out.append(["column", str(column), "width=%r" % dim.width, "hidden=%d" % bool(dim.hidden)] + style(dim))
    for number, dim in sorted(ws.row_dimensions.items()):
        if dim.height is not None:
            out.append(["row", str(number), "height=%r" % dim.height])
    for brk in ws.row_breaks.brk:
        out.append(["break", str(brk.id), "manual=%d" % bool(brk.man)])
    for row in ws.iter_rows():
        for cell in row:
            if cell.value is None and not cell.has_style:
                continue
            kind = "n" if isinstance(cell.value, (int, float)) else ("s" if cell.value is not None else "-")
            out.append(["cell", str(cell.row), str(cell.column), kind, "value=" + text(cell.value),
                        "format=" + cell.number_format] + style(cell))
    for fields in out:
        print("\t".join(fields))


if __name__ == "__main__":
    main(sys.argv[1])
