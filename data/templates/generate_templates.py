#!/usr/bin/env python3
"""Writes the print templates as unpacked Office Open XML folders next to this script.

Each template is a folder "<名称>.docx/" or "<名称>.xlsx/" holding its parts as text, so that
changes can be reviewed; the database builder zips a folder into the stored template.
Run it again after changing a layout here: python3 data/templates/generate_templates.py
"""

import os
import shutil
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))

# A4 portrait in twentieths of a point, with the margins of the personal information form; the
# main achievements document uses the same page so that its four pages fit the printed form.
PAGE_WIDTH = 11906
PAGE_HEIGHT = 16838
MARGIN_TOP = 1440
MARGIN_BOTTOM = 1440
MARGIN_LEFT = 1588
MARGIN_RIGHT = 1588
TEXT_WIDTH = PAGE_WIDTH - MARGIN_LEFT - MARGIN_RIGHT

FONT = "宋体"
HEADING_FONT = "黑体"

# Half-point sizes of the Chinese size names.
SIZE_ER = 44       # 二号
SIZE_XIAO_ER = 36  # 小二
SIZE_SAN = 32      # 三号
SIZE_SI = 28       # 四号
SIZE_XIAO_SI = 24  # 小四
SIZE_WU = 21       # 五号

DECLARATION = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
W_NS = ('xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
        'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"')


# --- WordprocessingML building blocks ---------------------------------------------------------

def run(text, bold=False, size=None, font=None, underline=False):
    props = ""
    if font:
        props += f'<w:rFonts w:ascii="{font}" w:hAnsi="{font}" w:eastAsia="{font}"/>'
    if bold:
        props += "<w:b/>"
    if size:
        props += f'<w:sz w:val="{size}"/><w:szCs w:val="{size}"/>'
    if underline:
        props += '<w:u w:val="single"/>'  # after the size: Word wants schema order
    props = f"<w:rPr>{props}</w:rPr>" if props else ""
    return f'<w:r>{props}<w:t xml:space="preserve">{escape(text)}</w:t></w:r>'


def bookmark(name, ident):
    return f'<w:bookmarkStart w:id="{ident}" w:name="{escape(name)}"/><w:bookmarkEnd w:id="{ident}"/>'


def para(content="", align=None, style=None, before=None, after=None, line=None, exact=False,
         indent_first=None, keep_next=False, page_break_before=False, size=None):
    """content: text (one run) or ready-made run XML (starting with '<')."""
    props = ""
    if style:
        props += f'<w:pStyle w:val="{style}"/>'
    if keep_next:
        props += "<w:keepNext/>"
    if page_break_before:
        props += "<w:pageBreakBefore/>"
    spacing = ""
    if before is not None:
        spacing += f' w:before="{before}"'
    if after is not None:
        spacing += f' w:after="{after}"'
    if line is not None:
        spacing += f' w:line="{line}" w:lineRule="{"exact" if exact else "auto"}"'
    if spacing:
        props += f"<w:spacing{spacing}/>"
    if indent_first is not None:
        props += f'<w:ind w:firstLineChars="{indent_first}"/>'
    if align:
        props += f'<w:jc w:val="{align}"/>'
    if size:
        props += f'<w:rPr><w:sz w:val="{size}"/><w:szCs w:val="{size}"/></w:rPr>'
    props = f"<w:pPr>{props}</w:pPr>" if props else ""
    body = content if content.startswith("<") else (run(content, size=size) if content else "")
    return f"<w:p>{props}{body}</w:p>"


class Cell:
    def __init__(self, content="", span=1, label=False, align=None, paragraphs=None, height_rule=None,
                 valign="center", shade=False, borders=None, keep_next=False):
        self.keep_next = keep_next  # keeps the row on the page of the row after it
        self.content = content
        self.span = span
        self.label = label
        self.align = align or ("center" if label else "left")
        self.paragraphs = paragraphs
        self.valign = valign
        self.shade = shade
        self.borders = borders


