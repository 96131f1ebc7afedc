// SPDX-License-Identifier: GPL-3.0-or-later
// The reconciliation window: each line of the plan beside the patient's
// line, accepted or left line by line; nothing is written before the user
// confirms, then everything at once.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "bmp/bmpschreiben.h"
#include "bmp/pzn.h"
#include "bmp/zusatztabellen.h"
#include "intake/gespeichert.h"
#include "sicherung/sicherung.h"
#include "text/textformat.h"
#include "verlauf/verlauf.h"

#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

enum Spalte { sUebernehmen, sPlan, sKalvoria, sBisher, sNeu, sBestand, sErgebnis };

QString artText(Abgleich art)
{
    switch (art) {
    case Abgleich::unveraendert:
        return QStringLiteral("unver\u00E4ndert");
    case Abgleich::geaendert:
        return QStringLiteral("Dosis ge\u00E4ndert");
    case Abgleich::neu:
        return QStringLiteral("neu");
    case Abgleich::neuePackung:
        return QStringLiteral("neu, mit neuer Packung");
    case Abgleich::zuordnen:
        return QStringLiteral("nur PZN: Packung w\u00E4hlen");
    }
    return QString();
}

QString planName(const BmpEintrag &e)
{
    QString name = bmpBezeichnung(e);
    if (!e.handelsname.isEmpty() && !e.wirkstoffe.isEmpty() && !e.wirkstoffe.first().staerke.isEmpty())
        name += QStringLiteral(" (%1)").arg(e.wirkstoffe.first().staerke);
    return name;
}

