// SPDX-License-Identifier: GPL-3.0-or-later
// The intake table and its row cache.
#include "app/mainwindow.h"

#include "app/tabellen.h"

#include "intake/bestand.h"
#include "intake/gespeichert.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"

#include <QHeaderView>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

const char *const einnahmeAbfrage =
    "SELECT * FROM einnahme LEFT JOIN sorte ON einnahme.med_id = sorte.id LEFT JOIN medikament ON "
    "sorte.medizin_id = medikament.id WHERE einnahme.pat_id = :pat ORDER BY ordnung, einnahme.id ";

} // namespace

QVariantList einnahmeWerte(const QSqlRecord &r)
{
    QVariantList werte;
    for (const char *spalte : {"tag", "stand", "morgen", "mittag", "abend", "nacht", "hilfe"})
        werte << r.value(QLatin1String(spalte));
    return werte;
}

QString einnahmeUnveraendert(Datenbankart art)
{
    return QStringLiteral(" AND tag %1 :alt_tag AND stand %1 :alt_stand AND morgen %1 :alt_morgen AND mittag %1 "
                          ":alt_mittag AND abend %1 :alt_abend AND nacht %1 :alt_nacht AND hilfe %1 :alt_hilfe")
        .arg(Dialekt::gleich(art));
}

bool positionenOrdnen(DbSitzung &db, const QString &patient)
{
    bool ok = false;
    const auto zeilen = db.lesen(
        QStringLiteral("SELECT id, ordnung FROM einnahme WHERE pat_id=:pat ORDER BY ordnung, id"),
        {{QStringLiteral(":pat"), patient}}, &ok);
    if (!ok)
        return false;
    // Only lines whose position changes are written: after an assignment at
    // the end nothing is, and the command costs no write more.
    for (int i = 0; i < zeilen.size(); ++i) {
        const QVariant ordnung = zeilen.at(i).value(1);
        if (ordnung.userType() == QMetaType::LongLong && ordnung.toLongLong() == i + 1)
            continue;
        if (!db.aendern(QStringLiteral("UPDATE einnahme SET ordnung=:ordnung WHERE id=:id ;"),
                        {{QStringLiteral(":ordnung"), i + 1}, {QStringLiteral(":id"), zeilen.at(i).value(0)}}))
            return false;
    }
    return true;
}

Werte einnahmeUnveraendertWerte(const QVariantList &gespeichert)
{
    Werte werte;
    int i = 0;
    for (const char *name :
         {":alt_tag", ":alt_stand", ":alt_morgen", ":alt_mittag", ":alt_abend", ":alt_nacht", ":alt_hilfe"})
        werte.append({QLatin1String(name), gespeichert.value(i++)});
    return werte;
}

int MainWindow::einnahmeZeilen() const
{
    return qMin(tabelleZuordnung->rowCount(), einnahmeId.size());
}

void MainWindow::ZuordnungFuellenMit()
{
    DbSitzung db(*this);
    db.transaktion([&] { return positionenOrdnen(db, aktuellerPatient); });
    auffrischen(Geaendert::einnahme);
}

