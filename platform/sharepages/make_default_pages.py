#!/usr/bin/env python3
"""Writes the platform's default advert pages into OUT, the shared folder
(the program's folder in a development run): the pages an advert area falls
back to when its own page is missing.

  default_hzh.htm   areas 1003 and 1009
  warning60.htm     area 1004
  exitad.htm        area 1006
  exdlgad.htm       area 1007
  gg.htm            every other area

Each is a small HTML page in code page 936 with a title and one line of
text; the advert control shows it in its area."""

import os
import sys

PAGES = [
    ("default_hzh.htm", "Mardavel", "欢迎来到五人纸牌游戏大厅。"),
    ("warning60.htm", "健康游戏", "您已连续游戏较长时间，请适当休息。"),
    ("exitad.htm", "再见", "感谢您的光临，欢迎下次再来。"),
    ("exdlgad.htm", "提示", "更多精彩活动，请访问游戏大厅。"),
    ("gg.htm", "公告", "五人纸牌游戏：四副牌，五个座位。"),
]

TEMPLATE = """<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=gb2312">
<title>{title}</title>
</head>
<body style="margin:4px;font-size:12px">
<b>{title}</b> {text}
</body>
</html>
"""


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_default_pages.py OUT_FOLDER")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, title, text in PAGES:
        data = TEMPLATE.format(title=title, text=text).replace("\n", "\r\n").encode("gbk")
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
