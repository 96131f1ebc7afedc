// SPDX-License-Identifier: GPL-3.0-or-later
// The window that corrects an intake line.
#include "app/mainwindow.h"

#include "bmp/zusatztabellen.h"
#include "intake/dosisfelder.h"
#include "intake/fensterfelder.h"
#include "intake/gespeichert.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"
#include "verlauf/verlauf.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <array>

void MainWindow::ZuordnungFenster()
{
    const int r = einnahmeZeileWaehlen(QStringLiteral("die bearbeitet werden soll"));
    if (r < 0)
        return;

    QDialog fenster;
    einnahmeFensterKopf(fenster, schriftNormal, einnahmeHandelsname.at(r));
    const Qt::Alignment rechts = Qt::AlignRight | Qt::AlignVCenter;
    fensterText(fenster, QStringLiteral("Morgen:"), QRect(20, 50, 65, 20), rechts);
    fensterText(fenster, QStringLiteral("Mittag:"), QRect(105, 50, 65, 20), rechts);
    fensterText(fenster, QStringLiteral("Abend:"), QRect(190, 50, 65, 20), rechts);
    fensterText(fenster, QStringLiteral("Nacht:"), QRect(280, 50, 65, 20), rechts);
    fensterText(fenster, QStringLiteral("Stand:"), QRect(20, 80, 65, 20), rechts);
    fensterText(fenster, umlauteErsetzen(QStringLiteral("(Korrekturm:oe:glichkeit bei Abweichungen)")),
                QRect(130, 80, 265, 20));
    fensterText(fenster, QStringLiteral("Hilfsmittel:"), QRect(10, 120, 75, 20), rechts);

    const FelderLeihen felder(fenster, {{fensterMorgen.get(), QRect(85, 50, 40, 20)},
                                        {fensterMittag.get(), QRect(170, 50, 40, 20)},
                                        {fensterAbend.get(), QRect(255, 50, 40, 20)},
                                        {fensterNacht.get(), QRect(345, 50, 40, 20)},
                                        {fensterStand.get(), QRect(85, 80, 40, 20)},
                                        {fensterHilfe.get(), QRect(85, 120, 310, 20)}});
    fensterMorgen->setText(einnahmeMorgen.at(r));
    fensterMittag->setText(einnahmeMittag.at(r));
    fensterAbend->setText(einnahmeAbend.at(r));
    fensterNacht->setText(einnahmeNacht.at(r));
    fensterStand->setText(einnahmeBestand.at(r));
    fensterHilfe->setChecked(einnahmeHilfe.at(r) == QLatin1String("1"));

    // Who changed this line, and when: its history, newest first.
    auto *verlauf = new QPushButton(QStringLiteral("&Verlauf\u2026"), &fenster);
    verlauf->setObjectName(QStringLiteral("knopfZuordnungVerlauf"));
    verlauf->setGeometry(320, 160, 75, 30);
    verlauf->setAutoDefault(false);
    connect(verlauf, &QPushButton::clicked, this, &MainWindow::ZuordnungVerlauf);

    fensterAusfuehren(fenster, QStringLiteral("&:Ae:ndern"), 160, &MainWindow::ZuordnungWEintragen, fensterGespeichert);
}

