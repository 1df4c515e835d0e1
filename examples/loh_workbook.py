# The LOH workbook's own script, stored inside LOH.xls by make_loh_template.py
# and run by LibreOffice Calc when the workbook is opened.
#
# It reads Export/InputLOH.temp (the folder Export beside the workbook's
# folder) into the sheet "Fragments", fresh each time, numbers as numbers that
# Calc shows in the user's locale; proposes tumour/normal pairs when the user
# has listed none; and writes one row per pair and locus
# into "Results", whose ratio and call are formulas on the threshold cells,
# so that a changed threshold changes every call at once.
import time

import uno
from com.sun.star.table import CellRangeAddress

INPUT_NAME = "InputLOH.temp"
FRAGMENT_COLUMNS = 8
TEXT_KINDS = 1 | 2 | 4 | 16  # values, dates, texts, formulas of com.sun.star.sheet.CellFlags


def _address(sheet_index, first_col, first_row, last_col, last_row):
    a = CellRangeAddress()
    a.Sheet = sheet_index
    a.StartColumn, a.StartRow, a.EndColumn, a.EndRow = first_col, first_row, last_col, last_row
    return a


def input_url(document_url):
    """The input file's URL: ../Export/InputLOH.temp from the workbook's folder."""
    folder = document_url.rsplit("/", 1)[0]
    return folder.rsplit("/", 1)[0] + "/Export/" + INPUT_NAME


def split_line(line):
    """The line's fields as (quoted, text). A quoted text ends at a double quote
    followed by a comma or the line's end: the launch does not double quotes
    inside texts."""
    fields, i = [], 0
    while i <= len(line):
        if line.startswith('"', i):
            end = line.find('",', i + 1)
            if end < 0:
                end = len(line) - 1 if line.endswith('"') and len(line) > i + 1 else len(line)
            fields.append((True, line[i + 1:end]))
            i = end + 2
        else:
            end = line.find(",", i)
            end = len(line) if end < 0 else end
            fields.append((False, line[i:end]))
            i = end + 1
    return fields


def number(parts):
    """The number written as parts: one, or whole and fraction split apart by a
    decimal comma; the text itself when it is no number."""
    text = ".".join(p.strip() for p in parts)
    try:
        return float(text)
    except ValueError:
        return text


def fragment_row(line):
    """The eight columns of one line. In a locale whose decimal separator is
    the comma, the launch writes 150,5 unquoted, so a number with a fraction
    takes two fields; the quoted texts around the numbers tell them apart.
    When one of size and height has a fraction, it is taken to be the size
    (peak heights are whole numbers in practice)."""
    fields = split_line(line)
    quoted = [i for i, (q, _) in enumerate(fields) if q]
    if len(quoted) >= 4 and quoted[0] == 0:
        name, locus, allele, comment = quoted[:4]
        middle = [t for _, t in fields[name + 1:locus]]
        tail = [t for _, t in fields[comment + 1:]]
        if locus + 1 == allele and allele + 1 == comment and 3 <= len(middle) <= 5 and tail:
            dye, rest = middle[0], middle[1:]
            size, height = {2: (rest[:1], rest[1:]), 3: (rest[:2], rest[2:]),
                            4: (rest[:2], rest[2:])}[len(rest)]
            return (fields[name][1], number([dye]), number(size), number(height),
                    fields[locus][1], fields[allele][1], fields[comment][1], number(tail[:2]))
    plain = [t if q else number([t]) for q, t in fields][:FRAGMENT_COLUMNS]
    return tuple(plain + [""] * (FRAGMENT_COLUMNS - len(plain)))


def read_input(url):
    """The input file's rows (header first), or None when it is missing."""
    import os
    path = uno.fileUrlToSystemPath(url)
    if not os.path.isfile(path):
        return None
    with open(path, encoding="utf-8", errors="replace", newline="") as f:
        lines = [line.rstrip("\r\n") for line in f.read().split("\n")]
    header = tuple(t for _, t in split_line(lines[0]))[:FRAGMENT_COLUMNS] if lines else ()
    return [header] + [fragment_row(line) for line in lines[1:] if line.strip()]


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


