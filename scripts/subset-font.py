#!/usr/bin/python3
"""Writes the part of a font that the web site needs: the glyphs of the given characters, with
their outlines and advances unchanged, and without hinting or layout tables (the program reads
unhinted outlines through FreeType and lays text out by advances alone). The copyright and licence
entries of the font's name table stay. A font under a Reserved Font Name (SIL OFL 1.1) must not keep
that name once modified, so with FAMILY the subset is renamed.

Usage: subset-font.py IN OUT UNICODES [FAMILY]
  UNICODES: hexadecimal code points and ranges, e.g. 0000-007F,20AC
Runs on Debian's python3 with python3-fonttools.
"""
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def code_points(text):
    points = set()
    for item in text.split(','):
        first, _, last = item.partition('-')
        points.update(range(int(first, 16), int(last or first, 16) + 1))
    return points


def rename(font, family):
    style = font['name'].getDebugName(2) or 'Regular'
    full = family if style == 'Regular' else f'{family} {style}'
    postscript = f"{family.replace(' ', '')}-{style.replace(' ', '')}"
    names = {1: family, 3: f'{postscript}; subset', 4: full, 6: postscript, 16: family, 17: style}
    table = font['name']
    for record in list(table.names):
        if record.nameID in names:
            table.setName(names[record.nameID], record.nameID, record.platformID, record.platEncID, record.langID)
    if 'CFF ' in font:
        cff = font['CFF '].cff
        cff.fontNames = [postscript]
        top = cff.topDictIndex[0]
        top.FamilyName, top.FullName = family, full


def main(argv):
    if len(argv) not in (4, 5):
        sys.exit(__doc__)
    source, target, unicodes = argv[1:4]
    options = subset.Options()
    options.hinting = False
    options.notdef_outline = True
    options.layout_features = []
    options.drop_tables += ['FFTM']  # the font editor's timestamps
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.name_legacy = True
    font = TTFont(source)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=code_points(unicodes))
    subsetter.subset(font)
    if len(argv) == 5:
        rename(font, argv[4])
    font.save(target)


if __name__ == '__main__':
    main(sys.argv)
