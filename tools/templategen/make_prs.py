#!/usr/bin/env python3
"""Writes data/LNTR.PRS, the report templates the printers use, from one set of building blocks so
that the eight documents share their page, header, party blocks and foot.

Run from the repository's root: python3 tools/templategen/make_prs.py
Units are hundredths of an inch; an A4 page is 826 x 1169, the margins below leave 726 x 1084.

The templates are laid out on a character grid of 17 characters and 6 lines per inch as well, for
text-only printers and the text export: texts that share a row keep apart by columns, and texts whose
columns meet are at least one row (17) apart. check_grid() refuses a layout that breaks this.
"""
import pathlib

WIDTH = 726  # printable width
FONT = "Arial"
BLACK, NAVY, GREY, SILVER, WHITE = 0, 4, 7, 8, 15
BOLD, ITALIC = 1, 2
LEFT, RIGHT, CENTRE = 0, 1, 2
MULTI, GROW = 16, 64
KEEP_PICTURE = 16 | 32  # stretch into the box, keep the aspect ratio

HEADER = [
    'I,1,4,39,122',
    'I,2,0,826,1169,50,50,45,40,1,0',
]
ROW = 17  # one row of the character grid, rounded up: 6 lines per inch
CPI = 17  # characters per inch of the character grid


def q(text):
    return '"' + text.replace('"', '""') + '"'


class Doc:
    def __init__(self, description):
        self.description = description
        self.sections = {}  # index -> (visible, height, options)
        self.lines = {tag: [] for tag in "ZHTKP"}
        self.functions = []
        self.texts = {}  # tag -> (kind, x, y, w, text, size) of every text element, for check_grid()

    def section(self, tag, height, options=0, visible=1):
        self.sections["ZHTKP".index(tag)] = (visible, height, options)

    def _text_kind(self, tag, kind, ref, x, y, w, h, text="", size=9, style=0, align=LEFT, color=BLACK,
                   frame=0):
        self.texts.setdefault(tag, []).append((kind, x, y, w, text, size))
        self.lines[tag].append(
            f'{tag},{kind},{ref},{x},{y},{w},{h},{FONT},{size},{color},{style},{align},{frame},0,{q(text)},0,0,0')

    def text(self, tag, x, y, w, h, text, **kw):
        self._text_kind(tag, 1, 0, x, y, w, h, text, **kw)

    def field(self, tag, name, x, y, w, h, **kw):
        self._text_kind(tag, 2, name, x, y, w, h, **kw)

    def param(self, tag, index, x, y, w, h, **kw):
        self._text_kind(tag, 4, index, x, y, w, h, **kw)

    def variable(self, tag, number, pattern, x, y, w, h, **kw):
        self._text_kind(tag, 5, number, x, y, w, h, pattern, **kw)

    def function(self, tag, name, x, y, w, h, **kw):
        self._text_kind(tag, 6, name, x, y, w, h, **kw)

    def define(self, name, description, expression, value_type=1, width=60, decimals=0):
        index = len(self.functions)
        self.functions.append(
            f'F,{index},{name},{q(description)},{value_type},"",0,{q(expression)},0,{width},{decimals},2')

    def line(self, tag, x, y, w, pen=1, color=BLACK):
        self.lines[tag].append(f'{tag},7,0,{x},{y},{w},{max(pen, 1)},,{pen},{color},0,0,{WHITE},1')

    def box(self, tag, x, y, w, h, pen=1, color=SILVER):
        self.lines[tag].append(f'{tag},8,0,{x},{y},{w},{h},,{pen},{color},0,0,{WHITE},1')

    def picture(self, tag, name, x, y, w, h):
        self.lines[tag].append(f'{tag},11,0,{x},{y},{w},{h},,0,{WHITE},5,{KEEP_PICTURE},{WHITE},1,{q(name)}')

    def render(self):
        out = [f'I,0,{q(self.description)}'] + HEADER
        for index in range(5):
            visible, height, options = self.sections.get(index, (0, 0, 0))
            out.append(f'I,3,{index},{visible},{height},{options}')
        out += ['I,5,0', 'I,6,1,8,8,0,2,0,0', 'I,7,0,0,0,0,0,0,0,""']
        out += self.functions
        for tag in "ZHTKP":
            out += self.lines[tag]
        return out