# Sheet "Pairs": the markers in B1 and B2, the pair list from row 7 (A:
# Normal Result, B: Tumour Result, C: where the pair came from), the result
# names of the input file in E from row 7 (the drop-downs' source). Rows are
# counted from 0 below.
PAIRS_FIRST = 6
# Sheet "Summary": the input file's name, time and size in B1:B3, one row per
# pair from row 7 (A: Normal Result, B: Tumour Result, C: informative loci,
# D: LOH calls).
SUMMARY_FIRST = 5
PROPOSED = "Proposed from the markers"
# Sheet "Results": thresholds in B1 and B2, the table's header in row 5.
RESULTS_FIRST = 4
INFINITY = "\u221e"
LIST_ROWS = 500


def result_names(fragments):
    names = []
    for f in fragments:
        if f[0] and f[0] not in names:
            names.append(f[0])
    return names


def pair_key(name, marker):
    """The name less the marker that ends it before the run's extension or well, or None."""
    stem, dot, rest = name.rstrip().partition(".")
    stem = stem.rstrip()
    if not marker or not stem.endswith(marker) or len(stem) == len(marker):
        return None
    return stem[: -len(marker)]


def propose_pairs(names, normal_marker, tumour_marker):
    """(normal, tumour) for each tumour whose name differs from a normal's only by the marker."""
    normals = {}
    for n in names:
        key = pair_key(n, normal_marker)
        if key is not None:
            normals.setdefault(key, n)
    pairs = []
    for t in names:
        key = pair_key(t, tumour_marker)
        if key is not None and key in normals and normals[key] != t:
            pairs.append((normals[key], t))
    return pairs


def loci(fragments):
    out = []
    for f in fragments:
        if f[4] and f[4] not in out:
            out.append(f[4])
    return out


def areas(fragments):
    """{(result, locus): [(allele, summed area)] in input order} of fragments with a call."""
    table = {}
    for f in fragments:
        result, locus, allele, area = f[0], f[4], f[5], f[7]
        if not locus or not allele:
            continue
        alleles = table.setdefault((result, locus), [])
        value = area if isinstance(area, float) else 0.0
        for i, (a, total) in enumerate(alleles):
            if a == allele:
                alleles[i] = (a, total + value)
                break
        else:
            alleles.append((allele, value))
    return table


def result_rows(fragments, pairs):
    """Per pair and locus: normal, tumour, locus, the normal's alleles, N1, N2, T1, T2."""
    table = areas(fragments)
    rows = []
    for normal, tumour in pairs:
        for locus in loci(fragments):
            called = table.get((normal, locus), [])
            tumour_areas = dict(table.get((tumour, locus), []))
            a1 = called[0] if called else ("", "")
            a2 = called[1] if len(called) > 1 else ("", "")
            t1 = tumour_areas.get(a1[0], 0.0) if a1[0] else ""
            t2 = tumour_areas.get(a2[0], 0.0) if a2[0] else ""
            rows.append((normal, tumour, locus, a1[0], a2[0], a1[1], a2[1], t1, t2))
    return rows


def read_pairs(sheet):
    """(normal, tumour, source) of every row of the list with both names."""
    used = sheet.createCursor()
    used.gotoEndOfUsedArea(False)
    end = max(used.RangeAddress.EndRow, PAIRS_FIRST)
    rows = sheet.getCellRangeByPosition(0, PAIRS_FIRST, 2, end).getDataArray()
    return [(str(r[0]).strip(), str(r[1]).strip(), str(r[2]).strip()) for r in rows
            if str(r[0]).strip() and str(r[1]).strip()]


