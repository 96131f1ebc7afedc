// SPDX-License-Identifier: GPL-3.0-or-later
// Working on a PostgreSQL server database with several seats: connecting,
// the connection remembered for the next start, and the other seats'
// changes shown as they are made.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "sicherung/sicherung.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>

namespace {

const QString pfadGruppe = QStringLiteral("pfade");
// Beside "letzteDatei", which earlier versions read and which stays the
// file to fall back to; a remembered database name means the server was
// the last one in use.
const char *const schluesselHost = "serverHost";
const char *const schluesselPort = "serverPort";
const char *const schluesselDatenbank = "serverDatenbank";
const char *const schluesselBenutzer = "serverBenutzer";
const char *const schluesselSsl = "serverSslModus";

// The tables another seat wrote, as what the views show.
Aenderungen aenderungenAus(const QStringList &tabellen)
{
    static const QHash<QString, Geaendert> was{{QStringLiteral("patient"), Geaendert::patienten},
                                               {QStringLiteral("medikament"), Geaendert::katalog},
                                               {QStringLiteral("sorte"), Geaendert::katalog},
                                               {QStringLiteral("sorte_pzn"), Geaendert::katalog},
                                               {QStringLiteral("einnahme"), Geaendert::einnahme},
                                               {QStringLiteral("einnahme_bmp"), Geaendert::einnahme},
                                               {QStringLiteral("plan_text"), Geaendert::einnahme},
                                               {QStringLiteral("termine"), Geaendert::termine},
                                               {QStringLiteral("anforderung"), Geaendert::anforderungen}};
    Aenderungen aenderungen;
    for (const QString &t : tabellen) {
        // The history shows in its own window, read when it opens.
        if (t == QLatin1String("verlauf"))
            continue;
        aenderungen |= was.value(t, Geaendert::alles);
    }
    // Nothing named: anything may have changed.
    return tabellen.isEmpty() ? Aenderungen(Geaendert::alles) : aenderungen;
}

} // namespace

std::optional<Serverzugang> MainWindow::gemerkterServer() const
{
    QSettings s(einstellungsOrdner + QStringLiteral("/config.ini"), QSettings::IniFormat);
    s.beginGroup(pfadGruppe);
    const QString datenbank = s.value(QLatin1String(schluesselDatenbank)).toString();
    if (datenbank.isEmpty())
        return std::nullopt;
    Serverzugang z;
    z.datenbank = datenbank;
    z.host = s.value(QLatin1String(schluesselHost)).toString();
    bool zahl = false;
    const int port = s.value(QLatin1String(schluesselPort)).toInt(&zahl);
    z.port = zahl && port > 0 && port <= 65535 ? port : -1;
    z.benutzer = s.value(QLatin1String(schluesselBenutzer)).toString();
    const QString modus = s.value(QLatin1String(schluesselSsl)).toString();
    z.sslModus = Serverzugang::sslModi().contains(modus) ? modus : QStringLiteral("prefer");
    return z;
}

void MainWindow::serverMerken(const std::optional<Serverzugang> &zugang)
{
    QSettings s(einstellungsOrdner + QStringLiteral("/config.ini"), QSettings::IniFormat);
    s.beginGroup(pfadGruppe);
    for (const char *k : {schluesselHost, schluesselPort, schluesselDatenbank, schluesselBenutzer, schluesselSsl})
        s.remove(QLatin1String(k));
    // Never the password: it is asked at each connect, or left to ~/.pgpass.
    if (zugang) {
        s.setValue(QLatin1String(schluesselHost), zugang->host);
        if (zugang->port > 0)
            s.setValue(QLatin1String(schluesselPort), zugang->port);
        s.setValue(QLatin1String(schluesselDatenbank), zugang->datenbank);
        s.setValue(QLatin1String(schluesselBenutzer), zugang->benutzer);
        s.setValue(QLatin1String(schluesselSsl), zugang->sslModus);
    }
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError)
        meldungZeigen(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: Beim n\u00E4chsten Start "
                                     "verbindet Kalvoria wieder mit der zuvor benutzten Datenbank."));
}

