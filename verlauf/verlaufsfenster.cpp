// SPDX-License-Identifier: GPL-3.0-or-later
// The history window: what was changed, when and by whom, for a patient or
// for one intake line, within a period.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "app/tabellen.h"
#include "intake/fensterfelder.h"
#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

// The choice of entries that concern no patient: medications, packages, restored copies.
constexpr int ohnePatient = -1;

QString tagText(const QDate &tag)
{
    return tag.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

void MainWindow::verlaufFelderBauen()
{
    verlaufPatient = std::make_unique<QComboBox>();
    verlaufPatient->setObjectName(QStringLiteral("verlaufPatient"));
    verlaufVon = datumsFeld(QStringLiteral("verlaufVon"));
    verlaufBis = datumsFeld(QStringLiteral("verlaufBis"));
    verlaufTabelle.reset(tabelleBauen(QStringLiteral("verlaufTabelle"), nullptr, QRect(), {}));
    verlaufTabelle->setColumnCount(7);
    verlaufTabelle->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("Zeitpunkt"), QStringLiteral("Art"),
                                               QStringLiteral("Betrifft"), QStringLiteral("vorher"),
                                               QStringLiteral("nachher"), QStringLiteral("Benutzer")});
    verlaufTabelle->setColumnHidden(0, true);
    QHeaderView *k = verlaufTabelle->horizontalHeader();
    k->resizeSection(1, 115);
    k->resizeSection(2, 145);
    k->resizeSection(3, 210);
    k->setSectionResizeMode(4, QHeaderView::Stretch);
    k->setSectionResizeMode(5, QHeaderView::Stretch);
    k->resizeSection(6, 90);

    connect(verlaufPatient.get(), QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MainWindow::VerlaufFuellen);
    connect(verlaufVon.get(), &QDateEdit::dateChanged, this, &MainWindow::VerlaufFuellen);
    connect(verlaufBis.get(), &QDateEdit::dateChanged, this, &MainWindow::VerlaufFuellen);
}

void MainWindow::VerlaufFenster()
{
    verlaufFensterZeigen(QString(), QString());
}

void MainWindow::ZuordnungVerlauf()
{
    const int r = tabelleZuordnung->currentRow();
    if (r < 0 || r >= einnahmeZeilen())
        return;
    verlaufFensterZeigen(einnahmeId.at(r),
                         sorteBeschreibung(einnahmeMedizin.at(r), einnahmeHandelsname.at(r), einnahmeDosis.at(r)));
}

void MainWindow::verlaufFensterZeigen(const QString &zeile, const QString &ueber)
{
    if (!verlaufTabelle)
        verlaufFelderBauen();
    verlaufZeile = zeile;
    verlaufZeileText = ueber;
    const QString gewaehlt = zellText(tabellePatientenwahl, tabellePatientenwahl->currentRow(), 0);

    // Every patient with a history or in the file, those deleted under the
    // name they last had; the chosen one first shown.
    QVector<QPair<QString, int>> patienten;
    QDate erster = heute;
    {
        DbSitzung db(*this);
        for (const QSqlRecord &r : db.lesen(QStringLiteral("SELECT id, lastname, firstname FROM patient")))
            patienten.append({personText(r.value(1).toString(), r.value(2).toString()), r.value(0).toInt()});
        if (verlaufVorhanden(db)) {
            for (const QSqlRecord &r : db.lesen(QStringLiteral(
                     "SELECT pat_id, patient FROM verlauf WHERE id IN (SELECT max(id) FROM verlauf WHERE pat_id IS "
                     "NOT NULL AND pat_id NOT IN (SELECT id FROM patient) GROUP BY pat_id)")))
                patienten.append({r.value(1).toString() + QStringLiteral(" (gel\u00F6scht)"), r.value(0).toInt()});
            const auto anfang = db.lesen(QStringLiteral("SELECT min(zeit) FROM verlauf"));
            const QDate d = QDate::fromString(anfang.value(0).value(0).toString().left(10),
                                              QStringLiteral("yyyy-MM-dd"));
            if (d.isValid() && d < erster)
                erster = d;
        }
    }
    std::sort(patienten.begin(), patienten.end(), [](const QPair<QString, int> &a, const QPair<QString, int> &b) {
        return QString::localeAwareCompare(a.first, b.first) < 0;
    });

    {
        const QSignalBlocker a(verlaufPatient.get()), b(verlaufVon.get()), c(verlaufBis.get());
        verlaufPatient->clear();
        for (const auto &p : patienten)
            verlaufPatient->addItem(p.first, p.second);
        verlaufPatient->addItem(QStringLiteral("Ohne Patient: Medikamente, Packungen, Sicherungen"), ohnePatient);
        const int index = verlaufPatient->findData(gewaehlt.isEmpty() ? ohnePatient : gewaehlt.toInt());
        verlaufPatient->setCurrentIndex(qMax(0, index));
        verlaufVon->setDate(erster);
        verlaufBis->setDate(heute);
    }

    QDialog fenster;
    fenster.setFixedSize(960, 560);
    fenster.setFont(schriftNormal);
    fenster.setWindowTitle(QStringLiteral("Verlauf"));
    auto *wer = fensterText(fenster, zeile.isEmpty() ? QStringLiteral("Pa&tient:") : QStringLiteral("Zuordnung:"),
                            QRect(15, 15, 80, 24));
    if (!zeile.isEmpty())
        fensterText(fenster, ueber + QStringLiteral(" \u2013 ") + patientKopfzeile().section(QStringLiteral(": "), 1),
                    QRect(100, 15, 345, 24), Qt::AlignLeft | Qt::AlignVCenter,
                    QStringLiteral("border:1px solid gray;"));
    fensterText(fenster, QStringLiteral("&von:"), QRect(470, 15, 35, 24))->setBuddy(verlaufVon.get());
    fensterText(fenster, QStringLiteral("&bis:"), QRect(630, 15, 30, 24))->setBuddy(verlaufBis.get());

    const FelderLeihen felder(fenster, {{verlaufVon.get(), QRect(505, 15, 110, 24)},
                                        {verlaufBis.get(), QRect(660, 15, 110, 24)},
                                        {verlaufTabelle.get(), QRect(15, 50, 930, 450)}});
    // The patient choice only where the window is about a patient.
    std::unique_ptr<FelderLeihen> wahl;
    if (zeile.isEmpty()) {
        wahl = std::make_unique<FelderLeihen>(fenster, std::initializer_list<std::pair<QWidget *, QRect>>{
                                                           {verlaufPatient.get(), QRect(100, 15, 345, 24)}});
        wer->setBuddy(verlaufPatient.get());
    }
    VerlaufFuellen();

    auto *drucken = new QPushButton(QStringLiteral("Als &PDF schreiben\u2026"), &fenster);
    drucken->setObjectName(QStringLiteral("knopfVerlaufPdf"));
    drucken->setGeometry(15, 515, 170, 30);
    drucken->setAutoDefault(false);
    auto *schliessen = new QPushButton(QStringLiteral("&Schlie\u00DFen"), &fenster);
    schliessen->setObjectName(QStringLiteral("knopfVerlaufSchliessen"));
    schliessen->setGeometry(825, 515, 120, 30);
    schliessen->setDefault(true);
    connect(drucken, &QPushButton::clicked, this, &MainWindow::VerlaufDrucken);
    connect(schliessen, &QPushButton::clicked, &fenster, &QDialog::accept);
    (zeile.isEmpty() ? static_cast<QWidget *>(verlaufPatient.get()) : verlaufTabelle.get())->setFocus();
    fenster.exec();
    wahl.reset();
}