def table(widths, rows, row_heights=None, borders=True, size=SIZE_WU, header_rows=0, cant_split=True):
    grid = "".join(f'<w:gridCol w:w="{w}"/>' for w in widths)
    total = sum(widths)
    border_xml = ""
    if borders:
        border_xml = ("<w:tblBorders>" + "".join(
            f'<w:{side} w:val="single" w:sz="4" w:space="0" w:color="000000"/>'
            for side in ("top", "left", "bottom", "right", "insideH", "insideV")) + "</w:tblBorders>")
    props = (f'<w:tblPr><w:tblW w:w="{total}" w:type="dxa"/><w:jc w:val="center"/>{border_xml}'
             '<w:tblLayout w:type="fixed"/>'
             '<w:tblCellMar><w:left w:w="85" w:type="dxa"/><w:right w:w="85" w:type="dxa"/></w:tblCellMar>'
             '<w:tblLook w:val="0000"/></w:tblPr>')
    out = [f"<w:tbl>{props}<w:tblGrid>{grid}</w:tblGrid>"]
    for r, cells in enumerate(rows):
        height = row_heights[r] if row_heights and r < len(row_heights) else None
        tr_props = ""
        if cant_split:
            tr_props += "<w:cantSplit/>"
        if height:
            rule = "atLeast"
            if isinstance(height, tuple):
                height, rule = height
            tr_props += f'<w:trHeight w:val="{height}" w:hRule="{rule}"/>'
        if r < header_rows:
            tr_props += "<w:tblHeader/>"
        out.append(f"<w:tr><w:trPr>{tr_props}</w:trPr>" if tr_props else "<w:tr>")
        col = 0
        for cell in cells:
            width = sum(widths[col:col + cell.span])
            col += cell.span
            tc = f'<w:tcW w:w="{width}" w:type="dxa"/>'
            if cell.span > 1:
                tc += f'<w:gridSpan w:val="{cell.span}"/>'
            if cell.borders:
                tc += "<w:tcBorders>" + "".join(
                    f'<w:{side} w:val="{val}" w:sz="{6 if val != "nil" else 0}" w:space="0" w:color="000000"/>'
                    if val != "nil" else f'<w:{side} w:val="nil"/>'
                    for side, val in cell.borders) + "</w:tcBorders>"
            if cell.shade:
                tc += '<w:shd w:val="clear" w:color="auto" w:fill="F2F2F2"/>'
            tc += f'<w:vAlign w:val="{cell.valign}"/>'
            if cell.paragraphs is not None:
                paragraphs = "".join(cell.paragraphs)
            else:
                content = cell.content
                if not content.startswith("<"):
                    content = run(content, bold=cell.label, size=size) if content else ""
                paragraphs = para(content, align=cell.align, size=size, keep_next=cell.keep_next)
            out.append(f"<w:tc><w:tcPr>{tc}</w:tcPr>{paragraphs}</w:tc>")
        out.append("</w:tr>")
    out.append("</w:tbl>")
    return "".join(out)


def section_properties():
    return (f'<w:sectPr><w:pgSz w:w="{PAGE_WIDTH}" w:h="{PAGE_HEIGHT}"/>'
            f'<w:pgMar w:top="{MARGIN_TOP}" w:right="{MARGIN_RIGHT}" w:bottom="{MARGIN_BOTTOM}" '
            f'w:left="{MARGIN_LEFT}" w:header="851" w:footer="992" w:gutter="0"/>'
            '<w:cols w:space="425"/><w:docGrid w:type="lines" w:linePitch="312"/></w:sectPr>')


def styles_xml(body_size, body_line=None, exact=False):
    spacing = ""
    if body_line:
        spacing = f'<w:spacing w:line="{body_line}" w:lineRule="{"exact" if exact else "auto"}"/>'
    fonts = f'<w:rFonts w:ascii="{FONT}" w:eastAsia="{FONT}" w:hAnsi="{FONT}" w:cs="Times New Roman"/>'
    return (DECLARATION + f'<w:styles {W_NS}>'
            '<w:docDefaults>'
            f'<w:rPrDefault><w:rPr>{fonts}<w:kern w:val="2"/><w:sz w:val="{body_size}"/><w:szCs w:val="{body_size}"/>'
            '<w:lang w:val="en-US" w:eastAsia="zh-CN" w:bidi="ar-SA"/></w:rPr></w:rPrDefault>'
            f'<w:pPrDefault><w:pPr>{spacing}<w:jc w:val="both"/></w:pPr></w:pPrDefault>'
            '</w:docDefaults>'
            '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:qFormat/>'
            '<w:pPr><w:widowControl w:val="0"/></w:pPr></w:style>'
            '<w:style w:type="paragraph" w:styleId="Title"><w:name w:val="Title"/><w:basedOn w:val="Normal"/>'
            '<w:next w:val="Normal"/><w:qFormat/><w:pPr><w:jc w:val="center"/></w:pPr>'
            f'<w:rPr><w:b/><w:sz w:val="{SIZE_XIAO_ER}"/><w:szCs w:val="{SIZE_XIAO_ER}"/></w:rPr></w:style>'
            '<w:style w:type="paragraph" w:styleId="SectionHeading"><w:name w:val="Section Heading"/>'
            '<w:basedOn w:val="Normal"/><w:next w:val="Normal"/><w:qFormat/>'
            '<w:pPr><w:keepNext/><w:spacing w:before="240" w:after="120"/></w:pPr>'
            f'<w:rPr><w:rFonts w:ascii="{HEADING_FONT}" w:eastAsia="{HEADING_FONT}" w:hAnsi="{HEADING_FONT}"/>'
            f'<w:sz w:val="{SIZE_SI}"/><w:szCs w:val="{SIZE_SI}"/></w:rPr></w:style>'
            '<w:style w:type="character" w:default="1" w:styleId="DefaultParagraphFont">'
            '<w:name w:val="Default Paragraph Font"/><w:uiPriority w:val="1"/><w:semiHidden/></w:style>'
            '<w:style w:type="table" w:default="1" w:styleId="TableNormal"><w:name w:val="Normal Table"/>'
            '<w:semiHidden/><w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar>'
            '<w:top w:w="0" w:type="dxa"/><w:left w:w="108" w:type="dxa"/><w:bottom w:w="0" w:type="dxa"/>'
            '<w:right w:w="108" w:type="dxa"/></w:tblCellMar></w:tblPr></w:style>'
            '</w:styles>')


