#!/usr/bin/env python3
"""Consistency check of the delivered reference data (one CSV per table).

Run from anywhere:  python3 check_reference.py [folder]
Prints every problem found and exits with status 1 if there was any.
"""
import csv
import io
import os
import sys
from collections import Counter, defaultdict

HAND = '（手工填写）'
SPECIAL_GROUP = '（特别提名小组）'
CODE_MAX, NAME_MAX = 20, 100

# table -> full column list; a file may leave out columns that would be empty everywhere
TABLES = {
    '增选年度': ['ID', '编码', '名称', '增选年度'],
    '字典学部': ['ID', '编码', '名称', '是否有效'],
    '字典年度学部': ['ID', '编码', '名称', '增选年度', '学部ID'],
    '学部小组': ['ID', '编码', '名称', '增选年度', '学部ID', '序号'],
    '字典民族': ['ID', '编码', '名称'],
    '字典国家': ['ID', '编码', '名称'],
    '字典省市地区': ['ID', '编码', '名称', '属地ID'],
    '字典省市部委': ['ID', '编码', '名称', '提名渠道ID', '单位部门ID'],
    '字典职称': ['ID', '编码', '名称', '是否高级'],
    '字典学历': ['ID', '编码', '名称'],
    '字典学位': ['ID', '编码', '名称'],
    '字典党派': ['ID', '编码', '名称'],
    '字典单位性质': ['ID', '编码', '名称'],
    '字典产业性质': ['ID', '编码', '名称'],
    '字典单位部门': ['ID', '编码', '名称'],
    '字典提名渠道': ['ID', '编码', '名称'],
    '字典学科': ['ID', '编码', '名称', '级别', '父学科ID', '学部ID'],
    '字典玄苑提名年份': ['ID', '编码', '名称', '年'],
    '字典紫垣提名年份': ['ID', '编码', '名称', '年'],
    '院士': ['ID', '编码', '姓名', '性别', '学部ID', '当选年份', '专业'],
    '下发系统设置': ['字段', '值'],
}

# (table, column) -> referenced table
REFERENCES = {
    ('字典年度学部', '学部ID'): '字典学部',
    ('学部小组', '学部ID'): '字典学部',
    ('字典省市地区', '属地ID'): '字典省市地区',
    ('字典省市部委', '提名渠道ID'): '字典提名渠道',
    ('字典省市部委', '单位部门ID'): '字典单位部门',
    ('字典学科', '父学科ID'): '字典学科',
    ('字典学科', '学部ID'): '字典学部',
    ('院士', '学部ID'): '字典学部',
}

# (table, column) -> allowed values
FLAGS = {
    ('字典学部', '是否有效'): {'是', '否'},
    ('字典职称', '是否高级'): {'是', '否'},
    ('院士', '性别'): {'男', '女'},
    ('字典学科', '级别'): {'1', '2', '3'},
}

LENGTHS = {'编码': CODE_MAX, '名称': NAME_MAX, '姓名': 30, '专业': 50}

SETTINGS = {'提名年份': '2017', '遴选部门类别ID': '0', '遴选部门ID': '0', '是否提名单位': '0',
            '推荐单位名称': '', '推荐单位负责人': '', '是否分组': '0', '软件版本': 'V20170101'}


