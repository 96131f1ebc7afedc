// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;

// The two kinds of database the program works on: an SQLite file (one
// computer, no server) or a PostgreSQL database (several seats at once).
enum class Datenbankart { sqlite, postgres };

// Everything the program writes differently for the two kinds lives here;
// every other statement text is the same for both. The texts passed in are
// the program's own constants, never anything typed.
namespace Dialekt {

Datenbankart art(const QSqlDatabase &db);
// Qt's driver for the kind.
QString treiber(Datenbankart art);

// The names of the tables in the database, one per row.
QString tabellenAbfrage(Datenbankart art);
// One row when the table named by :name exists.
QString tabelleDaAbfrage(Datenbankart art);

// Starts a transaction that writes. SQLite takes the write lock at once; a
// server lets seats work side by side and fails the later of two that
// would contradict each other (serialization failure), never mixing them.
QString schreibtransaktion(Datenbankart art);

// Equality that also holds for NULL and NULL ("a IS :b" in SQLite).
QString gleich(Datenbankart art);
// Whether the column's value is a text: SQLite keeps any type in any
// column; the server's text columns hold nothing else.
QString istText(Datenbankart art, const QString &spalte);
// Text search: SQLite's LIKE ignores the case of ASCII letters; the server's
// LIKE heeds it, its ILIKE does not.
QString wie(Datenbankart art);

// A CREATE TABLE or CREATE INDEX of the program's SQLite form in the kind's
// form: the same tables and columns, holding the same values.
QString tabelle(Datenbankart art, const QString &anlegen);

// The statements that make a table refuse UPDATE and DELETE (and on the
// server TRUNCATE), each refusal with its message. The triggers are named
// <tabelle>_bleibt and <tabelle>_bleibt_ganz.
QStringList unveraenderlich(Datenbankart art, const QString &tabelle, const QString &nichtGeaendert,
                            const QString &nichtGeloescht);

// An INSERT into a table with an id column that also gives the new id as
// its one row where the driver cannot tell it afterwards (the server);
// otherwise the insert as it is.
QString mitNeuerId(Datenbankart art, const QString &einfuegen);
// Whether the driver tells the new id of the last insert afterwards.
bool neueIdNachher(Datenbankart art);

// A value as bound to a statement: the tables hold truth values as 0 and 1
// on both kinds, as SQLite files always did.
QVariant binden(Datenbankart art, const QVariant &wert);

} // namespace Dialekt
