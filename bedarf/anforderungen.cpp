// SPDX-License-Identifier: GPL-3.0-or-later
// Marking the lines of the list "Rezeptbedarf" as requested, and taking
// the mark back.
#include "app/mainwindow.h"

#include "bedarf/anforderungen.h"
#include "text/textformat.h"
#include "verlauf/verlauf.h"

#include <QSqlRecord>
#include <QTableWidget>

const char *const offeneAnforderungen =
    "SELECT einnahme_id, max(angefordert) FROM anforderung WHERE erledigt IS NULL GROUP BY einnahme_id";

bool anforderungenDa(DbSitzung &db, bool *ok)
{
    return tabelleDa(db, QStringLiteral("anforderung"), ok);
}

QStringList anforderungenAnweisungen(Datenbankart art)
{
    return {Dialekt::tabelle(art, QStringLiteral("CREATE TABLE IF NOT EXISTS anforderung (id INTEGER PRIMARY KEY "
                                                 "AUTOINCREMENT, einnahme_id INTEGER, angefordert DATE, erledigt "
                                                 "DATE)")),
            QStringLiteral("CREATE INDEX IF NOT EXISTS anforderung_einnahme_id ON anforderung (einnahme_id)")};
}

bool anforderungenAnlegen(DbSitzung &db)
{
    for (const QString &sql : anforderungenAnweisungen(db.art())) {
        if (!db.aendern(sql))
            return false;
    }
    return true;
}

bool anforderungErledigen(DbSitzung &db, const QString &einnahme, const QDate &heute)
{
    bool ok = false;
    if (!anforderungenDa(db, &ok))
        return ok;
    return db.aendern(
        QStringLiteral("UPDATE anforderung SET erledigt=:heute WHERE einnahme_id=:id AND erledigt IS "
                       "NULL"),
        {{QStringLiteral(":heute"), heute.toString(QStringLiteral("yyyy-MM-dd"))}, {QStringLiteral(":id"), einnahme}});
}

void MainWindow::AnforderungMarkieren()
{
    const QVector<int> zeilen = bedarfGewaehlt();
    if (zeilen.isEmpty()) {
        meldungZeigen(umlauteErsetzen(
            QStringLiteral("Bitte zuerst in der Liste die Zeilen w:ae:hlen, deren Rezept angefordert wurde.")));
        return;
    }
    const QString tag = heute.toString(QStringLiteral("yyyy-MM-dd"));
    DbSitzung db(*this);
    const bool gespeichert = db.transaktion([&] {
        if (!anforderungenAnlegen(db))
            return false;
        // Each line as shown: still there, and its request as the list showed
        // it; a line requested anew gets today's date.
        for (int z : zeilen) {
            const Bedarfszeile &b = bedarfZeilen.at(z);
            const bool gezeigt = b.angefordert.isValid();
            const bool gut =
                gezeigt ? db.aendernZeile(
                              QStringLiteral("UPDATE anforderung SET angefordert=:heute WHERE einnahme_id=:id AND "
                                             "erledigt IS NULL AND angefordert %1 :alt AND EXISTS (SELECT 1 FROM "
                                             "einnahme WHERE id=:da)")
                                  .arg(Dialekt::gleich(db.art())),
                              {{QStringLiteral(":heute"), tag},
                               {QStringLiteral(":id"), b.einnahme},
                               {QStringLiteral(":alt"), b.angefordert.toString(QStringLiteral("yyyy-MM-dd"))},
                               {QStringLiteral(":da"), b.einnahme}})
                        : db.aendernZeile(
                              QStringLiteral("INSERT INTO anforderung (einnahme_id, angefordert) SELECT :id, :heute "
                                             "WHERE EXISTS (SELECT 1 FROM einnahme WHERE id=:da) AND NOT EXISTS "
                                             "(SELECT 1 FROM anforderung WHERE einnahme_id=:offen AND erledigt IS "
                                             "NULL)"),
                              {{QStringLiteral(":id"), b.einnahme},
                               {QStringLiteral(":heute"), tag},
                               {QStringLiteral(":da"), b.einnahme},
                               {QStringLiteral(":offen"), b.einnahme}});
            if (!gut || !verlaufAnforderung(db, aktuelleZeit(), b.einnahme, b.angefordert, heute))
                return false;
        }
        return true;
    });
    if (!gespeichert)
        return;
    auffrischen(Geaendert::anforderungen);
}

void MainWindow::AnforderungZuruecknehmen()
{
    QVector<int> zeilen;
    for (int z : bedarfGewaehlt())
        if (bedarfZeilen.at(z).angefordert.isValid())
            zeilen.append(z);
    if (zeilen.isEmpty()) {
        meldungZeigen(umlauteErsetzen(QStringLiteral(
            "Bitte zuerst in der Liste die Zeilen w:ae:hlen, deren Anforderung zur:ue:ckgenommen werden soll "
            "(sie haben ein Datum in der Spalte \u201Eangefordert am\u201C).")));
        return;
    }
    DbSitzung db(*this);
    const bool gespeichert = db.transaktion([&] {
        for (int z : zeilen) {
            const Bedarfszeile &b = bedarfZeilen.at(z);
            if (!db.aendernZeile(QStringLiteral("DELETE FROM anforderung WHERE einnahme_id=:id AND erledigt IS NULL "
                                                "AND angefordert %1 :alt")
                                     .arg(Dialekt::gleich(db.art())),
                                 {{QStringLiteral(":id"), b.einnahme},
                                  {QStringLiteral(":alt"), b.angefordert.toString(QStringLiteral("yyyy-MM-dd"))}}) ||
                !verlaufAnforderung(db, aktuelleZeit(), b.einnahme, b.angefordert, QDate()))
                return false;
        }
        return true;
    });
    if (!gespeichert)
        return;
    auffrischen(Geaendert::anforderungen);
}