class Checker:
    def __init__(self, folder):
        self.folder = folder
        self.errors = []
        self.data = {}

    def error(self, table, message):
        self.errors.append(f'{table}: {message}')

    # ---- reading -------------------------------------------------------
    def load(self, table):
        path = os.path.join(self.folder, table + '.csv')
        if not os.path.exists(path):
            self.error(table, 'file missing')
            return None
        raw = open(path, 'rb').read()
        if raw.startswith(b'\xef\xbb\xbf'):
            self.error(table, 'file starts with a byte order mark')
        if b'\r' in raw:
            self.error(table, 'carriage return found (line ends must be LF)')
        try:
            text = raw.decode('utf-8')
        except UnicodeDecodeError as e:
            self.error(table, f'not UTF-8: {e}')
            return None
        if text and not text.endswith('\n'):
            self.error(table, 'last line has no line end')
        records = list(csv.reader(io.StringIO(text, newline=''), strict=True))
        if not records:
            self.error(table, 'empty file')
            return None
        header, body = records[0], records[1:]
        allowed = TABLES[table]
        if len(set(header)) != len(header) or any(c not in allowed for c in header):
            self.error(table, f'header {header} is not a subset of {allowed}')
        if [c for c in allowed if c in header] != header:
            self.error(table, f'header {header} is not in the order {allowed}')
        for key in ('ID', '编码', '名称'):
            if key in allowed and key not in header:
                self.error(table, f'required column {key} missing')
        rows = []
        for n, rec in enumerate(body, 2):
            if len(rec) != len(header):
                self.error(table, f'line {n}: {len(rec)} fields, header has {len(header)}')
                continue
            row = {c: (v if v != '' else None) for c, v in zip(header, rec)}
            for c in allowed:
                row.setdefault(c, None)
            row['_line'] = n
            rows.append(row)
        self.check_quoting(table, text)
        return rows

    def check_quoting(self, table, text):
        """Fields are quoted only when they need it (comma, quote or line break)."""
        out = io.StringIO()
        writer = csv.writer(out, lineterminator='\n', quoting=csv.QUOTE_MINIMAL)
        for rec in csv.reader(io.StringIO(text, newline='')):
            writer.writerow(rec)
        if out.getvalue() != text:
            self.error(table, 'not in minimal RFC 4180 form (needless quotes or stray blanks)')

    # ---- generic rules -------------------------------------------------
    def check_generic(self, table, rows):
        if 'ID' in TABLES[table]:
            ids = Counter()
            for r in rows:
                v = r['ID']
                if v is None or not v.isdigit() or int(v) <= 0:
                    self.error(table, f'line {r["_line"]}: ID {v!r} is not a positive integer')
                    continue
                ids[int(v)] += 1
            for i, c in ids.items():
                if c > 1:
                    self.error(table, f'ID {i} used {c} times')
        for r in rows:
            if '编码' in TABLES[table] and not r['编码']:
                self.error(table, f'line {r["_line"]}: empty 编码')
            if '名称' in TABLES[table] and not r['名称']:
                self.error(table, f'line {r["_line"]}: empty 名称')
            for col, limit in LENGTHS.items():
                v = r.get(col)
                if v is not None and len(v) > limit:
                    self.error(table, f'line {r["_line"]}: {col} longer than {limit}: {v}')
            for (t, col), allowed in FLAGS.items():
                if t == table and r[col] not in allowed:
                    self.error(table, f'line {r["_line"]}: {col} {r[col]!r} not in {sorted(allowed)}')

    def ids(self, table):
        return {int(r['ID']) for r in self.data.get(table, []) if r['ID'] and r['ID'].isdigit()}

    def by_id(self, table):
        return {int(r['ID']): r for r in self.data.get(table, []) if r['ID'] and r['ID'].isdigit()}

    def check_references(self):
        for (table, col), target in REFERENCES.items():
            known = self.ids(target)
            for r in self.data.get(table, []):
                v = r[col]
                if v is None:
                    continue
                if not v.isdigit() or int(v) not in known:
                    self.error(table, f'line {r["_line"]}: {col} {v} not found in {target}')

    # ---- table rules ---------------------------------------------------
    def check_years(self):
        rows = self.data.get('增选年度', [])
        years = [int(r['增选年度']) for r in rows if r['增选年度'] and r['增选年度'].isdigit()]
        if len(years) != len(rows):
            self.error('增选年度', 'every 增选年度 must be a 4-digit year')
        if not years or max(years) != 2017 or years.count(2017) != 1:
            self.error('增选年度', '2017 must be the single greatest election year')
        for y in years:
            if y % 2 == 0 or not 1900 < y < 2100:
                self.error('增选年度', f'{y} is not an odd 4-digit year')
        known = {str(y) for y in years}
        for table in ('字典年度学部', '学部小组'):
            for r in self.data.get(table, []):
                if r['增选年度'] not in known:
                    self.error(table, f'line {r["_line"]}: 增选年度 {r["增选年度"]} not in 增选年度')

    def valid_divisions(self):
        return {int(r['ID']) for r in self.data.get('字典学部', []) if r['是否有效'] == '是'}

    def check_divisions(self):
        valid = self.valid_divisions()
        if len(valid) < 5:
            self.error('字典学部', f'only {len(valid)} divisions valid for nomination')
        per_year = defaultdict(set)
        for r in self.data.get('字典年度学部', []):
            if r['学部ID'] and r['学部ID'].isdigit():
                per_year[r['增选年度']].add(int(r['学部ID']))
        for year in ('2017', '2015'):
            missing = valid - per_year[year]
            if missing:
                self.error('字典年度学部', f'{year} lacks valid divisions {sorted(missing)}')
        groups = defaultdict(list)
        for r in self.data.get('学部小组', []):
            groups[(r['增选年度'], r['学部ID'])].append(int(r['序号']) if (r['序号'] or '').isdigit() else -1)
        for (year, div), numbers in groups.items():
            if sorted(numbers) != list(range(1, len(numbers) + 1)):
                self.error('学部小组', f'{year} division {div}: 序号 {sorted(numbers)} is not 1..n')
        for div in valid:
            if not any(int(d) == div for (y, d) in groups if y == '2017' and d and d.isdigit()):
                self.error('学部小组', f'valid division {div} has no group in 2017')

    def check_nations(self):
        rows = self.data.get('字典民族', [])
        codes = [r['编码'] for r in rows]
        expected = [f'{i:02d}' for i in range(1, 57)] + ['97', '98']
        if codes != expected:
            self.error('字典民族', 'codes must be 01..56, 97, 98 in that order')
        if rows and (rows[0]['名称'] != '汉族' or rows[55]['名称'] != '基诺族'):
            self.error('字典民族', 'first must be 汉族 and the 56th 基诺族')

    def check_countries(self):
        rows = self.by_id('字典国家')
        china = rows.get(1)
        if not china or china['名称'] != '中国' or china['编码'] != '156':
            self.error('字典国家', 'ID 1 must be 中国 with code 156')
        names = {r['名称'] for r in rows.values()}
        for n in ('中国香港', '中国澳门', '中国台湾'):
            if n not in names:
                self.error('字典国家', f'{n} missing')
        if len(rows) < 240:
            self.error('字典国家', f'only {len(rows)} countries and regions')
        for r in rows.values():
            if not (r['编码'] or '').isdigit() or len(r['编码']) != 3:
                self.error('字典国家', f'line {r["_line"]}: code {r["编码"]} is not a 3-digit numeric code')

    def check_regions(self):
        rows = self.by_id('字典省市地区')
        if 9999 in rows:
            self.error('字典省市地区', 'ID 9999 is reserved for the hand-typed district entry')
        provinces = {i for i, r in rows.items() if r['属地ID'] is None}
        if len(provinces) != 34:
            self.error('字典省市地区', f'{len(provinces)} provincial-level rows, expected 34')
        children = Counter(int(r['属地ID']) for r in rows.values() if (r['属地ID'] or '').isdigit())
        for p in provinces:
            if children[p] == 0:
                self.error('字典省市地区', f'province {rows[p]["名称"]} has no child rows')
            if not (rows[p]['编码'] or '').endswith('0000'):
                self.error('字典省市地区', f'province code {rows[p]["编码"]} is not a GB/T 2260 province code')
        for i, r in rows.items():
            parent = r['属地ID']
            if parent is not None and parent.isdigit() and int(parent) not in provinces:
                self.error('字典省市地区', f'line {r["_line"]}: 属地ID {parent} is not a province row')

    def check_channels_and_bodies(self):
        channels = self.by_id('字典提名渠道')
        if sorted(channels) != [1, 2, 5]:
            self.error('字典提名渠道', f'IDs must be exactly 1, 5, 2, found {sorted(channels)}')
        expected = {1: '院士提名', 5: '部门（单位）推荐', 2: '学术团体经苍岳联合会推荐'}
        for i, name in expected.items():
            if i in channels and channels[i]['名称'] != name:
                self.error('字典提名渠道', f'ID {i} must be named {name}')
        cats = self.by_id('字典单位部门')
        special = [i for i, r in cats.items() if r['名称'] == SPECIAL_GROUP]
        if len(special) != 1:
            self.error('字典单位部门', f'exactly one row named {SPECIAL_GROUP} expected')
        local = [i for i, r in cats.items() if r['名称'] == '地方']
        bodies = self.data.get('字典省市部委', [])
        ch5_local = [r for r in bodies if r['提名渠道ID'] == '5' and local and r['单位部门ID'] == str(local[0])]
        if len(ch5_local) < 31:
            self.error('字典省市部委', f'only {len(ch5_local)} local bodies in channel 5, expected the 31 provinces')
        ch2 = [r for r in bodies if r['提名渠道ID'] == '2']
        if len(ch2) != 1 or ch2[0]['名称'] != '苍岳联合会':
            self.error('字典省市部委', 'channel 2 must have exactly the one row 苍岳联合会')
        for r in bodies:
            if r['提名渠道ID'] not in ('2', '5'):
                self.error('字典省市部委', f'line {r["_line"]}: bodies belong to channel 5 or 2')
        codes = Counter(r['编码'] for r in bodies)
        for c, n in codes.items():
            if n > 1:
                self.error('字典省市部委', f'code {c} used {n} times')

    def check_hand_entries(self):
        for table in ('字典职称', '字典学历', '字典学位'):
            rows = [r for r in self.data.get(table, []) if r['名称'] == HAND]
            if len(rows) != 1:
                self.error(table, f'exactly one row {HAND} expected')
        for r in self.data.get('字典职称', []):
            if r['名称'] == HAND and r['是否高级'] != '是':
                self.error('字典职称', f'{HAND} must be marked 是否高级=是')
        if not any(r['是否高级'] == '否' for r in self.data.get('字典职称', [])):
            self.error('字典职称', 'no junior or intermediate title')

    def check_subjects(self):
        rows = self.by_id('字典学科')
        valid = self.valid_divisions()
        kids = defaultdict(list)
        for i, r in rows.items():
            level, parent, code = r['级别'], r['父学科ID'], r['编码'] or ''
            if level == '1':
                if parent is not None:
                    self.error('字典学科', f'{code}: first level must have no parent')
                if len(code) != 3:
                    self.error('字典学科', f'{code}: first-level code must have 3 digits')
                if not (r['学部ID'] or '').isdigit():
                    self.error('字典学科', f'{code}: first level needs a division')
                continue
            if parent is None or not parent.isdigit() or int(parent) not in rows:
                self.error('字典学科', f'{code}: parent {parent} missing')
                continue
            p = rows[int(parent)]
            kids[int(parent)].append(i)
            if int(p['级别'] or 0) != int(level) - 1:
                self.error('字典学科', f'{code}: parent {p["编码"]} is not one level up')
            if not code.startswith(p['编码'] or '') or len(code) != {'2': 5, '3': 7}[level]:
                self.error('字典学科', f'{code}: code does not extend its parent {p["编码"]}')
            if r['学部ID'] != p['学部ID']:
                self.error('字典学科', f'{code}: 学部ID differs from its parent')
        firsts = defaultdict(list)
        for i, r in rows.items():
            if r['级别'] == '1' and (r['学部ID'] or '').isdigit():
                firsts[int(r['学部ID'])].append(i)
            if r['级别'] in ('1', '2'):
                need = 2 if r['级别'] == '1' else 1
                if len(kids[i]) < need:
                    self.error('字典学科', f'{r["编码"]} {r["名称"]}: only {len(kids[i])} children')
        for d in valid:
            if len(firsts[d]) < 2:
                self.error('字典学科', f'division {d} offers {len(firsts[d])} first-level disciplines')

    def check_nomination_years(self):
        expected = [str(y) for y in range(1991, 2016, 2)]
        for table in ('字典玄苑提名年份', '字典紫垣提名年份'):
            years = sorted(r['年'] or '' for r in self.data.get(table, []))
            if years != expected:
                self.error(table, 'years must be the odd years 1991..2015')

    def check_academicians(self):
        rows = self.data.get('院士', [])
        per_div = Counter(r['学部ID'] for r in rows)
        for d in self.valid_divisions():
            if per_div[str(d)] < 12:
                self.error('院士', f'division {d} has only {per_div[str(d)]} academicians')
        names = Counter(r['姓名'] for r in rows)
        for n, c in names.items():
            if not n or c > 1:
                self.error('院士', f'name {n!r} empty or repeated')
        for r in rows:
            y = r['当选年份'] or ''
            if not y.isdigit() or len(y) != 4 or int(y) % 2 == 0:
                self.error('院士', f'line {r["_line"]}: 当选年份 {y!r} is not an odd year')
            if not r['专业']:
                self.error('院士', f'line {r["_line"]}: empty 专业')

    def check_settings(self):
        rows = self.data.get('下发系统设置', [])
        got = {r['字段']: (r['值'] or '') for r in rows}
        if len(rows) != len(got) or got != SETTINGS:
            self.error('下发系统设置', f'rows must be exactly {SETTINGS}, found {got}')

    def run(self):
        for table in TABLES:
            rows = self.load(table)
            if rows is not None:
                self.data[table] = rows
                self.check_generic(table, rows)
        self.check_references()
        self.check_years()
        self.check_divisions()
        self.check_nations()
        self.check_countries()
        self.check_regions()
        self.check_channels_and_bodies()
        self.check_hand_entries()
        self.check_subjects()
        self.check_nomination_years()
        self.check_academicians()
        self.check_settings()
        return self.errors


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    errors = Checker(folder).run()
    for e in errors:
        print(e)
    if errors:
        print(f'{len(errors)} problem(s) found')
        return 1
    print(f'reference data OK ({len(TABLES)} tables)')
    return 0


if __name__ == '__main__':
    sys.exit(main())