FONT_TABLE = (DECLARATION + f'<w:fonts {W_NS}>'
              '<w:font w:name="宋体"><w:altName w:val="SimSun"/><w:panose1 w:val="02010600030101010101"/>'
              '<w:charset w:val="86"/><w:family w:val="auto"/><w:pitch w:val="variable"/></w:font>'
              '<w:font w:name="黑体"><w:altName w:val="SimHei"/><w:panose1 w:val="02010609060101010101"/>'
              '<w:charset w:val="86"/><w:family w:val="modern"/><w:pitch w:val="fixed"/></w:font>'
              '<w:font w:name="Times New Roman"><w:panose1 w:val="02020603050405020304"/>'
              '<w:charset w:val="00"/><w:family w:val="roman"/><w:pitch w:val="variable"/></w:font>'
              '</w:fonts>')

SETTINGS = (DECLARATION + f'<w:settings {W_NS}><w:zoom w:percent="100"/>'
            '<w:defaultTabStop w:val="420"/><w:drawingGridVerticalSpacing w:val="156"/>'
            '<w:characterSpacingControl w:val="compressPunctuation"/>'
            '<w:compat><w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/office/word" w:val="15"/></w:compat>'
            '</w:settings>')

DOCX_CONTENT_TYPES = (DECLARATION +
                      '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                      '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                      '<Default Extension="xml" ContentType="application/xml"/>'
                      '<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
                      '<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>'
                      '<Override PartName="/word/settings.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"/>'
                      '<Override PartName="/word/fontTable.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml"/>'
                      '<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>'
                      '</Types>')

PACKAGE_RELS = (DECLARATION +
                '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="{main}"/>'
                '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/>'
                '</Relationships>')

DOCUMENT_RELS = (DECLARATION +
                 '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                 '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>'
                 '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings" Target="settings.xml"/>'
                 '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/fontTable" Target="fontTable.xml"/>'
                 '</Relationships>')


def core_properties(title):
    return (DECLARATION +
            '<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" '
            'xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:dcterms="http://purl.org/dc/terms/" '
            'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">'
            f'<dc:title>{escape(title)}</dc:title><dc:creator>玄圃学苑</dc:creator>'
            '</cp:coreProperties>')


