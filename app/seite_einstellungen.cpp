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
    const QStringList patientKopf{QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Vorname"),
                                  QStringLiteral("Ort"), QStringLiteral("Geburtstag"), QStringLiteral("PLZ"),
                                  QStringLiteral("Stra\u00DFe"), QStringLiteral("Nr")};

    // Left column: patient choice and appointments.
    tabellePatientenwahl = tabelleBauen(QStringLiteral("tabellePatientenwahl"), s, QRect(15, 30, 330, 278), patientKopf);
    for (int spalte : {0, 3, 5, 6, 7})
        tabellePatientenwahl->setColumnHidden(spalte, true);
    tabellePatientenwahl->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabellePatientenwahl->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tabellePatientenwahl->horizontalHeader()->resizeSection(4, 80);

    gruppeArzttermine = gruppe(QStringLiteral("gruppeArzttermine"), s, QStringLiteral("Arzttermine"), QRect(15, 325, 330, 225));
    tabelleTermine = tabelleBauen(QStringLiteral("tabelleTermine"), gruppeArzttermine, QRect(0, 25, 330, 170),
                                  {QStringLiteral("ID"), QStringLiteral("Arzt"), QStringLiteral("Datum")});
    tabelleTermine->setColumnHidden(0, true);
    tabelleTermine->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabelleTermine->horizontalHeader()->resizeSection(2, 100);
    knopfTerminEintragen = knopf(QStringLiteral("knopfTerminEintragen"), gruppeArzttermine, QStringLiteral("Termin eintragen"), QRect(0, 195, 110, 30));
    knopfTerminBearbeiten = knopf(QStringLiteral("knopfTerminBearbeiten"), gruppeArzttermine, QStringLiteral("Termin bearbeiten"), QRect(110, 195, 110, 30));
    knopfTerminLoeschen = knopf(QStringLiteral("knopfTerminLoeschen"), gruppeArzttermine, QStringLiteral("Termin l:oe:schen"), QRect(220, 195, 110, 30), true);

    // Middle column: the selected patient with the details of the chosen line.
    QGroupBox *g = gruppeAusgewaehlterPatient =
        gruppe(QStringLiteral("gruppeAusgewaehlterPatient"), s, QStringLiteral("Ausgew:ae:hlter Patient"), QRect(360, 24, 365, 285));
    anzeigeName = anzeige(QStringLiteral("anzeigeName"), g, QRect(15, 25, 150, 20));
    anzeigeVorname = anzeige(QStringLiteral("anzeigeVorname"), g, QRect(175, 25, 150, 20));
    anzeigeGeburtstag = anzeige(QStringLiteral("anzeigeGeburtstag"), g, QRect(15, 50, 150, 20));
    anzeigePlz = anzeige(QStringLiteral("anzeigePlz"), g, QRect(15, 75, 50, 20));
    anzeigeOrt = anzeige(QStringLiteral("anzeigeOrt"), g, QRect(75, 75, 250, 20));
    anzeigeStrasse = anzeige(QStringLiteral("anzeigeStrasse"), g, QRect(15, 100, 250, 20));
    anzeigeNr = anzeige(QStringLiteral("anzeigeNr"), g, QRect(275, 100, 50, 20));
    QLabel *medikament = beschriftung(g, QStringLiteral("Medikament"), QRect(15, 128, 150, 20));
    medikament->setFont(schriftFett);
    detailMedizin = anzeige(QStringLiteral("detailMedizin"), g, QRect(15, 150, 335, 20));
    const struct {
        const char *text;
        QLabel **ziel;
        const char *name;
        int x;
    } zeiten[] = {{"Morgen:", &detailMorgen, "detailMorgen", 15},
                  {"Mittag:", &detailMittag, "detailMittag", 100},
                  {"Abend:", &detailAbend, "detailAbend", 185},
                  {"Nacht:", &detailNacht, "detailNacht", 270}};
    for (const auto &z : zeiten) {
        beschriftung(g, QString::fromLatin1(z.text), QRect(z.x, 180, 48, 20));
        *z.ziel = anzeige(QString::fromLatin1(z.name), g, QRect(z.x + 48, 180, 32, 20));
        (*z.ziel)->setAlignment(Qt::AlignCenter);
    }
    beschriftung(g, QStringLiteral("Dosis je Einheit:"), QRect(15, 208, 130, 20));
    detailDosis = anzeige(QStringLiteral("detailDosis"), g, QRect(145, 208, 205, 20));
    beschriftung(g, QStringLiteral("Einheiten je Packung:"), QRect(15, 233, 130, 20));
    detailPackung = anzeige(QStringLiteral("detailPackung"), g, QRect(145, 233, 70, 20));
    beschriftung(g, QStringLiteral("Stand heute:"), QRect(15, 258, 80, 20));
    detailDatum = anzeige(QStringLiteral("detailDatum"), g, QRect(95, 258, 85, 20));
    beschriftung(g, QStringLiteral("Einheiten:"), QRect(195, 258, 65, 20));
    detailBestand = anzeige(QStringLiteral("detailBestand"), g, QRect(260, 258, 90, 20));

    gruppeZugeordnet = gruppe(QStringLiteral("gruppeZugeordnet"), s, QStringLiteral("Zugeordnete Medikamente"), QRect(360, 325, 365, 225));
    tabelleZuordnung = tabelleBauen(QStringLiteral("tabelleZuordnung"), gruppeZugeordnet, QRect(0, 25, 365, 163),
                                    {QStringLiteral("ID"), QStringLiteral("Medikament"), QStringLiteral("Dosis"),
                                     QStringLiteral("Einnahme"), QString()});
    tabelleZuordnung->setColumnHidden(0, true);
    tabelleZuordnung->setColumnHidden(4, true);
    tabelleZuordnung->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabelleZuordnung->horizontalHeader()->resizeSection(2, 120);
    tabelleZuordnung->horizontalHeader()->resizeSection(3, 100);
    knopfZuordnungBearbeiten = knopf(QStringLiteral("knopfZuordnungBearbeiten"), gruppeZugeordnet, QStringLiteral("Zuordnung bearbeiten"), QRect(0, 193, 125, 30));
    auto pfeil = [this](const QString &name, Qt::ArrowType richtung, int y) {
        auto *t = new QToolButton(gruppeZugeordnet);
        t->setObjectName(name);
        t->setArrowType(richtung);
        t->setGeometry(128, y, 26, 15);
        return t;
    };
    knopfZuordnungHoch = pfeil(QStringLiteral("knopfZuordnungHoch"), Qt::UpArrow, 193);
    knopfZuordnungRunter = pfeil(QStringLiteral("knopfZuordnungRunter"), Qt::DownArrow, 208);
    knopfApotheke = knopf(QStringLiteral("knopfApotheke"), gruppeZugeordnet, QStringLiteral("Apotheke"), QRect(157, 193, 90, 30));
    knopfZuordnungLoeschen = knopf(QStringLiteral("knopfZuordnungLoeschen"), gruppeZugeordnet, QStringLiteral("Zuordnung l:oe:schen"), QRect(250, 193, 115, 30), true);

    // Right column: package choice and the assignment of a package.
    tabelleSortenwahl = tabelleBauen(QStringLiteral("tabelleSortenwahl"), s, QRect(740, 30, 400, 278),
                                     {QStringLiteral("ID"), QStringLiteral("med_id"), QStringLiteral("Verpackung / Handelsname"),
                                      QStringLiteral("Dosis"), QStringLiteral("Menge")});
    tabelleSortenwahl->setColumnHidden(0, true);
    tabelleSortenwahl->setColumnHidden(1, true);
    tabelleSortenwahl->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tabelleSortenwahl->horizontalHeader()->resizeSection(3, 80);
    tabelleSortenwahl->horizontalHeader()->resizeSection(4, 50);

    gruppeZuordnen = gruppe(QStringLiteral("gruppeZuordnen"), s, QStringLiteral("Dem Patienten zuordnen"), QRect(740, 325, 400, 225));
    anzeigeZuordnenSorte = anzeige(QStringLiteral("anzeigeZuordnenSorte"), gruppeZuordnen, QRect(10, 25, 380, 20));
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
    beschriftung(gruppeZuordnen, QStringLiteral("Dosis"), QRect(130, 55, 110, 20));
    anzeigeZuordnenDosis = anzeige(QStringLiteral("anzeigeZuordnenDosis"), gruppeZuordnen, QRect(240, 55, 150, 20));
    beschriftung(gruppeZuordnen, QStringLiteral("Einheiten/Packung"), QRect(130, 80, 110, 20));
    anzeigeZuordnenPackung = anzeige(QStringLiteral("anzeigeZuordnenPackung"), gruppeZuordnen, QRect(240, 80, 70, 20));
    beschriftung(gruppeZuordnen, QStringLiteral("Ersteinnahme"), QRect(130, 105, 110, 20));
    datumErsteinnahme = datumsfeld(QStringLiteral("datumErsteinnahme"), gruppeZuordnen, QRect(240, 105, 100, 20));
    datumErsteinnahme->setDate(heute);
    auswahlHilfsmittel = new QCheckBox(QStringLiteral("Hilfsmittel"), gruppeZuordnen);
    auswahlHilfsmittel->setObjectName(QStringLiteral("auswahlHilfsmittel"));
    auswahlHilfsmittel->setFont(schriftNormal);
    auswahlHilfsmittel->setGeometry(130, 130, 90, 20);
    knopfEintragen = knopf(QStringLiteral("knopfEintragen"), gruppeZuordnen, QStringLiteral("Eintragen"), QRect(10, 165, 380, 30));
}
