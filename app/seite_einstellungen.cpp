// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Einstellungen": patient choice, appointments, selected patient,
// intake lines, package choice and the group that assigns a package.
#include "app/mainwindow.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

void MainWindow::seiteEinstellungenBauen()
{
    QWidget *s = seiteEinstellungen;
    const QStringList patientKopf{
        QStringLiteral("ID"),         QStringLiteral("Name"), QStringLiteral("Vorname"),     QStringLiteral("Ort"),
        QStringLiteral("Geburtstag"), QStringLiteral("PLZ"),  QStringLiteral("Stra\u00DFe"), QStringLiteral("Nr")};

    // Three columns; the widths leave room for the captions in a font 10 %
    // wider than the Arial-metric one the layout was drawn for.
    // Left column: patient choice and appointments.
    tabellePatientenwahl = tabelleBauen(QStringLiteral("tabellePatientenwahl"), s, QRect(15, 30, 340, 278),
                                        patientKopf);
    for (int spalte : {0, 3, 5, 6, 7})
        tabellePatientenwahl->setColumnHidden(spalte, true);
    tabellePatientenwahl->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabellePatientenwahl->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tabellePatientenwahl->horizontalHeader()->resizeSection(4, 90);

    gruppeArzttermine = gruppe(QStringLiteral("gruppeArzttermine"), s, QStringLiteral("Arzttermine"),
                               QRect(15, 325, 340, 225));
    tabelleTermine = tabelleBauen(QStringLiteral("tabelleTermine"), gruppeArzttermine, QRect(0, 25, 340, 170),
                                  {QStringLiteral("ID"), QStringLiteral("Arzt"), QStringLiteral("Datum")});
    tabelleTermine->setColumnHidden(0, true);
    tabelleTermine->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabelleTermine->horizontalHeader()->resizeSection(2, 100);
    knopfTerminEintragen = knopf(QStringLiteral("knopfTerminEintragen"), gruppeArzttermine,
                                 QStringLiteral("&Termin eintragen"), QRect(0, 195, 113, 30));
    knopfTerminBearbeiten = knopf(QStringLiteral("knopfTerminBearbeiten"), gruppeArzttermine,
                                  QStringLiteral("Termin &bearbeiten"), QRect(113, 195, 124, 30));
    knopfTerminLoeschen = knopf(QStringLiteral("knopfTerminLoeschen"), gruppeArzttermine,
                                QStringLiteral("Termin l:oe:&schen"), QRect(237, 195, 103, 30), true);

    // Middle column: the selected patient with the details of the chosen line.
    QGroupBox *g = gruppeAusgewaehlterPatient = gruppe(QStringLiteral("gruppeAusgewaehlterPatient"), s,
                                                       QStringLiteral("Ausgew:ae:hlter Patient"),
                                                       QRect(370, 24, 385, 285));
    anzeigeName = anzeige(QStringLiteral("anzeigeName"), g, QRect(15, 25, 170, 20));
    anzeigeVorname = anzeige(QStringLiteral("anzeigeVorname"), g, QRect(195, 25, 175, 20));
    anzeigeGeburtstag = anzeige(QStringLiteral("anzeigeGeburtstag"), g, QRect(15, 50, 170, 20));
    anzeigePlz = anzeige(QStringLiteral("anzeigePlz"), g, QRect(15, 75, 50, 20));
    anzeigeOrt = anzeige(QStringLiteral("anzeigeOrt"), g, QRect(75, 75, 295, 20));
    anzeigeStrasse = anzeige(QStringLiteral("anzeigeStrasse"), g, QRect(15, 100, 285, 20));
    anzeigeNr = anzeige(QStringLiteral("anzeigeNr"), g, QRect(310, 100, 60, 20));
    QLabel *medikament = beschriftung(g, QStringLiteral("Medikament"), QRect(15, 128, 150, 20));
    medikament->setFont(schriftFett);
    detailMedizin = anzeige(QStringLiteral("detailMedizin"), g, QRect(15, 150, 355, 20));
    // Each caption with its display right after it; the doses are centred.
    const struct {
        const char *text;
        QLabel **ziel;
        const char *name;
        int x, y, textBreite, breite;
        bool mittig;
    } details[] = {{"Morgen:", &detailMorgen, "detailMorgen", 15, 180, 52, 32, true},
                   {"Mittag:", &detailMittag, "detailMittag", 105, 180, 52, 32, true},
                   {"Abend:", &detailAbend, "detailAbend", 195, 180, 52, 32, true},
                   {"Nacht:", &detailNacht, "detailNacht", 285, 180, 52, 32, true},
                   {"Dosis je Einheit:", &detailDosis, "detailDosis", 15, 208, 140, 215, false},
                   {"Einheiten je Packung:", &detailPackung, "detailPackung", 15, 233, 140, 70, false},
                   {"Stand heute:", &detailDatum, "detailDatum", 15, 258, 85, 85, false},
                   {"Einheiten:", &detailBestand, "detailBestand", 200, 258, 70, 100, false}};
    for (const auto &z : details) {
        beschriftung(g, QString::fromLatin1(z.text), QRect(z.x, z.y, z.textBreite, 20));
        *z.ziel = anzeige(QString::fromLatin1(z.name), g, QRect(z.x + z.textBreite, z.y, z.breite, 20));
        if (z.mittig)
            (*z.ziel)->setAlignment(Qt::AlignCenter);
    }

    gruppeZugeordnet = gruppe(QStringLiteral("gruppeZugeordnet"), s, QStringLiteral("Zugeordnete Medikamente"),
                              QRect(370, 325, 385, 225));
    tabelleZuordnung = tabelleBauen(QStringLiteral("tabelleZuordnung"), gruppeZugeordnet, QRect(0, 25, 385, 163),
                                    {QStringLiteral("ID"), QStringLiteral("Medikament"), QStringLiteral("Dosis"),
                                     QStringLiteral("Einnahme"), QString()});
    tabelleZuordnung->setColumnHidden(0, true);
    tabelleZuordnung->setColumnHidden(4, true);
    tabelleZuordnung->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabelleZuordnung->horizontalHeader()->resizeSection(2, 120);
    tabelleZuordnung->horizontalHeader()->resizeSection(3, 100);
    knopfZuordnungBearbeiten = knopf(QStringLiteral("knopfZuordnungBearbeiten"), gruppeZugeordnet,
                                     QStringLiteral("&Zuordnung bearbeiten"), QRect(0, 193, 147, 30));
    auto pfeil = [this](const QString &name, Qt::ArrowType richtung, int y) {
        auto *t = new QToolButton(gruppeZugeordnet);
        t->setObjectName(name);
        t->setArrowType(richtung);
        t->setGeometry(150, y, 26, 15);
        return t;
    };
    knopfZuordnungHoch = pfeil(QStringLiteral("knopfZuordnungHoch"), Qt::UpArrow, 193);
    knopfZuordnungRunter = pfeil(QStringLiteral("knopfZuordnungRunter"), Qt::DownArrow, 208);
    knopfApotheke = knopf(QStringLiteral("knopfApotheke"), gruppeZugeordnet, QStringLiteral("Ap&otheke"),
                          QRect(179, 193, 72, 30));
    knopfZuordnungLoeschen = knopf(QStringLiteral("knopfZuordnungLoeschen"), gruppeZugeordnet,
                                   QStringLiteral("Zuordnung &l:oe:schen"), QRect(255, 193, 130, 30), true);

    // Right column: package choice and the assignment of a package.
    tabelleSortenwahl = tabelleBauen(QStringLiteral("tabelleSortenwahl"), s, QRect(770, 30, 370, 278),
                                     {QStringLiteral("ID"), QStringLiteral("med_id"),
                                      QStringLiteral("Verpackung / Handelsname"), QStringLiteral("Dosis"),
                                      QStringLiteral("Menge")});
    tabelleSortenwahl->setColumnHidden(0, true);
    tabelleSortenwahl->setColumnHidden(1, true);
    tabelleSortenwahl->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tabelleSortenwahl->horizontalHeader()->resizeSection(3, 80);
    tabelleSortenwahl->horizontalHeader()->resizeSection(4, 55);

    gruppeZuordnen = gruppe(QStringLiteral("gruppeZuordnen"), s, QStringLiteral("Dem Patienten zuordnen"),
                            QRect(770, 325, 370, 225));
    anzeigeZuordnenSorte = anzeige(QStringLiteral("anzeigeZuordnenSorte"), gruppeZuordnen, QRect(10, 25, 350, 20));
    const struct {
        const char *text;
        QLineEdit **ziel;
        const char *name;
        int y;
    } dosen[] = {{"Morgen", &editZuordnenMorgen, "editZuordnenMorgen", 55},
                 {"Mittag", &editZuordnenMittag, "editZuordnenMittag", 80},
                 {"Abend", &editZuordnenAbend, "editZuordnenAbend", 105},
                 {"Nacht", &editZuordnenNacht, "editZuordnenNacht", 130}};
    for (const auto &d : dosen) {
        *d.ziel = eingabe(QString::fromLatin1(d.name), gruppeZuordnen, QRect(10, d.y, 45, 20));
        (*d.ziel)->setAlignment(Qt::AlignCenter);
        beschriftung(gruppeZuordnen, QString::fromLatin1(d.text), QRect(60, d.y, 60, 20));
    }
    beschriftung(gruppeZuordnen, QStringLiteral("Dosis"), QRect(120, 55, 120, 20));
    anzeigeZuordnenDosis = anzeige(QStringLiteral("anzeigeZuordnenDosis"), gruppeZuordnen, QRect(240, 55, 120, 20));
    beschriftung(gruppeZuordnen, QStringLiteral("Einheiten/Packung"), QRect(120, 80, 120, 20));
    anzeigeZuordnenPackung = anzeige(QStringLiteral("anzeigeZuordnenPackung"), gruppeZuordnen, QRect(240, 80, 70, 20));
    beschriftung(gruppeZuordnen, QStringLiteral("Ersteinnahme"), QRect(120, 105, 120, 20));
    datumErsteinnahme = datumsfeld(QStringLiteral("datumErsteinnahme"), gruppeZuordnen, QRect(240, 105, 100, 20));
    datumErsteinnahme->setDate(heute);
    auswahlHilfsmittel = new QCheckBox(QStringLiteral("Hilfsm&ittel"), gruppeZuordnen);
    auswahlHilfsmittel->setObjectName(QStringLiteral("auswahlHilfsmittel"));
    auswahlHilfsmittel->setFont(schriftNormal);
    auswahlHilfsmittel->setGeometry(120, 130, 100, 20);
    knopfEintragen = knopf(QStringLiteral("knopfEintragen"), gruppeZuordnen, QStringLiteral("Eint&ragen"),
                           QRect(10, 165, 350, 30));
}