# ---- shared blocks ---------------------------------------------------------------------------------

def brand_header(doc, title, number_label, number_field, date_label, date_field):
    """Logo and the supplier's name at the left, the document's title, number and date at the right;
    a navy rule under it. Takes 90 units of the report start."""
    doc.picture('Z', 'LOGO', 0, 0, 170, 62)
    doc.field('Z', 'SupplierCaption', 0, 68, 400, 16, size=10, style=BOLD, color=NAVY)
    doc.text('Z', 376, 0, 350, 34, title, size=20, style=BOLD, align=RIGHT, color=NAVY)
    if number_field:
        doc.text('Z', 426, 36, 150, 15, number_label, size=9, align=RIGHT, color=GREY)
        doc.field('Z', number_field, 580, 36, 146, 15, size=9, style=BOLD, align=RIGHT)
    if date_field:
        doc.text('Z', 426, 53, 150, 15, date_label, size=9, align=RIGHT, color=GREY)
        doc.field('Z', date_field, 580, 53, 146, 15, size=9, align=RIGHT)
    doc.line('Z', 0, 88, WIDTH, pen=2, color=NAVY)


def party(doc, tag, heading, prefix, x, y, w, supplier):
    """An address block in a thin frame: heading, name, street, town and the contact lines."""
    rows = [('', 'Street'), ('', None), ('Reg. No.', 'INO'), ('VAT No.', 'TIN'), ('Contact', 'Person'),
            ('Phone', 'Phone'), ('E-mail', 'Email')]
    if supplier:
        rows.append(('Web', 'WWW'))
    height = 40 + ROW * len(rows) + 4
    doc.box(tag, x, y, w, height)
    doc.text(tag, x + 10, y + 4, w - 20, 12, heading.upper(), size=7, style=BOLD, color=GREY)
    doc.field(tag, prefix + 'Caption', x + 10, y + 21, w - 20, 18, size=11, style=BOLD)
    row_y = y + 40
    for label, name in rows:
        if name is None:  # ZIP and town on one line
            doc.field(tag, prefix + 'ZIP', x + 10, row_y, 60, 14)
            doc.field(tag, prefix + 'Town', x + 72, row_y, w - 82, 14)
        elif label:
            doc.text(tag, x + 10, row_y, 70, 14, label, size=8, color=GREY)
            doc.field(tag, prefix + name, x + 82, row_y, w - 92, 14)
        else:
            doc.field(tag, prefix + name, x + 10, row_y, w - 20, 14)
        row_y += ROW
    return y + height


def parties(doc, y, customer=True):
    half = (WIDTH - 20) // 2
    bottom = party(doc, 'Z', 'Supplier', 'Supplier', 0, y, half, True)
    if customer:
        party(doc, 'Z', 'Customer', 'Customer', half + 20, y, half, False)
    return bottom


def columns_row(doc, tag, y, columns):
    """Column headings with a navy rule under them; columns are (x, width, text, alignment)."""
    for x, w, text, align in columns:
        doc.text(tag, x + 4, y, w - 8, 14, text, size=8, style=BOLD, align=align, color=NAVY)
    doc.line(tag, 0, y + 17, WIDTH, pen=2, color=NAVY)


def page_head(doc, title, field, columns=None):
    """From the second page on: the supplier, the document and its number, and the column headings."""
    doc.field('H', 'SupplierCaption' if 'Supplier' in doc.available else 'OrderCaption', 0, 0, 360, 15,
              size=8, style=BOLD, color=NAVY)
    doc.text('H', 380, 0, 200, 15, title, size=8, align=RIGHT, color=GREY)
    doc.field('H', field, 584, 0, 142, 15, size=8, style=BOLD, align=RIGHT)
    height = 22
    if columns:
        columns_row(doc, 'H', 22, columns)
        height = 44
    else:
        doc.line('H', 0, 18, WIDTH, pen=1, color=SILVER)
    doc.section('H', height, options=1)


