// SPDX-License-Identifier: GPL-3.0-or-later
// Appointment list and the next family-doctor appointment.
#include "app/mainwindow.h"

#include "appointments/hausarzt.h"
#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

#include <QSqlRecord>
#include <QTableWidget>

void MainWindow::TermineFuellen()
{
    tabelleTermine->setRowCount(0);

    naechsterHausarztTermin = QDate();
    const int patientZeile = tabellePatientenwahl->currentRow();
    const QTableWidgetItem *patient = patientZeile >= 0 ? tabellePatientenwahl->item(patientZeile, 0) : nullptr;
    if (tabellePatientenwahl->rowCount() > 0 && patient) {
        const int schluessel = patient->text().toInt();
        DbSitzung db(*this);
        const auto termine = db.lesen(
            QStringLiteral("SELECT * FROM termine WHERE pata_id=:pata_id ORDER BY arzt_date ASC "),
            {{QStringLiteral(":pata_id"), schluessel}});
        tabelleTermine->setRowCount(termine.size());
        for (int z = 0; z < termine.size(); ++z) {
            const QSqlRecord &t = termine.at(z);
            tabelleTermine->setItem(z, 0, new QTableWidgetItem(t.value(QStringLiteral("id")).toString()));
            tabelleTermine->setItem(z, 1, new QTableWidgetItem(t.value(QStringLiteral("arzt")).toString()));
            auto *datum = new QTableWidgetItem(
                t.value(QStringLiteral("arzt_date")).toDate().toString(QStringLiteral("dd.MM.yyyy")));
            datum->setData(Qt::TextAlignmentRole, QVariant(Qt::AlignCenter));
            tabelleTermine->setItem(z, 2, datum);
        }

        // The next family-doctor appointment is the first of the patient's
        // appointments just read (ordered by date) that may be one: the same
        // row the statement "... WHERE (arzt_date > :heute OR arzt_date =
        // :heute) AND arzt=:arzt AND pata_id=:pata_id ORDER BY arzt_date ASC
        // LIMIT 1" finds, without a second pass over the appointments.
        const QByteArray heuteText = heute.toString(Qt::ISODate).toUtf8();
        for (const QSqlRecord &t : termine) {
            const QVariant datum = t.value(QStringLiteral("arzt_date"));
            if (hausarztTerminAb(t.value(QStringLiteral("arzt")), datum, heuteText)) {
                naechsterHausarztTermin = datum.toDate();
                break;
            }
        }
    }
}

void MainWindow::TerminLoeschen()
{
    const int zeile = tabelleTermine->currentRow();
    if (tabelleTermine->rowCount() == 0 || zeile < 0 || !tabelleTermine->item(zeile, 0))
        return;
    const int id = tabelleTermine->item(zeile, 0)->text().toInt();
    DbSitzung db(*this);
    if (!db.transaktion([&] {
            bool ok = false;
            std::optional<Terminstand> vorher = terminLesen(db, id, Verlaufsart::terminGeloescht, &ok);
            if (ok && !vorher)
                db.konflikt();
            if (!vorher ||
                !db.aendernZeile(QStringLiteral("DELETE FROM termine WHERE id=:id ;"), {{QStringLiteral(":id"), id}}))
                return false;
            vorher->eintrag.alt = vorher->eintrag.betrifft;
            return verlaufSchreiben(db, aktuelleZeit(), vorher->eintrag);
        }))
        return;
    auffrischen(Geaendert::termine);
}
