#!/usr/bin/env python3
"""Adds the game dialogs' sections to the dialog skin beside the program:
OUT/Mardavel.thm gets "QVDLG_SavePrompt" (the save prompt's three buttons) and
"QVDLG_setup" (the setup dialog's two buttons and six pickers), and
OUT/Theme/dlgpick.bmp the pickers' small face (four cells of 24 x 18: normal,
hover, pressed, disabled, with "..." drawn on each).

The skin ini is the kit's (its default look, written first); these sections
are merged into it, replacing only sections of the same names, so the kit's
and the table's sections stay as they are."""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "kit", "art"))
from bmp24 import write_bmp  # noqa: E402


def picker_face(x, y):
    faces = [(70, 110, 180), (100, 150, 220), (50, 80, 140), (130, 130, 130)]
    cell, cx = divmod(x, 24)
    if cx == 0 or cx == 23 or y == 0 or y == 17:
        return (20, 30, 60)
    # three dots in the middle row
    if y in (11, 12) and cx in (7, 8, 11, 12, 15, 16):
        return (255, 255, 255) if cell != 3 else (180, 180, 180)
    return faces[cell]


SECTIONS = {
    "QVDLG_SavePrompt": ["IDOK=dlgbutton.bmp", "IDCANCEL=dlgbutton.bmp", "IDC_SETQUIT=dlgbutton.bmp"],
    "QVDLG_setup": ["IDOK=dlgbutton.bmp", "IDCANCEL=dlgbutton.bmp", "IDC_BKCOLOR=dlgpick.bmp",
                    "IDC_BKBMP=dlgpick.bmp", "IDC_MUSIC=dlgpick.bmp"],
}
MARK = "; The game dialogs' sections."


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    theme = os.path.join(out, "Theme")
    os.makedirs(theme, exist_ok=True)
    write_bmp(os.path.join(theme, "dlgpick.bmp"), 4 * 24, 18, picker_face)
    path = os.path.join(out, "Mardavel.thm")
    kept = []
    if os.path.exists(path):
        with open(path, "rb") as f:
            skip = False
            for line in f.read().decode("ascii").splitlines():
                stripped = line.strip()
                if stripped.startswith("[") and stripped.endswith("]"):
                    skip = stripped[1:-1] in SECTIONS
                if not skip and stripped != MARK:
                    kept.append(line)
    while kept and kept[-1].strip() == "":
        kept.pop()
    ini = kept + ["", MARK]
    for section, lines in SECTIONS.items():
        ini += ["[%s]" % section] + lines + [""]
    tmp = path + ".gamedlg.tmp"
    with open(tmp, "wb") as f:
        f.write("\r\n".join(ini).encode("ascii"))
    os.replace(tmp, path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
