#!/usr/bin/env python3
"""Adds the workstation's ReportTemplates folder to LibreOffice's trusted
locations for macros, so that Calc runs the LOH workbook's own script when it
opens the workbook, without a macro-security question, at every security
level. Other trusted locations and settings of the profile are kept.

Usage: trust-loh-templates.py FOLDER [--profile DIR]

DIR is the LibreOffice user installation (the folder holding user/); it
defaults to the user's own, ~/.config/libreoffice/4. Run it while Calc is
closed: a running Calc writes back its own settings when it quits.
"""
import argparse
import os
import pathlib
import sys
import xml.etree.ElementTree as ET

OOR = "http://openoffice.org/2001/registry"
XS = "http://www.w3.org/2001/XMLSchema"
XSI = "http://www.w3.org/2001/XMLSchema-instance"
PATH = "/org.openoffice.Office.Common/Security/Scripting"
PROP = "SecureURL"


def trusted_item(root):
    for item in root.findall("item"):
        if item.get("{%s}path" % OOR) == PATH:
            prop = item.find("prop")
            if prop is not None and prop.get("{%s}name" % OOR) == PROP:
                return item
    return None


def trust(folder, profile):
    url = pathlib.Path(os.path.abspath(folder)).as_uri()
    settings = os.path.join(profile, "user", "registrymodifications.xcu")
    for prefix, uri in (("oor", OOR), ("xs", XS), ("xsi", XSI)):
        ET.register_namespace(prefix, uri)
    if os.path.exists(settings):
        tree = ET.parse(settings)
        root = tree.getroot()
    else:
        root = ET.Element("{%s}items" % OOR)
        tree = ET.ElementTree(root)
    item = trusted_item(root)
    if item is None:
        item = ET.SubElement(root, "item", {"{%s}path" % OOR: PATH})
        prop = ET.SubElement(item, "prop", {"{%s}name" % OOR: PROP, "{%s}op" % OOR: "fuse"})
        ET.SubElement(prop, "value")
    value = item.find("prop").find("value")
    if value is None:
        value = ET.SubElement(item.find("prop"), "value")
    urls = [it.text for it in value.findall("it")]
    if url not in urls:
        ET.SubElement(value, "it").text = url
    os.makedirs(os.path.dirname(settings), exist_ok=True)
    tmp = settings + ".part"
    tree.write(tmp, encoding="UTF-8", xml_declaration=True)
    os.replace(tmp, settings)
    return url


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder")
    parser.add_argument("--profile", default=os.path.expanduser("~/.config/libreoffice/4"))
    args = parser.parse_args()
    if not os.path.isdir(args.folder):
        sys.exit("trust-loh-templates.py: no folder %s" % args.folder)
    print("LibreOffice trusts macros in %s" % trust(args.folder, args.profile))


if __name__ == "__main__":
    main()