def fill_pairs(document, fragments):
    """The pairs to analyse: the user's list as it stands once the user has typed,
    edited or accepted a row (any row whose Source is not the proposal's);
    otherwise a fresh proposal from the markers, written into the list."""
    sheet = document.Sheets.getByName("Pairs")
    names = result_names(fragments)
    listed = read_pairs(sheet)
    pairs = [(n, t) for n, t, _ in listed]
    if all(source == PROPOSED for _, _, source in listed):
        clear_below(sheet, PAIRS_FIRST, 3)
        normal = sheet.getCellRangeByName("B1").String
        tumour = sheet.getCellRangeByName("B2").String
        pairs = propose_pairs(names, normal, tumour)
        if pairs:
            sheet.getCellRangeByPosition(0, PAIRS_FIRST, 2, PAIRS_FIRST + len(pairs) - 1) \
                .setDataArray([(n, t, PROPOSED) for n, t in pairs])
    sheet.getCellRangeByPosition(4, PAIRS_FIRST, 4, PAIRS_FIRST + LIST_ROWS).clearContents(
        TEXT_KINDS)
    if names:
        sheet.getCellRangeByPosition(4, PAIRS_FIRST, 4, PAIRS_FIRST + len(names) - 1) \
            .setDataArray([(n,) for n in names])
    target = sheet.getCellRangeByPosition(0, PAIRS_FIRST, 1, PAIRS_FIRST + LIST_ROWS)
    validation = target.Validation
    validation.Type = uno.Enum("com.sun.star.sheet.ValidationType", "LIST")
    validation.ShowList = 1  # unsorted, as in the input file
    validation.setFormula1("$Pairs.$E$%d:$E$%d" % (PAIRS_FIRST + 1, PAIRS_FIRST + max(len(names), 1)))
    target.Validation = validation
    fit_columns(sheet, (0, 1, 4), names)
    return pairs


def result_formulas(r):
    """Ratio, call and the chart's columns of Results row r (counted from 1)."""
    uninformative = 'OR($D{r}="";$E{r}="";$F{r}<=0;$G{r}<=0;AND($H{r}=0;$I{r}=0))'.format(r=r)
    ratio = '=IF({u};"";IF($I{r}=0;"{inf}";($H{r}/$I{r})/($F{r}/$G{r})))'.format(
        u=uninformative, r=r, inf=INFINITY)
    call = ('=IF({u};"Not informative";IF(OR($J{r}="{inf}";$J{r}<=$B$1;$J{r}>=$B$2);'
            '"LOH";"Retained"))').format(u=uninformative, r=r, inf=INFINITY)
    label = '=$B{r}&" / "&$C{r}'.format(r=r)
    plotted = '=IF(ISNUMBER($J{r});$J{r};"")'.format(r=r)
    return (ratio, call, label, plotted, "=$B$1", "=$B$2")


def fit_columns(sheet, columns, names):
    """Widens the columns of result names to show the longest whole (the
    notes above the tables, which may run over, do not count)."""
    longest = max([len(n) for n in names] or [0])
    for c in columns:
        column = sheet.Columns.getByIndex(c)
        column.Width = max(column.Width, min(190 * longest + 400, 12000))  # 1/100 mm


def clear_below(sheet, first_row, columns):
    used = sheet.createCursor()
    used.gotoEndOfUsedArea(False)
    end = max(used.RangeAddress.EndRow, first_row)
    sheet.getCellRangeByPosition(0, first_row, columns - 1, end).clearContents(TEXT_KINDS)


def fill_results(document, fragments, pairs):
    sheet = document.Sheets.getByName("Results")
    clear_below(sheet, RESULTS_FIRST + 1, 15)
    rows = result_rows(fragments, pairs)
    if rows:
        first, last = RESULTS_FIRST + 1, RESULTS_FIRST + len(rows)
        sheet.getCellRangeByPosition(0, first, 8, last).setDataArray(rows)
        sheet.getCellRangeByPosition(9, first, 14, last).setFormulaArray(
            [result_formulas(r + 1) for r in range(first, last + 1)])
        formats = document.NumberFormats
        locale = uno.createUnoStruct("com.sun.star.lang.Locale")
        key = formats.queryKey("0.00", locale, False)
        if key < 0:
            key = formats.addNew("0.00", locale)
        for c in (9, 12):
            sheet.getCellRangeByPosition(c, first, c, last).NumberFormat = key
    fit_columns(sheet, (0, 1, 11), [r[1] + " / " + r[2] for r in rows])
    return len(rows)


