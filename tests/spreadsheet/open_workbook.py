#!/usr/bin/python3
"""Opens a workbook in a headless LibreOffice of its own, as a user's Calc
would (macros as the profile's security settings say, and any question that
would need confirmation answered No), and prints the sheets' cells.

Usage: open_workbook.py PROFILE_DIR WORKBOOK [STEP ARGUMENT]...
       open_workbook.py --check

Steps, in order: --set SHEET.CELL=VALUE (a number is set as a number, and
the workbook recalculated), --dump NAME, --save - (stores the workbook),
--run SCRIPT (runs the workbook's own script, such as loh_workbook.py$Refresh),
--picture SHEET[.RANGE]=FILE.pdf (stores the sheet as a page of PDF); and anywhere
--only SHEET,SHEET... (every dump prints those sheets' cells only).
Prints "NAME<TAB>SHEET<TAB>ROW<TAB>COLUMN<TAB>KIND<TAB>TEXT" for every
non-empty cell as shown, KIND being "number", "text" or "formula", and the
charts and drop-down lists (see dump_extras), first under the name "loaded",
then at each --dump; then "question<TAB>TYPE" for every question Calc asked.
A run that takes longer than RUN_SECONDS ends its office and fails. Rows and columns count from 0. --check exits 0 when
LibreOffice, its Python bridge and its Python script provider are installed,
and otherwise says what is missing and exits 1.
"""
import os
import signal
import subprocess
import sys
import time

import uno
import unohelper
from com.sun.star.beans import PropertyValue
from com.sun.star.task import XInteractionHandler

questions = []
RUN_SECONDS = 90
KINDS = {"VALUE": "number", "TEXT": "text", "FORMULA": "formula", "EMPTY": "empty"}


class Recorder(unohelper.Base, XInteractionHandler):
    """Records each question and answers it with the first choice that is not approval."""

    def handle(self, request):
        asked = request.getRequest()
        questions.append(getattr(asked, "typeName", type(asked).__name__))
        refusals = [uno.getTypeByName("com.sun.star.task." + n)
                    for n in ("XInteractionAbort", "XInteractionDisapprove")]
        for c in request.getContinuations():
            if any(c.queryInterface(t) for t in refusals):
                c.select()
                return


def props(**values):
    out = []
    for name, value in values.items():
        p = PropertyValue()
        p.Name, p.Value = name, value
        out.append(p)
    return tuple(out)


def connect(pipe, office):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    while True:
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except Exception:
            if office.poll() is not None:
                raise
            time.sleep(0.2)


def dump(name, document, only):
    for sheet in document.Sheets:
        if only and sheet.Name not in only:
            continue
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        end = cursor.RangeAddress
        for r in range(end.EndRow + 1):
            for c in range(end.EndColumn + 1):
                cell = sheet.getCellByPosition(c, r)
                text = cell.String
                if text:
                    text = text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
                    print("%s\t%s\t%d\t%d\t%s\t%s" % (name, sheet.Name, r, c, KINDS[cell.Type.value],
                                                   text))


def dump_extras(name, document):
    """The charts of each sheet ("chart<TAB>NAME<TAB>SHEET<TAB>CHART<TAB>SERIES<TAB>LINES") and
    the drop-down lists of Pairs ("list<TAB>NAME<TAB>CELL<TAB>SOURCE")."""
    for sheet in document.Sheets:
        for chart_name in sheet.Charts.ElementNames:
            chart = sheet.Charts.getByName(chart_name).EmbeddedObject
            diagram = chart.Diagram
            series = chart.Data.ColumnDescriptions if diagram.DataRowSource.value == "COLUMNS" \
                else chart.Data.RowDescriptions
            print("chart\t%s\t%s\t%s\t%s\t%d" % (name, sheet.Name, chart_name, "|".join(series),
                                                 getattr(diagram, "NumberOfLines", 0)))
    pairs = document.Sheets.getByName("Pairs")
    for address in ("A7", "B7"):
        validation = pairs.getCellRangeByName(address).Validation
        if validation.Type.value == "LIST":
            print("list\t%s\t%s\t%s" % (name, address, validation.getFormula1()))


