// SPDX-License-Identifier: GPL-3.0-or-later
// The check after the start with the daily copy, copies before risky steps,
// and the window with the backup settings.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "app/tabellen.h"
#include "intake/fensterfelder.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>

namespace {

QString zeigen(const QString &pfad)
{
    return QStringLiteral("\u201E") + QDir::toNativeSeparators(pfad) + QStringLiteral("\u201C");
}

// Whether pfad lies in ordner or is ordner itself.
bool liegtIn(const QString &pfad, const QString &ordner)
{
    const QString p = QDir::cleanPath(QFileInfo(pfad).absoluteFilePath());
    const QString o = QDir::cleanPath(QFileInfo(ordner).absoluteFilePath());
    return p == o || p.startsWith(o + QLatin1Char('/'));
}

} // namespace

QString MainWindow::konfigurationsDatei() const
{
    return einstellungsOrdner + QStringLiteral("/config.ini");
}

void MainWindow::sicherungFelderBauen()
{
    sicherungAktiv = std::make_unique<QCheckBox>(QStringLiteral("Automatisch sichern (&t\u00E4glich und vor riskanten "
                                                                "Schritten)"));
    sicherungAktiv->setObjectName(QStringLiteral("sicherungAktiv"));
    sicherungOrdnerFeld = std::make_unique<QLineEdit>();
    sicherungOrdnerFeld->setObjectName(QStringLiteral("sicherungOrdnerFeld"));
    sicherungOrdnerFeld->setStyleSheet(QStringLiteral("background-color:white;"));
    sicherungAnzahl = std::make_unique<QSpinBox>();
    sicherungAnzahl->setObjectName(QStringLiteral("sicherungAnzahl"));
    sicherungAnzahl->setRange(1, 365);
    sicherungAnzahl->setAlignment(Qt::AlignCenter);

    sicherungListe.reset(tabelleBauen(QStringLiteral("sicherungListe"), nullptr, QRect(),
                                      {QStringLiteral("Pfad"), QStringLiteral("Datum"), QStringLiteral("Uhrzeit"),
                                       QStringLiteral("Anlass"), QStringLiteral("Patienten"),
                                       QStringLiteral("Zuordnungen"), QStringLiteral("Datenbank")}));
    sicherungListe->setColumnHidden(0, true);
    QHeaderView *k = sicherungListe->horizontalHeader();
    k->resizeSection(1, 85);
    k->resizeSection(2, 65);
    k->setSectionResizeMode(3, QHeaderView::Stretch);
    k->resizeSection(4, 75);
    k->resizeSection(5, 95);
    k->resizeSection(6, 110);
}

void MainWindow::TaeglicheSicherung()
{
    if (startPruefung || !startPruefungOffen)
        return;
    // Copies of what the thread needs: it must not touch the window. On a
    // server it clones the window's connection, having none of its own.
    const QString datei = sicherungsQuelle();
    const QString verbindung = art() == Datenbankart::postgres ? datenbank.connectionName() : QString();
    const Sicherungseinstellungen einstellungen = sicherungseinstellungenLesen(konfigurationsDatei());
    const QString ordner = sicherungsOrdner(einstellungen);
    const QDateTime jetzt = aktuelleZeit();
    startBefund = std::make_unique<Startbefund>();
    Startbefund *befund = startBefund.get();
    startPruefung = QThread::create([befund, datei, verbindung, ordner, einstellungen, jetzt] {
        *befund = verbindung.isEmpty() ? startPruefen(datei, ordner, einstellungen, jetzt)
                                       : startPruefenServer(verbindung, datei, ordner, einstellungen, jetzt);
    });
    startPruefung->setObjectName(QStringLiteral("startPruefung"));
    connect(startPruefung, &QThread::finished, this, &MainWindow::SicherungFertig);
    // Below the window's own work, so that clicks and painting go first.
    startPruefung->start(QThread::LowPriority);
}

void MainWindow::startPruefungAbwarten()
{
    if (!startPruefung)
        return;
    startPruefung->wait();
    delete startPruefung;
    startPruefung = nullptr;
}

