// SPDX-License-Identifier: GPL-3.0-or-later
// Medications and the package choice table.
#include "app/mainwindow.h"

#include "app/tabellen.h"

#include "catalogue/katalog.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QSqlRecord>
#include <QTableWidget>

const char *const medikamentEinfuegen = "INSERT INTO medikament (medizin) VALUES (:medizin ) ";

namespace {

Verlaufseintrag medikamentEintrag(const QString &art, const QVariant &id, const QString &name)
{
    Verlaufseintrag e;
    e.art = art;
    e.medikament = id;
    e.betrifft = name;
    return e;
}

} // namespace

void MainWindow::MedizinEinstellungFuellen()
{
    // The package chosen for assigning stays chosen across refills, so that
    // what the group "Dem Patienten zuordnen" shows is what "Eintragen" uses.
    const int vorher = tabelleSortenwahl->currentRow();
    const QString gewaehlt = vorher >= 0 ? zellText(tabelleSortenwahl, vorher, 0) : QString();

    tabelleSortenwahl->clear();
    tabelleSortenwahl->setRowCount(0);
    tabelleSortenwahl->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("med_id"),
                                                  QStringLiteral("Verpackung / Handelsname"), QStringLiteral("Dosis"),
                                                  QStringLiteral("Menge")});
    DbSitzung db(*this);
    const auto zeilen = db.lesen(QStringLiteral(
        "SELECT id, medizin_id, handelsname, dosis, packung FROM sorte ORDER BY handelsname ASC, dosis ASC "));
    static const char *const spalten[] = {"id", "medizin_id", "handelsname", "dosis", "packung"};
    tabelleSortenwahl->setUpdatesEnabled(false);
    tabelleSortenwahl->verticalHeader()->setDefaultSectionSize(26);
    tabelleSortenwahl->setRowCount(zeilen.size());
    zellenFuellen(tabelleSortenwahl, [&] {
        for (int z = 0; z < zeilen.size(); ++z) {
            for (int s = 0; s < 5; ++s) {
                auto *item = new QTableWidgetItem(zeilen.at(z).value(QLatin1String(spalten[s])).toString());
                if (s >= 3)
                    item->setTextAlignment(Qt::AlignCenter);
                tabelleSortenwahl->setItem(z, s, item);
            }
        }
    });
    tabelleSortenwahl->setUpdatesEnabled(true);
    tabellenHinweis(tabelleSortenwahl,
                    zeilen.isEmpty() ? QStringLiteral("Noch keine Packung: auf der Seite \u201EMedikamentenliste\u201C "
                                                      "(Men\u00FC \u201EAnsicht\u201C) Medikamente mit ihren Packungen "
                                                      "anlegen.")
                                     : QString());

    if (gewaehlt.isEmpty())
        return;
    const int zeile = zeileMitSchluessel(tabelleSortenwahl, gewaehlt);
    if (zeile < 0) {
        // The chosen package is gone: show no package rather than a deleted one.
        anzeigeZuordnenSorte->clear();
        anzeigeZuordnenDosis->clear();
        anzeigeZuordnenPackung->clear();
        return;
    }
    tabelleSortenwahl->setCurrentCell(zeile, 2);
    // Only the package's own texts may have changed; the typed doses stay.
    anzeigeZuordnenSorte->setText(zellText(tabelleSortenwahl, zeile, 2));
    anzeigeZuordnenDosis->setText(zellText(tabelleSortenwahl, zeile, 3));
    anzeigeZuordnenPackung->setText(zellText(tabelleSortenwahl, zeile, 4));
}

void MainWindow::MedizinEinstellungAnklicken()
{
    const int zeile = tabelleSortenwahl->currentRow();
    if (zeile < 0)
        return;
    anzeigeZuordnenSorte->setText(zellText(tabelleSortenwahl, zeile, 2));
    anzeigeZuordnenSorte->setFont(schriftFett);
    anzeigeZuordnenDosis->setText(zellText(tabelleSortenwahl, zeile, 3));
    anzeigeZuordnenPackung->setText(zellText(tabelleSortenwahl, zeile, 4));
    for (QLineEdit *feld : {editZuordnenMorgen, editZuordnenMittag, editZuordnenAbend, editZuordnenNacht})
        feld->setText(QStringLiteral("0"));
}

void MainWindow::MedikamenteFuellen()
{
    tabelleMedikamente->clear();
    tabelleMedikamente->setRowCount(0);
    tabelleMedikamente->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("Medikament")});
    {
        DbSitzung db(*this);
        const auto zeilen = db.lesen(
            QStringLiteral("SELECT id, medizin FROM medikament WHERE medizin %1 :kat ORDER BY medizin ASC ")
                .arg(Dialekt::wie(db.art())),
            {{QStringLiteral(":kat"), QStringLiteral("%%")}}); // no filter: every name that is not NULL
        tabelleMedikamente->setUpdatesEnabled(false);
        tabelleMedikamente->setRowCount(zeilen.size());
        for (int z = 0; z < zeilen.size(); ++z) {
            tabelleMedikamente->setItem(z, 0,
                                        new QTableWidgetItem(zeilen.at(z).value(QStringLiteral("id")).toString()));
            tabelleMedikamente->setItem(z, 1,
                                        new QTableWidgetItem(zeilen.at(z).value(QStringLiteral("medizin")).toString()));
        }
        tabelleMedikamente->setUpdatesEnabled(true);
    }
}