def page_foot(doc):
    """Rule, program and version, print date, page n of N."""
    doc.define('Program', 'Program and version', "'Prepared with ' + &1 + ' ' + &2")
    doc.line('P', 0, 6, WIDTH, pen=1, color=SILVER)
    doc.function('P', 'Program', 0, 12, 290, 13, size=7, color=GREY)
    doc.text('P', 310, 12, 60, 13, 'Printed', size=7, color=GREY)
    doc.variable('P', 0, '', 360, 12, 100, 13, size=7, color=GREY)
    doc.variable('P', 3, 'Page %d of', 630, 12, 70, 13, size=7, align=RIGHT, color=GREY)
    doc.variable('P', 4, '%d', 703, 12, 23, 13, size=7, color=GREY)
    doc.section('P', 30)


# Flags and codes read as words: a function per field turns the stored number into text.
YES_NO = "IIF(#{0} > 0, 'Yes', 'No')"
VAT_MODE = "IIF(#{0} > 0, 'excl. VAT', 'incl. VAT')"
GRAIN = "IIF(#{0} = 1, 'along X', IIF(#{0} = 2, 'along Y', 'any'))"


def worded(doc, tag, field, expression, x, y, w, h, **kw):
    name = field + 'Text'
    if not any(f',{name},' in line for line in doc.functions):
        doc.define(name, field + ' in words', expression.format(field), 1, 20)
    doc.function(tag, name, x, y, w, h, **kw)


def area_label(doc, tag, x, y, w, label, name, **kw):
    """A label naming the area unit ("{area}" in it): m2, or ft2 under U.S. units, from the data."""
    before, after = label.split('{area}')
    doc.define(name, label.replace('{area}', 'area unit'), f"'{before}' + #AreaUnit + '{after}'")
    doc.function(tag, name, x, y, w, 15, **kw)


def labelled(doc, tag, x, y, label, field, label_w=150, value_w=180, style=0, align=LEFT, words=None):
    if '{area}' in label:
        area_label(doc, tag, x, y, label_w, label, 'Label' + field, size=9, color=GREY)
    else:
        doc.text(tag, x, y, label_w, 15, label, size=9, color=GREY)
    if words:
        worded(doc, tag, field, words, x + label_w + 4, y, value_w, 15, size=9, style=style, align=align)
    else:
        doc.field(tag, field, x + label_w + 4, y, value_w, 15, size=9, style=style, align=align)


# ---- the order --------------------------------------------------------------------------------------