def picture(document, target, path):
    """Stores target (SHEET, or SHEET.RANGE such as Results.A1:K20; a sheet's
    used area) on one landscape page as a PDF file."""
    sheet_name, _, cells = target.partition(".")
    sheet = document.Sheets.getByName(sheet_name)
    style = document.StyleFamilies.getByName("PageStyles").getByName(sheet.PageStyle)
    width, height = style.Width, style.Height
    style.IsLandscape, style.Width, style.Height = True, max(width, height), min(width, height)
    style.ScaleToPagesX, style.ScaleToPagesY = 1, 1
    if cells:
        area = sheet.getCellRangeByName(cells)
    else:
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        end = cursor.RangeAddress
        area = sheet.getCellRangeByPosition(0, 0, end.EndColumn, end.EndRow)
    document.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)), props(
        FilterName="calc_pdf_Export",
        FilterData=uno.Any("[]com.sun.star.beans.PropertyValue", props(Selection=area))))


def wait_loaded(document, started):
    """The workbook's script has run on this opening when the summary's "Read at"
    is no earlier than this run's start (a saved workbook keeps an older one)."""
    summary = document.Sheets.getByName("Summary")
    while True:
        shown = summary.getCellRangeByName("B2").String
        try:
            if time.mktime(time.strptime(shown, "%Y-%m-%d %H:%M:%S")) >= int(started):
                return
        except ValueError:
            pass
        time.sleep(0.2)


class Overdue(Exception):
    pass


def give_up(signum, _frame):
    raise Overdue("stopped by signal %d: LibreOffice did not finish in time" % signum)


def stop(office):
    """Ends the office this run started: soffice, then anything left of its
    process group (soffice.bin outlives its launcher when killed)."""
    try:
        office.wait(timeout=20)
    except subprocess.TimeoutExpired:
        pass
    try:
        os.killpg(office.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    office.wait()


def main(profile, workbook, steps):
    # The whole run has a deadline of its own, so that a question Calc waits
    # on, or a script that never ends, fails the run instead of hanging it,
    # and the office is ended either way.
    signal.signal(signal.SIGALRM, give_up)
    signal.signal(signal.SIGTERM, give_up)
    signal.alarm(RUN_SECONDS)
    started = time.time()
    only = [name for kind, arg in steps if kind == "--only" for name in arg.split(",")]
    pipe = "loh%d" % os.getpid()
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.abspath(profile)),
         "--accept=pipe,name=%s;urp;" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        context = connect(pipe, office)
        desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        mode = uno.getConstantByName(
            "com.sun.star.document.MacroExecMode.USE_CONFIG_REJECT_CONFIRMATION")
        document = desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(os.path.abspath(workbook)), "_blank", 0,
            props(MacroExecutionMode=mode, InteractionHandler=Recorder()))
        wait_loaded(document, started)
        dump("loaded", document, only)
        dump_extras("loaded", document)
        for kind, arg in steps:
            if kind == "--only":
                continue
            if kind == "--set":
                target, value = arg.split("=", 1)
                sheet, address = target.split(".", 1)
                cell = document.Sheets.getByName(sheet).getCellRangeByName(address)
                try:
                    cell.setValue(float(value))
                except ValueError:
                    cell.setString(value)
                document.calculateAll()
            elif kind == "--save":
                document.store()
            elif kind == "--run":
                document.getScriptProvider().getScript(
                    "vnd.sun.star.script:%s?language=Python&location=document" % arg).invoke(
                        (), (), ())
            elif kind == "--picture":
                sheet, path = arg.split("=", 1)
                picture(document, sheet, path)
            else:
                dump(arg, document, only)
                dump_extras(arg, document)
        for q in questions:
            print("question\t%s" % q)
        document.close(True)
        desktop.terminate()
    finally:
        signal.alarm(0)
        stop(office)


def check():
    import shutil
    soffice = shutil.which("soffice")
    if not soffice:
        sys.exit("LibreOffice is not installed (no soffice on PATH)")
    program = os.path.dirname(os.path.realpath(soffice))
    if not os.path.exists(os.path.join(program, "pythonscript.py")):
        sys.exit("LibreOffice's Python script provider is not installed "
                 "(libreoffice-script-provider-python)")
    sys.exit(0)


if __name__ == "__main__":
    if sys.argv[1:] == ["--check"]:
        check()
    if len(sys.argv) < 3 or (len(sys.argv) - 3) % 2:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], list(zip(sys.argv[3::2], sys.argv[4::2])))
