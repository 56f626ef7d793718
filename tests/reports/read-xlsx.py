# Prints every cell of a workbook as tab-separated fields, read with openpyxl:
#   C  sheet  row  column  type  value  number_format  bold
#   S  sheet  frozen_cell  width_of_column_B
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    print("S", sheet.title, sheet.freeze_panes, sheet.column_dimensions["B"].width, sep="\t")
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            kind = "n" if isinstance(cell.value, (int, float)) else "s"
            value = repr(float(cell.value)) if kind == "n" else str(cell.value)
            print("C", sheet.title, cell.row, cell.column, kind, value, cell.number_format,
                  int(bool(cell.font.b)), sep="\t")
