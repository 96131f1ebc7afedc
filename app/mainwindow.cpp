// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "app/seams.h"
#include "app/sprache.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>

int MainWindow::waechterAbstandMs = 2000;
int MainWindow::startPruefungNachMs = 1000;

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    // The layout is in fixed pixels, so family and size are fixed too.
    const QFont basis = oberflaechenSchrift();
    setFont(basis);
    schriftFett = schriftNormal = schriftKursiv = basis;
    schriftFett.setWeight(QFont::Bold);
    schriftNormal.setWeight(QFont::Normal);
    schriftKursiv.setItalic(true);

    setFixedWidth(1200);
    setFixedHeight(700);
    setWindowTitle(QStringLiteral("Kalvoria"));
    // The icon of the desktop entry (packaging/kalvoria.svg), in the sizes rendered from it.
    Q_INIT_RESOURCE(symbol);
    QIcon symbol;
    for (int groesse : {16, 22, 24, 32, 48, 64, 128, 256})
        symbol.addFile(QStringLiteral(":/symbol/kalvoria-%1.png").arg(groesse), QSize(groesse, groesse));
    setWindowIcon(symbol);

    ErstStartCheck();
    ZeitHolen();
    nullDatum = QDate::fromString(QStringLiteral("2000-01-01"), QStringLiteral("yyyy-MM-dd"));

    kopfUebersicht = QStringList{QStringLiteral("Medikament"), QStringLiteral("Handelsname"), QStringLiteral("Stand"),
                                 QStringLiteral("Reichweite"), QStringLiteral("reicht bis")};
    kopfVerordnungsplan = QStringList{QStringLiteral("Medikament"), QStringLiteral("Dosis"), QStringLiteral("Morgen"),
                                      QStringLiteral("Mittag"),     QStringLiteral("Abend"), QStringLiteral("Nacht")};

    menuesBauen();
    seitenBauen();
    fensterFelderBauen();
    serverAuffrischer = new QTimer(this);
    serverAuffrischer->setObjectName(QStringLiteral("serverAuffrischer"));
    serverAuffrischer->setSingleShot(true);
    connect(serverAuffrischer, &QTimer::timeout, this, &MainWindow::serverAenderungenZeigen);
    gemerktenServerVerbinden();

    AllesEinlesen();
    verbindungenHerstellen();

    // Another program (a second window, a second computer on a shared file)
    // may change the file: looked for every few seconds and on activation.
    aenderungsWaechter = new QTimer(this);
    aenderungsWaechter->setObjectName(QStringLiteral("aenderungsWaechter"));
    connect(aenderungsWaechter, &QTimer::timeout, this, &MainWindow::fremdeAenderungPruefen);
    if (waechterAbstandMs > 0)
        aenderungsWaechter->start(waechterAbstandMs);

    // Once the window is up and painted: the file's check and the daily copy.
    QTimer::singleShot(startPruefungNachMs, this, &MainWindow::TaeglicheSicherung);
}

MainWindow::~MainWindow()
{
    startPruefungAbwarten();
}

QString MainWindow::UmlauteErsetzen(QString &text)
{
    text = umlauteErsetzen(text);
    return text;
}

QString MainWindow::MengeFormatieren(float wert)
{
    return mengeFormatieren(wert);
}

QString MainWindow::DatumAusZeit(unsigned int sekunden)
{
    return datumAusZeit(sekunden);
}

void MainWindow::meldungZeigen(const QString &text)
{
    if (Seams::meldung) {
        Seams::meldung(text);
        return;
    }
    // Above a small window that is open, not hidden behind it.
    QWidget *ueber = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    QMessageBox::information(ueber, QStringLiteral("Kalvoria"), text);
}

bool MainWindow::frageStellen(const QString &text)
{
    if (Seams::frage)
        return Seams::frage(text);
    QWidget *ueber = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    return QMessageBox::question(ueber, QStringLiteral("Kalvoria"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QString MainWindow::dateiWaehlen(const QString &titel, const QString &vorschlag, const QString &filter, bool speichern)
{
    if (Seams::datei)
        return Seams::datei(titel, vorschlag, filter, speichern);
    if (speichern)
        return QFileDialog::getSaveFileName(this, titel, vorschlag, filter);
    return QFileDialog::getOpenFileName(this, titel, vorschlag, filter);
}

QString MainWindow::ordnerWaehlen(const QString &titel, const QString &vorschlag)
{
    if (Seams::ordner)
        return Seams::ordner(titel, vorschlag);
    return QFileDialog::getExistingDirectory(
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this, titel, vorschlag);
}

QDateTime MainWindow::aktuelleZeit() const
{
    return Seams::uhr ? Seams::uhr() : QDateTime::currentDateTime();
}

void MainWindow::datenbankFehler(const QString &text)
{
    meldungZeigen(text);
}

void MainWindow::datenbankKonflikt()
{
    meldungZeigen(QStringLiteral("Dieser Eintrag wurde inzwischen an anderer Stelle ge\u00E4ndert oder gel\u00F6scht; "
                                 "es wurde nichts gespeichert, und die Anzeige zeigt jetzt den gespeicherten Stand."));
    auffrischen(Geaendert::alles);
}

void MainWindow::changeEvent(QEvent *ereignis)
{
    QMainWindow::changeEvent(ereignis);
    if (ereignis->type() == QEvent::ActivationChange && isActiveWindow())
        fremdeAenderungPruefen();
}

void MainWindow::fremdeAenderungPruefen()
{
    // Not under an open window or message: its command still acts on the
    // rows it showed, and its own checks find a change made meanwhile.
    if (!isVisible() || QApplication::activeModalWidget() || sitzungLaeuft())
        return;
    if (fremdGeaendert())
        auffrischen(Geaendert::alles);
}
