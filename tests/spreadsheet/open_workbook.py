#!/usr/bin/python3
"""Opens a workbook in a headless LibreOffice of its own, as a user's Calc
would (macros as the profile says, any question needing confirmation answered
No), and prints its cells: open_workbook.py PROFILE_DIR WORKBOOK [STEP ARG]...
Steps, in order: --set SHEET.CELL=VALUE (a number as a number; recalculates),
--dump NAME, --save -, --run SCRIPT (the workbook's own, as loh_workbook.py$Refresh),
--picture SHEET[.RANGE]=FILE.pdf (one landscape page), --only SHEET,... (what dumps print).
A dump ("loaded" first) prints NAME TAB SHEET TAB ROW TAB COLUMN TAB KIND TAB TEXT for
each non-empty cell as shown, from 0, its charts and Pairs' drop-downs as cells of the
sheets "chart:SHEET" and "list:Pairs" (see dump_extras); then "question TAB TYPE" for
each question Calc asked. A run over RUN_SECONDS ends its office and fails.
--check exits 1 saying what is missing of LibreOffice and its Python bridge.
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
    return tuple(PropertyValue(Name=name, Value=value) for name, value in values.items())


def used_area(sheet):
    cursor = sheet.createCursor()
    cursor.gotoEndOfUsedArea(False)
    return cursor.RangeAddress


def dump(name, document, only):
    for sheet in document.Sheets:
        if only and sheet.Name not in only:
            continue
        end = used_area(sheet)
        for r in range(end.EndRow + 1):
            for c in range(end.EndColumn + 1):
                cell = sheet.getCellByPosition(c, r)
                text = cell.String.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
                if text:
                    print("\t".join((name, sheet.Name, str(r), str(c), KINDS[cell.Type.value],
                                     text)))
    dump_extras(name, document)


def dump_extras(name, document):
    """Each chart as a row of "chart:SHEET": its name, series joined by "|" and lines;
    a drop-down list of Pairs.A7 or B7 as its source in that cell of "list:Pairs"."""
    for sheet in document.Sheets:
        for row, chart_name in enumerate(sheet.Charts.ElementNames):
            chart = sheet.Charts.getByName(chart_name).EmbeddedObject
            diagram = chart.Diagram
            series = chart.Data.ColumnDescriptions if diagram.DataRowSource.value == "COLUMNS" \
                else chart.Data.RowDescriptions
            for column, text in enumerate(
                    (chart_name, "|".join(series), str(getattr(diagram, "NumberOfLines", 0)))):
                print("%s\tchart:%s\t%d\t%d\ttext\t%s" % (name, sheet.Name, row, column, text))
    pairs = document.Sheets.getByName("Pairs")
    for column, address in enumerate(("A7", "B7")):
        validation = pairs.getCellRangeByName(address).Validation
        if validation.Type.value == "LIST":
            print("%s\tlist:Pairs\t6\t%d\ttext\t%s" % (name, column, validation.getFormula1()))


def picture(document, target, path):
    """Stores target (SHEET, its used area, or SHEET.RANGE) on one landscape page of PDF."""
    sheet_name, _, cells = target.partition(".")
    sheet = document.Sheets.getByName(sheet_name)
    style = document.StyleFamilies.getByName("PageStyles").getByName(sheet.PageStyle)
    width, height = style.Width, style.Height
    style.IsLandscape, style.Width, style.Height = True, max(width, height), min(width, height)
    style.ScaleToPagesX, style.ScaleToPagesY = 1, 1
    if cells:
        area = sheet.getCellRangeByName(cells)
    else:
        end = used_area(sheet)
        area = sheet.getCellRangeByPosition(0, 0, end.EndColumn, end.EndRow)
    document.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)), props(
        FilterName="calc_pdf_Export",
        FilterData=uno.Any("[]com.sun.star.beans.PropertyValue", props(Selection=area))))


def wait_loaded(document, started):
    """The workbook's script has run on this opening when the summary's "Read at"
    is no earlier than this run's start (a saved workbook keeps an older one)."""
    summary = document.Sheets.getByName("Summary")
    while True:
        try:
            shown = summary.getCellRangeByName("B2").String
            if time.mktime(time.strptime(shown, "%Y-%m-%d %H:%M:%S")) >= int(started):
                return
        except ValueError:
            pass
        time.sleep(0.2)


def give_up(signum, _frame):
    raise RuntimeError("stopped by signal %d: LibreOffice did not finish in time" % signum)


def stop(office):
    """Ends the office this run started, and anything left of its process
    group (soffice.bin outlives its launcher when killed)."""
    try:
        office.wait(timeout=20)
    except subprocess.TimeoutExpired:
        pass
    try:
        os.killpg(office.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    office.wait()


def run_step(document, kind, arg, only):
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
            "vnd.sun.star.script:%s?language=Python&location=document" % arg).invoke((), (), ())
    elif kind == "--picture":
        picture(document, *arg.split("=", 1))
    elif kind == "--dump":
        dump(arg, document, only)


def main(profile, workbook, steps):
    # A deadline of its own, so that a question Calc waits on, or a script that
    # never ends, fails the run instead of hanging it; the office ends either way.
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
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        while True:
            try:
                context = resolver.resolve(
                    "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                break
            except Exception:
                if office.poll() is not None:
                    raise
                time.sleep(0.2)
        desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        mode = uno.getConstantByName(
            "com.sun.star.document.MacroExecMode.USE_CONFIG_REJECT_CONFIRMATION")
        document = desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(os.path.abspath(workbook)), "_blank", 0,
            props(MacroExecutionMode=mode, InteractionHandler=Recorder()))
        wait_loaded(document, started)
        dump("loaded", document, only)
        for kind, arg in steps:
            run_step(document, kind, arg, only)
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
    if not os.path.exists(os.path.join(os.path.dirname(os.path.realpath(soffice)),
                                       "pythonscript.py")):
        sys.exit("LibreOffice's Python script provider is not installed "
                 "(libreoffice-script-provider-python)")
    sys.exit(0)


if __name__ == "__main__":
    if sys.argv[1:] == ["--check"]:
        check()
    if len(sys.argv) < 3 or (len(sys.argv) - 3) % 2:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], list(zip(sys.argv[3::2], sys.argv[4::2])))
