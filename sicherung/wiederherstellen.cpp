// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Sicherung wiederherstellen" and putting a copy in place of the file.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "app/tabellen.h"
#include "intake/fensterfelder.h"
#include "sicherung/sicherung.h"
#include "storage/dateisperre.h"
#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

QString zeigen(const QString &pfad)
{
    return QStringLiteral("\u201E") + QDir::toNativeSeparators(pfad) + QStringLiteral("\u201C");
}

QString wann(const QDateTime &zeit)
{
    return zeit.toString(QStringLiteral("dd.MM.yyyy, hh:mm")) + QStringLiteral(" Uhr");
}

// The history written since the copy was taken, from vorher (the file as it
// was just before) into the restored file, and the restore itself: the
// history is never lost by going back. Only for a copy of the same file,
// known by the newest entry they share; best effort.
void verlaufUebernehmen(DbSitzung &db, const QString &vorher, const QString &stammGleich, const Verlaufseintrag &e,
                        const QDateTime &zeit)
{
    bool angehaengt = false;
    {
        QSqlQuery anhaengen(db.verbindung());
        if (!vorher.isEmpty() && anhaengen.prepare(QStringLiteral("ATTACH DATABASE :pfad AS vorher"))) {
            anhaengen.bindValue(QStringLiteral(":pfad"), vorher);
            angehaengt = anhaengen.exec();
        }
    }
    db.transaktion([&] {
        if (!verlaufAnlegen(db))
            return false;
        bool ok = false;
        const bool alterVerlauf = angehaengt &&
                                  !db.lesen(QStringLiteral(
                                                "SELECT 1 FROM vorher.sqlite_master WHERE type = 'table' AND name = "
                                                "'verlauf'"),
                                            {}, &ok)
                                       .isEmpty();
        if (alterVerlauf) {
            const auto letzte = db.lesen(QStringLiteral("SELECT id, zeit, art, betrifft FROM main.verlauf ORDER BY id "
                                                        "DESC LIMIT 1"),
                                         {}, &ok);
            bool gleich = letzte.isEmpty() ? !stammGleich.isEmpty() : false;
            if (!letzte.isEmpty()) {
                const QSqlRecord &l = letzte.first();
                gleich = !db.lesen(QStringLiteral("SELECT 1 FROM vorher.verlauf WHERE id = :id AND zeit IS :zeit AND "
                                                  "art IS :art AND betrifft IS :betrifft"),
                                   {{QStringLiteral(":id"), l.value(0)},
                                    {QStringLiteral(":zeit"), l.value(1)},
                                    {QStringLiteral(":art"), l.value(2)},
                                    {QStringLiteral(":betrifft"), l.value(3)}},
                                   &ok)
                              .isEmpty();
            }
            const char *const spalten = "id, zeit, art, pat_id, patient, einnahme_id, medikament_id, sorte_id, "
                                        "termin_id, betrifft, alt, neu, benutzer";
            if (gleich && !db.aendern(QStringLiteral("INSERT INTO main.verlauf (%1) SELECT %1 FROM vorher.verlauf "
                                                     "WHERE id > (SELECT COALESCE(max(id), 0) FROM main.verlauf)")
                                          .arg(QLatin1String(spalten))))
                return false;
        }
        return verlaufSchreiben(db, zeit, e);
    });
    if (angehaengt)
        QSqlQuery(QStringLiteral("DETACH DATABASE vorher"), db.verbindung());
}

} // namespace