def order(section, vat):
    """vat: 'with' (prices incl. VAT), 'without' (excl. VAT) or None (a supplier without VAT)."""
    doc = Doc('Order')
    doc.available = {'Supplier'}
    brand_header(doc, 'ORDER', 'Reference', 'Caption', 'Date', 'DateCreate')
    y = parties(doc, 100) + 18
    price = {'with': 'Price incl. VAT', 'without': 'Price excl. VAT', None: 'Unit price'}[vat]
    total = {'with': 'Total incl. VAT', 'without': 'Total excl. VAT', None: 'Total'}[vat]
    if vat:
        cols = [(0, 300, 'Item', LEFT), (300, 80, 'Quantity', RIGHT), (380, 56, 'Unit', LEFT),
                (436, 110, price, RIGHT), (546, 60, 'VAT %', RIGHT), (606, 120, total, RIGHT)]
    else:
        cols = [(0, 330, 'Item', LEFT), (330, 90, 'Quantity', RIGHT), (420, 66, 'Unit', LEFT),
                (486, 110, price, RIGHT), (596, 130, total, RIGHT)]
    columns_row(doc, 'Z', y, cols)
    doc.section('Z', y + 22)
    page_head(doc, 'Order', 'Caption', cols)

    names = ['ItemCaption', 'ItemAmount', 'ItemMU', 'ItemPrice'] + (['ItemVATRate'] if vat else []) + \
        ['ItemPriceTotal']
    for (x, w, _, align), name in zip(cols, names):
        kw = dict(align=align)
        if name == 'ItemCaption':
            kw['align'] = LEFT | MULTI | GROW
        doc.field('T', name, x + 4, 4, w - 8, 15, **kw)
    doc.line('T', 0, 22, WIDTH, pen=1, color=SILVER)
    doc.section('T', 23)

    # Totals at the right, then the notes.
    x = 376
    if vat:
        doc.text('K', x, 12, 200, 16, 'Total excl. VAT', size=9, color=GREY)
        doc.field('K', 'PriceTotalwoVAT', x + 200, 12, 150, 16, size=9, align=RIGHT)
        doc.line('K', x, 34, 350, pen=2, color=NAVY)
        doc.text('K', x, 40, 200, 20, 'Total incl. VAT', size=11, style=BOLD)
        doc.field('K', 'PriceTotalwVAT', x + 180, 40, 170, 20, size=11, style=BOLD, align=RIGHT)
        notes_y = 76
    else:
        doc.line('K', x, 12, 350, pen=2, color=NAVY)
        doc.text('K', x, 18, 200, 20, 'Total', size=11, style=BOLD)
        doc.field('K', 'PriceTotalwVAT', x + 180, 18, 170, 20, size=11, style=BOLD, align=RIGHT)
        doc.text('K', 0, 50, WIDTH, 14, 'The supplier is not registered for VAT; the prices carry no VAT.',
                 size=8, style=ITALIC, color=GREY)
        notes_y = 74
    doc.field('K', 'Note1', 0, notes_y, WIDTH, 15, align=LEFT | MULTI | GROW)
    doc.field('K', 'Note2', 0, notes_y + 22, WIDTH, 15, align=LEFT | MULTI | GROW)
    doc.field('K', 'SupplierNote', 0, notes_y + 48, WIDTH, 14, size=8, color=GREY, align=LEFT | MULTI | GROW)
    doc.section('K', notes_y + 66)
    page_foot(doc)
    return section, doc


# ---- the parts list ---------------------------------------------------------------------------------

