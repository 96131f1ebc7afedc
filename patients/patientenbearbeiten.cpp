// SPDX-License-Identifier: GPL-3.0-or-later
// Adding, changing and deleting patients.
#include "app/mainwindow.h"

#include "app/tabellen.h"
#include "catalogue/katalog.h"
#include "patients/patienten.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

const char *const patientenSpalten[] = {"lastname", "firstname", "birth", "plz", "ort", "strasse", "nr"};
const char *const patientenFelder[] = {"Name", "Vorname", "Geburtstag", "PLZ", "Ort", "Stra\u00DFe", "Nr"};

// The patient's fields before and after, in the order of patientenSpalten.
QVector<Feldwert> patientFelder(const QStringList &alt, const QStringList &neu)
{
    QVector<Feldwert> felder;
    for (int i = 0; i < 7; ++i)
        felder.append({QString::fromUtf8(patientenFelder[i]), alt.value(i), neu.value(i)});
    return felder;
}

// The patient's stored fields in the order of patientenSpalten; none when gone.
std::optional<QStringList> patientLesen(DbSitzung &db, const QVariant &id, bool *ok)
{
    const auto zeilen = db.lesen(
        QStringLiteral("SELECT lastname, firstname, birth, plz, ort, strasse, nr FROM patient WHERE id=:id"),
        {{QStringLiteral(":id"), id}}, ok);
    if (zeilen.isEmpty())
        return std::nullopt;
    QStringList werte;
    for (int i = 0; i < 7; ++i)
        werte << zeilen.first().value(i).toString();
    return werte;
}

Verlaufseintrag patientEintrag(const QString &art, const QVariant &id, const QStringList &werte)
{
    Verlaufseintrag e;
    e.art = art;
    e.patient = id;
    e.patientName = personText(werte.value(0), werte.value(1));
    e.betrifft = e.patientName;
    return e;
}

} // namespace

const char *const patientEinfuegen = "INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) VALUES "
                                     "(:firstname, :lastname, :birth, :plz, :ort, :strasse, :nr)";

void MainWindow::PatientenNeuEintragen()
{
    QVariant neueId;
    {
        DbSitzung db(*this);
        // A birth date left at "unbekannt" is stored empty, not as a made-up date.
        const QStringList werte{neuName->text(), neuVorname->text(), geburtstagAusFeld(neuGeburtstag),
                                neuPlz->text(),  neuOrt->text(),     neuStrasse->text(),
                                neuNr->text()};
        const bool gespeichert = db.transaktion([&] {
            if (!db.aendern(QString::fromLatin1(patientEinfuegen),
                            {{QStringLiteral(":firstname"), werte.at(1)},
                             {QStringLiteral(":lastname"), werte.at(0)},
                             {QStringLiteral(":birth"), werte.at(2)},
                             {QStringLiteral(":plz"), werte.at(3)},
                             {QStringLiteral(":ort"), werte.at(4)},
                             {QStringLiteral(":strasse"), werte.at(5)},
                             {QStringLiteral(":nr"), werte.at(6)}},
                            &neueId))
                return false;
            Verlaufseintrag e = patientEintrag(Verlaufsart::patientAngelegt, neueId, werte);
            e.neu = felderText(patientFelder({}, werte), true);
            return verlaufSchreiben(db, aktuelleZeit(), e);
        });
        // Keep what was typed when it could not be stored.
        if (!gespeichert)
            return;
    }
    // All patients are listed again, and the new one is loaded for editing.
    patientenSuchspalte = QStringLiteral("firstname");
    patientenSuchtext.clear();
    gruppeNeuerPatient->hide();
    PatientenFelderLeeren();
    radioAusblenden->setChecked(true);
    Auswahl neu;
    neu.bearbeitet = neueId.toInt();
    auffrischen(Geaendert::patienten, neu);
}

void MainWindow::PatientenAendern()
{
    if (bearbeitungsPatientId <= 0)
        return;
    {
        DbSitzung db(*this);
        // An untouched birth date is bound as NULL and so stays as stored,
        // whatever its form; only a date the user set replaces it.
        const QVariant geburtstag = editGeburtstag->date() == geburtstagGeladen
                                        ? QVariant()
                                        : QVariant(geburtstagAusFeld(editGeburtstag));
        const bool gespeichert = db.transaktion([&] {
            bool ok = false;
            const std::optional<QStringList> vorher = patientLesen(db, bearbeitungsPatientId, &ok);
            if (ok && !vorher)
                db.konflikt();
            if (!vorher ||
                !db.aendernZeile(QStringLiteral("UPDATE patient SET firstname=:firstname, lastname=:lastname, "
                                                "birth=COALESCE(:birth, birth), plz=:plz, ort=:ort, strasse=:strasse, "
                                                "nr=:nr WHERE id=:id"),
                                 {{QStringLiteral(":firstname"), editVorname->text()},
                                  {QStringLiteral(":lastname"), editName->text()},
                                  {QStringLiteral(":birth"), geburtstag},
                                  {QStringLiteral(":plz"), editPlz->text()},
                                  {QStringLiteral(":ort"), editOrt->text()},
                                  {QStringLiteral(":strasse"), editStrasse->text()},
                                  {QStringLiteral(":nr"), editNr->text()},
                                  {QStringLiteral(":id"), bearbeitungsPatientId}}))
                return false;
            const QStringList nachher{
                editName->text(), editVorname->text(), geburtstag.isNull() ? vorher->at(2) : geburtstag.toString(),
                editPlz->text(),  editOrt->text(),     editStrasse->text(),
                editNr->text()};
            const auto aenderung = feldAenderungen(patientFelder(*vorher, nachher));
            if (aenderung.first.isEmpty())
                return true;
            Verlaufseintrag e = patientEintrag(Verlaufsart::patientGeaendert, bearbeitungsPatientId, *vorher);
            e.alt = aenderung.first;
            e.neu = aenderung.second;
            return verlaufSchreiben(db, aktuelleZeit(), e);
        });
        // Refilling would overwrite the typed fields with the stored data;
        // a patient gone elsewhere is reported and the views reload.
        if (!gespeichert)
            return;
    }
    // What was typed is stored now: a later change made elsewhere may show.
    for (QLineEdit *feld : {editName, editVorname, editPlz, editOrt, editStrasse, editNr})
        feld->setModified(false);
    auffrischen(Geaendert::patienten);
}