void MainWindow::SicherungFertig()
{
    startPruefungAbwarten();
    if (!startBefund)
        return;
    const Startbefund befund = *startBefund;
    startBefund.reset();
    if (!befund.fehler.isEmpty()) {
        meldungZeigen(QStringLiteral("Die t\u00E4gliche Sicherung der Datenbank konnte nicht angelegt werden:\n%1\n\n"
                                     "Kalvoria arbeitet normal weiter und versucht es beim n\u00E4chsten Start wieder. "
                                     "Ordner und Einstellungen der Sicherungen stehen im Men\u00FC \u201EDatei\u201C "
                                     "unter \u201ESicherungen einstellen\u2026\u201C.")
                          .arg(befund.fehler));
    }
    if (!befund.beschaedigt.isEmpty()) {
        const QString schaden =
            QStringLiteral("Die Datenbank %1 ist besch\u00E4digt:\n%2").arg(zeigen(befund.datei), befund.beschaedigt);
        // A copy is offered only for the file still in use.
        if (befund.datei != datenbankDatei) {
            meldungZeigen(schaden + QStringLiteral("\n\nKalvoria arbeitet inzwischen mit einer anderen Datenbank; "
                                                   "die besch\u00E4digte Datei bleibt, wie sie ist."));
        } else if (!befund.angebot) {
            meldungZeigen(schaden + QStringLiteral("\n\nEs gibt keine fehlerfreie Sicherung dieser Datenbank. Bitte "
                                                   "kopieren Sie die Datei, bevor Sie weiterarbeiten, und pr\u00FCfen "
                                                   "Sie die angezeigten Angaben."));
        } else if (frageStellen(schaden + QStringLiteral("\n\nSoll die neueste fehlerfreie Sicherung vom %1 Uhr (%2) "
                                                         "wiederhergestellt werden? Die besch\u00E4digte Datei wird "
                                                         "vorher aufbewahrt.")
                                              .arg(befund.angebot->zeit.toString(QStringLiteral("dd.MM.yyyy, hh:mm")),
                                                   anlassText(befund.angebot->anlass)))) {
            sicherungEinspielen(*befund.angebot);
        }
    }
    startPruefungOffen = false;
}

QString MainWindow::sicherungsQuelle() const
{
    return art() == Datenbankart::postgres ? serverQuelle(server) : datenbankDatei;
}

QString MainWindow::sicherungAnlegen(Sicherungsanlass anlass, QString *fehler)
{
    const Sicherungseinstellungen e = sicherungseinstellungenLesen(konfigurationsDatei());
    const QString ordner = sicherungsOrdner(e);
    const QDateTime jetzt = aktuelleZeit();
    const QString quelle = sicherungsQuelle();
    QString kopie;
    {
        DbSitzung db(*this);
        if (!db.offen()) {
            *fehler = QStringLiteral("Die Datenbank %1 konnte nicht ge\u00F6ffnet werden.").arg(zeigen(quelle));
            return QString();
        }
        kopie = sicherungSchreiben(db.verbindung(), ordner, quelle, jetzt, anlass, fehler);
    }
    if (!kopie.isEmpty())
        sicherungenAufraeumen(ordner, quelle, jetzt, e.taeglich);
    return kopie;
}

bool MainWindow::sicherungVorRiskantem(Sicherungsanlass anlass)
{
    if (!sicherungseinstellungenLesen(konfigurationsDatei()).aktiv)
        return true;
    QString fehler;
    if (!sicherungAnlegen(anlass, &fehler).isEmpty())
        return true;
    return frageStellen(
        QStringLiteral("Vor diesem Schritt konnte keine Sicherung der Datenbank angelegt werden:\n%1\n\n"
                       "Trotzdem fortfahren, ohne Sicherung?")
            .arg(fehler));
}