void MainWindow::katalogZeigen(const QString &medikament, const QString &sorte)
{
    if (tabelleMedikamente->rowCount() == 0) {
        KatalogLeerZeigen();
        return;
    }
    if (!medikamentZeigen(medikament)) {
        tabelleMedikamente->setCurrentCell(0, 1);
        MedikamenteAnklicken();
    }
    sorteZeigen(sorte);
}

bool MainWindow::medikamentZeigen(const QString &id)
{
    const int zeile = zeileMitSchluessel(tabelleMedikamente, id);
    if (zeile < 0)
        return false;
    tabelleMedikamente->setCurrentCell(zeile, 1);
    MedikamenteAnklicken();
    return true;
}

void MainWindow::MedikamenteAnklicken()
{
    const int zeile = tabelleMedikamente->currentRow();
    if (tabelleMedikamente->rowCount() == 0 || zeile < 0)
        return;
    SorteFuellen();
    const QString name = zellText(tabelleMedikamente, zeile, 1);
    // Every page names the medication it belongs to, also a disabled one.
    for (QLabel *l : {anzeigeSorteNeuFuer, anzeigeSorteBearbeitenFuer, anzeigeSorteLoeschenFuer, anzeigeMedikament})
        l->setText(name);
    editMedikamentName->setText(name);
    medikamentTabs->setTabEnabled(0, true);
    const bool hatPackungen = tabelleSorten->rowCount() > 0;
    if (hatPackungen) {
        tabelleSorten->selectRow(0);
        SorteAnklicken(0);
    } else {
        for (QLineEdit *feld : {editSorteNeuHandelsname, editSorteNeuDosis, editSorteNeuPackung, editSorteHandelsname,
                                editSorteDosis, editSortePackung})
            feld->clear();
        anzeigeSorteHandelsname->clear();
        anzeigeSorteDosis->clear();
        anzeigeSortePackung->clear();
    }
    medikamentTabs->setTabEnabled(1, hatPackungen);
    medikamentTabs->setTabEnabled(2, hatPackungen);
    if (!medikamentTabs->isTabEnabled(medikamentTabs->currentIndex()))
        medikamentTabs->setCurrentIndex(0);
}

void MainWindow::MedikamentZufuegen()
{
    {
        DbSitzung db(*this);
        // Keep the typed name when it could not be stored.
        const QString name = editMedikamentNeu->text();
        if (!db.transaktion([&] {
                QVariant neueId;
                if (!db.aendern(QString::fromLatin1(medikamentEinfuegen), {{QStringLiteral(":medizin"), name}},
                                &neueId))
                    return false;
                Verlaufseintrag e = medikamentEintrag(Verlaufsart::medikamentAngelegt, neueId, name);
                e.neu = name;
                return verlaufSchreiben(db, aktuelleZeit(), e);
            }))
            return;
    }
    editMedikamentNeu->clear();
    // The first medication by name is shown, as after the start.
    Auswahl erste;
    erste.medikament = QString();
    auffrischen(Geaendert::katalog, erste);
}

void MainWindow::MedikamentAendern()
{
    const int zeile = tabelleMedikamente->currentRow();
    if (tabelleMedikamente->rowCount() == 0 || zeile < 0)
        return;
    const QString id = zellText(tabelleMedikamente, zeile, 0);
    {
        DbSitzung db(*this);
        const QString name = editMedikamentName->text();
        if (!db.transaktion([&] {
                bool ok = false;
                const auto vorher = db.lesen(QStringLiteral("SELECT medizin FROM medikament WHERE id=:id"),
                                             {{QStringLiteral(":id"), id.toInt()}}, &ok);
                if (!ok || !db.aendernZeile(QStringLiteral("UPDATE medikament SET medizin=:medizin WHERE id=:id"),
                                            {{QStringLiteral(":medizin"), name}, {QStringLiteral(":id"), id.toInt()}}))
                    return false;
                const QString alt = vorher.value(0).value(0).toString();
                if (alt == name)
                    return true;
                Verlaufseintrag e = medikamentEintrag(Verlaufsart::medikamentGeaendert, id.toInt(), alt);
                e.alt = alt;
                e.neu = name;
                return verlaufSchreiben(db, aktuelleZeit(), e);
            }))
            return;
    }
    // The renamed medication may sort elsewhere: it stays the one shown and
    // acted on; the intake table, the overview and the plan show its name.
    editMedikamentName->setModified(false);
    auffrischen(Geaendert::katalog);
}