QTableWidgetItem *text(const QString &t, bool bearbeitbar = false)
{
    auto *item = new QTableWidgetItem(t);
    item->setFlags(bearbeitbar ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                               : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidgetItem *haken(bool an, const QString &t)
{
    auto *item = new QTableWidgetItem(t);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(an ? Qt::Checked : Qt::Unchecked);
    return item;
}

QString packungText(const KatalogPackung &k)
{
    QString t = k.handelsname.isEmpty() ? k.medizin : k.handelsname;
    if (!k.dosis.isEmpty())
        t += QStringLiteral(" (%1)").arg(k.dosis);
    return t;
}

// A dose the plan gives in words, weekly or not at all, as the history adds
// it to the four doses; nothing for a daily schedule.
QString planDosis(const PlanAngaben &a)
{
    return a.ohneTagesverbrauch() ? QStringLiteral(", ") + a.dosisAnzeige() : QString();
}

QString planDosis(const BmpEintrag &e)
{
    const QString worte = planDosisWorte(e);
    if (!worte.isEmpty())
        return QStringLiteral(", ") + worte;
    return e.ohneDosis() ? QStringLiteral(", ohne Dosisangabe") : QString();
}

// A text the printed plan had to cut (ending in "...") stands for the whole
// one the line has: reading Kalvoria's own plan in again keeps it.
QString ganzerText(const QString &plan, const QString &bisher)
{
    const QString anfang = plan.chopped(plan.endsWith(QLatin1String("...")) ? 3 : 0);
    if (anfang.size() < plan.size() && !anfang.isEmpty() && bisher.size() > anfang.size() && bisher.startsWith(anfang))
        return bisher;
    return plan;
}

} // namespace

void MainWindow::bmpAbgleichFenster()
{
    const BmpImport &imp = *bmpImport;
    QDialog fenster(this);
    fenster.setObjectName(QStringLiteral("fensterBmpAbgleich"));
    fenster.setWindowTitle(QStringLiteral("Medikationsplan abgleichen"));
    fenster.setFixedSize(980, 600);
    fenster.setFont(schriftNormal);
    fensterText(fenster, QStringLiteral("Patient:"), QRect(20, 10, 80, 20));
    QLabel *patient = fensterText(fenster, imp.patientText, QRect(100, 10, 860, 20), Qt::AlignLeft | Qt::AlignVCenter,
                                  QStringLiteral("border:1px solid gray;"));
    patient->setObjectName(QStringLiteral("anzeigeBmpPatient"));
    QLabel *zeilenText = fensterText(
        fenster,
        QStringLiteral("&Zeilen des Plans (Leertaste: \u00FCbernehmen oder nicht; Bestand neuer Zeilen "
                       "eintragen):"),
        QRect(20, 40, 940, 20));

    auto *t = new QTableWidget(&fenster);
    tabelleAbgleich = t;
    t->setObjectName(QStringLiteral("tabelleAbgleich"));
    t->setGeometry(20, 65, 940, 360);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::AllEditTriggers);
    t->setTabKeyNavigation(false);
    t->setColumnCount(7);
    t->setHorizontalHeaderLabels({QStringLiteral("\u00DCbernehmen"), QStringLiteral("Im Plan"),
                                  QStringLiteral("In Kalvoria"), QStringLiteral("Bisher"), QStringLiteral("Neu"),
                                  QStringLiteral("Bestand"), QStringLiteral("Ergebnis")});
    zeilenText->setBuddy(t);
    const auto &zeilen = imp.abgleich.zeilen;
    t->setRowCount(int(zeilen.size() + imp.abgleich.fehlend.size()));
    for (int i = 0; i < zeilen.size(); ++i) {
        const PlanZeile &z = zeilen.at(i);
        t->setItem(i, sUebernehmen, haken(z.art != Abgleich::zuordnen, QString()));
        t->setItem(i, sPlan, text(planName(z.eintrag)));
        QString kalvoria;
        for (const KatalogPackung &k : imp.katalog)
            if (k.sorte == z.sorte)
                kalvoria = packungText(k);
        if (z.art == Abgleich::zuordnen) {
            // The user names the package the PZN belongs to.
            auto *wahl = new QComboBox;
            wahl->setObjectName(QStringLiteral("bmpPackungWahl%1").arg(i));
            wahl->addItem(QStringLiteral("\u2013 Packung w\u00E4hlen \u2013"), 0);
            for (const KatalogPackung &k : imp.katalog)
                wahl->addItem(packungText(k), k.sorte);
            wahl->addItem(QStringLiteral("neue Packung \u201E%1\u201C anlegen").arg(bmpBezeichnung(z.eintrag)), -1);
            t->setCellWidget(i, sKalvoria, wahl);
        } else {
            t->setItem(i, sKalvoria,
                       text(z.art == Abgleich::neuePackung ? QStringLiteral("(wird angelegt)") : kalvoria));
        }
        t->setItem(i, sBisher, text(z.bisher));
        t->setItem(i, sNeu, text(z.neu));
        const bool neueZeile = z.zeile < 0;
        t->setItem(i, sBestand, text(neueZeile ? QStringLiteral("0") : QString(), neueZeile));
        t->setItem(i, sErgebnis, text(artText(z.art)));
    }
    for (int k = 0; k < imp.abgleich.fehlend.size(); ++k) {
        const int r = int(zeilen.size()) + k;
        const VorhandeneZeile &z = imp.zeilen.at(imp.abgleich.fehlend.at(k));
        t->setItem(r, sUebernehmen, haken(false, QString()));
        t->setItem(r, sPlan, text(QString()));
        t->setItem(r, sKalvoria, text(z.bezeichnung));
        t->setItem(r, sBisher, text(zeileDosisText(z)));
        t->setItem(r, sNeu, text(QString()));
        t->setItem(r, sBestand, text(QString()));
        t->setItem(r, sErgebnis, text(QStringLiteral("fehlt im Plan (Haken: entfernen)")));
    }
    QHeaderView *k = t->horizontalHeader();
    for (const auto &[spalte, breite] : {std::pair{0, 100}, {1, 210}, {2, 200}, {3, 90}, {4, 120}, {5, 70}})
        k->resizeSection(spalte, breite);
    k->setStretchLastSection(true);
    if (t->rowCount() > 0)
        t->setCurrentCell(0, sUebernehmen);

    QLabel *hinweisText = fensterText(fenster, QStringLiteral("&Hinweise und Angaben des Plans:"),
                                      QRect(20, 432, 400, 20));
    auto *hinweise = new QPlainTextEdit(&fenster);
    hinweise->setObjectName(QStringLiteral("bmpPlanHinweise"));
    hinweise->setReadOnly(true);
    hinweise->setTabChangesFocus(true);
    hinweise->setGeometry(20, 455, 940, 90);
    hinweisText->setBuddy(hinweise);
    QStringList angaben = imp.hinweise;
    const BmpAutor &a = imp.plan.autor;
    angaben << QStringLiteral("Ausgedruckt von %1 am %2.")
                   .arg(a.name, QDateTime::fromString(a.zeit, QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
                                    .toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    for (int i = 0; i < imp.abgleich.texte.size(); ++i) {
        const BmpEintrag &e = imp.abgleich.texte.at(i);
        const QString ueber = imp.abgleich.texteAbschnitt.at(i);
        angaben << (ueber.isEmpty() ? QString() : ueber + QStringLiteral(": ")) +
                       (e.art == BmpEintrag::rezept ? QStringLiteral("Rezeptur: ") : QString()) + e.text;
    }
    for (const PlanZeile &z : zeilen) {
        if (!planDosisWorte(z.eintrag).isEmpty() || z.eintrag.ohneDosis())
            angaben << QStringLiteral("\u201E%1\u201C: %2 \u2013 ohne t\u00E4gliche Dosis, Kalvoria berechnet "
                                      "daf\u00FCr keine Reichweite.")
                           .arg(bmpBezeichnung(z.eintrag), planDosisText(z.eintrag));
    }
    hinweise->setPlainText(angaben.join(QLatin1Char('\n')));
    t->setFocus();
    fensterAusfuehren(fenster, QStringLiteral("&\u00DCbernehmen"), 555, &MainWindow::BmpAbgleichUebernehmen,
                      fensterGespeichert);
    tabelleAbgleich = nullptr;
    bmpImport.reset();
}

void MainWindow::BmpAbgleichUebernehmen()
{
    if (!bmpImport || !tabelleAbgleich)
        return;
    const BmpImport &imp = *bmpImport;
    QTableWidget *t = tabelleAbgleich;
    const int n = int(imp.abgleich.zeilen.size());
    QVector<bool> uebernehmen(n), entfernen(imp.abgleich.fehlend.size());
    QVector<int> wahl(n, 0);
    QVector<double> bestand(n, 0);
    for (int i = 0; i < n; ++i) {
        const PlanZeile &z = imp.abgleich.zeilen.at(i);
        uebernehmen[i] = t->item(i, sUebernehmen)->checkState() == Qt::Checked;
        if (!uebernehmen.at(i))
            continue;
        if (auto *box = qobject_cast<QComboBox *>(t->cellWidget(i, sKalvoria))) {
            wahl[i] = box->currentData().toInt();
            if (wahl.at(i) == 0) {
                meldungZeigen(QStringLiteral("Zeile %1 (%2): Bitte die Packung w\u00E4hlen, zu der die PZN "
                                             "geh\u00F6rt, oder die Zeile nicht \u00FCbernehmen.")
                                  .arg(i + 1)
                                  .arg(bmpBezeichnung(z.eintrag)));
                t->setCurrentCell(i, sKalvoria);
                box->setFocus();
                return;
            }
        }
        if (z.zeile < 0) {
            const QString getippt = t->item(i, sBestand)->text();
            const std::optional<double> b = zahlLesen(getippt, Bereich::bestand);
            if (!b) {
                meldungZeigen(zahlFehlerText(QStringLiteral("Bestand in Zeile %1").arg(i + 1), getippt.trimmed(),
                                             Bereich::bestand));
                t->setCurrentCell(i, sBestand);
                return;
            }
            bestand[i] = *b;
        }
    }
    for (int k = 0; k < entfernen.size(); ++k)
        entfernen[k] = t->item(n + k, sUebernehmen)->checkState() == Qt::Checked;
    if (!bmpUebernehmen(uebernehmen, wahl, bestand, entfernen))
        return;
    fensterGespeichert = true;
}

bool MainWindow::bmpUebernehmen(const QVector<bool> &uebernehmen, const QVector<int> &packungWahl,
                                const QVector<double> &bestand, const QVector<bool> &entfernen)
{
    const BmpImport &imp = *bmpImport;
    // The state before the plan, to go back to should it be the wrong one.
    if (!sicherungVorRiskantem(Sicherungsanlass::medikationsplan))
        return false;
    QString patient = imp.patient;
    QString belegt;
    const QDateTime jetzt = aktuelleZeit();
    DbSitzung db(*this);
    const bool gut = db.transaktion([&] {
        QVariant neu;
        if (patient.isEmpty()) {
            const BmpPatient &p = imp.plan.patient;
            const QString geburt = bmpGeburtAnzeige(p.geburt);
            if (!db.aendern(
                    QStringLiteral("INSERT INTO patient (firstname, lastname, birth) VALUES (:v, :n, :g)"),
                    {{QStringLiteral(":v"), p.vorname}, {QStringLiteral(":n"), p.name}, {QStringLiteral(":g"), geburt}},
                    &neu))
                return false;
            patient = neu.toString();
            Verlaufseintrag e;
            e.art = Verlaufsart::patientAngelegt;
            e.patient = neu;
            e.patientName = personText(p.name, p.vorname);
            e.betrifft = e.patientName;
            e.neu = felderText({{QStringLiteral("Name"), QString(), p.name},
                                {QStringLiteral("Vorname"), QString(), p.vorname},
                                {QStringLiteral("Geburtstag"), QString(), geburt}},
                               true);
            if (!verlaufSchreiben(db, jetzt, e))
                return false;
        } else if (!db.aendernZeile(QStringLiteral("UPDATE patient SET id=id WHERE id=:id"),
                                    {{QStringLiteral(":id"), patient}})) {
            return false;
        }
        bool ok = false;
        const auto hoechste = db.lesen(QStringLiteral("SELECT max(ordnung) FROM einnahme WHERE pat_id=:pat"),
                                       {{QStringLiteral(":pat"), patient}}, &ok);
        if (!ok)
            return false;
        int ordnung = hoechste.isEmpty() ? 0 : hoechste.first().value(0).toInt();
        bool planTabelle = false;
        const auto angabenSchreiben = [&](const QVariant &einnahme, const PlanZeile &z) {
            const BmpEintrag &e = z.eintrag;
            const QString dosisText = planDosisWorte(e);
            const PlanAngaben bisher = z.zeile < 0 ? PlanAngaben() : imp.zeilen.at(z.zeile).angaben;
            const QString einheit = bmpEinheit(e), form = ganzerText(bmpForm(e), bisher.form);
            const QString hinweis = ganzerText(e.hinweis, bisher.hinweis), grund = ganzerText(e.grund, bisher.grund);
            const bool noetig = !dosisText.isEmpty() || e.ohneDosis() || !einheit.isEmpty() || !form.isEmpty() ||
                                !hinweis.isEmpty() || !grund.isEmpty() || !planZusatz(e).isEmpty() ||
                                !z.abschnitt.isEmpty();
            if (!noetig && !(zusatzDa(db, Zusatz::einnahmeBmp)))
                return true;
            if (!planTabelle && !zusatzAnlegen(db, Zusatz::einnahmeBmp))
                return false;
            planTabelle = true;
            const auto wert = [](const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); };
            return db.aendern(
                QStringLiteral("INSERT INTO einnahme_bmp (einnahme_id, dosis_text, ohne_dosis, wochentag, einheit, "
                               "form, hinweis, grund, zusatz, abschnitt) VALUES (:id, :t, :o, :w, :e, :f, :h, :g, :z, "
                               ":a) ON CONFLICT (einnahme_id) DO UPDATE SET dosis_text = excluded.dosis_text, "
                               "ohne_dosis = excluded.ohne_dosis, wochentag = excluded.wochentag, einheit = "
                               "excluded.einheit, form = excluded.form, hinweis = excluded.hinweis, grund = "
                               "excluded.grund, zusatz = excluded.zusatz, abschnitt = excluded.abschnitt"),
                {{QStringLiteral(":id"), einnahme},
                 {QStringLiteral(":t"), wert(dosisText)},
                 {QStringLiteral(":o"), e.ohneDosis() ? QVariant(1) : QVariant()},
                 {QStringLiteral(":w"), e.wochentag.isEmpty() ? QVariant() : QVariant(e.wochentag.toInt())},
                 {QStringLiteral(":e"), wert(einheit)},
                 {QStringLiteral(":f"), wert(form)},
                 {QStringLiteral(":h"), wert(hinweis)},
                 {QStringLiteral(":g"), wert(grund)},
                 {QStringLiteral(":z"), wert(planZusatz(e))},
                 {QStringLiteral(":a"), wert(z.abschnitt)}});
        };
        const auto dosenWerte = [](const BmpEintrag &e) {
            Werte w;
            int i = 0;
            // Doses in words or none, and weekly ones, leave the four slots at 0.
            const bool schema = e.dosisText.isEmpty() && e.wochentag.isEmpty();
            for (const char *name : {":morgen", ":mittag", ":abend", ":nacht"}) {
                const double d = schema && !e.dosen[i].isEmpty() ? bmpDosisWert(e.dosen[i]).value_or(0) : 0;
                w.append({QLatin1String(name), d});
                ++i;
            }
            return w;
        };

        // Plan lines naming one package (a tapering scheme repeats its PZN
        // line by line) share the package created for the first of them.
        QHash<QString, int> angelegt;
        for (int i = 0; i < imp.abgleich.zeilen.size(); ++i) {
            if (!uebernehmen.at(i))
                continue;
            const PlanZeile &z = imp.abgleich.zeilen.at(i);
            const BmpEintrag &e = z.eintrag;
            int sorte = z.sorte;
            if (z.art == Abgleich::zuordnen && packungWahl.at(i) > 0)
                sorte = packungWahl.at(i);
            const bool neuePackung = z.art == Abgleich::neuePackung ||
                                     (z.art == Abgleich::zuordnen && packungWahl.at(i) < 0);
            const QString wirkstoff = e.wirkstoffe.isEmpty() ? QString() : e.wirkstoffe.first().name;
            const QString medizin = !wirkstoff.isEmpty() ? wirkstoff : bmpBezeichnung(e);
            const QString handelsname = e.handelsname.isEmpty() ? bmpBezeichnung(e) : e.handelsname;
            const QString staerke = e.wirkstoffe.isEmpty() ? QString() : e.wirkstoffe.first().staerke;
            const QString packungSchluessel = e.pzn > 0
                                                  ? QStringLiteral("PZN ") + pznAusZahl(e.pzn)
                                                  : QStringList{medizin, handelsname, staerke}.join(QLatin1Char('\n'));
            if (neuePackung && angelegt.contains(packungSchluessel)) {
                sorte = angelegt.value(packungSchluessel);
            } else if (neuePackung) {
                const auto vorhanden = db.lesen(QStringLiteral("SELECT id FROM medikament WHERE medizin=:m"),
                                                {{QStringLiteral(":m"), medizin}}, &ok);
                if (!ok)
                    return false;
                QVariant med = vorhanden.isEmpty() ? QVariant() : vorhanden.first().value(0);
                if (med.isNull()) {
                    if (!db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES (:m)"),
                                    {{QStringLiteral(":m"), medizin}}, &med))
                        return false;
                    Verlaufseintrag m;
                    m.art = Verlaufsart::medikamentAngelegt;
                    m.medikament = med;
                    m.betrifft = medizin;
                    m.neu = medizin;
                    if (!verlaufSchreiben(db, jetzt, m))
                        return false;
                }
                QVariant s;
                if (!db.aendern(QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES "
                                               "(:m, :h, :d, NULL)"),
                                {{QStringLiteral(":m"), med},
                                 {QStringLiteral(":h"), handelsname},
                                 {QStringLiteral(":d"), staerke}},
                                &s))
                    return false;
                sorte = s.toInt();
                angelegt.insert(packungSchluessel, sorte);
                Verlaufseintrag p;
                p.art = Verlaufsart::packungAngelegt;
                p.medikament = med;
                p.sorte = s;
                p.betrifft = sorteBeschreibung(medizin, handelsname, staerke);
                p.neu = felderText({{QStringLiteral("Handelsname"), QString(), handelsname},
                                    {QStringLiteral("Dosis"), QString(), staerke}},
                                   true);
                if (!verlaufSchreiben(db, jetzt, p))
                    return false;
            }
            // The PZN goes with the package it was matched or assigned to,
            // unless that package has another one.
            if (e.pzn > 0 && z.art != Abgleich::unveraendert && z.art != Abgleich::geaendert) {
                const QString pzn = pznAusZahl(e.pzn);
                bool hatAndere = false;
                if (zusatzDa(db, Zusatz::sortePzn)) {
                    const auto alt = db.lesen(QStringLiteral("SELECT pzn FROM sorte_pzn WHERE sorte_id=:s"),
                                              {{QStringLiteral(":s"), sorte}}, &ok);
                    hatAndere = !alt.isEmpty();
                }
                if (!hatAndere) {
                    bool gelesen = false;
                    Verlaufseintrag p;
                    p.art = Verlaufsart::packungGeaendert;
                    p.sorte = sorte;
                    p.betrifft = sorteBeschreibungLesen(db, sorte, &gelesen);
                    p.neu = QStringLiteral("PZN: ") + pzn;
                    if (!gelesen || !pznSpeichern(db, sorte, pzn, &belegt) || !verlaufSchreiben(db, jetzt, p))
                        return false;
                }
            }
            if (z.zeile < 0) {
                QVariant einnahme;
                if (!db.aendernZeile(
                        QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, "
                                       "nacht, hilfe, ordnung) SELECT :pat, :sorte, :tag, :stand, :morgen, :mittag, "
                                       ":abend, :nacht, 0, :ordnung WHERE EXISTS (SELECT 1 FROM sorte WHERE "
                                       "id=:sorte_da)"),
                        Werte{{QStringLiteral(":pat"), patient},
                              {QStringLiteral(":sorte"), sorte},
                              {QStringLiteral(":tag"), heute},
                              {QStringLiteral(":stand"), bestand.at(i)},
                              {QStringLiteral(":ordnung"), ++ordnung},
                              {QStringLiteral(":sorte_da"), sorte}} +
                            dosenWerte(e),
                        &einnahme) ||
                    !angabenSchreiben(einnahme, z))
                    return false;
                const std::optional<Einnahmestand> zeile = einnahmeLesen(db, einnahme, &ok);
                if (!zeile)
                    return false;
                Verlaufseintrag n = einnahmeEintrag(Verlaufsart::zugeordnet, einnahme, *zeile);
                n.neu = einnahmeText(*zeile) + planDosis(e) + QStringLiteral(" (Medikationsplan)");
                if (!verlaufSchreiben(db, jetzt, n))
                    return false;
                continue;
            }
            const VorhandeneZeile &alt = imp.zeilen.at(z.zeile);
            // Only while the line holds what the window showed.
            if (z.art == Abgleich::geaendert) {
                const std::optional<Einnahmestand> vorher = einnahmeLesen(db, alt.einnahme, &ok);
                if (ok && !vorher)
                    db.konflikt();
                if (!vorher || !db.aendernZeile(QStringLiteral("UPDATE einnahme SET morgen=:morgen, mittag=:mittag, "
                                                               "abend=:abend, nacht=:nacht WHERE id=:id") +
                                                    einnahmeUnveraendert(db.art()),
                                                Werte{{QStringLiteral(":id"), alt.einnahme}} + dosenWerte(e) +
                                                    einnahmeUnveraendertWerte(imp.gespeichert.at(z.zeile))))
                    return false;
                const std::optional<Einnahmestand> nachher = einnahmeLesen(db, alt.einnahme, &ok);
                if (!nachher)
                    return false;
                Verlaufseintrag d = einnahmeEintrag(Verlaufsart::dosisGeaendert, alt.einnahme, *vorher);
                d.alt = dosenText(einnahmeDosen(*vorher)) + planDosis(alt.angaben);
                d.neu = dosenText(einnahmeDosen(*nachher)) + planDosis(e) + QStringLiteral(" (Medikationsplan)");
                if (!verlaufSchreiben(db, jetzt, d))
                    return false;
            }
            if (!angabenSchreiben(alt.einnahme, z))
                return false;
        }
        for (int k = 0; k < entfernen.size(); ++k) {
            if (!entfernen.at(k))
                continue;
            const int zeile = imp.abgleich.fehlend.at(k);
            const QString id = imp.zeilen.at(zeile).einnahme;
            const std::optional<Einnahmestand> vorher = einnahmeLesen(db, id, &ok);
            if (ok && !vorher)
                db.konflikt();
            if (!vorher ||
                !db.aendernZeile(QStringLiteral("DELETE FROM einnahme WHERE id=:id") + einnahmeUnveraendert(db.art()),
                                 Werte{{QStringLiteral(":id"), id}} +
                                     einnahmeUnveraendertWerte(imp.gespeichert.at(zeile))) ||
                !verlaufSchreiben(db, jetzt,
                                  einnahmeEntfernt(id, *vorher, heute, QStringLiteral("fehlt im Medikationsplan"))))
                return false;
        }
        // The plan's free-text and recipe lines replace those of an earlier plan.
        if (!imp.abgleich.texte.isEmpty() || zusatzDa(db, Zusatz::planText)) {
            if (!zusatzAnlegen(db, Zusatz::planText) ||
                !db.aendern(QStringLiteral("DELETE FROM plan_text WHERE pat_id=:pat"),
                            {{QStringLiteral(":pat"), patient}}))
                return false;
            for (int i = 0; i < imp.abgleich.texte.size(); ++i) {
                const BmpEintrag &e = imp.abgleich.texte.at(i);
                if (!db.aendern(QStringLiteral("INSERT INTO plan_text (pat_id, nach_einnahme, ordnung, art, text, "
                                               "zusatz, abschnitt) VALUES (:pat, 0, :o, :art, :t, :z, :a)"),
                                {{QStringLiteral(":pat"), patient},
                                 {QStringLiteral(":o"), i + 1},
                                 {QStringLiteral(":art"),
                                  e.art == BmpEintrag::rezept ? QStringLiteral("R") : QStringLiteral("X")},
                                 {QStringLiteral(":t"), e.text},
                                 {QStringLiteral(":z"), e.zusatz.isEmpty() ? QVariant() : QVariant(e.zusatz)},
                                 {QStringLiteral(":a"), imp.abgleich.texteAbschnitt.at(i)}}))
                    return false;
            }
        }
        return positionenOrdnen(db, patient);
    });
    if (!gut) {
        if (!belegt.isEmpty())
            meldungZeigen(QStringLiteral("Die PZN ist schon bei der Packung \u201E%1\u201C eingetragen; es wurde "
                                         "nichts gespeichert.")
                              .arg(belegt));
        return false;
    }
    Auswahl gewaehlt;
    gewaehlt.patient = patient;
    auffrischen(Geaendert::alles, gewaehlt);
    return true;
}