def parts():
    doc = Doc('Parts list')
    doc.available = {'Supplier'}
    brand_header(doc, 'PARTS LIST', 'Order', 'Caption', 'Date', 'DateCreate')
    y = 100
    doc.text('Z', 0, y, 90, 15, 'Customer', size=9, color=GREY)
    doc.field('Z', 'CustomerCaption', 94, y, 300, 15, size=9, style=BOLD)
    doc.text('Z', 0, y + 18, 90, 15, 'Material', size=9, color=GREY)
    doc.field('Z', 'MaterialCaption', 94, y + 18, 300, 15, size=9, style=BOLD)
    doc.text('Z', 420, y, 150, 15, 'Cut width', size=9, color=GREY)
    doc.field('Z', 'MaterialCutWidth', 574, y, 152, 15, size=9, align=RIGHT)
    area_label(doc, 'Z', 420, y + 18, 150, 'Price/{area} excl. VAT', 'LabelPricewoVAT', size=9, color=GREY)
    doc.field('Z', 'MaterialPricewoVAT', 574, y + 18, 152, 15, size=9, align=RIGHT)
    area_label(doc, 'Z', 420, y + 36, 150, 'Price/{area} incl. VAT', 'LabelPricewVAT', size=9, color=GREY)
    doc.field('Z', 'MaterialPricewVAT', 574, y + 36, 152, 15, size=9, align=RIGHT)
    y += 66
    # The part's number is its ID, the number the cutting-sheet drawings label it with.
    cols = [(0, 40, 'No.', RIGHT), (40, 200, 'Part', LEFT), (240, 86, 'Length X', RIGHT),
            (326, 86, 'Width Y', RIGHT), (412, 50, 'Grain', CENTRE), (462, 56, 'Pieces', RIGHT),
            (518, 100, 'Area each', RIGHT), (618, 108, 'Perimeter each', RIGHT)]
    columns_row(doc, 'Z', y, cols)
    doc.section('Z', y + 22)
    page_head(doc, 'Parts list', 'Caption', cols)
    for (x, w, _, align), name in zip(cols, ['ID', 'PartCaption', 'PartX', 'PartY', 'PartOrientation',
                                             'PartCount', 'PartArea', 'PartCircuit']):
        doc.field('T', name, x + 4, 3, w - 8, 15, align=align, style=BOLD if name == 'ID' else 0)
    doc.line('T', 0, 20, WIDTH, pen=1, color=SILVER)
    doc.section('T', 21)
    doc.define('Pieces', 'Pieces of all parts', '#PartCount', 0, 10, 0)
    doc.functions[-1] = doc.functions[-1].replace(',0,10,0,2', ',2,10,0,2')  # summed over the rows
    doc.line('K', 0, 0, WIDTH, pen=2, color=NAVY)
    doc.field('K', 'PartsValidItemCount', 4, 6, 32, 16, style=BOLD, align=RIGHT)
    doc.text('K', 44, 6, 60, 16, 'parts', size=9, style=BOLD)
    doc.text('K', 330, 6, 120, 16, 'Total pieces', size=9, style=BOLD)
    doc.function('K', 'Pieces', 462 + 4, 6, 48, 16, style=BOLD, align=RIGHT)
    doc.field('K', 'PartsArea', 518 + 4, 6, 92, 16, style=BOLD, align=RIGHT)
    doc.field('K', 'PartsCircuit', 618 + 4, 6, 100, 16, style=BOLD, align=RIGHT)
    doc.text('K', 0, 30, WIDTH, 14, 'Rows: area and perimeter of one piece; totals: of all pieces. '
             'Grain: N any, X along the length, Y along the width.', size=7, style=ITALIC, color=GREY)
    doc.section('K', 50)
    page_foot(doc)
    return 'ReportParts', doc


# ---- the material -----------------------------------------------------------------------------------

def material():
    doc = Doc('Material')
    doc.available = {'Supplier'}
    brand_header(doc, 'MATERIAL', '', None, '', None)
    y = 100
    doc.field('Z', 'Caption', 0, y, WIDTH, 24, size=14, style=BOLD)
    y += 32
    left = [('Cut width', 'CutWidth', None), ('Smallest rest side', 'MinRecyDim', None),
            ('Smallest rest area', 'MinRecyArea', None), ('Grain matters', 'HasOrientation', YES_NO),
            ('Stock', 'Amount', None)]
    right = [('Price/{area} excl. VAT', 'PricewoVAT', None), ('Price/{area} incl. VAT', 'PricewVAT', None),
             ('VAT', 'VATRate', None), ('Stock value', 'TotalPrice', None)]
    for i, (label, name, words) in enumerate(left):
        labelled(doc, 'Z', 0, y + 17 * i, label, name, 130, 200, words=words)
    for i, (label, name, words) in enumerate(right):
        labelled(doc, 'Z', 380, y + 17 * i, label, name, 150, 192, align=RIGHT, words=words)
    y += 17 * len(left) + 6
    doc.field('Z', 'Note', 0, y, WIDTH, 15, align=LEFT | MULTI | GROW, color=GREY)
    y += 26
    cols = [(0, 80, 'Dimension', LEFT), (80, 110, 'Length X', RIGHT), (190, 110, 'Width Y', RIGHT),
            (300, 60, 'Grain', CENTRE), (360, 70, 'Pieces', RIGHT), (450, 276, 'Use', LEFT)]
    columns_row(doc, 'Z', y, cols)
    doc.section('Z', y + 22)
    page_head(doc, 'Material', 'Caption', cols)
    for (x, w, _, align), name in zip(cols, ['DimCaption', 'DimX', 'DimY', 'DimOrientation', 'DimCount',
                                             'DimIsRDPS']):
        doc.field('T', name, x + 4, 3, w - 8, 15, align=align, style=BOLD if name == 'DimCaption' else 0)
    doc.line('T', 0, 20, WIDTH, pen=1, color=SILVER)
    doc.section('T', 21)
    doc.line('K', 0, 0, WIDTH, pen=2, color=NAVY)
    doc.text('K', 0, 8, WIDTH, 14, 'Dimensions marked R are rests returned from earlier cutting; grain N any direction.', size=7,
             style=ITALIC, color=GREY)
    doc.section('K', 28)
    page_foot(doc)
    return 'ReportMaterial', doc