void MainWindow::SicherungEinstellungen()
{
    if (!sicherungListe)
        sicherungFelderBauen();
    const Sicherungseinstellungen e = sicherungseinstellungenLesen(konfigurationsDatei());
    QDialog fenster;
    fenster.setFixedSize(460, 230);
    fenster.setFont(schriftNormal);
    fenster.setWindowTitle(QStringLiteral("Sicherungen einstellen"));
    fensterText(fenster, QStringLiteral("&Ordner:"), QRect(15, 50, 60, 24))->setBuddy(sicherungOrdnerFeld.get());
    fensterText(fenster, QStringLiteral("T\u00E4gliche Sicherungen &behalten:"), QRect(15, 85, 210, 24))
        ->setBuddy(sicherungAnzahl.get());
    auto *hinweis = fensterText(fenster,
                                QStringLiteral("Au\u00DFerdem bleiben %1 Wochen lang eine Sicherung je Woche, %2 "
                                               "Monate lang eine je Monat und Sicherungen vor riskanten Schritten %3 "
                                               "Tage lang erhalten. Leer gelassen, liegt der Ordner bei Ihren "
                                               "Programmdaten.")
                                    .arg(sicherungWochen)
                                    .arg(sicherungMonate)
                                    .arg(sicherungTageVorRiskantem),
                                QRect(15, 115, 430, 64), Qt::AlignLeft | Qt::AlignTop);
    hinweis->setWordWrap(true);
    auto *waehlen = new QPushButton(QStringLiteral("&W\u00E4hlen\u2026"), &fenster);
    waehlen->setObjectName(QStringLiteral("knopfSicherungOrdner"));
    waehlen->setGeometry(355, 49, 90, 26);
    waehlen->setAutoDefault(false);
    connect(waehlen, &QPushButton::clicked, this, &MainWindow::SicherungOrdnerWaehlen);

    const FelderLeihen felder(fenster, {{sicherungAktiv.get(), QRect(15, 15, 430, 24)},
                                        {sicherungOrdnerFeld.get(), QRect(80, 50, 270, 24)},
                                        {sicherungAnzahl.get(), QRect(230, 85, 60, 24)}});
    sicherungAktiv->setChecked(e.aktiv);
    sicherungOrdnerFeld->setText(QDir::toNativeSeparators(e.ordner));
    sicherungOrdnerFeld->setPlaceholderText(QDir::toNativeSeparators(standardSicherungsordner()));
    sicherungAnzahl->setValue(e.taeglich);
    sicherungAktiv->setFocus();

    fensterAusfuehren(fenster, QStringLiteral("&Speichern"), 190, &MainWindow::SicherungEinstellungenSpeichern,
                      fensterGespeichert, 205);
}

void MainWindow::SicherungOrdnerWaehlen()
{
    const QString jetzt = sicherungOrdnerFeld->text().trimmed();
    const QString gewaehlt = ordnerWaehlen(QStringLiteral("Ordner f\u00FCr die Sicherungen"),
                                           jetzt.isEmpty() ? standardSicherungsordner() : jetzt);
    if (!gewaehlt.isEmpty())
        sicherungOrdnerFeld->setText(QDir::toNativeSeparators(gewaehlt));
}

void MainWindow::SicherungEinstellungenSpeichern()
{
    fensterGespeichert = false;
    Sicherungseinstellungen e;
    e.aktiv = sicherungAktiv->isChecked();
    e.ordner = QDir::fromNativeSeparators(sicherungOrdnerFeld->text().trimmed());
    e.taeglich = sicherungAnzahl->value();
    const QString ordner = sicherungsOrdner(e);
    QString mangel;
    if (!e.ordner.isEmpty() && QDir::isRelativePath(e.ordner))
        mangel = QStringLiteral("Bitte den ganzen Pfad des Ordners angeben, zum Beispiel \u00FCber "
                                "\u201EW\u00E4hlen\u2026\u201C.");
    else if (liegtIn(ordner, einstellungsOrdner))
        mangel = QStringLiteral("Er liegt im Einstellungsordner, den \u201EReparieren\u201C l\u00F6scht.");
    else if (!QDir().mkpath(ordner) || !QFileInfo(ordner).isWritable())
        mangel = QStringLiteral("Er kann nicht angelegt oder nicht beschrieben werden.");
    if (!mangel.isEmpty()) {
        meldungZeigen(QStringLiteral("Der Ordner %1 kann nicht f\u00FCr Sicherungen benutzt werden. %2\n\n"
                                     "Es wurde nichts gespeichert.")
                          .arg(zeigen(ordner), mangel));
        sicherungOrdnerFeld->setFocus();
        return;
    }
    if (!sicherungseinstellungenSchreiben(konfigurationsDatei(), e)) {
        meldungZeigen(QStringLiteral("Die Einstellungen konnten nicht in %1 gespeichert werden.")
                          .arg(zeigen(konfigurationsDatei())));
        return;
    }
    fensterGespeichert = true;
}
