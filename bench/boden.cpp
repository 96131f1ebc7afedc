// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/boden.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void abbrechen(sqlite3 *db, const char *was)
{
    std::fprintf(stderr, "kalvoria_bench: floor: %s: %s\n", was, db ? sqlite3_errmsg(db) : "no connection");
    std::exit(1);
}

} // namespace

Boden::~Boden()
{
    schliessen();
}

void Boden::oeffnen()
{
    // The same default flags as Qt's driver: read and write, no creation.
    if (sqlite3_open_v2(pfad.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        abbrechen(db, pfad.c_str());
}

void Boden::schliessen()
{
    if (db)
        sqlite3_close(db);
    db = nullptr;
}

int Boden::ausfuehren(const char *sql, std::initializer_list<Bindung> werte)
{
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
        abbrechen(db, sql);
    for (const Bindung &b : werte) {
        const int i = sqlite3_bind_parameter_index(s, b.name);
        if (i == 0)
            abbrechen(db, b.name);
        switch (b.art) {
        case Bindung::Ganzzahl:
            sqlite3_bind_int64(s, i, b.ganz);
            break;
        case Bindung::Zahl:
            sqlite3_bind_double(s, i, b.zahl);
            break;
        case Bindung::Text:
            sqlite3_bind_text(s, i, b.text.data(), static_cast<int>(b.text.size()), SQLITE_TRANSIENT);
            break;
        }
    }
    int zeilen = 0;
    int rc;
    schluessel.clear();
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        ++zeilen;
        schluessel.push_back(sqlite3_column_int64(s, 0));
        const int n = sqlite3_column_count(s);
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_INTEGER:
                pruefsumme += static_cast<std::uint64_t>(sqlite3_column_int64(s, c));
                break;
            case SQLITE_FLOAT: {
                const double d = sqlite3_column_double(s, c);
                std::uint64_t bits;
                std::memcpy(&bits, &d, sizeof bits);
                pruefsumme += bits;
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const auto *t = sqlite3_column_text(s, c);
                const int laenge = sqlite3_column_bytes(s, c);
                pruefsumme += static_cast<std::uint64_t>(laenge) + (laenge > 0 ? t[0] : 0u);
                break;
            }
            default:
                break;
            }
        }
    }
    if (rc != SQLITE_DONE)
        abbrechen(db, sql);
    sqlite3_finalize(s);
    return zeilen;
}

long long Boden::zahl(const char *sql, std::initializer_list<Bindung> werte)
{
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
        abbrechen(db, sql);
    for (const Bindung &b : werte) {
        const int i = sqlite3_bind_parameter_index(s, b.name);
        if (b.art == Bindung::Text)
            sqlite3_bind_text(s, i, b.text.data(), static_cast<int>(b.text.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(s, i, b.ganz);
    }
    long long wert = 0;
    if (sqlite3_step(s) == SQLITE_ROW)
        wert = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    return wert;
}

long long Boden::letzteId() const
{
    return sqlite3_last_insert_rowid(db);
}
