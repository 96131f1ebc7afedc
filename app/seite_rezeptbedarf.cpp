// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Rezeptbedarf": what all patients must order by a chosen day.
#include "app/mainwindow.h"

#include "app/tabelle.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

void MainWindow::seiteRezeptbedarfBauen()
{
    QWidget *s = seiteRezeptbedarf;
    QLabel *bis = beschriftung(s, QStringLiteral("&bis:"), QRect(5, 4, 28, 22));
    datumBedarfBis = datumsfeld(QStringLiteral("datumBedarfBis"), s, QRect(35, 4, 105, 22));
    datumBedarfBis->setDate(heute.addDays(28));
    // The list is read when a day is entered, not at each digit typed.
    datumBedarfBis->setKeyboardTracking(false);
    bis->setBuddy(datumBedarfBis);
    auswahlBisHausarzt = new QCheckBox(QStringLiteral("bis zum n\u00E4chsten Hausarzt&termin"), s);
    auswahlBisHausarzt->setObjectName(QStringLiteral("auswahlBisHausarzt"));
    auswahlBisHausarzt->setFont(schriftNormal);
    auswahlBisHausarzt->setGeometry(160, 4, 260, 22);
    auswahlBisHausarzt->setChecked(true);
    knopfAngefordert = knopf(QStringLiteral("knopfAngefordert"), s, QStringLiteral("Als an&gefordert markieren"),
                             QRect(765, 1, 190, 28));
    knopfAnforderungZuruecknehmen = knopf(QStringLiteral("knopfAnforderungZuruecknehmen"), s,
                                          QStringLiteral("Anforderung &zur:ue:cknehmen"), QRect(960, 1, 190, 28));

    tabelleRezeptbedarf = tabelleBauen(QStringLiteral("tabelleRezeptbedarf"), s, QRect(0, 33, 1155, 531),
                                       {QStringLiteral("ID"), QStringLiteral("Patient"), QStringLiteral("Medikament"),
                                        QStringLiteral("Handelsname"), QStringLiteral("Dosis"),
                                        QStringLiteral("Bestand heute"), QStringLiteral("reicht bis"),
                                        QStringLiteral("Packungen"), QStringLiteral("n\u00E4chster Hausarzttermin"),
                                        QStringLiteral("angefordert am")});
    // Several rows are marked or printed at once.
    tabelleRezeptbedarf->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tabelleRezeptbedarf->setColumnHidden(0, true);
    // Numbers of thousands of rows say nothing and take the room of a column.
    tabelleRezeptbedarf->verticalHeader()->hide();
    // The rows alternate in colour; a grid over the whole page would cost
    // more to draw than the rows' cells.
    tabelleRezeptbedarf->setShowGrid(false);
    // Rows all of one height: the table makes the cells of those in view only.
    tabelleRezeptbedarf->verticalHeader()->setMinimumSectionSize(20);
    tabelleRezeptbedarf->verticalHeader()->setDefaultSectionSize(20);
    tabelleRezeptbedarf->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *k = tabelleRezeptbedarf->horizontalHeader();
    const int breiten[] = {0, 175, 145, 0, 75, 110, 85, 80, 180, 120};
    for (int spalte = 1; spalte < 10; ++spalte) {
        if (breiten[spalte] > 0)
            k->resizeSection(spalte, breiten[spalte]);
    }
    k->setSectionResizeMode(3, QHeaderView::Stretch);
    qobject_cast<Tabelle *>(tabelleRezeptbedarf)->zeilenBeiBedarf([this](int von, int bis) {
        bedarfZeilenZeigen(von, bis);
    });
}