void MainWindow::SicherungFenster()
{
    // Putting a file in place of the file in use has no meaning on a server.
    if (art() == Datenbankart::postgres) {
        meldungZeigen(QStringLiteral("Auf einem Server wird eine Sicherung mit \u201EDatei auf Server "
                                     "kopieren\u2026\u201C in eine leere Datenbank zur\u00FCckgeholt."));
        return;
    }
    if (!sicherungListe)
        sicherungFelderBauen();
    const QString ordner = sicherungsOrdner(sicherungseinstellungenLesen(konfigurationsDatei()));
    const QVector<Sicherungskopie> kopien = sicherungenLesen(ordner);
    QTableWidget *t = sicherungListe.get();
    t->setRowCount(kopien.size());
    zellenFuellen(t, [&] {
        for (int z = 0; z < kopien.size(); ++z) {
            const Sicherungskopie &k = kopien.at(z);
            const auto anzahl = sicherungZaehlen(k.datei);
            const QString texte[] = {k.datei,
                                     k.zeit.toString(QStringLiteral("dd.MM.yyyy")),
                                     k.zeit.toString(QStringLiteral("hh:mm")),
                                     anlassText(k.anlass),
                                     anzahl ? QString::number(anzahl->first) : QStringLiteral("nicht lesbar"),
                                     anzahl ? QString::number(anzahl->second) : QString(),
                                     k.stamm};
            for (int s = 0; s < 7; ++s) {
                auto *item = new QTableWidgetItem(texte[s]);
                if (s != 3 && s != 6)
                    item->setTextAlignment(Qt::AlignCenter);
                t->setItem(z, s, item);
            }
        }
    });
    tabellenHinweis(t, kopien.isEmpty() ? QStringLiteral("Noch keine Sicherung in diesem Ordner.") : QString());
    if (!kopien.isEmpty())
        t->setCurrentCell(0, 1);

    QDialog fenster;
    fenster.setFixedSize(720, 440);
    fenster.setFont(schriftNormal);
    fenster.setWindowTitle(QStringLiteral("Sicherung wiederherstellen"));
    auto *kopf = fensterText(fenster, QStringLiteral("&Sicherungen in %1, die neueste zuerst:").arg(zeigen(ordner)),
                             QRect(15, 10, 690, 24));
    kopf->setBuddy(t);
    auto *hinweis = fensterText(fenster,
                                QStringLiteral("Die gew\u00E4hlte Sicherung ersetzt die Datenbank %1. Deren "
                                               "jetziger Stand wird vorher selbst gesichert, und was seitdem im "
                                               "Verlauf steht, bleibt erhalten.")
                                    .arg(zeigen(datenbankDatei)),
                                QRect(15, 345, 690, 40), Qt::AlignLeft | Qt::AlignTop);
    hinweis->setWordWrap(true);
    const FelderLeihen felder(fenster, {{t, QRect(15, 38, 690, 300)}});
    t->setFocus();
    fensterAusfuehren(fenster, QStringLiteral("&Wiederherstellen"), 395, &MainWindow::SicherungWiederherstellen,
                      fensterGespeichert, 465);
}

void MainWindow::SicherungWiederherstellen()
{
    fensterGespeichert = false;
    const int zeile = sicherungListe->currentRow();
    const std::optional<Sicherungskopie> kopie = sicherungErkennen(zellText(sicherungListe.get(), zeile, 0));
    if (!kopie) {
        meldungZeigen(QStringLiteral("Bitte zuerst die Sicherung w\u00E4hlen, die wiederhergestellt werden soll."));
        return;
    }
    // A copy of a file of the same name elsewhere holds other patients.
    const QString herkunft = sicherungHerkunft(kopie->datei);
    const QString fremd = !herkunft.isEmpty() &&
                                  herkunft != QDir::cleanPath(QFileInfo(datenbankDatei).absoluteFilePath())
                              ? QStringLiteral(
                                    "Achtung: Diese Sicherung stammt nicht von dieser Datenbank, sondern von %1.\n\n")
                                    .arg(zeigen(herkunft))
                              : QString();
    if (!frageStellen(fremd + QStringLiteral("Soll die Datenbank %1 durch die Sicherung vom %2 (%3) ersetzt werden?\n\n"
                                             "Der jetzige Stand wird vorher gesichert.")
                                  .arg(zeigen(datenbankDatei), wann(kopie->zeit), anlassText(kopie->anlass))))
        return;
    fensterGespeichert = sicherungEinspielen(*kopie);
}

