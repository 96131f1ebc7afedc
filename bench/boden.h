// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The database floor of an operation: the same SQL statements the program
// runs for it, through the SQLite C API alone, on one connection, reading
// every column of every row. What an operation costs beyond its floor is
// spent in Qt's SQL layer, in the widgets and in the program's own code.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct sqlite3;

struct Bindung {
    enum Art { Ganzzahl, Text, Zahl };
    Bindung(const char *n, long long w) : name(n), art(Ganzzahl), ganz(w) {}
    Bindung(const char *n, int w) : name(n), art(Ganzzahl), ganz(w) {}
    Bindung(const char *n, double w) : name(n), art(Zahl), zahl(w) {}
    Bindung(const char *n, std::string w) : name(n), art(Text), text(std::move(w)) {}
    Bindung(const char *n, const char *w) : name(n), art(Text), text(w) {}
    const char *name;
    Art art;
    long long ganz = 0;
    double zahl = 0;
    std::string text;
};

class Boden
{
public:
    explicit Boden(std::string pfad) : pfad(std::move(pfad)) {}
    ~Boden();
    Boden(const Boden &) = delete;
    Boden &operator=(const Boden &) = delete;

    void oeffnen();
    void schliessen();
    // Prepares, binds by name, steps through every row and reads every
    // column; the number of rows. Aborts the benchmark run on any error.
    int ausfuehren(const char *sql, std::initializer_list<Bindung> werte = {});
    // The first column of the first row as an integer (0 without rows).
    long long zahl(const char *sql, std::initializer_list<Bindung> werte = {});
    long long letzteId() const;

    // Column 0 of each row of the last statement, as an integer (the keys).
    std::vector<long long> schluessel;
    // Summed over everything read, so that no read can be left out.
    std::uint64_t pruefsumme = 0;

private:
    std::string pfad;
    sqlite3 *db = nullptr;
};