def fill_summary(document, pairs, result_count):
    sheet = document.Sheets.getByName("Summary")
    clear_below(sheet, SUMMARY_FIRST + 1, 4)
    first, last = RESULTS_FIRST + 2, RESULTS_FIRST + 1 + max(result_count, 1)
    col = lambda c: "$Results.$%s$%d:$%s$%d" % (c, first, c, last)
    rows = []
    for i, (normal, tumour) in enumerate(pairs):
        r = SUMMARY_FIRST + 2 + i
        match = "%s;$A%d;%s;$B%d" % (col("A"), r, col("B"), r)
        rows.append(('=COUNTIFS(%s;%s;"<>Not informative")' % (match, col("K")),
                     '=COUNTIFS(%s;%s;"LOH")' % (match, col("K"))))
    if pairs:
        top, bottom = SUMMARY_FIRST + 1, SUMMARY_FIRST + len(pairs)
        sheet.getCellRangeByPosition(0, top, 1, bottom).setDataArray(pairs)
        sheet.getCellRangeByPosition(2, top, 3, bottom).setFormulaArray(rows)
        fit_columns(sheet, (0, 1), [n for pair in pairs for n in pair])
    draw_chart(document, sheet, result_count)


def draw_chart(document, sheet, result_count):
    """The ratio of every pair and locus as columns, the two thresholds as lines."""
    charts = sheet.Charts
    if charts.hasByName("Ratios"):
        charts.removeByName("Ratios")
    if not result_count:
        return
    from com.sun.star.awt import Rectangle
    place = Rectangle()
    # Beside the table, however wide its columns of names are.
    place.X, place.Y, place.Width, place.Height = (sheet.getCellByPosition(5, 0).Position.X, 500,
                                                   22000, 11000)
    results = document.Sheets.getByName("Results")
    data = _address(results.RangeAddress.Sheet, 11, RESULTS_FIRST, 14,
                    RESULTS_FIRST + result_count)
    charts.addNewByName("Ratios", place, (data,), True, True)
    chart = charts.getByName("Ratios").EmbeddedObject
    diagram = chart.createInstance("com.sun.star.chart.BarDiagram")
    chart.Diagram = diagram
    diagram.NumberOfLines = 2
    chart.HasMainTitle = True
    chart.Title.String = "Allelic ratio (T1/T2)/(N1/N2) per pair and locus"


def set_status(document, url, fragments, problem=None):
    """Summary B1:B3: the input file, when it was read (always, so that a
    caller can tell this opening's reading from a saved one), and how many
    fragments it had or why there are none."""
    sheet = document.Sheets.getByName("Summary")
    sheet.getCellRangeByName("B1").setString(uno.fileUrlToSystemPath(url))
    sheet.getCellRangeByName("B2").setString(time.strftime("%Y-%m-%d %H:%M:%S"))
    if problem:
        sheet.getCellRangeByName("B3").setString(problem)
    elif fragments is None:
        sheet.getCellRangeByName("B3").setString("The input file is missing: run LOH Analysis.")
    else:
        sheet.getCellRangeByName("B3").setValue(len(fragments))


def refresh(document):
    """Reads the input file again and rebuilds every sheet from it."""
    url = input_url(document.URL)
    try:
        rows = read_input(url)
        # A missing file leaves the sheet empty, not holding what was saved.
        body = fill_fragments(document, rows or [()])
        fragments = body if rows is not None else None
        pairs = fill_pairs(document, fragments or [])
        fill_summary(document, pairs, fill_results(document, fragments or [], pairs))
        set_status(document, url, fragments)
    except Exception as e:  # shown to the user rather than lost in Calc's log
        set_status(document, url, None, "The workbook could not read the input file: %s" % e)
        raise
    finally:
        document.calculateAll()


def on_load(*_event):
    refresh(XSCRIPTCONTEXT.getDocument())  # noqa: F821


def Refresh(*_args):
    """Tools > Macros: reads the input file again, for a workbook left open."""
    refresh(XSCRIPTCONTEXT.getDocument())  # noqa: F821


g_exportedScripts = (Refresh, on_load)