void MainWindow::ZuordnungWEintragen()
{
    const int r = einnahmeFensterZeile();
    if (r < 0)
        return;
    const QString id = einnahmeId.at(r);

    const Dosiseingabe eingabe = dosenLesen(fensterMorgen.get(), fensterMittag.get(), fensterAbend.get(),
                                            fensterNacht.get());
    const std::array<double, 4> &dosen = eingabe.dosen;
    QString fehler = eingabe.fehler;
    QLineEdit *fehlerFeld = eingabe.fehlerFeld;
    // The stock may be negative (the medication ran out days ago), but it
    // must be a number: an empty field is rather a slip than an empty pack.
    const QString standText = fensterStand->text().trimmed();
    const std::optional<double> standGelesen = zahlLesen(standText, Bereich::bestand);
    if (!fehlerFeld && !standGelesen) {
        fehler = standText.isEmpty()
                     ? QStringLiteral(
                           "Bei \u201EStand\u201C fehlt der Bestand.\n\n"
                           "Bitte die Zahl der vorhandenen Einheiten eingeben, zum Beispiel 14 oder 12,5.\n\n"
                           "Es wurde nichts gespeichert.")
                     : zahlFehlerText(QStringLiteral("Stand"), standText, Bereich::bestand);
        fehlerFeld = fensterStand.get();
    }
    if (fehlerFeld) {
        meldungZeigen(fehler);
        fehlerFeld->setFocus();
        return;
    }
    const double stand = *standGelesen;

    // Stored only while the line holds what the window showed: a dose
    // changed or a stock counted elsewhere meanwhile must not be undone.
    DbSitzung db(*this);
    Werte werte{{QStringLiteral(":tag"), heute},
                {QStringLiteral(":stand"), stand},
                {QStringLiteral(":hilfe"), fensterHilfe->checkState() != Qt::Unchecked},
                {QStringLiteral(":id"), id}};
    werte << dosenWerte(dosen) << einnahmeUnveraendertWerte(einnahmeGespeichert.at(r));
    // Doses typed for a line whose plan gave its dose in words make it a
    // line with a daily schedule: the words go with the same change.
    const bool zeitplan = einnahmePlan.value(r).ohneTagesverbrauch() &&
                          std::any_of(dosen.begin(), dosen.end(), [](double d) { return d > 0; });
    const bool hilfe = fensterHilfe->checkState() != Qt::Unchecked;
    const bool gespeichert = db.transaktion([&] {
        bool ok = false;
        const std::optional<Einnahmestand> vorher = einnahmeLesen(db, id, &ok);
        if (!vorher || !db.aendernZeile(QStringLiteral("UPDATE einnahme SET tag=:tag, stand=:stand, morgen=:morgen, "
                                                       "mittag=:mittag, abend=:abend, nacht=:nacht, hilfe=:hilfe  "
                                                       "WHERE id=:id") +
                                            einnahmeUnveraendert(db.art()),
                                        werte)) {
            if (ok && !vorher)
                db.konflikt();
            return false;
        }
        // One entry for each thing the window changed; confirming it as it
        // was shown records nothing.
        QVector<Verlaufseintrag> eintraege;
        if (einnahmeDosen(*vorher) != dosen) {
            eintraege << einnahmeEintrag(Verlaufsart::dosisGeaendert, id, *vorher);
            eintraege.last().alt = dosenText(einnahmeDosen(*vorher));
            eintraege.last().neu = dosenText(dosen);
        }
        const std::optional<double> bestand = bestandHeute(*vorher, heute);
        if (bestand != stand) {
            eintraege << einnahmeEintrag(Verlaufsart::bestandGezaehlt, id, *vorher);
            eintraege.last().alt = bestandVerlaufText(bestand);
            eintraege.last().neu = bestandVerlaufText(stand);
        }
        if (vorher->hilfe.toBool() != hilfe) {
            eintraege << einnahmeEintrag(Verlaufsart::hilfsmittelGeaendert, id, *vorher);
            eintraege.last().alt = vorher->hilfe.toBool() ? QStringLiteral("ja") : QStringLiteral("nein");
            eintraege.last().neu = hilfe ? QStringLiteral("ja") : QStringLiteral("nein");
        }
        if (zeitplan && !planDosisTextLoeschen(db, id))
            return false;
        for (const Verlaufseintrag &e : eintraege) {
            if (!verlaufSchreiben(db, aktuelleZeit(), e))
                return false;
        }
        return true;
    });
    if (!gespeichert) {
        // What the window showed is gone: it closes, the views show the file.
        fensterGespeichert = db.hatKonflikt();
        return;
    }
    einnahmeFensterGespeichert(id);
}

int MainWindow::einnahmeZeileWaehlen(const QString &wozu)
{
    if (tabelleZuordnung->rowCount() == 0)
        return -1;
    const int r = tabelleZuordnung->currentRow();
    if (r < 0 || r >= einnahmeZeilen()) {
        meldungZeigen(
            umlauteErsetzen(QStringLiteral("Bitte zuerst in der Liste \u201EZugeordnete Medikamente\u201C die "
                                           "Zeile ausw:ae:hlen, ") +
                            wozu + QStringLiteral(".")));
        return -1;
    }
    return r;
}

int MainWindow::einnahmeFensterZeile()
{
    fensterGespeichert = false;
    const int r = tabelleZuordnung->currentRow();
    return r >= 0 && r < einnahmeZeilen() ? r : -1;
}

void MainWindow::einnahmeFensterGespeichert(const QString &id)
{
    fensterGespeichert = true;
    Auswahl gespeichert;
    gespeichert.zeile = id;
    auffrischen(Geaendert::einnahme, gespeichert);
}