def write_parts(folder, parts):
    path = os.path.join(HERE, folder)
    if os.path.isdir(path):
        shutil.rmtree(path)
    for name, content in parts.items():
        target = os.path.join(path, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8", newline="\n") as f:
            f.write(content)


def write_docx(name, body, body_size=SIZE_XIAO_SI, body_line=None, exact=False):
    document = (DECLARATION + f'<w:document {W_NS}><w:body>{body}{section_properties()}</w:body></w:document>')
    write_parts(name + ".docx", {
        "[Content_Types].xml": DOCX_CONTENT_TYPES,
        "_rels/.rels": PACKAGE_RELS.format(main="word/document.xml"),
        "docProps/core.xml": core_properties(name),
        "word/document.xml": document,
        "word/_rels/document.xml.rels": DOCUMENT_RELS,
        "word/styles.xml": styles_xml(body_size, body_line, exact),
        "word/settings.xml": SETTINGS,
        "word/fontTable.xml": FONT_TABLE,
    })


# --- shared pieces of the forms ---------------------------------------------------------------

ACADEMY = "玄圃学苑"
FORM_TITLE = "玄圃学苑院士候选人提名书"


def title(text, size=SIZE_XIAO_ER, before=0, after=240):
    return para(run(text, bold=True, size=size, font=HEADING_FONT), align="center", before=before, after=after)


def section_heading(text, page_break=False):
    return para(run(text), style="SectionHeading", page_break_before=page_break)


def signature_block(lines):
    return "".join(para(run(line, size=SIZE_XIAO_SI), align="right", before=120) for line in lines)


def opinion_cell_paragraphs(hint, bookmark_name, bookmark_id, signatures, min_lines=14):
    paragraphs = []
    if hint:
        paragraphs.append(para(run(hint, size=SIZE_WU), before=60, after=60))
    paragraphs.append(para(bookmark(bookmark_name, bookmark_id) + "", size=SIZE_XIAO_SI, line=360, indent_first=200))
    paragraphs += [para("", size=SIZE_XIAO_SI)] * min_lines
    paragraphs += [para(run(line, size=SIZE_XIAO_SI), align="right", before=60) for line in signatures]
    return paragraphs


def blank_line_cell(text):
    """A value on an underlined line, as on a cover page."""
    return Cell(text, align="center", borders=[("bottom", "single")])


# --- covers -----------------------------------------------------------------------------------

def cover(name, channel_words, extra_rows):
    widths = [3200, 4800]
    rows = [
        [Cell("候选人姓名：", align="distribute"), blank_line_cell("$候选人$姓名$")],
        [Cell("专业技术职务：", align="distribute"), blank_line_cell("$候选人$技术职务$")],
        [Cell("学科专业：", align="distribute"), blank_line_cell("$候选人$专业专长$")],
        [Cell("拟提名学部：", align="distribute"), blank_line_cell("$候选人$拟提名学部$")],
    ] + extra_rows
    cover_table = table(widths, rows, row_heights=[640] * len(rows), borders=False, size=SIZE_SAN)
    body = (para(run("编号：　　　　　　", size=SIZE_XIAO_SI), align="right")
            + para("", before=800)
            + title(FORM_TITLE, size=SIZE_ER, after=360)
            + para(run(channel_words, size=SIZE_SAN, font=HEADING_FONT), align="center", after=1000)
            + cover_table
            + para("", before=1200)
            + para(run(f"{ACADEMY}制", size=SIZE_SAN), align="center", after=120)
            + para(run("填表日期：        年    月    日", size=SIZE_SAN), align="center"))
    write_docx(name, body, body_size=SIZE_SAN)


def covers():
    academicians = []
    for first in (0, 3):
        names = "".join(
            run(f"$候$院{i}$", size=SIZE_SAN) + (run("　　", size=SIZE_SAN) if i < first + 2 else "")
            for i in range(first, first + 3))
        label = "提名院士：" if first == 0 else ""
        academicians.append([Cell(label, align="distribute"), Cell(names, align="center", borders=[("bottom", "single")])])
    cover("提名书封皮院士", "（院士提名）", academicians)
    cover("提名书封皮特别", "（特别提名小组提名）",
          [[Cell("推荐部门（单位）：", align="distribute"), blank_line_cell("$候选人$推荐部门学术团体$")]])
    cover("提名书封皮苍岳", "（苍岳联合会提名）",
          [[Cell("推荐学术团体：", align="distribute"), blank_line_cell("$候选人$推荐部门学术团体$")]])


# --- personal information -------------------------------------------------------------------

def label(text, span=1, keep_next=False):
    return Cell(text, span=span, label=True, shade=True, keep_next=keep_next)


def title_row(text, columns):
    return [Cell(text, span=columns, label=True, align="left", shade=True, keep_next=True)]


def value(text, span=1, align="left"):
    return Cell(text, span=span, align=align)


def record_table(title, headings, widths, prefix, fields, count):
    """A row set as a table whose own first rows carry the section title and the column headings,
    so that the title never parts from the table and both repeat on a continuation page."""
    rows = [title_row(title, len(widths)), [label(h, keep_next=True) for h in headings]]
    for i in range(count):
        cells = []
        for f in fields:
            centred = f in ("序号", "起止年月", "学位")
            cells.append(value(f"${prefix}${f}{i}$", align="center" if centred else "left"))
        rows.append(cells)
    return table(widths, rows, row_heights=[454, 400] + [454] * count, header_rows=2)


def personal_information():
    w = [1250, 1650, 1150, 1420, 1500, 1760]  # sums to the text width
    basic = [
        [label("姓　　名"), value("$候$姓名$"), label("性　别"), value("$候$性别$", align="center"),
         label("出生日期"), value("$候$出生日期$")],
        [label("民　　族"), value("$候$民族$"), label("党　派"), value("$候$党派$", span=3)],
        [label("出 生 地"), value("$候$出生地$", span=3), label("籍　　贯"), value("$候$籍贯$")],
        [label("证件类型"), value("$候$证件类型$"), label("证件号码"), value("$候$证件号码$", span=3)],
        [label("专业专长"), value("$候$专业专长$", span=3), label("专业技术职务"), value("$候$专业技术职务$")],
        [label("工作单位"), value("$候$工作单位$", span=5)],
        [label("行政职务"), value("$候$行政职务$", span=3), label("单位所属部门"), value("$候$单位所属部门$")],
        [label("单位所在地"), value("$候$单位所在地$", span=3), label("单位电话"), value("$候$单位电话$")],
        [label("通讯地址"), value("$候$单位通讯地址$", span=3), label("邮政编码"), value("$候$单位邮编$")],
        [label("办公电话"), value("$候$单位$"), label("手　机"), value("$候$手机$"), label("住宅电话"), value("$候$住宅电话$")],
        [label("传　　真"), value("$候$传真$", span=3), label("电子信箱"), value("$候$电子信箱$")],
        [label("接受提名"), value("$候$接受提名$", span=3), label("提名渠道"), value("$候$提名渠道$")],
        [label("玄圃学苑提名情况", span=2), value("$侯$玄苑提名历史$", span=4)],
        [label("紫垣学苑提名情况", span=2), value("$侯$紫垣提名历史$", span=4)],
        [label("是否担任领导干部", span=2), value("$候$领导干部$", span=4)],
    ]
    body = [title(FORM_TITLE, size=SIZE_XIAO_ER, after=120),
            para(run("一、候选人基本情况", size=SIZE_SI, font=HEADING_FONT), align="left", after=120),
            table(w, basic, row_heights=[500] * len(basic))]

    body.append(para("", after=120))
    body.append(record_table("二、主要学历（从大学填起，限填6项）", ["起止年月", "学校（院）", "专业", "学位"], [2000, 3230, 2200, 1300],
                             "学", ["起止年月", "学校", "专业", "学位"], 6))
    body.append(para("", after=120))
    body.append(record_table("三、主要经历（限填10项）", ["起止年月", "工作单位", "职务/职称"], [2000, 3930, 2800],
                             "经", ["起止年月", "工作单位", "职务职称"], 10))
    body.append(para("", after=120))
    body.append(record_table("四、主要学术团体兼职（限填6项）", ["起止年月", "学术团体名称", "兼职职务"], [2000, 4430, 2300],
                             "兼", ["起止年月", "团体名称", "兼职职称"], 6))
    body.append(para("", after=120, page_break_before=True))
    body.append(record_table("五、重要科技奖项（限填6项）", ["序号", "奖项基本信息", "本人作用和主要贡献"], [700, 4330, 3700],
                             "科", ["序号", "基本信息", "作用贡献"], 6))
    body.append(para("", after=120))
    body.append(record_table("六、重要发明专利（限填6项）", ["序号", "专利基本信息", "本人作用和主要贡献"], [700, 4330, 3700],
                             "专", ["序号", "基本信息", "作用贡献"], 6))
    body.append(para("", after=120, page_break_before=True))
    body.append(record_table("七、代表性论文、专著（限填10项）", ["序号", "论文、专著基本信息", "本人作用和主要贡献"], [700, 4330, 3700],
                             "论", ["序号", "基本信息", "作用贡献"], 10))
    body.append(para("", after=120))
    body.append(record_table("八、重要科技成果（限填5项）", ["序号", "成果简介", "本人作用和主要贡献"], [700, 4330, 3700],
                             "成", ["序号", "简介", "作用贡献"], 5))

    statements = [
        title_row("九、个人声明", 2),
        [label("对本人既往学风道德情况的声明"), value("$候$学风道德$")],
        [label("在党政机关（包括人大、政协、民主党派、社会团体等）任职情况"), value("$候$机关干部$")],
        [label("在军队系统担任领导干部情况"), value("$候$军队干部$")],
    ]
    body.append(para("", after=120))
    body.append(table([2400, TEXT_WIDTH - 2400], statements, row_heights=[454] + [1200] * 3))
    body.append(para(run("本人承诺以上所填内容真实、准确。", size=SIZE_XIAO_SI), before=240, indent_first=200))
    body.append(signature_block(["候选人签名：　　　　　　　　", "年　　月　　日"]))

    body.append(section_heading("十、主要成就和贡献（限4页，3000字以内）", page_break=True))
    body.append(para(bookmark("主要成就", 0)))
    write_docx("提名书个人信息", "".join(body))


# --- opinions ---------------------------------------------------------------------------------

def opinion_document(name, heading, hint, signatures, extra_before=""):
    rows = [[Cell(paragraphs=opinion_cell_paragraphs(hint, "意见", 0, signatures))]]
    body = (title(FORM_TITLE, size=SIZE_XIAO_ER, after=120)
            + para(run(heading, size=SIZE_SAN, font=HEADING_FONT), align="center", after=240)
            + extra_before
            + table([TEXT_WIDTH], rows, cant_split=False))
    return body


def employer_review():
    hint = ("（候选人人事关系所在单位对候选人政治表现、廉洁自律、道德品行等方面出具意见，并对候选人《提名书》"
            "及附件材料的真实性、准确性以及涉密情况进行审核，限600字以内）")
    rows = [[Cell(paragraphs=opinion_cell_paragraphs(hint, "意见", 0, [], min_lines=12)
                  + [para(run("随提名书报送附件材料共$提$附件$册$提$密级$。", size=SIZE_XIAO_SI), before=120, indent_first=200)]
                  + [para(run(line, size=SIZE_XIAO_SI), align="right", before=120)
                     for line in ["单位负责人签字：　　　　　　　　", "（单位公章）　　　　", "年　　月　　日"]])]]
    body = (title(FORM_TITLE, size=SIZE_XIAO_ER, after=120)
            + para(run("候选人所在单位审核意见", size=SIZE_SAN, font=HEADING_FONT), align="center", after=240)
            + table([TEXT_WIDTH], rows, cant_split=False))
    write_docx("提名书单位审核意见", body)


def academician_opinions():
    widths = [1500, TEXT_WIDTH - 1500]
    rows = [[label("提名院士意见（对被提名人成就、贡献和学风道德的评价，每位院士限600字以内）", span=2)]]
    for slot in range(6):
        # The opinion row keeps to its signature row.
        rows.append([label(f"提名院士意见（{slot + 1}）", keep_next=True),
                     Cell(paragraphs=[para(bookmark(f"院士意见{slot}", slot), size=SIZE_XIAO_SI, line=360, indent_first=200,
                                           keep_next=True)],
                          valign="top")])
        rows.append([label("签　　名"),
                     value("提名院士签名：　　　　　　　　　　　　年　　月　　日", align="right")])
    heights = [560]
    for _ in range(6):
        heights += [2400, 560]
    body = (title(FORM_TITLE, size=SIZE_XIAO_ER, after=120)
            + para(run("提名院士意见", size=SIZE_SAN, font=HEADING_FONT), align="center", after=240)
            + table(widths, rows, row_heights=heights, header_rows=1, cant_split=False))
    write_docx("提名书院士推荐意见", body)


def recommendation_opinions():
    hint = "（对被提名人成就、贡献和学风道德的评价，600字以内）"
    write_docx("提名书部门推荐意见",
               opinion_document("提名书部门推荐意见", "部门（单位）推荐意见", hint,
                                ["负责人签字：　　　　　　　　", "（部门或单位公章）　　　　", "年　　月　　日"]))
    write_docx("提名书学术团体推荐意见",
               opinion_document("提名书学术团体推荐意见", "学术团体推荐意见", hint,
                                ["学术团体负责人签字：　　　　　　　　", "（学术团体公章）　　　　", "年　　月　　日"]))


def selection_opinion(name, heading, committee):
    votes = table([2000, TEXT_WIDTH - 2000], [
        [label("参加投票人数"), value("$遴选$投票人数$")],
        [label("得票情况"), value("$遴选$得票数$")],
    ], row_heights=[500, 900])
    opinion = table([TEXT_WIDTH], [[Cell(paragraphs=opinion_cell_paragraphs(
        f"{committee}意见：", "意见", 0, ["负责人签字：　　　　　　　　", "（公章）　　　　", "年　　月　　日"], min_lines=8))]],
        cant_split=False)
    members = [[label("序号"), label("姓　名"), label("职务/职称"), label("工作单位")]]
    for i in range(20):
        members.append([value(str(i + 1), align="center"), value(f"$遴选$姓名{i}$", align="center"),
                         value(f"$遴选$职务{i}$"), value(f"$遴选$工作单位{i}$")])
    member_table = table([800, 1700, 2300, TEXT_WIDTH - 4800], members, row_heights=[454] * 21, header_rows=1)
    body = (title(FORM_TITLE, size=SIZE_XIAO_ER, after=120)
            + para(run(heading, size=SIZE_SAN, font=HEADING_FONT), align="center", after=240)
            + votes + para("", after=120) + opinion
            + section_heading(f"{committee}成员名单", page_break=True) + member_table)
    write_docx(name, body)


# --- main achievements --------------------------------------------------------------------------

def main_achievements():
    """The starting document of a candidate's main achievements: 宋体 四号 (14 pt), exact 24 pt."""
    line = 480  # exact 24 pt
    def p(text, bold=False, align=None, indent=True):
        return para(run(text, bold=bold, size=SIZE_SI), align=align, line=line, exact=True,
                    indent_first=200 if indent else None, size=SIZE_SI)
    body = "".join([
        p("主要成就和贡献", bold=True, align="center", indent=False),
        p("一、XXXXX", bold=True, indent=False),
        p("（请在此处填写正文。全文限4页，不超过3000字；标题、正文均用宋体四号，标题加粗。）"),
        p("(一)XXXXX", bold=True, indent=False),
        p("正文。"),
        p("1.XXXXXXX", bold=True, indent=False),
        p("正文。"),
        p("（1）XXXXXX", bold=True, indent=False),
        p("正文。"),
    ])
    write_docx("提名书主要成就", body, body_size=SIZE_SI, body_line=line, exact=True)


# --- candidate lists (SpreadsheetML) ------------------------------------------------------------

XLSX_CONTENT_TYPES = (DECLARATION +
                      '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                      '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                      '<Default Extension="xml" ContentType="application/xml"/>'
                      '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
                      '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
                      '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
                      '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
                      '<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>'
                      '</Types>')

S_NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'

# Cell formats: 0 default, 1 title, 2 subtitle, 3 note left, 4 note right, 5 heading, 6 data row,
# 7 data row centred (sex).
XLSX_STYLES = (DECLARATION + f'<styleSheet {S_NS}>'
               '<fonts count="4">'
               '<font><sz val="11"/><name val="宋体"/><family val="3"/><charset val="134"/></font>'
               '<font><b/><sz val="18"/><name val="黑体"/><family val="3"/><charset val="134"/></font>'
               '<font><sz val="12"/><name val="宋体"/><family val="3"/><charset val="134"/></font>'
               '<font><b/><sz val="11"/><name val="宋体"/><family val="3"/><charset val="134"/></font>'
               '</fonts>'
               '<fills count="3"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill>'
               '<fill><patternFill patternType="solid"><fgColor rgb="FFF2F2F2"/><bgColor indexed="64"/></patternFill></fill></fills>'
               '<borders count="2"><border><left/><right/><top/><bottom/><diagonal/></border>'
               '<border><left style="thin"><color indexed="8"/></left><right style="thin"><color indexed="8"/></right>'
               '<top style="thin"><color indexed="8"/></top><bottom style="thin"><color indexed="8"/></bottom><diagonal/></border>'
               '</borders>'
               '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
               '<cellXfs count="8">'
               '<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
               '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1" applyAlignment="1"><alignment horizontal="center" vertical="center"/></xf>'
               '<xf numFmtId="0" fontId="2" fillId="0" borderId="0" xfId="0" applyFont="1" applyAlignment="1"><alignment horizontal="center" vertical="center"/></xf>'
               '<xf numFmtId="0" fontId="2" fillId="0" borderId="0" xfId="0" applyFont="1" applyAlignment="1"><alignment horizontal="left" vertical="center"/></xf>'
               '<xf numFmtId="0" fontId="2" fillId="0" borderId="0" xfId="0" applyFont="1" applyAlignment="1"><alignment horizontal="right" vertical="center"/></xf>'
               '<xf numFmtId="0" fontId="3" fillId="2" borderId="1" xfId="0" applyFont="1" applyFill="1" applyBorder="1" applyAlignment="1"><alignment horizontal="center" vertical="center" wrapText="1"/></xf>'
               '<xf numFmtId="49" fontId="0" fillId="0" borderId="1" xfId="0" applyNumberFormat="1" applyFont="1" applyBorder="1" applyAlignment="1"><alignment horizontal="left" vertical="center" wrapText="1" indent="1"/></xf>'
               '<xf numFmtId="49" fontId="0" fillId="0" borderId="1" xfId="0" applyNumberFormat="1" applyFont="1" applyBorder="1" applyAlignment="1"><alignment horizontal="center" vertical="center" wrapText="1"/></xf>'
               '</cellXfs>'
               '<cellStyles count="1"><cellStyle name="常规" xfId="0" builtinId="0"/></cellStyles>'
               '</styleSheet>')


def list_workbook(name, subtitle, last_heading):
    strings = ["玄圃学苑院士候选人提名名单", subtitle, "提名单位（盖章）：", "填表日期：　　年　　月　　日",
               "姓名", "性别", "专业专长", "技术职称", "拟提名学部", last_heading]
    shared = (DECLARATION + f'<sst {S_NS} count="{len(strings)}" uniqueCount="{len(strings)}">'
              + "".join(f"<si><t>{escape(s)}</t></si>" for s in strings) + "</sst>")

    def cell(ref, style, string=None):
        if string is None:
            return f'<c r="{ref}" s="{style}"/>'
        return f'<c r="{ref}" s="{style}" t="s"><v>{string}</v></c>'

    columns = "ABCDEF"
    rows = [
        f'<row r="1" spans="1:6" ht="36" customHeight="1">{cell("A1", 1, 0)}' + "".join(cell(f"{c}1", 1) for c in columns[1:]) + "</row>",
        f'<row r="2" spans="1:6" ht="24" customHeight="1">{cell("A2", 2, 1)}' + "".join(cell(f"{c}2", 2) for c in columns[1:]) + "</row>",
        f'<row r="3" spans="1:6" ht="24" customHeight="1">{cell("A3", 3, 2)}{cell("B3", 3)}{cell("C3", 3)}{cell("D3", 4, 3)}{cell("E3", 4)}{cell("F3", 4)}</row>',
        '<row r="4" spans="1:6" ht="30" customHeight="1">' + "".join(cell(f"{c}4", 5, 4 + i) for i, c in enumerate(columns)) + "</row>",
        '<row r="5" spans="1:6">' + "".join(cell(f"{c}5", 7 if c == "B" else 6) for c in columns) + "</row>",
    ]
    widths = [12, 6, 30, 16, 16, 36]
    cols = "".join(f'<col min="{i + 1}" max="{i + 1}" width="{w}" customWidth="1"/>' for i, w in enumerate(widths))
    sheet = (DECLARATION + f'<worksheet {S_NS} xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
             '<sheetPr><pageSetUpPr fitToPage="1"/></sheetPr>'
             '<dimension ref="A1:F5"/>'
             '<sheetViews><sheetView tabSelected="1" workbookViewId="0"><selection activeCell="A1" sqref="A1"/></sheetView></sheetViews>'
             '<sheetFormatPr defaultRowHeight="14.25"/>'
             f'<cols>{cols}</cols>'
             f'<sheetData>{"".join(rows)}</sheetData>'
             '<mergeCells count="4"><mergeCell ref="A1:F1"/><mergeCell ref="A2:F2"/><mergeCell ref="A3:C3"/><mergeCell ref="D3:F3"/></mergeCells>'
             '<printOptions horizontalCentered="1"/>'
             '<pageMargins left="0.6" right="0.6" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>'
             '<pageSetup paperSize="9" orientation="landscape" fitToWidth="1" fitToHeight="0"/>'
             '<headerFooter><oddFooter>&amp;C第 &amp;P 页，共 &amp;N 页</oddFooter></headerFooter>'
             '</worksheet>')
    workbook = (DECLARATION + f'<workbook {S_NS} xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
                '<bookViews><workbookView xWindow="0" yWindow="0" windowWidth="16000" windowHeight="9000"/></bookViews>'
                '<sheets><sheet name="提名名单" sheetId="1" r:id="rId1"/></sheets>'
                "<definedNames><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">'提名名单'!$4:$4</definedName></definedNames>"
                '</workbook>')
    workbook_rels = (DECLARATION +
                     '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                     '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
                     '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>'
                     '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
                     '</Relationships>')
    write_parts(name + ".xlsx", {
        "[Content_Types].xml": XLSX_CONTENT_TYPES,
        "_rels/.rels": PACKAGE_RELS.format(main="xl/workbook.xml"),
        "docProps/core.xml": core_properties(name),
        "xl/workbook.xml": workbook,
        "xl/_rels/workbook.xml.rels": workbook_rels,
        "xl/worksheets/sheet1.xml": sheet,
        "xl/styles.xml": XLSX_STYLES,
        "xl/sharedStrings.xml": shared,
    })


def lists():
    list_workbook("提名名单院士", "（院士提名）", "提名院士")
    list_workbook("提名名单特别", "（特别提名小组提名）", "推荐部门（单位）")
    list_workbook("提名名单苍岳", "（苍岳联合会提名）", "推荐学术团体")


def main():
    covers()
    personal_information()
    employer_review()
    academician_opinions()
    recommendation_opinions()
    selection_opinion("提名书特别小组评审意见", "特别提名小组评审意见", "特别提名小组")
    selection_opinion("提名书苍岳遴选意见", "苍岳联合会遴选意见", "遴选委员会")
    main_achievements()
    lists()


if __name__ == "__main__":
    main()