bool MainWindow::sicherungEinspielen(const Sicherungskopie &kopie)
{
    // The check after the start reads the file: it ends first.
    startPruefungAbwarten();
    const QString abgelehnt =
        QStringLiteral("Die Sicherung vom %1 wird nicht wiederhergestellt: ").arg(wann(kopie.zeit));

    QString mangel = datenbankMangel(kopie.datei);
    if (mangel.isEmpty())
        mangel = dateiPruefen(kopie.datei, true);
    if (!mangel.isEmpty()) {
        meldungZeigen(abgelehnt + QStringLiteral("Sie ist besch\u00E4digt.\n%1\n\nBitte eine andere Sicherung "
                                                 "w\u00E4hlen.")
                                      .arg(mangel));
        return false;
    }

    // Another window must not go on working on the file being replaced.
    {
        DbSitzung db(*this);
        if (!db.offen())
            return false;
    }
    if (sperre && !sperre->alleinNehmen()) {
        meldungZeigen(abgelehnt + QStringLiteral("Die Datenbank %1 ist noch in einem anderen Kalvoria-Fenster "
                                                 "ge\u00F6ffnet, auf diesem oder einem anderen Computer.\n\nBitte "
                                                 "Kalvoria dort schlie\u00DFen und es dann noch einmal versuchen.")
                                      .arg(zeigen(datenbankDatei)));
        return false;
    }
    struct Teilen {
        Dateisperre *s;
        ~Teilen()
        {
            if (s)
                s->teilen();
        }
    } teilen{sperre.get()};
    // An earlier version knows no lock file: one that is changing the file
    // right now holds SQLite's lock.
    {
        DbSitzung db(*this);
        QSqlQuery q(db.verbindung());
        if (!q.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
            meldungZeigen(abgelehnt + QStringLiteral("Die Datenbank %1 wird gerade von einem anderen Programm "
                                                     "ge\u00E4ndert. Bitte sp\u00E4ter noch einmal versuchen.")
                                          .arg(zeigen(datenbankDatei)));
            return false;
        }
        q.exec(QStringLiteral("ROLLBACK"));
    }

    // The state now is copied first. A damaged file, which SQLite cannot
    // copy, is kept as it is, now that nobody has it open.
    QString fehler;
    QString vorher = sicherungAnlegen(Sicherungsanlass::wiederherstellen, &fehler);
    if (vorher.isEmpty() && !dateiPruefen(datenbankDatei, false).isEmpty()) {
        const QString ordner = sicherungsOrdner(sicherungseinstellungenLesen(konfigurationsDatei()));
        vorher = QDir(ordner).filePath(sicherungsName(QFileInfo(datenbankDatei).completeBaseName(), aktuelleZeit(),
                                                      anlassKennung(Sicherungsanlass::beschaedigt)));
        datenbank.close();
        if (!QDir().mkpath(ordner) || !QFile::copy(datenbankDatei, vorher))
            vorher.clear();
    }
    if (vorher.isEmpty()) {
        meldungZeigen(abgelehnt +
                      QStringLiteral("Der jetzige Stand der Datenbank konnte nicht gesichert werden.\n%1").arg(fehler));
        return false;
    }

    if (!dateiErsetzen(kopie.datei))
        return false;
    {
        Verlaufseintrag e;
        e.art = Verlaufsart::wiederhergestellt;
        e.betrifft = QFileInfo(datenbankDatei).fileName();
        e.alt = QStringLiteral("Stand vom ") + wann(aktuelleZeit());
        e.neu = QStringLiteral("Sicherung vom %1 (%2)").arg(wann(kopie.zeit), anlassText(kopie.anlass));
        DbSitzung db(*this);
        const QString stamm = QFileInfo(datenbankDatei).completeBaseName();
        verlaufUebernehmen(db, vorher, kopie.stamm == stamm ? stamm : QString(), e, aktuelleZeit());
        // The copy's note of where it came from is no part of the data.
        db.aendern(QStringLiteral("DROP TABLE IF EXISTS sicherung_herkunft"), {});
    }
    auffrischen(Geaendert::datei);
    meldungZeigen(QStringLiteral("Die Sicherung vom %1 wurde wiederhergestellt.\n\nDer Stand davor liegt als "
                                 "Sicherung in %2.")
                      .arg(wann(kopie.zeit), zeigen(vorher)));
    return true;
}
