// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a medication plan in: from the text a hand scanner types, or from
// pictures of its pages.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "app/tabellen.h"
#include "bmp/bmplesen.h"
#include "bmp/datamatrix.h"
#include "bmp/zusatztabellen.h"
#include "intake/fensterfelder.h"
#include "intake/gespeichert.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

QString seitenText(int n)
{
    return n == 0 ? QStringLiteral("Noch kein Bild eingelesen.")
                  : QStringLiteral("Aus Bildern gelesen: %1 %2.").arg(n).arg(n == 1 ? "Code" : "Codes");
}

} // namespace

void MainWindow::BmpEinlesen()
{
    bmpScannerText->clear();
    bmpBildInhalte.clear();
    QDialog fenster(this);
    fenster.setObjectName(QStringLiteral("fensterBmpEinlesen"));
    fenster.setWindowTitle(QStringLiteral("Medikationsplan einlesen"));
    fenster.setFixedSize(560, 330);
    fenster.setFont(schriftNormal);
    QLabel *l = fensterText(fenster,
                            QStringLiteral("&Den Code mit dem Handscanner hierher scannen (jede Seite des Plans):"),
                            QRect(20, 10, 520, 20));
    l->setBuddy(bmpScannerText.get());
    const FelderLeihen geliehen(fenster, {{bmpScannerText.get(), QRect(20, 35, 520, 170)}});
    fensterText(fenster, QStringLiteral("Oder ein Foto oder einen Scan der Seiten (PNG, JPEG) \u00F6ffnen:"),
                QRect(20, 215, 380, 20));
    auto *bild = new QPushButton(QStringLiteral("&Bild \u00F6ffnen..."), &fenster);
    bild->setObjectName(QStringLiteral("knopfBmpBild"));
    bild->setGeometry(400, 210, 140, 30);
    connect(bild, &QPushButton::clicked, this, &MainWindow::BmpBildOeffnen);
    bmpBilderAnzeige = fensterText(fenster, seitenText(0), QRect(20, 245, 520, 20));
    bmpBilderAnzeige->setObjectName(QStringLiteral("anzeigeBmpBilder"));
    bmpScannerText->setFocus();
    fensterAusfuehren(fenster, QStringLiteral("&Weiter"), 285, &MainWindow::BmpEinlesenWeiter, fensterGespeichert);
    bmpBilderAnzeige = nullptr;
    if (!fensterGespeichert || !bmpImport)
        return;
    bmpAbgleichFenster();
}

void MainWindow::BmpBildOeffnen()
{
    const QString datei = dateiWaehlen(QStringLiteral("Bild des Medikationsplans \u00F6ffnen"), dialogOrdner(),
                                       QStringLiteral("Bilder (*.png *.jpg *.jpeg)"), false);
    if (datei.isEmpty())
        return;
    // A large scan takes a moment: its progress is shown and it can be stopped.
    QProgressDialog fortschritt(QStringLiteral("Der Code wird gesucht..."), QStringLiteral("Abbrechen"), 0, 100,
                                bmpBilderAnzeige ? bmpBilderAnzeige->window() : this);
    fortschritt.setWindowModality(Qt::WindowModal);
    fortschritt.setMinimumDuration(500);
    const GelesenerCode g = dataMatrixAusDatei(datei, [&fortschritt](int erledigt, int gesamt) {
        fortschritt.setValue(100 * erledigt / qMax(1, gesamt));
        QApplication::processEvents();
        return !fortschritt.wasCanceled();
    });
    fortschritt.reset();
    if (g.abgebrochen)
        return;
    if (!g.fehler.isEmpty()) {
        meldungZeigen(QStringLiteral("\u201E%1\u201C: %2").arg(QDir::toNativeSeparators(datei), g.fehler));
        return;
    }
    for (const QByteArray &inhalt : g.inhalte)
        if (!bmpBildInhalte.contains(inhalt))
            bmpBildInhalte.append(inhalt);
    if (bmpBilderAnzeige)
        bmpBilderAnzeige->setText(seitenText(int(bmpBildInhalte.size())));
}

void MainWindow::BmpEinlesenWeiter()
{
    QVector<BmpPlan> seiten;
    QStringList hinweise;
    const auto aufnehmen = [&](const BmpLesung &l, int nummer) {
        if (!l.plan) {
            meldungZeigen(
                QStringLiteral("Der %1. gelesene Code wurde nicht eingelesen:\n\n%2").arg(nummer).arg(l.fehler));
            return false;
        }
        seiten << *l.plan;
        hinweise << l.hinweise;
        return true;
    };
    int nummer = 0;
    for (const QByteArray &inhalt : bmpBildInhalte)
        if (!aufnehmen(bmpLesen(inhalt), ++nummer))
            return;
    const QStringList getippt = bmpScannerSeiten(bmpScannerText->toPlainText());
    if (getippt.isEmpty() && !bmpScannerText->toPlainText().trimmed().isEmpty()) {
        meldungZeigen(QStringLiteral("Der gescannte Text ist kein Medikationsplan: Er enth\u00E4lt kein "
                                     "\u201E<MP\u201C. Ist der Scanner auf die deutsche Tastaturbelegung "
                                     "eingestellt? Sonst bitte ein Bild des Plans \u00F6ffnen."));
        bmpScannerText->setFocus();
        return;
    }
    for (const QString &seite : getippt)
        if (!aufnehmen(bmpTextLesen(seite), ++nummer)) {
            bmpScannerText->setFocus();
            return;
        }
    if (seiten.isEmpty()) {
        meldungZeigen(QStringLiteral("Bitte zuerst den Code scannen oder ein Bild des Plans \u00F6ffnen."));
        bmpScannerText->setFocus();
        return;
    }
    const BmpLesung ganz = bmpSeitenZusammenfuehren(seiten);
    if (!ganz.plan) {
        meldungZeigen(ganz.fehler);
        return;
    }
    hinweise << ganz.hinweise;
    // A plan read only in part is not taken over silently.
    if (!hinweise.isEmpty() &&
        !frageStellen(hinweise.join(QLatin1Char('\n')) + QStringLiteral("\n\nTrotzdem mit dem Abgleich fortfahren?")))
        return;
    auto import = std::make_unique<BmpImport>();
    import->plan = *ganz.plan;
    import->hinweise = hinweise;
    if (!bmpAbgleichVorbereiten(*import))
        return;
    bmpImport = std::move(import);
    fensterGespeichert = true;
}