void MainWindow::ServerVerbinden()
{
    const std::optional<Serverzugang> gemerkt = art() == Datenbankart::postgres ? std::optional<Serverzugang>(server)
                                                                                : gemerkterServer();
    const Serverzugang z = gemerkt.value_or(Serverzugang());
    serverHost->setText(z.host);
    serverPort->setValue(z.port > 0 ? z.port : 5432);
    serverDatenbank->setText(gemerkt ? z.datenbank : QStringLiteral("kalvoria"));
    serverBenutzer->setText(z.benutzer);
    serverSsl->setCurrentIndex(qMax(0, serverSsl->findText(z.sslModus)));
    serverPasswort->clear();

    QDialog fenster(this);
    fenster.setObjectName(QStringLiteral("fensterServer"));
    fenster.setWindowTitle(QStringLiteral("Mit Server verbinden"));
    fenster.setFixedSize(400, 285);
    fenster.setFont(schriftNormal);
    fensterText(fenster,
                QStringLiteral("Die Daten liegen auf einem PostgreSQL-Server, an dem mehrere Pl\u00E4tze zugleich "
                               "arbeiten."),
                QRect(20, 8, 360, 34))
        ->setWordWrap(true);
    QWidget *const felder[] = {serverHost.get(),     serverPort.get(), serverDatenbank.get(),
                               serverBenutzer.get(), serverSsl.get(),  serverPasswort.get()};
    const char *const beschriftungen[] = {
        "&Server:", "P&ort:", "&Datenbank:", "&Benutzer:", "SSL-&Modus:", "&Passwort:"};
    const FelderLeihen geliehen(fenster, {{felder[0], QRect(130, 48, 250, 20)},
                                          {felder[1], QRect(130, 76, 80, 20)},
                                          {felder[2], QRect(130, 104, 250, 20)},
                                          {felder[3], QRect(130, 132, 250, 20)},
                                          {felder[4], QRect(130, 160, 120, 20)},
                                          {felder[5], QRect(130, 188, 250, 20)}});
    for (int i = 0; i < 6; ++i) {
        QLabel *l = fensterText(fenster, QString::fromUtf8(beschriftungen[i]), QRect(20, 48 + 28 * i, 105, 20),
                                Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(felder[i]);
    }
    fensterText(fenster, QStringLiteral("leer: aus ~/.pgpass; wird nie gespeichert"), QRect(130, 210, 250, 16))
        ->setStyleSheet(QStringLiteral("color: palette(mid)"));
    serverHost->setFocus();
    fensterAusfuehren(fenster, QStringLiteral("&Verbinden"), 240, &MainWindow::ServerVerbindenEintragen,
                      serverFensterGespeichert);
    serverPasswort->clear();
}

void MainWindow::ServerVerbindenEintragen()
{
    Serverzugang z;
    z.host = serverHost->text().trimmed();
    z.port = serverPort->value();
    z.datenbank = serverDatenbank->text().trimmed();
    z.benutzer = serverBenutzer->text().trimmed();
    z.sslModus = serverSsl->currentText();
    if (z.datenbank.isEmpty()) {
        meldungZeigen(QStringLiteral("Datenbank: Bitte den Namen der Datenbank auf dem Server angeben."));
        serverDatenbank->setFocus();
        return;
    }
    serverFensterGespeichert = serverOeffnen(z, serverPasswort->text());
}

bool MainWindow::serverOeffnen(const Serverzugang &zugang, const QString &passwort)
{
    return serverOeffnen(zugang, passwort, serverPruefen(zugang, passwort), false);
}

bool MainWindow::serverOeffnen(const Serverzugang &zugang, const QString &passwort, const Serverpruefung &p,
                               bool beimStart)
{
    const QString bleibt = art() == Datenbankart::postgres
                               ? QStringLiteral("Kalvoria arbeitet weiter mit %1.").arg(server.anzeige())
                               : QStringLiteral("Kalvoria arbeitet weiter mit %1.").arg(datenbankDatei);
    if (!p.fehler.isEmpty()) {
        meldungZeigen(QStringLiteral("Mit dem Server konnte keine Verbindung hergestellt werden (%1).\n\n%2\n\n%3")
                          .arg(zugang.anzeige(), p.fehler, bleibt));
        return false;
    }
    if (!p.mangel.isEmpty()) {
        meldungZeigen(QStringLiteral("Die Datenbank %1 ist keine Kalvoria-Datenbank: %2\n\n%3")
                          .arg(zugang.anzeige(), p.mangel, bleibt));
        return false;
    }
    // Leaving a file is a step after which it is not at hand: a copy first.
    if (!beimStart && art() == Datenbankart::sqlite && !sicherungVorRiskantem(Sicherungsanlass::verbinden))
        return false;
    serverVerwenden(zugang, passwort);
    if (p.leer) {
        DbSitzung sitzung(*this);
        if (!sitzung.offen() || !tabellenAnlegen(sitzung)) {
            // The file stays the one in use; the failure was reported.
            dateiVerwenden();
            titelSetzen();
            return false;
        }
    }
    serverMerken(zugang);
    titelSetzen();
    dateiEintraegeSetzen();
    if (!beimStart)
        AllesEinlesen();
    return true;
}

void MainWindow::gemerktenServerVerbinden()
{
    const std::optional<Serverzugang> z = gemerkterServer();
    if (!z)
        return;
    const Serverpruefung p = serverPruefen(*z, QString());
    if (p.fehler.isEmpty() && p.mangel.isEmpty()) {
        serverOeffnen(*z, QString(), p, true);
        return;
    }
    // The server stays remembered: it may be down for a while. Its window
    // comes up with the connection filled in, for a password or a retry.
    meldungZeigen(
        QStringLiteral("Mit dem zuletzt benutzten Server %1 konnte keine Verbindung hergestellt werden.\n\n%2\n\n"
                       "Kalvoria arbeitet mit %3. Unter \u201EDatei\u201C \u2192 \u201EMit Server verbinden...\u201C "
                       "kann erneut verbunden werden.")
            .arg(z->anzeige(), p.fehler.isEmpty() ? p.mangel : p.fehler, datenbankDatei));
}

void MainWindow::dateiEintraegeSetzen()
{
    const bool datei = art() == Datenbankart::sqlite;
    for (QAction *a : {aktionDbKopieren, aktionDbVerschieben})
        a->setEnabled(datei);
}

void MainWindow::serverGeaendert(const QStringList &tabellen)
{
    serverAenderungen |= aenderungenAus(tabellen);
    // Several commits in a row are shown once.
    if (!serverAuffrischer->isActive())
        serverAuffrischer->start(50);
}

void MainWindow::serverAenderungenZeigen()
{
    // Not under an open window or message, nor inside a command: it acts on
    // the rows it showed, and its own checks find the change.
    if (!isVisible() || QApplication::activeModalWidget() || sitzungLaeuft()) {
        serverAuffrischer->start(250);
        return;
    }
    const Aenderungen was = serverAenderungen;
    serverAenderungen = Aenderungen();
    if (was)
        auffrischen(was);
}
