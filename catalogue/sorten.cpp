// SPDX-License-Identifier: GPL-3.0-or-later
// Packages of the current medication.
#include "app/mainwindow.h"

#include "app/tabellen.h"

#include "bmp/pzn.h"
#include "bmp/zusatztabellen.h"
#include "catalogue/katalog.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"
#include "verlauf/verlauf.h"

#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableWidget>

namespace {

// The units per package typed into feld; a refused text is reported there.
std::optional<double> packungLesen(MainWindow &fenster, QLineEdit *feld)
{
    const std::optional<double> packung = zahlLesen(feld->text(), Bereich::einheiten);
    if (!packung) {
        fenster.meldungZeigen(
            zahlFehlerText(QStringLiteral("Einheiten pro Packung"), feld->text().trimmed(), Bereich::einheiten));
        feld->setFocus();
    }
    return packung;
}

// The package's fields as the history names them: trade name, dose, units.
QVector<Feldwert> sorteFelder(const QStringList &alt, const QStringList &neu)
{
    return {{QStringLiteral("Handelsname"), alt.value(0), neu.value(0)},
            {QStringLiteral("Dosis"), alt.value(1), neu.value(1)},
            {QStringLiteral("Einheiten"), alt.value(2), neu.value(2)},
            {QStringLiteral("PZN"), alt.value(3), neu.value(3)}};
}

// Trade name, dose, units and PZN of the package as stored, and the entry about
// it with its keys and the medication's name; none when the package is gone.
std::optional<QPair<QStringList, Verlaufseintrag>> sorteLesen(DbSitzung &db, const QVariant &id, const QString &art,
                                                              bool *ok)
{
    const auto zeilen = db.lesen(QStringLiteral("SELECT sorte.handelsname, sorte.dosis, sorte.packung, "
                                                "sorte.medizin_id, medikament.medizin FROM sorte LEFT JOIN medikament "
                                                "ON sorte.medizin_id = medikament.id WHERE sorte.id=:id"),
                                 {{QStringLiteral(":id"), id}}, ok);
    if (zeilen.isEmpty())
        return std::nullopt;
    const QSqlRecord &r = zeilen.first();
    QString pzn;
    if (zusatzDa(db, Zusatz::sortePzn)) {
        const auto p = db.lesen(QStringLiteral("SELECT pzn FROM sorte_pzn WHERE sorte_id=:id"),
                                {{QStringLiteral(":id"), id}}, ok);
        if (!*ok)
            return std::nullopt;
        pzn = p.isEmpty() ? QString() : p.first().value(0).toString();
    }
    Verlaufseintrag e;
    e.art = art;
    e.sorte = id;
    e.medikament = r.value(3);
    e.betrifft = sorteBeschreibung(r.value(4).toString(), r.value(0).toString(), r.value(1).toString());
    return qMakePair(QStringList{r.value(0).toString(), r.value(1).toString(), zahlText(r.value(2).toDouble()), pzn},
                     e);
}

// The PZN typed into feld ("" for none); a refused text is reported there.
std::optional<QString> pznFeldLesen(MainWindow &fenster, QLineEdit *feld)
{
    const PznEingabe e = pznLesen(feld->text(), QStringLiteral("PZN"));
    if (!e.fehler.isEmpty()) {
        fenster.meldungZeigen(e.fehler);
        feld->setFocus();
        return std::nullopt;
    }
    return e.pzn;
}

QString pznBelegtText(const QString &pzn, const QString &packung)
{
    return QStringLiteral("Die PZN %1 ist schon bei der Packung \u201E%2\u201C eingetragen. Eine PZN geh\u00F6rt "
                          "zu genau einer Packung. Es wurde nichts gespeichert.")
        .arg(pzn, packung);
}

} // namespace

void MainWindow::SorteFuellen()
{
    tabelleSorten->clear();
    tabelleSorten->setRowCount(0);
    tabelleSorten->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("med_id"),
                                              QStringLiteral("Verpackung / Handelsname"), QStringLiteral("Dosis"),
                                              QStringLiteral("Menge"), QStringLiteral("PZN")});
    const int medZeile = tabelleMedikamente->currentRow();
    if (tabelleMedikamente->rowCount() == 0 || medZeile < 0)
        return;
    DbSitzung db(*this);
    // Files without any PZN have no table for them.
    const QString pzn = zusatzDa(db, Zusatz::sortePzn)
                            ? QStringLiteral("(SELECT pzn FROM sorte_pzn WHERE sorte_id = sorte.id)")
                            : QStringLiteral("NULL");
    const auto zeilen = db.lesen(QStringLiteral("SELECT id, medizin_id, handelsname, dosis, packung, %1 AS pzn FROM "
                                                "sorte WHERE medizin_id=:medid ORDER BY dosis ASC ")
                                     .arg(pzn),
                                 {{QStringLiteral(":medid"), zellText(tabelleMedikamente, medZeile, 0).toInt()}});
    static const char *const spalten[] = {"id", "medizin_id", "handelsname", "dosis", "packung", "pzn"};
    tabelleSorten->setRowCount(zeilen.size());
    for (int z = 0; z < zeilen.size(); ++z) {
        for (int s = 0; s < 6; ++s) {
            auto *item = new QTableWidgetItem(zeilen.at(z).value(QLatin1String(spalten[s])).toString());
            if (s >= 3)
                item->setTextAlignment(Qt::AlignCenter);
            tabelleSorten->setItem(z, s, item);
        }
    }
}

