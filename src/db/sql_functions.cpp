#include "db/sql_functions.h"

#include "db/db_error.h"
#include "db/statement.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <sqlcipher/sqlite3.h>

namespace db {

namespace {

bool isTrue(sqlite3_value* value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return false;
    case SQLITE_INTEGER:
        return sqlite3_value_int64(value) != 0;
    default:
        return sqlite3_value_double(value) != 0.0;
    }
}

void iifFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc < 2 || argc > 3) {
        sqlite3_result_error(context, "IIf needs two or three arguments", -1);
        return;
    }
    if (isTrue(argv[0]))
        sqlite3_result_value(context, argv[1]);
    else if (argc == 3)
        sqlite3_result_value(context, argv[2]);
    else
        sqlite3_result_null(context);
}

void lenFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QString string = QString::fromUtf8(text, sqlite3_value_bytes(argv[0]));
    sqlite3_result_int64(context, string.size());
}

void cstrFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    sqlite3_result_text(context, text, sqlite3_value_bytes(argv[0]), SQLITE_TRANSIENT);
}

int pinyinCompare(void* collator, int lengthA, const void* a, int lengthB, const void* b)
{
    const QString left = QString::fromUtf8(static_cast<const char*>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char*>(b), lengthB);
    return static_cast<QCollator*>(collator)->compare(left, right);
}

void destroyCollator(void* collator)
{
    delete static_cast<QCollator*>(collator);
}

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK)
        throw DbError(lastErrorText(db));
}

} // namespace

void registerSqlFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    check(db, sqlite3_create_function_v2(db, "IIf", -1, flags, nullptr, iifFunction, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "Len", 1, flags, nullptr, lenFunction, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "CStr", 1, flags, nullptr, cstrFunction, nullptr, nullptr, nullptr));
    auto* collator = new QCollator(QLocale(QLocale::Chinese, QLocale::China));
    check(db, sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF8, collator, pinyinCompare, destroyCollator));
}

} // namespace db