# ---- the calculation --------------------------------------------------------------------------------

def sheets_header(doc, title):
    doc.available = set()
    doc.text('Z', 0, 0, 400, 30, title, size=18, style=BOLD, color=NAVY)
    doc.text('Z', 426, 2, 150, 15, 'Order', size=9, align=RIGHT, color=GREY)
    doc.field('Z', 'OrderCaption', 580, 2, 146, 15, size=9, style=BOLD, align=RIGHT)
    doc.text('Z', 426, 19, 150, 15, 'Date', size=9, align=RIGHT, color=GREY)
    doc.field('Z', 'OrderDateCreate', 580, 19, 146, 15, size=9, align=RIGHT)
    doc.line('Z', 0, 40, WIDTH, pen=2, color=NAVY)
    y = 50
    labelled(doc, 'Z', 0, y, 'Customer', 'CustomerCaption', 90, 260, style=BOLD)
    labelled(doc, 'Z', 0, y + 17, 'Material', 'MaterialCaption', 90, 260, style=BOLD)
    labelled(doc, 'Z', 380, y, 'Gross yield %', 'ExtractBrutto', 130, 212, style=BOLD, align=RIGHT)
    labelled(doc, 'Z', 380, y + 17, 'Net yield %', 'ExtractNetto', 130, 212, style=BOLD, align=RIGHT)
    return y + 40


def sheets_cutting():
    doc = Doc('Cutting sheets')
    y = sheets_header(doc, 'Cutting sheets')
    doc.line('Z', 0, y, WIDTH, pen=1, color=SILVER)
    doc.section('Z', y + 8)
    doc.available = set()
    doc.field('H', 'OrderCaption', 0, 0, 360, 15, size=8, style=BOLD, color=NAVY)
    doc.text('H', 380, 0, 346, 15, 'Cutting sheets', size=8, align=RIGHT, color=GREY)
    doc.line('H', 0, 18, WIDTH, pen=1, color=SILVER)
    doc.section('H', 26, options=1)
    # One strip of drawing per row, as wide as the page.
    doc.picture('T', 'IMAGE', 0, 6, WIDTH, 230)
    doc.line('T', 0, 242, WIDTH, pen=1, color=SILVER)
    doc.section('T', 246)
    doc.section('K', 0, visible=0)
    page_foot(doc)
    return 'ReportSheetsCuttingSheets', doc