bool MainWindow::bmpAbgleichVorbereiten(BmpImport &import)
{
    const BmpPatient &p = import.plan.patient;
    const QString geburt = bmpGeburtAnzeige(p.geburt);
    const QString imPlan = QStringLiteral("%1 %2, geb. %3").arg(p.vorname, p.name, geburt);
    DbSitzung db(*this);
    bool ok = false;
    const auto gefunden = db.lesen(
        QStringLiteral("SELECT id FROM patient WHERE firstname=:v AND lastname=:n AND "
                       "birth=:g ORDER BY id"),
        {{QStringLiteral(":v"), p.vorname}, {QStringLiteral(":n"), p.name}, {QStringLiteral(":g"), geburt}}, &ok);
    if (!ok)
        return false;
    if (!gefunden.isEmpty()) {
        import.patient = gefunden.first().value(0).toString();
        import.patientText = imPlan;
    } else if (frageStellen(QStringLiteral("Der Plan ist f\u00FCr %1. Diesen Patienten gibt es in Kalvoria noch "
                                           "nicht.\n\nSoll er beim \u00DCbernehmen neu angelegt werden?")
                                .arg(imPlan))) {
        import.patientText = imPlan + QStringLiteral(" (wird neu angelegt)");
    } else {
        const int zeile = tabellePatientenwahl->currentRow();
        const QString gewaehlt = zellText(tabellePatientenwahl, zeile, 1) + QStringLiteral(", ") +
                                 zellText(tabellePatientenwahl, zeile, 2);
        if (aktuellerPatient.isEmpty() ||
            !frageStellen(QStringLiteral("Soll der Plan f\u00FCr %1 stattdessen dem gew\u00E4hlten Patienten %2 "
                                         "zugeordnet werden?")
                              .arg(imPlan, gewaehlt)))
            return false;
        import.patient = aktuellerPatient;
        import.patientText = gewaehlt + QStringLiteral(" (im Plan: %1)").arg(imPlan);
    }

    const bool mitPzn = zusatzDa(db, Zusatz::sortePzn);
    const bool mitPlan = zusatzDa(db, Zusatz::einnahmeBmp);
    const QString pzn = mitPzn ? QStringLiteral("(SELECT pzn FROM sorte_pzn WHERE sorte_id = s.id)")
                               : QStringLiteral("NULL");
    for (const QSqlRecord &r :
         db.lesen(QStringLiteral("SELECT s.id, m.medizin, s.handelsname, s.dosis, %1 FROM sorte s JOIN medikament m "
                                 "ON m.id = s.medizin_id ORDER BY s.id")
                      .arg(pzn))) {
        import.katalog.append({r.value(0).toInt(), r.value(1).toString(), r.value(2).toString(), r.value(3).toString(),
                               r.value(4).toString()});
    }
    if (!import.patient.isEmpty()) {
        const QString extra = mitPlan
                                  ? QStringLiteral(", b.dosis_text, b.ohne_dosis, b.form, b.hinweis, b.grund FROM "
                                                   "einnahme e LEFT JOIN einnahme_bmp b ON b.einnahme_id = e.id")
                                  : QStringLiteral(", NULL AS dosis_text, NULL AS ohne_dosis, NULL AS form, NULL AS "
                                                   "hinweis, NULL AS grund FROM einnahme e");
        for (const QSqlRecord &r :
             db.lesen(QStringLiteral("SELECT e.*, s.handelsname, m.medizin") + extra +
                          QStringLiteral(" LEFT JOIN sorte s ON s.id = e.med_id LEFT JOIN medikament m ON m.id = "
                                         "s.medizin_id WHERE e.pat_id=:pat AND (e.hilfe IS NULL OR e.hilfe <> 1) "
                                         "ORDER BY e.ordnung, e.id"),
                      {{QStringLiteral(":pat"), import.patient}})) {
            VorhandeneZeile z;
            z.einnahme = r.value(QStringLiteral("id")).toString();
            z.sorte = r.value(QStringLiteral("med_id")).toInt();
            const QString name = r.value(QStringLiteral("handelsname")).toString();
            z.bezeichnung = name.isEmpty() ? r.value(QStringLiteral("medizin")).toString() : name;
            int i = 0;
            for (const char *spalte : {"morgen", "mittag", "abend", "nacht"})
                z.dosen[i++] = r.value(QLatin1String(spalte)).toDouble();
            z.angaben.dosisText = r.value(QStringLiteral("dosis_text")).toString();
            z.angaben.ohneDosis = r.value(QStringLiteral("ohne_dosis")).toBool();
            // A text Kalvoria's own plan printed cut is kept whole on taking the plan over.
            z.angaben.form = r.value(QStringLiteral("form")).toString();
            z.angaben.hinweis = r.value(QStringLiteral("hinweis")).toString();
            z.angaben.grund = r.value(QStringLiteral("grund")).toString();
            import.zeilen.append(z);
            import.gespeichert.append(einnahmeWerte(r));
        }
    }
    import.abgleich = abgleichen(import.plan, import.zeilen, import.katalog);
    return true;
}