void MainWindow::PatientenEinblenden1()
{
    gruppeNeuerPatient->hide();
    gruppePatientSuchen->hide();
    PatientenFelderLeeren();
}

void MainWindow::PatientenEinblenden2()
{
    gruppeNeuerPatient->show();
    gruppePatientSuchen->hide();
}

void MainWindow::PatientenEinblenden3()
{
    gruppeNeuerPatient->hide();
    gruppePatientSuchen->show();
    PatientenFelderLeeren();
    // Also called when the search is left for another choice: the list then
    // shows all patients again.
    if (!radioPatientSuchen->isChecked())
        patientenSucheBeenden();
}

void MainWindow::PatientenLoeschen()
{
    if (bearbeitungsPatientId <= 0)
        return;
    const Werte id{{QStringLiteral(":id"), bearbeitungsPatientId}};
    QString frage;
    {
        DbSitzung db(*this);
        bool ok = false;
        const auto patient = db.lesen(QStringLiteral("SELECT lastname, firstname, birth FROM patient WHERE id=:id"), id,
                                      &ok);
        if (!ok)
            return;
        if (patient.isEmpty()) {
            db.konflikt();
            return;
        }
        const auto zuordnungen = db.lesen(QStringLiteral("SELECT COUNT(*) FROM einnahme WHERE pat_id=:id"), id, &ok);
        if (!ok || zuordnungen.isEmpty())
            return;
        const auto termine = db.lesen(QStringLiteral("SELECT COUNT(*) FROM termine WHERE pata_id=:id"), id, &ok);
        if (!ok || termine.isEmpty())
            return;
        const QSqlRecord &p = patient.first();
        frage = patientLoeschenFrage(p.value(QStringLiteral("lastname")).toString(),
                                     p.value(QStringLiteral("firstname")).toString(),
                                     p.value(QStringLiteral("birth")).toString(), zuordnungen.first().value(0).toInt(),
                                     termine.first().value(0).toInt());
    }
    if (!frageStellen(frage))
        return;

    if (!sicherungVorRiskantem(Sicherungsanlass::patientLoeschen))
        return;
    DbSitzung db(*this);
    const bool geloescht = db.transaktion([&] {
        // What goes, read before it goes, so that the history can say it.
        bool ok = false;
        const std::optional<QStringList> patient = patientLesen(db, bearbeitungsPatientId, &ok);
        if (!ok)
            return false;
        const auto zeilen = einnahmenLesen(db, QStringLiteral("einnahme.pat_id = :id"), id, &ok);
        if (!ok)
            return false;
        const auto termine = db.lesen(QStringLiteral("SELECT id, arzt, arzt_date FROM termine WHERE pata_id=:id "
                                                     "ORDER BY id"),
                                      id, &ok);
        if (!ok || !db.aendernZeile(QStringLiteral("DELETE FROM patient WHERE id=:id ;"), id) ||
            !db.aendern(QStringLiteral("DELETE FROM einnahme WHERE pat_id=:id ;"), id) ||
            !db.aendern(QStringLiteral("DELETE FROM termine WHERE pata_id=:id ;"), id))
            return false;
        QVector<Verlaufseintrag> eintraege;
        eintraege << patientEintrag(Verlaufsart::patientGeloescht, bearbeitungsPatientId,
                                    patient.value_or(QStringList()));
        eintraege.last().alt = felderText(patientFelder(patient.value_or(QStringList()), {}), false);
        const QString mit = QStringLiteral("mit dem Patienten gel\u00F6scht");
        for (const auto &z : zeilen)
            eintraege << einnahmeEntfernt(z.first, z.second, heute, mit);
        for (const QSqlRecord &t : termine) {
            Verlaufseintrag e = patientEintrag(Verlaufsart::terminGeloescht, bearbeitungsPatientId,
                                               patient.value_or(QStringList()));
            e.termin = t.value(0);
            e.betrifft = terminText(t.value(1).toString(), t.value(2));
            e.alt = e.betrifft;
            e.neu = mit;
            eintraege << e;
        }
        for (const Verlaufseintrag &e : eintraege) {
            if (!verlaufSchreiben(db, aktuelleZeit(), e))
                return false;
        }
        return true;
    });
    // Rolled back: the file is as before, and so stays what is shown.
    if (!geloescht)
        return;
    // The list keeps its found rows; the first of them is loaded. The
    // patient's lines and appointments went with it.
    bearbeitungLeeren();
    auffrischen(Geaendert::patienten | Geaendert::einnahme | Geaendert::termine);
}

void MainWindow::PatientenFelderLeeren()
{
    neuName->clear();
    neuVorname->clear();
    neuPlz->clear();
    // A blanked date edit still holds its last date and would store it
    // unseen for the next patient: show "unbekannt" instead.
    neuGeburtstag->setDate(neuGeburtstag->minimumDate());
    neuOrt->clear();
    neuStrasse->clear();
    neuNr->clear();
}