void MainWindow::MedikamentLoeschen()
{
    const int zeile = tabelleMedikamente->currentRow();
    if (tabelleMedikamente->rowCount() == 0 || zeile < 0)
        return;
    const QString name = zellText(tabelleMedikamente, zeile, 1);
    const Werte id{{QStringLiteral(":id"), zellText(tabelleMedikamente, zeile, 0).toInt()}};
    QString frage;
    {
        DbSitzung db(*this);
        bool ok = false;
        const auto anzahlen = db.lesen(
            QStringLiteral("SELECT (SELECT COUNT(*) FROM sorte WHERE medizin_id=:id1), "
                           "COUNT(*), COUNT(DISTINCT pat_id), (SELECT COUNT(*) FROM medikament WHERE id=:id3) "
                           "FROM einnahme WHERE med_id IN (SELECT id FROM sorte WHERE medizin_id=:id2)"),
            {{QStringLiteral(":id1"), id.first().second},
             {QStringLiteral(":id2"), id.first().second},
             {QStringLiteral(":id3"), id.first().second}},
            &ok);
        if (!ok || anzahlen.isEmpty())
            return;
        const QSqlRecord &a = anzahlen.first();
        if (a.value(3).toInt() == 0) {
            db.konflikt();
            return;
        }
        frage = medikamentLoeschenFrage(name, a.value(0).toInt(), a.value(1).toInt(), a.value(2).toInt());
    }
    if (!frageStellen(frage))
        return;

    if (!sicherungVorRiskantem(Sicherungsanlass::medikamentLoeschen))
        return;
    DbSitzung db(*this);
    const bool geloescht = db.transaktion([&] {
        // The lines that go with it, read while their names can still be.
        bool ok = false;
        const auto zeilen = einnahmenLesen(
            db, QStringLiteral("einnahme.med_id IN (SELECT id FROM sorte WHERE medizin_id = :id)"), id, &ok);
        if (!ok)
            return false;
        // The medication first: gone elsewhere, nothing is deleted.
        if (!db.aendernZeile(QStringLiteral("DELETE FROM medikament WHERE id=:id ;"), id))
            return false;
        const auto sorten = db.lesen(QStringLiteral("SELECT * FROM sorte WHERE medizin_id=:id ; "), id, &ok);
        if (!ok)
            return false;
        for (const QSqlRecord &sorte : sorten) {
            if (!db.aendern(QStringLiteral("DELETE FROM einnahme WHERE med_id=:id1 ; "),
                            {{QStringLiteral(":id1"), sorte.value(QStringLiteral("id"))}}))
                return false;
        }
        if (!db.aendern(QStringLiteral("DELETE FROM sorte WHERE medizin_id=:id ; "), id))
            return false;

        QVector<Verlaufseintrag> eintraege;
        eintraege << medikamentEintrag(Verlaufsart::medikamentGeloescht, id.first().second, name);
        eintraege.last().alt = name;
        const QString mit = QStringLiteral("mit dem Medikament gel\u00F6scht");
        for (const QSqlRecord &sorte : sorten) {
            Verlaufseintrag e = medikamentEintrag(
                Verlaufsart::packungGeloescht, id.first().second,
                sorteBeschreibung(name, sorte.value(QStringLiteral("handelsname")).toString(),
                                  sorte.value(QStringLiteral("dosis")).toString()));
            e.sorte = sorte.value(QStringLiteral("id"));
            e.alt = QStringLiteral("%1 Einheiten je Packung").arg(sorte.value(QStringLiteral("packung")).toString());
            e.neu = mit;
            eintraege << e;
        }
        for (const auto &z : zeilen)
            eintraege << einnahmeEntfernt(z.first, z.second, heute, mit);
        for (const Verlaufseintrag &e : eintraege) {
            if (!verlaufSchreiben(db, aktuelleZeit(), e))
                return false;
        }
        return true;
    });
    // Rolled back: the file is as before, and so stays what is shown.
    if (!geloescht)
        return;

    // The first medication left becomes current and is shown on every page,
    // so the next command acts on what is shown; none left shows none.
    editMedikamentNeu->clear();
    auffrischen(Geaendert::katalog | Geaendert::einnahme);
}

void MainWindow::KatalogLeerZeigen()
{
    SorteFuellen();
    for (int i = 0; i < 3; ++i)
        medikamentTabs->setTabEnabled(i, false);
    anzeigeSorteHandelsname->clear();
    anzeigeSorteDosis->clear();
    anzeigeSortePackung->clear();
    anzeigeSortePzn->clear();
    for (QLineEdit *feld :
         {editSorteNeuHandelsname, editSorteNeuDosis, editSorteNeuPackung, editSorteNeuPzn, editMedikamentName})
        feld->clear();
    for (QLabel *l : {anzeigeSorteNeuFuer, anzeigeSorteBearbeitenFuer, anzeigeSorteLoeschenFuer, anzeigeMedikament})
        l->clear();
}
