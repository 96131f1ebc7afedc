// SPDX-License-Identifier: GPL-3.0-or-later
// Who prints the medication plan: entered once, kept in config.ini.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "intake/fensterfelder.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>

namespace {

const QString ausstellerGruppe = QStringLiteral("ausgedruckt_von");

struct Feld {
    const char *schluessel;
    const char *beschriftung;
    int hoechstens; // the format's limit
};
// Name, street with number, postcode, town, phone, in the window's order.
const Feld felder[] = {{"name", "&Name:", 80},
                       {"strasse", "St&ra\u00DFe, Nr.:", 30},
                       {"plz", "&PLZ:", 5},
                       {"ort", "&Ort:", 20},
                       {"telefon", "&Telefon:", 20}};

} // namespace

BmpAutor MainWindow::bmpAussteller() const
{
    QSettings s(einstellungsOrdner + QStringLiteral("/config.ini"), QSettings::IniFormat);
    s.beginGroup(ausstellerGruppe);
    BmpAutor a;
    a.name = s.value(QStringLiteral("name")).toString();
    a.strasse = s.value(QStringLiteral("strasse")).toString();
    a.plz = s.value(QStringLiteral("plz")).toString();
    a.ort = s.value(QStringLiteral("ort")).toString();
    a.telefon = s.value(QStringLiteral("telefon")).toString();
    return a;
}

void MainWindow::BmpAusstellerFenster()
{
    const BmpAutor a = bmpAussteller();
    QLineEdit *const eingaben[] = {ausstellerName.get(), ausstellerStrasse.get(), ausstellerPlz.get(),
                                   ausstellerOrt.get(), ausstellerTelefon.get()};
    const QString werte[] = {a.name, a.strasse, a.plz, a.ort, a.telefon};
    for (int i = 0; i < 5; ++i) {
        eingaben[i]->setText(werte[i]);
        eingaben[i]->setMaxLength(felder[i].hoechstens);
    }

    QDialog fenster(this);
    fenster.setObjectName(QStringLiteral("fensterAussteller"));
    fenster.setWindowTitle(QStringLiteral("Medikationsplan: ausgedruckt von"));
    fenster.setFixedSize(400, 250);
    fenster.setFont(schriftNormal);
    fensterText(fenster, QStringLiteral("Wer druckt den Plan aus (Pflegedienst, Angeh\u00F6rige)?"),
                QRect(20, 10, 370, 20));
    const FelderLeihen geliehen(fenster, {{eingaben[0], QRect(130, 40, 250, 20)},
                                          {eingaben[1], QRect(130, 70, 250, 20)},
                                          {eingaben[2], QRect(130, 100, 60, 20)},
                                          {eingaben[3], QRect(130, 130, 250, 20)},
                                          {eingaben[4], QRect(130, 160, 250, 20)}});
    for (int i = 0; i < 5; ++i) {
        QLabel *l = fensterText(fenster, QString::fromUtf8(felder[i].beschriftung), QRect(20, 40 + 30 * i, 105, 20),
                                Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(eingaben[i]);
    }
    eingaben[0]->setFocus();
    fensterAusfuehren(fenster, QStringLiteral("&Speichern"), 205, &MainWindow::BmpAusstellerEintragen,
                      fensterGespeichert);
}

void MainWindow::BmpAusstellerEintragen()
{
    QLineEdit *const eingaben[] = {ausstellerName.get(), ausstellerStrasse.get(), ausstellerPlz.get(),
                                   ausstellerOrt.get(), ausstellerTelefon.get()};
    const QString name = eingaben[0]->text().trimmed();
    if (name.isEmpty()) {
        meldungZeigen(QStringLiteral("Name: Bitte angeben, wer den Medikationsplan ausdruckt. Es wurde nichts "
                                     "gespeichert."));
        eingaben[0]->setFocus();
        return;
    }
    static const QRegularExpression plz(QStringLiteral("^(\\d{5})?$"));
    if (!plz.match(eingaben[2]->text().trimmed()).hasMatch()) {
        meldungZeigen(QStringLiteral("PLZ: Eine Postleitzahl hat 5 Ziffern. Es wurde nichts gespeichert."));
        eingaben[2]->setFocus();
        return;
    }
    QSettings s(einstellungsOrdner + QStringLiteral("/config.ini"), QSettings::IniFormat);
    s.beginGroup(ausstellerGruppe);
    for (int i = 0; i < 5; ++i)
        s.setValue(QString::fromLatin1(felder[i].schluessel), eingaben[i]->text().trimmed());
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError) {
        meldungZeigen(
            QStringLiteral("Die Angaben konnten nicht in \u201E%1\u201C gespeichert werden.").arg(s.fileName()));
        return;
    }
    fensterGespeichert = true;
}