void MainWindow::SorteAnklicken(int eingang3)
{
    if (eingang3 < 0 || eingang3 >= tabelleSorten->rowCount())
        return;
    const QString handelsname = zellText(tabelleSorten, eingang3, 2);
    const QString dosis = zellText(tabelleSorten, eingang3, 3);
    const QString packung = zellText(tabelleSorten, eingang3, 4);
    const QString pzn = zellText(tabelleSorten, eingang3, 5);
    editSorteNeuHandelsname->setText(handelsname);
    editSorteNeuDosis->setText(dosis);
    editSorteNeuPackung->setText(packung);
    editSorteNeuPzn->setText(pzn);
    anzeigeSorteHandelsname->setText(handelsname);
    anzeigeSorteDosis->setText(dosis);
    anzeigeSortePackung->setText(packung);
    anzeigeSortePzn->setText(pzn);
}

bool MainWindow::sorteZeigen(const QString &id)
{
    const int zeile = zeileMitSchluessel(tabelleSorten, id);
    if (zeile < 0)
        return false;
    tabelleSorten->setCurrentCell(zeile, 2);
    SorteAnklicken(zeile);
    return true;
}

const char *const sorteEinfuegen = "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) SELECT :medizin_id, "
                                   ":hname, :dosis, :packung WHERE EXISTS (SELECT 1 FROM medikament WHERE id=:m2)";

void MainWindow::SorteZufuegen()
{
    const int medZeile = tabelleMedikamente->currentRow();
    if (tabelleMedikamente->rowCount() == 0 || medZeile < 0)
        return;
    const std::optional<double> packung = packungLesen(*this, editSortePackung);
    if (!packung)
        return;
    const std::optional<QString> pzn = pznFeldLesen(*this, editSortePzn);
    if (!pzn)
        return;
    const QString medId = zellText(tabelleMedikamente, medZeile, 0);
    QVariant neueId;
    QString belegt;
    {
        DbSitzung db(*this);
        // Keep what was typed when it could not be stored; a medication
        // deleted elsewhere gets no package.
        const bool gespeichert = db.transaktion([&] {
            if (!db.aendernZeile(QString::fromLatin1(sorteEinfuegen),
                                 {{QStringLiteral(":medizin_id"), medId.toInt()},
                                  {QStringLiteral(":hname"), editSorteHandelsname->text()},
                                  {QStringLiteral(":dosis"), editSorteDosis->text()},
                                  {QStringLiteral(":packung"), *packung},
                                  {QStringLiteral(":m2"), medId.toInt()}},
                                 &neueId) ||
                !pznSpeichern(db, neueId.toInt(), *pzn, &belegt))
                return false;
            bool ok = false;
            auto neu = sorteLesen(db, neueId, Verlaufsart::packungAngelegt, &ok);
            if (!neu)
                return false;
            neu->second.neu = felderText(sorteFelder({}, neu->first), true);
            return verlaufSchreiben(db, aktuelleZeit(), neu->second);
        });
        if (!gespeichert) {
            if (!belegt.isEmpty()) {
                meldungZeigen(pznBelegtText(*pzn, belegt));
                editSortePzn->setFocus();
            }
            return;
        }
    }
    editSorteHandelsname->clear();
    editSorteDosis->clear();
    editSortePackung->clear();
    editSortePzn->clear();
    // The new package, wherever its dose sorts it, is the one shown on the
    // pages and the one the next command acts on.
    Auswahl neu;
    neu.medikament = medId;
    neu.sorte = neueId.toString();
    auffrischen(Geaendert::katalog, neu);
}

