// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/zusatztabellen.h"

#include <QSqlRecord>

namespace {
struct Schema {
    const char *name;
    const char *anlegen;
};

const Schema schemata[] = {
    {"sorte_pzn", "CREATE TABLE IF NOT EXISTS sorte_pzn (sorte_id INTEGER PRIMARY KEY, pzn CHAR (8) NOT NULL)"},
    // dosis_text: the dose as free text; the line then has no daily use and
    // its four doses are stored as 0. ohne_dosis: the plan gave none at all.
    {"einnahme_bmp",
     "CREATE TABLE IF NOT EXISTS einnahme_bmp (einnahme_id INTEGER PRIMARY KEY, dosis_text VARCHAR (20), "
     "ohne_dosis BOOLEAN, wochentag INTEGER, einheit VARCHAR (20), form VARCHAR (10), hinweis VARCHAR (80), "
     "grund VARCHAR (50), zusatz VARCHAR (200), abschnitt VARCHAR (50))"},
    // art: "X" free text, "R" recipe; nach: the intake line it follows (0 at the top).
    {"plan_text", "CREATE TABLE IF NOT EXISTS plan_text (id INTEGER PRIMARY KEY AUTOINCREMENT, pat_id INTEGER, "
                  "nach_einnahme INTEGER, ordnung INTEGER, art CHAR (1), text VARCHAR (200), zusatz VARCHAR (200), "
                  "abschnitt VARCHAR (50))"},
};
} // namespace

const char *zusatzName(Zusatz tabelle)
{
    return schemata[static_cast<int>(tabelle)].name;
}

bool zusatzDa(DbSitzung &db, Zusatz tabelle)
{
    return tabelleDa(db, QString::fromLatin1(zusatzName(tabelle)));
}

QString zusatzAnweisung(Datenbankart art, Zusatz tabelle)
{
    return Dialekt::tabelle(art, QString::fromLatin1(schemata[static_cast<int>(tabelle)].anlegen));
}

bool zusatzAnlegen(DbSitzung &db, Zusatz tabelle)
{
    return db.aendern(zusatzAnweisung(db.art(), tabelle));
}

bool pznSpeichern(DbSitzung &db, int sorte, const QString &pzn, QString *belegt)
{
    if (pzn.isEmpty()) {
        return !zusatzDa(db, Zusatz::sortePzn) ||
               db.aendern(QStringLiteral("DELETE FROM sorte_pzn WHERE sorte_id=:id"), {{QStringLiteral(":id"), sorte}});
    }
    if (!zusatzAnlegen(db, Zusatz::sortePzn))
        return false;
    bool ok = false;
    const auto andere = db.lesen(QStringLiteral("SELECT s.handelsname, s.dosis FROM sorte_pzn p JOIN sorte s ON "
                                                "s.id = p.sorte_id WHERE p.pzn=:pzn AND p.sorte_id<>:id"),
                                 {{QStringLiteral(":pzn"), pzn}, {QStringLiteral(":id"), sorte}}, &ok);
    if (!ok)
        return false;
    if (!andere.isEmpty()) {
        if (belegt) {
            const QString dosis = andere.first().value(1).toString();
            *belegt = andere.first().value(0).toString() +
                      (dosis.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(dosis));
        }
        return false;
    }
    return db.aendern(
        QStringLiteral("INSERT INTO sorte_pzn (sorte_id, pzn) VALUES (:id, :pzn) ON CONFLICT (sorte_id) DO "
                       "UPDATE SET pzn = excluded.pzn"),
        {{QStringLiteral(":id"), sorte}, {QStringLiteral(":pzn"), pzn}});
}

bool planDosisTextLoeschen(DbSitzung &db, const QString &einnahme)
{
    return !zusatzDa(db, Zusatz::einnahmeBmp) ||
           db.aendern(QStringLiteral("UPDATE einnahme_bmp SET dosis_text=NULL, ohne_dosis=NULL, wochentag=NULL WHERE "
                                     "einnahme_id=:id"),
                      {{QStringLiteral(":id"), einnahme}});
}