void MainWindow::ZuordnungFuellen()
{
    tabelleZuordnung->setRowCount(0);

    // Without a current patient (the last one deleted, an empty file opened)
    // nothing of a former patient may stay on screen or in the row cache,
    // where the windows would act on it.
    const int patientZeile = tabellePatientenwahl->currentRow();
    const bool mitPatient = tabellePatientenwahl->rowCount() > 0 && patientZeile >= 0 &&
                            tabellePatientenwahl->item(patientZeile, 0);
    aktuellerPatient = mitPatient ? tabellePatientenwahl->item(patientZeile, 0)->text() : QString();

    DbSitzung db(*this);
    const QVector<QSqlRecord> zeilen = mitPatient ? db.lesen(QString::fromLatin1(einnahmeAbfrage),
                                                             {{QStringLiteral(":pat"), aktuellerPatient}})
                                                  : QVector<QSqlRecord>();

    const int n = zeilen.size();
    for (QVector<QString> *v : {&einnahmeId, &einnahmeMorgen, &einnahmeMittag, &einnahmeAbend, &einnahmeNacht,
                                &einnahmeReichweite, &einnahmeBestand, &einnahmeMedizin, &einnahmeHandelsname,
                                &einnahmeDosis, &einnahmePackung, &einnahmeHilfe, &einnahmeFehler})
        v->resize(n);
    einnahmeTag.resize(n);
    einnahmeGespeichert.resize(n);
    einnahmeDosisFehler.resize(n);

    tabelleZuordnung->setUpdatesEnabled(false);
    // The header's style would otherwise hold the rows at a larger minimum.
    tabelleZuordnung->verticalHeader()->setMinimumSectionSize(20);
    tabelleZuordnung->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        const QSqlRecord &r = zeilen.at(i);
        // The first "id" of the joined row is the intake line's own key.
        einnahmeId[i] = r.value(QStringLiteral("id")).toString();
        einnahmeMedizin[i] = r.value(QStringLiteral("medizin")).toString();
        einnahmeHandelsname[i] = r.value(QStringLiteral("handelsname")).toString();
        einnahmeDosis[i] = r.value(QStringLiteral("dosis")).toString();
        einnahmePackung[i] = r.value(QStringLiteral("packung")).toString();
        einnahmeTag[i] = r.value(QStringLiteral("tag")).toDate();
        einnahmeGespeichert[i] = einnahmeWerte(r);

        const QVariantList dosen{r.value(QStringLiteral("morgen")), r.value(QStringLiteral("mittag")),
                                 r.value(QStringLiteral("abend")), r.value(QStringLiteral("nacht"))};
        const Zeilenpruefung pruefung = zeilePruefen(r.value(QStringLiteral("stand")), r.value(QStringLiteral("tag")),
                                                     dosen);
        einnahmeFehler[i] = pruefung.fehler;
        einnahmeDosisFehler[i] = pruefung.dosen;

        // Stock and range of a line that cannot be counted stay empty: the
        // assignment window then asks for the stock anew.
        einnahmeBestand[i].clear();
        einnahmeReichweite[i].clear();
        if (pruefung.fehler.isEmpty()) {
            const Bestand b = bestandBerechnen(r.value(QStringLiteral("stand")).toFloat(), dosen.at(0).toFloat(),
                                               dosen.at(1).toFloat(), dosen.at(2).toFloat(), dosen.at(3).toFloat(),
                                               einnahmeTag.at(i), heute);
            einnahmeBestand[i] = bestandText(static_cast<double>(b.heute));
            einnahmeReichweite[i] = bestandText(b.reichweite);
        }

        // A valid dose in plain notation, so that the window can offer it
        // back; an invalid one as stored, for the user to correct.
        for (const auto &[cache, d] :
             {std::pair{&einnahmeMorgen, 0}, {&einnahmeMittag, 1}, {&einnahmeAbend, 2}, {&einnahmeNacht, 3}})
            (*cache)[i] = pruefung.dosen.at(d).isEmpty() ? zahlText(dosen.at(d).toDouble()) : dosen.at(d).toString();
        einnahmeHilfe[i] = r.value(QStringLiteral("hilfe")).toString();

        QStringList dosisFehler = pruefung.dosen;
        dosisFehler.removeAll(QString());
        const QString einnahme = !dosisFehler.isEmpty()
                                     ? ungueltigText()
                                     : MengeFormatieren(einnahmeMorgen.at(i).toFloat()) + QLatin1Char('-') +
                                           MengeFormatieren(einnahmeMittag.at(i).toFloat()) + QLatin1Char('-') +
                                           MengeFormatieren(einnahmeAbend.at(i).toFloat()) + QLatin1Char('-') +
                                           MengeFormatieren(einnahmeNacht.at(i).toFloat());

        tabelleZuordnung->setRowHeight(i, 20);
        tabelleZuordnung->setItem(i, 0, neueZelle(einnahmeId.at(i)));
        QTableWidgetItem *medizin = neueZelle(einnahmeMedizin.at(i));
        medizin->setData(Qt::ToolTipRole, einnahmeHandelsname.at(i));
        tabelleZuordnung->setItem(i, 1, medizin);
        tabelleZuordnung->setItem(i, 2, neueZelle(einnahmeDosis.at(i), true));
        QTableWidgetItem *zeiten = neueZelle(einnahme, true);
        zeiten->setToolTip(dosisFehler.join(QLatin1Char('\n')));
        tabelleZuordnung->setItem(i, 3, zeiten);
        // Column 4 must hold what the file holds: the moves read it.
        tabelleZuordnung->setItem(i, 4, neueZelle(r.value(QStringLiteral("ordnung")).toString()));
    }
    planAngabenLesen();
    tabelleZuordnung->setUpdatesEnabled(true);
    tabellenHinweis(tabelleZuordnung,
                    !mitPatient || n > 0
                        ? QString()
                        : QStringLiteral("Noch nichts zugeordnet: rechts eine Packung w\u00E4hlen, die Dosis eintragen "
                                         "und \u201EEintragen\u201C dr\u00FCcken."));
}