def sheets_params():
    doc = Doc('Calculation')
    y = sheets_header(doc, 'Calculation')
    y += 10
    doc.text('Z', 0, y, 300, 16, 'MATERIAL', size=8, style=BOLD, color=NAVY)
    doc.text('Z', 380, y, 300, 16, 'RESULT', size=8, style=BOLD, color=NAVY)
    doc.line('Z', 0, y + 16, 346, pen=1, color=NAVY)
    doc.line('Z', 380, y + 16, 346, pen=1, color=NAVY)
    y += 22
    left = [('Cut width', 'MaterialCutWidth', None), ('Grain matters', 'MaterialHasOrientation', YES_NO),
            ('Smallest rest side', 'MaterialMinRecyDim', None),
            ('Smallest rest area', 'MaterialMinRecyArea', None)]
    right = [('State', 'State', None), ('Parts area', 'PartsInArea', None),
             ('Parts placed', 'PartsInCount', None), ('Unplaced area', 'PartsUnusedArea', None),
             ('Parts not placed', 'PartsUnusedCount', None),
             ('Waste priced into order', 'AddExtractToOrder', YES_NO)]
    for i, (label, name, words) in enumerate(left):
        labelled(doc, 'Z', 0, y + 17 * i, label, name, 140, 200, align=RIGHT, words=words)
    for i, (label, name, words) in enumerate(right):
        labelled(doc, 'Z', 380, y + 17 * i, label, name, 150, 192, align=RIGHT, words=words)
    y += 17 * len(right) + 16
    doc.text('Z', 0, y, 300, 16, 'CALCULATION REPORT', size=8, style=BOLD, color=NAVY)
    doc.line('Z', 0, y + 16, WIDTH, pen=1, color=NAVY)
    doc.field('Z', 'CalculationReport', 0, y + 22, WIDTH, 15, size=8, align=LEFT | MULTI | GROW,
              color=BLACK)
    doc.section('Z', y + 44)
    doc.field('H', 'OrderCaption', 0, 0, 360, 15, size=8, style=BOLD, color=NAVY)
    doc.text('H', 380, 0, 346, 15, 'Calculation', size=8, align=RIGHT, color=GREY)
    doc.line('H', 0, 18, WIDTH, pen=1, color=SILVER)
    doc.section('H', 26, options=1)
    doc.section('T', 0, visible=0)
    doc.section('K', 0, visible=0)
    page_foot(doc)
    return 'ReportSheetsParams', doc


# ---- the settings -----------------------------------------------------------------------------------

def setup():
    doc = Doc('Settings')
    doc.available = {'Supplier'}
    brand_header(doc, 'SETTINGS', '', None, '', None)
    y = parties(doc, 100, customer=False)
    # The supplier's note and logo file beside the address block.
    x = (WIDTH - 20) // 2 + 20
    labelled(doc, 'Z', x, 104, 'Registered for VAT', 'SupplierIsNotVATPayer', 150, 192, align=RIGHT,
             words="IIF(#{0} > 0, 'No', 'Yes')")
    # The heading only when there is a logo file to name.
    doc.define('LogoHeading', 'Logo file heading', "IIF(ALLTRIM(#SupplierLogoFileName) = '', '', 'LOGO FILE')")
    doc.function('Z', 'LogoHeading', x, 138, 346, 12, size=7, style=BOLD, color=GREY)
    doc.field('Z', 'SupplierLogoFileName', x, 155, 346, 30, size=8, align=LEFT | MULTI)
    # The note below the address block: what follows a growing text moves down with it.
    y += 16
    doc.text('Z', 0, y, 300, 16, 'NOTE ON DOCUMENTS', size=8, style=BOLD, color=NAVY)
    doc.line('Z', 0, y + 16, WIDTH, pen=1, color=NAVY)
    doc.field('Z', 'SupplierNote', 0, y + 22, WIDTH, 15, align=LEFT | MULTI | GROW)
    y += 56
    groups = [
        ('MATERIAL DEFAULTS', [('Cut width', 'MaterialCutWidth', None),
                               ('Grain matters', 'MaterialHasOrientation', YES_NO),
                               ('Smallest rest side', 'MaterialMinRecyDim', None),
                               ('Smallest rest area', 'MaterialMinRecyArea', None),
                               ('Price per {area}', 'MaterialPrice', None),
                               ('Prices', 'MaterialVATMode', VAT_MODE),
                               ('VAT', 'MaterialVATRate', None)]),
        ('ORDERS', [('Next number', 'OrderNumber', None), ('Number prefix', 'OrderPrefix', None),
                    ('Prices', 'OrderVATMode', VAT_MODE),
                    ('Price the parts area', 'OrderAddAutoPartsArea', YES_NO),
                    ('Price the parts perimeter', 'OrderAddAutoPartsCircuit', YES_NO),
                    ('Grain of new parts', 'PartOrientation', GRAIN)]),
        ('VAT RATES %', [('Zero', 'VATZeroValue', None), ('Low', 'VATLowValue', None),
                         ('High', 'VATHighValue', None)]),
        ('CUTTING SHEETS', [('Waste priced into order', 'SheetsAddExtractToOrder', YES_NO),
                            ('Zoom', 'SheetsZoom', None), ('Large font', 'SheetsErlangeFont', YES_NO),
                            ('Captions on parts', 'SheetsShowCaptionsOnParts', YES_NO)]),
    ]
    col_y = [y, y]
    for i, (heading, rows) in enumerate(groups):
        col = i % 2
        x = col * 380
        gy = col_y[col]
        doc.text('Z', x, gy, 300, 16, heading, size=8, style=BOLD, color=NAVY)
        doc.line('Z', x, gy + 16, 346, pen=1, color=NAVY)
        gy += 22
        for label, name, words in rows:
            labelled(doc, 'Z', x, gy, label, name, 170, 172, align=RIGHT, words=words)
            gy += 17
        col_y[col] = gy + 14
    y = max(col_y)
    doc.text('Z', 0, y, 300, 16, 'DEFAULT ORDER NOTES', size=8, style=BOLD, color=NAVY)
    doc.line('Z', 0, y + 16, WIDTH, pen=1, color=NAVY)
    doc.field('Z', 'OrderNote1', 0, y + 22, WIDTH, 15, align=LEFT | MULTI | GROW)
    doc.field('Z', 'OrderNote2', 0, y + 42, WIDTH, 15, align=LEFT | MULTI | GROW)
    doc.section('Z', y + 62)
    doc.field('H', 'SupplierCaption', 0, 0, 360, 15, size=8, style=BOLD, color=NAVY)
    doc.text('H', 380, 0, 346, 15, 'Settings', size=8, align=RIGHT, color=GREY)
    doc.line('H', 0, 18, WIDTH, pen=1, color=SILVER)
    doc.section('H', 26, options=1)
    doc.section('T', 0, visible=0)
    doc.section('K', 0, visible=0)
    page_foot(doc)
    return 'ReportSetup', doc


