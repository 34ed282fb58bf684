#!/usr/bin/python3
"""The reference: the same A4 album workbook built with openpyxl and Pillow.

Every photo is opened with draft() (the JPEG decoder's own downscaling), resized to the frame at
220 dpi (1088x793), encoded at quality 85 and anchored in its frame; eight lines beside it.
Usage: reference_album.py TEMPLATE.xlsx ALBUM.dat OUT.xlsx
"""
import io
import json
import sys

import openpyxl
from openpyxl.drawing.image import Image as SheetImage
from PIL import Image

FRAME = (1088, 793)
BLOCK_ROWS, BAND_ROWS = 45, 15


def album_rows(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    for row in data["rows"]:
        cells = row["cells"]
        yield cells.get("2", ""), cells.get("4", "")


def main(template, album, out):
    book = openpyxl.load_workbook(template)
    sheet = book["写真帳A4"]
    for other in [s for s in book.sheetnames if s != "写真帳A4"]:
        del book[other]
    for i, (info, path) in enumerate(album_rows(album)):
        page, band = divmod(i, 3)
        first = BLOCK_ROWS * page + BAND_ROWS * band + 3
        for g, line in enumerate(info.split("\r\n")[:8]):
            sheet.cell(row=first + g, column=5, value=line)
        photo = Image.open(path)
        photo.draft("RGB", FRAME)
        photo = photo.convert("RGB").resize(FRAME)
        encoded = io.BytesIO()
        photo.save(encoded, "JPEG", quality=85)
        picture = SheetImage(encoded)
        picture.width, picture.height = 475, 346
        sheet.add_image(picture, f"B{BLOCK_ROWS * page + BAND_ROWS * band + 2}")
    book.save(out)


if __name__ == "__main__":
    main(*sys.argv[1:4])