void MainWindow::SorteAendern()
{
    const int zeile = tabelleSorten->currentRow();
    if (zeile < 0 || tabelleMedikamente->currentRow() < 0)
        return;
    const std::optional<double> packung = packungLesen(*this, editSorteNeuPackung);
    if (!packung)
        return;
    const std::optional<QString> pzn = pznFeldLesen(*this, editSorteNeuPzn);
    if (!pzn)
        return;
    const QString sorteId = zellText(tabelleSorten, zeile, 0);
    QString belegt;
    {
        DbSitzung db(*this);
        // Refilling would overwrite the typed fields with the stored data.
        // A package or medication deleted elsewhere is not written again.
        const int medId = zellText(tabelleSorten, zeile, 1).toInt();
        const bool gespeichert = db.transaktion([&] {
            bool ok = false;
            auto vorher = sorteLesen(db, sorteId.toInt(), Verlaufsart::packungGeaendert, &ok);
            if (ok && !vorher)
                db.konflikt();
            if (!vorher ||
                !db.aendernZeile(QStringLiteral("UPDATE sorte SET medizin_id=:medizin_id, handelsname=:hname, "
                                                "dosis=:dosis, packung=:packung WHERE id=:id "
                                                "AND EXISTS (SELECT 1 FROM medikament WHERE id=:m2)"),
                                 {{QStringLiteral(":medizin_id"), medId},
                                  {QStringLiteral(":hname"), editSorteNeuHandelsname->text()},
                                  {QStringLiteral(":dosis"), editSorteNeuDosis->text()},
                                  {QStringLiteral(":packung"), *packung},
                                  {QStringLiteral(":id"), sorteId.toInt()},
                                  {QStringLiteral(":m2"), medId}}) ||
                !pznSpeichern(db, sorteId.toInt(), *pzn, &belegt))
                return false;
            const auto aenderung = feldAenderungen(sorteFelder(
                vorher->first, {editSorteNeuHandelsname->text(), editSorteNeuDosis->text(), zahlText(*packung), *pzn}));
            if (aenderung.first.isEmpty())
                return true;
            vorher->second.alt = aenderung.first;
            vorher->second.neu = aenderung.second;
            return verlaufSchreiben(db, aktuelleZeit(), vorher->second);
        });
        if (!gespeichert) {
            if (!belegt.isEmpty()) {
                meldungZeigen(pznBelegtText(*pzn, belegt));
                editSorteNeuPzn->setFocus();
            }
            return;
        }
    }
    // A changed dose may move the package: it stays the one shown and acted
    // on. The intake table and the overview show trade name, dose and units.
    for (QLineEdit *feld : {editSorteNeuHandelsname, editSorteNeuDosis, editSorteNeuPackung, editSorteNeuPzn})
        feld->setModified(false);
    auffrischen(Geaendert::katalog);
}

void MainWindow::SorteLoeschen()
{
    const int zeile = tabelleSorten->currentRow();
    const int medZeile = tabelleMedikamente->currentRow();
    if (zeile < 0 || medZeile < 0)
        return;
    const QString medId = zellText(tabelleMedikamente, medZeile, 0);
    const QVariant sorteId = zellText(tabelleSorten, zeile, 0).toInt();
    QString frage;
    {
        DbSitzung db(*this);
        bool ok = false;
        const auto sorte = db.lesen(
            QStringLiteral("SELECT handelsname, dosis, (SELECT COUNT(*) FROM einnahme WHERE med_id=:id1), "
                           "(SELECT COUNT(DISTINCT pat_id) FROM einnahme WHERE med_id=:id2) FROM sorte WHERE id=:id3"),
            {{QStringLiteral(":id1"), sorteId}, {QStringLiteral(":id2"), sorteId}, {QStringLiteral(":id3"), sorteId}},
            &ok);
        if (!ok)
            return;
        if (sorte.isEmpty()) {
            db.konflikt();
            return;
        }
        const QSqlRecord &s = sorte.first();
        frage = sorteLoeschenFrage(s.value(0).toString(), s.value(1).toString(), s.value(2).toInt(),
                                   s.value(3).toInt());
    }
    if (!frageStellen(frage))
        return;
    {
        DbSitzung db(*this);
        // Only the package goes: intake lines that use it stay, as the question says.
        if (!db.transaktion([&] {
                bool ok = false;
                auto vorher = sorteLesen(db, sorteId, Verlaufsart::packungGeloescht, &ok);
                if (ok && !vorher)
                    db.konflikt();
                if (!vorher || !db.aendernZeile(QStringLiteral("Delete FROM sorte WHERE id=:id ;"),
                                                {{QStringLiteral(":id"), sorteId}}))
                    return false;
                vorher->second.alt = felderText(sorteFelder(vorher->first, {}), false);
                return verlaufSchreiben(db, aktuelleZeit(), vorher->second);
            }))
            return;
    }
    anzeigeSorteHandelsname->clear();
    anzeigeSorteDosis->clear();
    anzeigeSortePackung->clear();
    anzeigeSortePzn->clear();

    // The same medication stays current, with its first remaining package shown.
    auffrischen(Geaendert::katalog);
}