def column(x):
    return x * CPI // 100


def check_grid(name, doc):
    """Every text of a section on the character grid in a cell of its own, whatever y the section
    starts at: texts whose columns meet are a row apart, and the last one a row above the section's
    end. A fixed text takes as many columns as it has characters and must fit its box."""
    problems = []
    for tag, texts in doc.texts.items():
        height = doc.sections["ZHTKP".index(tag)][1]
        spans = []
        for kind, x, y, w, text, size in texts:
            start, end = column(x), column(x + w)
            if kind == 1:
                if len(text) > end - start:
                    problems.append(f'{tag} "{text}": {len(text)} characters in {end - start} columns')
                end = start + len(text)
            if y + ROW > height:
                problems.append(f'{tag} at y {y}: less than a row above the end of the section ({height})')
            spans.append((start, end, y, text))
        for i, (s1, e1, y1, t1) in enumerate(spans):
            for s2, e2, y2, t2 in spans[i + 1:]:
                if s1 < e2 and s2 < e1 and abs(y1 - y2) < ROW:
                    problems.append(f'{tag} "{t1}" at {y1} and "{t2}" at {y2} share a row')
    if problems:
        raise SystemExit(f'{name}: ' + '; '.join(problems))


def main():
    documents = [order('ReportOrder', None), order('ReportOrderwoVAT', 'without'),
                 order('ReportOrderwVAT', 'with'), parts(), material(), sheets_cutting(), sheets_params(),
                 setup()]
    out = ['; Report templates of the printed documents, one section per document. Written by',
           '; tools/templategen/make_prs.py; the report designer saves its changes here as well.', '']
    for name, doc in documents:
        check_grid(name, doc)
        out.append(f'[{name}]')
        out += doc.render()
        out.append('')
    target = pathlib.Path(__file__).resolve().parents[2] / 'data' / 'LNTR.PRS'
    target.write_text('\r\n'.join(out), encoding='utf-8')
    print(target)


if __name__ == '__main__':
    main()
