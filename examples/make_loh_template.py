#!/usr/bin/env python3
"""Writes LOH.xls, the LOH analysis workbook that harvestor's LOH launch opens.

The workbook is an OpenDocument spreadsheet kept under the name LOH.xls that
the launch looks for (LibreOffice Calc recognises a file by its content, not
its name). It carries its own Python script, loh_workbook.py from this
folder, bound to the document's "open" event: each time Calc opens the
workbook, the script reads ../Export/InputLOH.temp beside the workbook's
folder into the sheet "Fragments" and builds the other sheets from it.
Calc runs the script without asking only when the workbook's folder is one
of its trusted locations; trust_loh_templates.py adds it.

Usage: make_loh_template.py OUTPUT.xls
"""
import os
import sys
import zipfile
from xml.sax.saxutils import escape, quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = "loh_workbook.py"

FRAGMENT_COLUMNS = ["Result Name", "Dye", "Fragment Size", "Peak Height", "Locus", "Allele ID",
                    "Comment", "Peak Area"]

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "script": "urn:oasis:names:tc:opendocument:xmlns:script:1.0",
    "xlink": "http://www.w3.org/1999/xlink",
    "dom": "http://www.w3.org/2001/xml-events",
    "ooo": "http://openoffice.org/2004/office",
    "of": "urn:oasis:names:tc:opendocument:xmlns:of:1.2",
    "manifest": "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0",
}


def namespaces(*prefixes):
    return " ".join('xmlns:%s="%s"' % (p, NS[p]) for p in prefixes)


def cell(value, style=None):
    """One cell: a text, a number, or ("=formula",) in OpenFormula syntax."""
    attrs = ' table:style-name="%s"' % style if style else ""
    if value is None:
        return "<table:table-cell%s/>" % attrs
    if isinstance(value, tuple):
        return '<table:table-cell%s table:formula=%s/>' % (attrs, quoteattr("of:" + value[0]))
    if isinstance(value, (int, float)):
        return ('<table:table-cell%s office:value-type="float" office:value="%s"><text:p>%s</text:p>'
                "</table:table-cell>" % (attrs, value, value))
    return ('<table:table-cell%s office:value-type="string"><text:p>%s</text:p></table:table-cell>'
            % (attrs, escape(value)))


def row(values, style=None):
    return "<table:table-row>%s</table:table-row>" % "".join(cell(v, style) for v in values or [None])


def sheet(name, rows, columns=1, width="3cm"):
    cols = '<table:table-column table:style-name="co" table:number-columns-repeated="%d"/>' % columns
    return '<table:table table:name=%s>%s%s</table:table>' % (quoteattr(name), cols, "".join(rows))


def content():
    sheets = [
        sheet("Fragments", [row(FRAGMENT_COLUMNS, "head")], len(FRAGMENT_COLUMNS)),
        sheet("Pairs", [row(["Normal marker", "N"]), row(["Tumour marker", "T"]),
                        row(["When the list below is empty, each tumour result is paired with "
                             "the normal result whose name differs only by these markers at "
                             "the end of the name, before the run's extension or well."]),
                        row(["Proposed pairs are proposed afresh at each opening; type or "
                             "change a pair, or clear its Source, to make the list your own, "
                             "and save the workbook to keep it."]),
                        row([]),
                        row(["Normal Result", "Tumour Result", "Source", None,
                             "Results in the input file"], "head")], 5),
        sheet("Results", [row(["Lower threshold", 0.5]), row(["Upper threshold", 2.0]),
                          row(["A ratio at or below the lower threshold or at or above the "
                               "upper one is called LOH."]),
                          row([]),
                          row(["Normal Result", "Tumour Result", "Locus", "Normal Allele 1",
                               "Normal Allele 2", "N1 Area", "N2 Area", "T1 Area", "T2 Area",
                               "Ratio", "Call", "Pair and Locus", "Plotted Ratio",
                               "Lower Threshold", "Upper Threshold"], "head")], 15),
        sheet("Summary", [row(["Input file"]), row(["Read at"]), row(["Fragments"]), row([]),
                          row([]),
                          row(["Normal Result", "Tumour Result", "Informative Loci",
                               "LOH Calls"], "head")], 4),
    ]
    event = ("vnd.sun.star.script:%s$on_load?language=Python&location=document" % SCRIPT)
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<office:document-content %s office:version="1.3">'
        "<office:scripts><office:event-listeners>"
        '<script:event-listener script:language="ooo:script" script:event-name="dom:load" '
        'xlink:type="simple" xlink:href=%s/>'
        "</office:event-listeners></office:scripts>"
        "<office:automatic-styles>"
        '<style:style style:name="co" style:family="table-column">'
        '<style:table-column-properties style:column-width="3.2cm"/></style:style>'
        '<style:style style:name="head" style:family="table-cell">'
        '<style:text-properties fo:font-weight="bold"/></style:style>'
        "</office:automatic-styles>"
        "<office:body><office:spreadsheet>%s</office:spreadsheet></office:body>"
        "</office:document-content>\n"
        % (namespaces("office", "style", "text", "table", "fo", "script", "xlink", "dom", "ooo", "of"),
           quoteattr(event), "".join(sheets)))


def manifest():
    entries = [("/", "application/vnd.oasis.opendocument.spreadsheet"),
               ("content.xml", "text/xml"), ("Scripts/", "application/binary"),
               ("Scripts/python/", "application/binary"), ("Scripts/python/" + SCRIPT, "")]
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<manifest:manifest %s manifest:version="1.3">%s</manifest:manifest>\n'
            % (namespaces("manifest"),
               "".join('<manifest:file-entry manifest:full-path="%s" manifest:media-type="%s"/>'
                       % e for e in entries)))


def main(path):
    with open(os.path.join(HERE, SCRIPT), encoding="utf-8") as f:
        script = f.read()
    tmp = path + ".part"
    with zipfile.ZipFile(tmp, "w") as z:
        # The media type comes first and uncompressed, as OpenDocument requires.
        # Fixed dates keep the workbook the same bytes for the same sources.
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                   compress_type=zipfile.ZIP_STORED)
        for name, data in (("META-INF/manifest.xml", manifest()), ("content.xml", content()),
                           ("Scripts/python/" + SCRIPT, script)):
            z.writestr(zipfile.ZipInfo(name), data, compress_type=zipfile.ZIP_DEFLATED)
    os.replace(tmp, path)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
