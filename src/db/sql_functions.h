#pragma once

struct sqlite3;

namespace db {

// Registers on a connection what the program's statements need beyond SQLite's own:
//  - IIf(cond, a[, b]): a when cond is true, else b (Null without b); a Null condition is false;
//  - Len(x): number of characters, Null for Null;
//  - CStr(x): x as text;
//  - the collation PINYIN, Chinese order for names ("ORDER BY 姓名 COLLATE PINYIN").
void registerSqlFunctions(sqlite3* db);

} // namespace db