void MainWindow::VerlaufFuellen()
{
    QTableWidget *t = verlaufTabelle.get();
    t->setRowCount(0);
    const QDate von = verlaufVon->date();
    const QDate bis = verlaufBis->date();

    // What the entries are about; the statement's text only ever holds one
    // of these literals.
    QString wo;
    QVariant schluessel;
    QString kopf;
    if (!verlaufZeile.isEmpty()) {
        wo = QStringLiteral("einnahme_id = :schluessel");
        schluessel = verlaufZeile.toInt();
        kopf = patientKopfzeile() + QStringLiteral(" | Zuordnung: ") + verlaufZeileText;
    } else if (verlaufPatient->currentData().toInt() == ohnePatient) {
        wo = QStringLiteral("pat_id IS NULL AND :schluessel IS NULL");
        kopf = QStringLiteral(" - ") + verlaufPatient->currentText();
    } else {
        wo = QStringLiteral("pat_id = :schluessel");
        schluessel = verlaufPatient->currentData().toInt();
        kopf = QStringLiteral(" - Patient: ") + verlaufPatient->currentText();
    }
    verlaufKopf = kopf + QStringLiteral(" | Zeitraum: ") + tagText(von) + QStringLiteral(" bis ") + tagText(bis);

    QVector<QSqlRecord> zeilen;
    bool vorhanden = false;
    {
        DbSitzung db(*this);
        vorhanden = verlaufVorhanden(db);
        if (vorhanden)
            zeilen = db.lesen(QStringLiteral("SELECT id, zeit, art, betrifft, alt, neu, benutzer FROM verlauf WHERE ") +
                                  wo + QStringLiteral(" AND zeit >= :von AND zeit < :bis ORDER BY id DESC"),
                              {{QStringLiteral(":schluessel"), schluessel},
                               {QStringLiteral(":von"), von.toString(QStringLiteral("yyyy-MM-dd"))},
                               {QStringLiteral(":bis"), bis.addDays(1).toString(QStringLiteral("yyyy-MM-dd"))}});
    }
    t->setRowCount(zeilen.size());
    zellenFuellen(t, [&] {
        for (int z = 0; z < zeilen.size(); ++z) {
            const QSqlRecord &r = zeilen.at(z);
            const QDateTime zeit = QDateTime::fromString(r.value(1).toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            const QString texte[] = {
                r.value(0).toString(),
                zeit.isValid() ? zeit.toString(QStringLiteral("dd.MM.yyyy hh:mm")) : r.value(1).toString(),
                r.value(2).toString(),
                r.value(3).toString(),
                r.value(4).toString(),
                r.value(5).toString(),
                r.value(6).toString()};
            for (int s = 0; s < 7; ++s)
                t->setItem(z, s, new QTableWidgetItem(texte[s]));
        }
    });
    tabellenHinweis(t, !zeilen.isEmpty() ? QString()
                       : vorhanden       ? QStringLiteral("Keine \u00C4nderungen in diesem Zeitraum.")
                                         : QStringLiteral("Noch keine \u00C4nderungen aufgezeichnet: Kalvoria "
                                                                "zeichnet ab jetzt jede \u00C4nderung auf."));
}
