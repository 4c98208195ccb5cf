#!/usr/bin/python3
"""The heaviest Numbrook workbook built with Debian's python3-xlsxwriter.

1000 three-term problems, mixed, in column form, one per line: the same page
set-up, column grid, formats, rows and page breaks as numbrook-sheet writes,
with numbers drawn by Python's own generator. The benchmark times this
script, whole process against whole process, beside numbrook-sheet.

Usage: xlsxwriter_sheet.py OUTPUT.xlsx
"""
import random
import sys

import xlsxwriter

PROBLEMS = 1000
COLUMNS = 9
LINES_PER_PAGE = 7
PAGE_ROWS = 36


def draw(rng):
    a = rng.randint(10, 20)
    b = rng.randint(1, a)
    if rng.random() < 0.5:
        return [str(a), "-", str(b), "+", str(rng.randint(1, 20 - (a - b) if a - b < 20 else 1)), "=", "(   )"]
    return [str(a), "-", str(b), "-", str(rng.randint(0, a - b)), "=", "(   )"]


def main(path):
    rng = random.Random(1)
    book = xlsxwriter.Workbook(path)
    sheet = book.add_worksheet("题目列表")
    number_column = book.add_format({"font_size": 9, "bold": True, "italic": True, "align": "center"})
    problem_number = book.add_format(
        {"font_size": 9, "bold": True, "italic": True, "align": "center", "num_format": "@"})
    term = book.add_format({"font_size": 12, "align": "center"})
    operator_left = book.add_format({"font_size": 12, "align": "left"})
    value_right = book.add_format({"font_size": 12, "align": "right"})
    rule = book.add_format({"font_size": 12, "align": "center", "top": 1})
    rule_right = book.add_format({"font_size": 12, "align": "right", "top": 1})

    sheet.set_margins(1 / 72, 1 / 72, 1.6 / 0.035 / 72, 0.5 / 0.035 / 72)
    gap = " " * 15
    sheet.set_header("&L姓名：%s日期：%s时间开始：%s完成：\n【说明：三个数,加减混合运算,计算题, 20以内含进位加法, 10以内含退位减法】"
                     % (gap, gap, gap), {"margin": 0})
    sheet.set_footer("&C○ 你真棒%s○ 还不错%s○ 要加油" % (gap, gap))
    sheet.center_horizontally()
    widths = [3.0, 2.7, 1.0, 2.7, 1.0, 2.7, 1.0, 4.8, 1.2]
    for j, width in enumerate(widths):
        sheet.set_column(j, j, width, number_column if j == 0 else term)

    row = 0  # R, counted from 1 as numbrook-sheet does
    page_start = True
    numbering = 0
    breaks = []
    for p in range(PROBLEMS):
        if page_start:
            row += 1
            sheet.set_row(row - 1, 15)
            page_start = False
            numbering = 0
        else:
            sheet.set_row(row - 1, 26)
        row += 1
        sheet.set_row(row - 1, 26)
        cells = draw(rng)
        r = row - 1
        numbering += 1
        sheet.write_string(r, 0, "%4d. " % numbering, problem_number)
        for k, cell in enumerate(cells):
            if cell.isdigit():
                sheet.write_number(r, 1 + k, int(cell), term)
            else:
                sheet.write_string(r, 1 + k, cell, term)
        sheet.write_number(r + 1, 3, int(cells[0]), value_right)
        sheet.write_string(r + 2, 2, cells[1], operator_left)
        sheet.write_number(r + 2, 3, int(cells[2]), value_right)
        sheet.write_string(r + 3, 2, cells[3], operator_left)
        sheet.write_number(r + 3, 3, int(cells[4]), value_right)
        sheet.write_blank(r + 4, 2, None, rule)
        sheet.write_string(r + 4, 3, "(   ", rule_right)
        sheet.write_string(r + 4, 4, ")", rule)
        row += 4
        if row % PAGE_ROWS == 0:
            breaks.append(row)
            page_start = True
    sheet.set_h_pagebreaks(breaks)
    book.close()


if __name__ == "__main__":
    main(sys.argv[1])
