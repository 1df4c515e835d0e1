# The LOH workbook's own script, stored inside LOH.xls by make_loh_template.py
# and run by LibreOffice Calc when the workbook is opened.
#
# It reads Export/InputLOH.temp (the folder Export beside the workbook's
# folder) into the sheet "Fragments", fresh each time, with Calc's own text
# import so that numbers are read in the user's locale.
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.table import CellRangeAddress

INPUT_NAME = "InputLOH.temp"
FRAGMENT_COLUMNS = 8
# Comma-separated, double-quoted texts, UTF-8, from line 1; Result Name,
# Locus, Allele ID and Comment are read as texts (an allele "12" stays "12"),
# the numbers in the user's locale.
CSV_FILTER = "Text - txt - csv (StarCalc)"
CSV_OPTIONS = "44,34,76,1,1/2/2/1/3/1/4/1/5/2/6/2/7/2/8/1"
TEXT_KINDS = 1 | 2 | 4 | 16  # values, dates, texts, formulas of com.sun.star.sheet.CellFlags


def _props(**values):
    out = []
    for name, value in values.items():
        p = PropertyValue()
        p.Name = name
        p.Value = value
        out.append(p)
    return tuple(out)


def _address(sheet_index, first_col, first_row, last_col, last_row):
    a = CellRangeAddress()
    a.Sheet = sheet_index
    a.StartColumn, a.StartRow, a.EndColumn, a.EndRow = first_col, first_row, last_col, last_row
    return a


def input_url(document_url):
    """The input file's URL: ../Export/InputLOH.temp from the workbook's folder."""
    folder = document_url.rsplit("/", 1)[0]
    return folder.rsplit("/", 1)[0] + "/Export/" + INPUT_NAME


def read_input(desktop, url):
    """The input file's rows (header first) as Calc reads them, or None when it is missing."""
    import os
    if not os.path.isfile(uno.fileUrlToSystemPath(url)):
        return None
    csv = desktop.loadComponentFromURL(url, "_blank", 0, _props(
        Hidden=True, ReadOnly=True, FilterName=CSV_FILTER, FilterOptions=CSV_OPTIONS))
    try:
        sheet = csv.Sheets.getByIndex(0)
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        last_row = cursor.RangeAddress.EndRow
        rows = sheet.getCellRangeByPosition(0, 0, FRAGMENT_COLUMNS - 1, last_row).getDataArray()
    finally:
        csv.close(True)
    return [tuple(r) for r in rows]


def fill_fragments(document, rows):
    sheet = document.Sheets.getByName("Fragments")
    index = sheet.RangeAddress.Sheet
    used = sheet.createCursor()
    used.gotoEndOfUsedArea(False)
    end = max(used.RangeAddress.EndRow, 1)
    sheet.getCellRangeByPosition(0, 1, FRAGMENT_COLUMNS - 1, end).clearContents(TEXT_KINDS)
    body = rows[1:]
    if body:
        sheet.getCellRangeByPosition(0, 1, FRAGMENT_COLUMNS - 1, len(body)).setDataArray(body)
    ranges = document.DatabaseRanges
    if ranges.hasByName("FragmentTable"):
        ranges.removeByName("FragmentTable")
    ranges.addNewByName("FragmentTable", _address(index, 0, 0, FRAGMENT_COLUMNS - 1, len(body)))
    ranges.getByName("FragmentTable").AutoFilter = True
    return body


def set_status(document, url, fragments):
    sheet = document.Sheets.getByName("Summary")
    sheet.getCellRangeByName("B1").setString(uno.fileUrlToSystemPath(url))
    if fragments is None:
        sheet.getCellRangeByName("B2").setString("The input file is missing: run LOH Analysis.")
        sheet.getCellRangeByName("B3").setString("")
        return
    sheet.getCellRangeByName("B2").setString(time.strftime("%Y-%m-%d %H:%M:%S"))
    sheet.getCellRangeByName("B3").setValue(len(fragments))


def refresh(document):
    """Reads the input file again and rebuilds every sheet from it."""
    url = input_url(document.URL)
    desktop = XSCRIPTCONTEXT.getDesktop()  # noqa: F821 (given by Calc's script provider)
    rows = read_input(desktop, url)
    fragments = fill_fragments(document, rows) if rows is not None else None
    set_status(document, url, fragments)
    document.calculateAll()


def on_load(*_event):
    refresh(XSCRIPTCONTEXT.getDocument())  # noqa: F821


def Refresh(*_args):
    """Tools > Macros: reads the input file again, for a workbook left open."""
    refresh(XSCRIPTCONTEXT.getDocument())  # noqa: F821


g_exportedScripts = (Refresh, on_load)
