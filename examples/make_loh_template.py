#!/usr/bin/env python3
"""Writes LOH.xls, the LOH analysis workbook that harvestor's LOH launch opens.

The workbook is an Excel 2003 XML spreadsheet (which LibreOffice Calc and
Excel open under the .xls name). Its first sheet says how to bring in the
input file that the launch writes (Export/InputLOH.temp beside the
program's folder); its second sheet computes the loss of heterozygosity ratio
of a tumour/normal pair from the four peak areas entered there.

Usage: make_loh_template.py OUTPUT.xls
"""
import sys
from xml.sax.saxutils import escape

INSTRUCTIONS = [
    "LOH analysis",
    "",
    "Harvestor writes every included fragment of the open study to",
    "Export/InputLOH.temp (comma-separated: Result Name, Dye, Fragment Size,",
    "Peak Height, Locus, Allele ID, Comment, Peak Area) and opens this workbook.",
    "",
    "1. Open Export/InputLOH.temp as a comma-separated text file.",
    "2. For each locus, copy the peak areas of allele 1 and allele 2 of the",
    "   normal and of the tumour sample into the sheet Ratio.",
    "3. A ratio below 0.5 or above 2 suggests loss of heterozygosity.",
]


def row(cells):
    out = []
    for c in cells:
        if isinstance(c, tuple):
            out.append('<Cell ss:Formula="%s"><Data ss:Type="Number">0</Data></Cell>' % escape(c[0], {'"': '&quot;'}))
        elif isinstance(c, (int, float)):
            out.append('<Cell><Data ss:Type="Number">%s</Data></Cell>' % c)
        else:
            out.append('<Cell><Data ss:Type="String">%s</Data></Cell>' % escape(c))
    return "<Row>%s</Row>" % "".join(out)


def main(path):
    sheets = []
    sheets.append('<Worksheet ss:Name="Instructions"><Table>%s</Table></Worksheet>'
                  % "".join(row([line]) for line in INSTRUCTIONS))
    ratio = [row(["Locus", "Normal allele 1", "Normal allele 2", "Tumour allele 1",
                  "Tumour allele 2", "LOH ratio"])]
    ratio.append(row(["D3S1358", 3000, 2900, 3100, 1200, ("=IF(RC[-2]*RC[-3]=0,\"\",(RC[-1]/RC[-2])/(RC[-3]/RC[-4]))",)]))
    sheets.append('<Worksheet ss:Name="Ratio"><Table>%s</Table></Worksheet>' % "".join(ratio))
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write('<?xml version="1.0"?>\n<?mso-application progid="Excel.Sheet"?>\n')
        f.write('<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet" '
                'xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet">\n')
        f.write("\n".join(sheets))
        f.write("\n</Workbook>\n")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
