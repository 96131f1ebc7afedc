// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/auffrischen.h"
#include "bedarf/rezeptbedarf.h"
#include "bmp/abgleich.h"
#include "bmp/plan.h"
#include "bmp/planangaben.h"
#include "storage/datenbankzugriff.h"

#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QMainWindow>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;
class QWidget;
class QDialog;
class QEvent;
class QSpinBox;
class QThread;
struct Reichweite;
struct Sicherungskopie;
struct Startbefund;
enum class Sicherungsanlass;

// The window is its own database connection: its commands open sessions on
// it (DbSitzung db(*this)) and it shows what they report.
class MainWindow : public QMainWindow, public DbVerbindung
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // --- text helpers (text/) ---
    QString UmlauteErsetzen(QString &text);
    QString MengeFormatieren(float wert);
    QString DatumAusZeit(unsigned int sekunden);

    // --- seams: every message, question, file dialog and clock reading ---
    void meldungZeigen(const QString &text);
    bool frageStellen(const QString &text);
    QString dateiWaehlen(const QString &titel, const QString &vorschlag, const QString &filter, bool speichern);
    // Where file dialogs start: the folder of the file in use, but the user's
    // documents folder (the home folder while there is none) when the file
    // lies in the hidden settings folder, where nobody would look for it.
    QString dialogOrdner() const;
    QDateTime aktuelleZeit() const;
    QString ordnerWaehlen(const QString &titel, const QString &vorschlag);
    // The one place database failures reach the user.
    void datenbankFehler(const QString &text) override;
    // A change found its rows changed or removed elsewhere and wrote nothing:
    // tells the user once and reloads every view.
    void datenbankKonflikt() override;
    // The one way back to the screen: every command ends by saying what it
    // changed, and each view that shows it is read anew once, keeping the
    // chosen rows by key (or choosing those gewuenscht names) and what the
    // user typed but did not store (app/auffrischen.cpp).
    void auffrischen(Aenderungen was, const Auswahl &gewuenscht = Auswahl());
    // Makes the file the one in use, as "mit vorhandener Datenbank verbinden"
    // does after its dialog: only a Kalvoria database is taken; a missing or
    // foreign file is named in a message and the file in use stays (maintenance/).
    // The command line opens its file argument through it.
    bool datenbankOeffnen(const QString &pfad);

    // Whether the check after the start (quick_check of the file and the
    // daily copy, on a thread of their own) has not ended yet.
    bool sicherungLaeuft() const { return startPruefungOffen; }
    // How long after the start that check begins; 0 for tests, which wait for it.
    static int startPruefungNachMs;

    // How often the window looks for changes another program made; 0 only
    // on activation (tests that click through rows they counted first).
    static int waechterAbstandMs;

protected:
    void changeEvent(QEvent *ereignis) override;

private slots:
    void AllesEinlesen();
    void ZeitHolen();
    void UesEinblenden(int eingang);
    void UebersichtFuellen();
    void VerordnungsplanFuellen();
    void PatientenEinstellungFuellen(int eingang);
    void MedizinEinstellungFuellen();
    void MedizinEinstellungAnklicken();
    void ZuordnungEintragen();
    void ZuordnungFuellen();
    void ZuordnungFuellenMit();
    void ZuordnungLoeschen();
    void ZuordnungAnklicken();
    void EinstellungZuordnungHoch();
    void EinstellungZuordnungRunter();
    void PatientenSuchen();
    void PatientenAnklicken(int eingang);
    void PatientenAendern();
    void PatientenEinblenden1();
    void PatientenEinblenden2();
    void PatientenEinblenden3();
    void PatientenNeuEintragen();
    void PatientenLoeschen();
    void TabPatMedEinAus(bool eingang1);
    void MedikamenteAnklicken();
    void MedikamentZufuegen();
    void MedikamentAendern();
    void MedikamentLoeschen();
    void SorteFuellen();
    void SorteAnklicken(int eingang3);
    void SorteZufuegen();
    void SorteAendern();
    void SorteLoeschen();
    void ApothekenFenster();
    void ApothekeEintragen();
    void ZuordnungFenster();
    void ZuordnungWEintragen();
    void TermineFuellen();
    void TerminEintragenW();
    void TerminWEintragen();
    void TerminAendernW();
    void TerminWAendern();
    void TerminLoeschen();
    void ErstStartCheck();
    void DBkopieren();
    void DBverschieben();
    void DBoeffnen();
    void Reparieren();
    void RoamingLoeschen();
    void aboutueber();
    void hilfeanzeigen();
    void print_regulation();
    void print_medlist();
    void RezeptbedarfFuellen();
    void RezeptbedarfAnklicken(int zeile);
    void RezeptbedarfDoppelklick(int zeile);
    void RezeptbedarfFristAendern();
    void AnforderungMarkieren();
    void AnforderungZuruecknehmen();
    void RezeptanforderungDrucken();
    void VerlaufFenster();
    void ZuordnungVerlauf();
    void VerlaufFuellen();
    void VerlaufDrucken();
    void TaeglicheSicherung();
    void SicherungFertig();
    void SicherungFenster();
    void SicherungWiederherstellen();
    void SicherungEinstellungen();
    void SicherungEinstellungenSpeichern();
    void SicherungOrdnerWaehlen();
    void BmpDrucken();
    void BmpAusstellerFenster();
    void BmpAusstellerEintragen();
    void BmpEinlesen();
    void BmpBildOeffnen();
    void BmpEinlesenWeiter();
    void BmpAbgleichUebernehmen();
    void AlsDateiSichern();
    void DateiAufServerKopieren();

private:
    // --- refreshing the views (app/auffrischen.cpp) ---
    // Views of pages not shown, read when their page is shown, with the rows
    // chosen when they were put off.
    Ansichten ausstehend;
    Auswahl ausstehendeAuswahl;
    void ansichtenAuffrischen(Ansichten ansichten, const Auswahl &gewuenscht, bool andereDatei);
    void verborgeneAnsichtenZeigen();

    // --- window construction (app/) ---
    void menuesBauen();
    void seitenBauen();
    void seiteUebersichtBauen();
    void seiteVerordnungsplanBauen();
    void seiteEinstellungenBauen();
    void seitePatientenBauen();
    void seiteMedikamenteBauen();
    void seiteRezeptbedarfBauen();
    void fensterFelderBauen();
    void verbindungenHerstellen();
    QTableWidget *tabelleBauen(const QString &name, QWidget *eltern, const QRect &rechteck, const QStringList &kopf);
    QLabel *beschriftung(QWidget *eltern, const QString &text, const QRect &rechteck,
                         Qt::Alignment ausrichtung = Qt::AlignLeft | Qt::AlignVCenter);
    QLabel *anzeige(const QString &name, QWidget *eltern, const QRect &rechteck);
    QLineEdit *eingabe(const QString &name, QWidget *eltern, const QRect &rechteck);
    QDateEdit *datumsfeld(const QString &name, QWidget *eltern, const QRect &rechteck);
    QPushButton *knopf(const QString &name, QWidget *eltern, const QString &text, const QRect &rechteck,
                       bool rot = false);
    QGroupBox *gruppe(const QString &name, QWidget *eltern, const QString &titel, const QRect &rechteck);
    // Adds the confirming button and "Abbrechen" at height y (from x on) and
    // runs the small window; gespeichert starts unset and the window closes
    // once the slot has set it, so a refusal keeps what was typed.
    void fensterAusfuehren(QDialog &fenster, const QString &bestaetigen, int y, void (MainWindow::*slot)(),
                           bool &gespeichert, int x = 80);

    // --- storage (storage/) ---
    // The connection and the file in use are DbVerbindung's.
    QString einstellungsOrdner;
    QDate heute;
    QDateTime jetzt;
    QDate nullDatum;
    QTimer *aenderungsWaechter = nullptr;
    // Reloads when another program changed the file; cheap when none did.
    void fremdeAenderungPruefen();
    void titelSetzen();
    QString standardDatei() const;

    // --- main window frame (app/) ---
    QFont schriftFett;
    QFont schriftNormal;
    QFont schriftKursiv;
    QStringList kopfUebersicht;
    QStringList kopfVerordnungsplan;
    QMenu *menuDatei = nullptr;
    QMenu *menuPdf = nullptr;
    QMenu *menuAnsicht = nullptr;
    QMenu *menuHilfe = nullptr;
    QAction *aktionDbKopieren = nullptr;
    QAction *aktionDbVerschieben = nullptr;
    QAction *aktionDbOeffnen = nullptr;
    QAction *aktionServerVerbinden = nullptr;
    QAction *aktionBmpEinlesen = nullptr;
    QAction *aktionBeenden = nullptr;
    QAction *aktionMedikamentenplan = nullptr;
    QAction *aktionVerordnungsplan = nullptr;
    QAction *aktionRezeptanforderung = nullptr;
    QAction *aktionBmpDrucken = nullptr;
    QAction *aktionBmpAussteller = nullptr;
    QAction *aktionListen = nullptr;
    QAction *aktionHilfe = nullptr;
    QAction *aktionReparieren = nullptr;
    QAction *aktionUeber = nullptr;
    QTabWidget *hauptTabs = nullptr;
    QWidget *seiteUebersicht = nullptr;
    QWidget *seiteVerordnungsplan = nullptr;
    QWidget *seiteRezeptbedarf = nullptr;
    QWidget *seiteEinstellungen = nullptr;
    QWidget *seitePatienten = nullptr;
    QWidget *seiteMedikamente = nullptr;
    QLabel *kopfzeilePatient = nullptr;
    QLabel *kopfzeileZeit = nullptr;

    // --- patients (patients/) ---
    QTableWidget *tabellePatientenwahl = nullptr;
    QGroupBox *gruppeAusgewaehlterPatient = nullptr;
    QLabel *anzeigeName = nullptr;
    QLabel *anzeigeVorname = nullptr;
    QLabel *anzeigeGeburtstag = nullptr;
    QLabel *anzeigePlz = nullptr;
    QLabel *anzeigeOrt = nullptr;
    QLabel *anzeigeStrasse = nullptr;
    QLabel *anzeigeNr = nullptr;
    QTableWidget *tabellePatienten = nullptr;
    int bearbeitungsPatientId = 0; // keys start at 1: 0 names no patient
    QGroupBox *gruppePatientenDaten = nullptr;
    QLineEdit *editName = nullptr;
    QLineEdit *editVorname = nullptr;
    QDateEdit *editGeburtstag = nullptr;
    QLineEdit *editPlz = nullptr;
    QLineEdit *editOrt = nullptr;
    QLineEdit *editStrasse = nullptr;
    QLineEdit *editNr = nullptr;
    QPushButton *knopfPatientAendern = nullptr;
    QPushButton *knopfPatientEntfernen = nullptr;
    QRadioButton *radioAusblenden = nullptr;
    QRadioButton *radioPatientHinzufuegen = nullptr;
    QRadioButton *radioPatientSuchen = nullptr;
    QGroupBox *gruppeNeuerPatient = nullptr;
    QLineEdit *neuName = nullptr;
    QLineEdit *neuVorname = nullptr;
    QDateEdit *neuGeburtstag = nullptr;
    QLineEdit *neuPlz = nullptr;
    QLineEdit *neuOrt = nullptr;
    QLineEdit *neuStrasse = nullptr;
    QLineEdit *neuNr = nullptr;
    QPushButton *knopfPatientEintragen = nullptr;
    QGroupBox *gruppePatientSuchen = nullptr;
    QComboBox *auswahlSuchspalte = nullptr;
    QLineEdit *editSuchbegriff = nullptr;
    QPushButton *knopfPatientSuchen = nullptr;
    // The search whose found rows the patient list shows, remembered by
    // "Suchen" so that every refill shows the same rows. The start, "" in
    // the first names, lists all patients; leaving the search group or
    // adding a patient goes back to it.
    QString patientenSuchspalte = QStringLiteral("firstname");
    QString patientenSuchtext;
    // What editGeburtstag showed when the patient was loaded: any other
    // date in it is the user's.
    QDate geburtstagGeladen;
    void PatientenFuellen(QString &spalte, QString &suchtext);
    // Fills the patient list for the remembered search; loads no patient.
    void patientenListeLesen();
    // Loads a patient's columns (in the list's order) into the edit fields.
    // getipptBehalten keeps what the user typed for this same patient.
    void patientLaden(const QStringList &werte, bool getipptBehalten);
    void bearbeitungLeeren();
    void patientenSucheBeenden();
    // " - Patient: Name, Vorname | *Geburtstag" of the current patient, or "".
    QString patientKopfzeile() const;
    // Fills the choice list and makes the patient with this key current
    // (the first row when the key is empty or gone).
    void patientenwahlFuellen(const QString &schluessel);
    // The chosen patient's labels, the headline and its time; all empty
    // without a patient.
    void patientKopfZeigen();
    // Refills the patient list as shown (with an active search its found
    // rows), keeping the patient being edited by key and what the user typed
    // for it; a patient gone from the file is no longer shown or edited.
    void patientenListeAuffrischen();
    void PatientenFelderLeeren();

    // --- medication catalogue (catalogue/) ---
    QTableWidget *tabelleMedikamente = nullptr;
    QGroupBox *gruppeMedikament = nullptr;
    QLineEdit *editMedikamentNeu = nullptr;
    QPushButton *knopfMedikamentHinzufuegen = nullptr;
    QLineEdit *editMedikamentName = nullptr;
    QPushButton *knopfMedikamentAendern = nullptr;
    QLabel *anzeigeMedikament = nullptr;
    QPushButton *knopfMedikamentLoeschen = nullptr;
    QGroupBox *gruppeMedikamentensuche = nullptr;
    QTableWidget *tabelleSorten = nullptr;
    QTabWidget *medikamentTabs = nullptr;
    QLabel *anzeigeSorteNeuFuer = nullptr;
    QLineEdit *editSorteHandelsname = nullptr;
    QLineEdit *editSorteDosis = nullptr;
    QLineEdit *editSortePackung = nullptr;
    QLineEdit *editSortePzn = nullptr;
    QPushButton *knopfSorteEintragen = nullptr;
    QLabel *anzeigeSorteBearbeitenFuer = nullptr;
    QLineEdit *editSorteNeuHandelsname = nullptr;
    QLineEdit *editSorteNeuDosis = nullptr;
    QLineEdit *editSorteNeuPackung = nullptr;
    QLineEdit *editSorteNeuPzn = nullptr;
    QPushButton *knopfSorteAendern = nullptr;
    QLabel *anzeigeSorteLoeschenFuer = nullptr;
    QLabel *anzeigeSorteHandelsname = nullptr;
    QLabel *anzeigeSorteDosis = nullptr;
    QLabel *anzeigeSortePackung = nullptr;
    QLabel *anzeigeSortePzn = nullptr;
    QPushButton *knopfSorteLoeschen = nullptr;
    QTableWidget *tabelleSortenwahl = nullptr;
    void MedikamenteFuellen();
    // No medication left (or a file without any): no package listed, shown or editable.
    void KatalogLeerZeigen();
    // Make the medication or the package (of the current medication) with
    // this key current and show it as a click would; false when it is gone.
    bool medikamentZeigen(const QString &id);
    bool sorteZeigen(const QString &id);
    // Shows the medication and package with these keys, else the first ones.
    void katalogZeigen(const QString &medikament, const QString &sorte);

    // --- intake plan (intake/) ---
    QString aktuellerPatient;
    QVector<QString> einnahmeId;
    QVector<QString> einnahmeMorgen;
    QVector<QString> einnahmeMittag;
    QVector<QString> einnahmeAbend;
    QVector<QString> einnahmeNacht;
    QVector<QString> einnahmeReichweite;
    QVector<QString> einnahmeBestand;
    QVector<QString> einnahmeMedizin;
    QVector<QString> einnahmeHandelsname;
    QVector<QString> einnahmeDosis;
    QVector<QString> einnahmePackung;
    QVector<QDate> einnahmeTag;
    QVector<QString> einnahmeHilfe;
    // tag, stand, morgen, mittag, abend, nacht, hilfe as read: a change from
    // a window stores only while the file still holds what it showed.
    QVector<QVariantList> einnahmeGespeichert;
    // Why line i's stored values cannot be used, one reason per line; empty
    // when they can. Such a line has no stock or range in the cache, and its
    // invalid doses are cached as stored.
    QVector<QString> einnahmeFehler;
    // The same per dose, morning to night, for the cells that show one dose.
    QVector<QStringList> einnahmeDosisFehler;
    // What imported medication plans say of each cached line beyond its
    // doses (bmp/): a dose in words or none leaves the line without daily use.
    QVector<PlanAngaben> einnahmePlan;
    // Reads einnahmePlan for the cached lines and shows such doses in the intake table.
    void planAngabenLesen();
    QTableWidget *tabelleZuordnung = nullptr;
    QGroupBox *gruppeZugeordnet = nullptr;
    QPushButton *knopfZuordnungBearbeiten = nullptr;
    QToolButton *knopfZuordnungHoch = nullptr;
    QToolButton *knopfZuordnungRunter = nullptr;
    QPushButton *knopfApotheke = nullptr;
    QPushButton *knopfZuordnungLoeschen = nullptr;
    QGroupBox *gruppeZuordnen = nullptr;
    QLabel *anzeigeZuordnenSorte = nullptr;
    QLineEdit *editZuordnenMorgen = nullptr;
    QLineEdit *editZuordnenMittag = nullptr;
    QLineEdit *editZuordnenAbend = nullptr;
    QLineEdit *editZuordnenNacht = nullptr;
    QLabel *anzeigeZuordnenDosis = nullptr;
    QLabel *anzeigeZuordnenPackung = nullptr;
    QDateEdit *datumErsteinnahme = nullptr;
    QCheckBox *auswahlHilfsmittel = nullptr;
    QPushButton *knopfEintragen = nullptr;
    QLabel *detailMedizin = nullptr;
    QLabel *detailMorgen = nullptr;
    QLabel *detailMittag = nullptr;
    QLabel *detailAbend = nullptr;
    QLabel *detailNacht = nullptr;
    QLabel *detailDosis = nullptr;
    QLabel *detailPackung = nullptr;
    QLabel *detailDatum = nullptr;
    QLabel *detailBestand = nullptr;
    // Fields of the assignment and pharmacy windows: they outlive each window.
    std::unique_ptr<QLineEdit> fensterMorgen;
    std::unique_ptr<QLineEdit> fensterMittag;
    std::unique_ptr<QLineEdit> fensterAbend;
    std::unique_ptr<QLineEdit> fensterNacht;
    std::unique_ptr<QLineEdit> fensterStand;
    std::unique_ptr<QCheckBox> fensterHilfe;
    std::unique_ptr<QLineEdit> fensterPackungen;
    // Whether the last confirm of one of these windows was stored: only
    // then does the window close.
    bool fensterGespeichert = false;
    // The current intake line a window opens on, or -1; with lines shown but
    // none chosen, asks for the one wozu describes ("die bearbeitet werden soll").
    int einnahmeZeileWaehlen(const QString &wozu);
    // The current intake line a window's confirm acts on, or -1. The window
    // counts as not stored until the confirm succeeds.
    int einnahmeFensterZeile();
    // After a window stored line id: it may close, and the line stays current.
    void einnahmeFensterGespeichert(const QString &id);
    void ZuordnungDetailsLeeren();
    // Rows of the intake table that have a cache entry: every reader stops here.
    int einnahmeZeilen() const;
    // Makes the line with this key the current row of the intake table
    // ("": the first row).
    void zuordnungZeigen(const QString &id);
    // Exchanges the current line's position with the one above (-1) or below (+1).
    void zuordnungVerschieben(int richtung);

    // --- views (views/) ---
    QTableWidget *tabelleUebersicht = nullptr;
    QTableWidget *tabelleVerordnungsplan = nullptr;
    // Stock range, run-out day, bar and marks of cached intake line i.
    Reichweite reichweiteZeile(int zeile) const;
    // What the empty overview says to do first.
    QString ersteSchritte() const;

    // --- appointments (appointments/) ---
    QDate naechsterHausarztTermin;
    QTableWidget *tabelleTermine = nullptr;
    QGroupBox *gruppeArzttermine = nullptr;
    QPushButton *knopfTerminEintragen = nullptr;
    QPushButton *knopfTerminBearbeiten = nullptr;
    QPushButton *knopfTerminLoeschen = nullptr;
    // Fields of the appointment windows: they outlive each window.
    std::unique_ptr<QDateEdit> terminNeuDatum;
    std::unique_ptr<QRadioButton> terminNeuHausarzt;
    std::unique_ptr<QRadioButton> terminNeuFacharzt;
    std::unique_ptr<QLineEdit> terminNeuName;
    std::unique_ptr<QDateEdit> terminAendernDatum;
    std::unique_ptr<QRadioButton> terminAendernHausarzt;
    std::unique_ptr<QRadioButton> terminAendernFacharzt;
    std::unique_ptr<QLineEdit> terminAendernName;
    // Whether the last confirm of an appointment window was stored: only
    // then does the window close.
    bool terminGespeichert = false;
    void TerminFelderZuruecksetzen();
    // The doctor a window names ("Hausarzt" or the typed name), or "" after
    // asking for one.
    QString arztLesen(const QRadioButton *hausarztWahl, const QLineEdit *name);
    // Builds and runs the entry or change window around its own fields;
    // datum and arzt are what the change window opens with.
    void terminFensterZeigen(bool aendern, const QDate &datum, const QString &arzt);

    // --- what all patients must order, and its requests (bedarf/) ---
    QDateEdit *datumBedarfBis = nullptr;
    QCheckBox *auswahlBisHausarzt = nullptr;
    QPushButton *knopfAngefordert = nullptr;
    QPushButton *knopfAnforderungZuruecknehmen = nullptr;
    QTableWidget *tabelleRezeptbedarf = nullptr;
    // The list as read: its rows in the table's order and their patients.
    // The table makes the cells of a row only when it comes into view.
    QVector<Bedarfszeile> bedarfZeilen;
    QVector<Bedarfspatient> bedarfPatienten;
    // The days the list was read for: today, and "bis", to which a day
    // before today that is typed goes back.
    QDate bedarfHeute;
    QDate bedarfBis;
    // What the list was last read from, and the file's stand before that
    // read: another "bis" or a click on the check box only chooses from it.
    // Dropped whenever what it shows may have changed.
    std::optional<Bedarfsgrundlage> bedarfGrundlage;
    DbVerbindung::Datenstand bedarfDatenstand;
    // Makes the cells of rows von..bis that have none yet.
    void bedarfZeilenZeigen(int von, int bis);
    // No rows at all (another file is opened).
    void bedarfLeeren();
    // The selected rows of the list, in its order.
    QVector<int> bedarfGewaehlt() const;
    // --- several seats on a server database (server/) ---
    // Fields of the window "Mit Server verbinden": they outlive each window;
    // the password field is emptied when the window closes.
    std::unique_ptr<QLineEdit> serverHost;
    std::unique_ptr<QSpinBox> serverPort;
    std::unique_ptr<QLineEdit> serverDatenbank;
    std::unique_ptr<QLineEdit> serverBenutzer;
    std::unique_ptr<QComboBox> serverSsl;
    std::unique_ptr<QLineEdit> serverPasswort;
    bool serverFensterGespeichert = false;
    void ServerVerbinden();
    void ServerVerbindenEintragen();
    // Works on the server database from now on, creating the program's tables
    // in an empty one; false (and the user told why) when it cannot be
    // reached or holds other tables, the database in use staying.
    bool serverOeffnen(const Serverzugang &zugang, const QString &passwort);
    // The same with the server already probed. At the start (beimStart) the
    // file was not worked on yet: no copy of it, and the window reads
    // everything once, after.
    bool serverOeffnen(const Serverzugang &zugang, const QString &passwort, const Serverpruefung &p, bool beimStart);
    // The server remembered from the last run, if any; tried at the start
    // without asking (a ~/.pgpass or service file may give the password).
    std::optional<Serverzugang> gemerkterServer() const;
    void serverMerken(const std::optional<Serverzugang> &zugang);
    void gemerktenServerVerbinden();
    // What the other seats changed and is still to be shown.
    Aenderungen serverAenderungen;
    QTimer *serverAuffrischer = nullptr;
    void serverGeaendert(const QStringList &tabellen) override;
    void serverAenderungenZeigen();
    // The entries that act on a file are off while the window is on a server.
    void dateiEintraegeSetzen();

    // --- medication plan, BMP (bmp/) ---
    // Fields of the window for who prints the plan: they outlive each window.
    std::unique_ptr<QLineEdit> ausstellerName;
    std::unique_ptr<QLineEdit> ausstellerStrasse;
    std::unique_ptr<QLineEdit> ausstellerPlz;
    std::unique_ptr<QLineEdit> ausstellerOrt;
    std::unique_ptr<QLineEdit> ausstellerTelefon;
    // Who prints the plan ("ausgedruckt von"), as entered once and kept in
    // config.ini; an empty name while nobody was entered.
    BmpAutor bmpAussteller() const;
    // The chosen patient's plan from the file and the row cache; none (and
    // the user told why) when it cannot be written as the format wants.
    std::optional<BmpPlan> bmpPlanErstellen();

    // The text a hand scanner types, and the codes read from pictures, for
    // the plan being read in; both outlive the window.
    std::unique_ptr<QPlainTextEdit> bmpScannerText;
    QVector<QByteArray> bmpBildInhalte;
    QLabel *bmpBilderAnzeige = nullptr; // in the window while it is open
    // The plan read and how it meets the patient's lines, while the
    // reconciliation window is open.
    std::unique_ptr<BmpImport> bmpImport;
    QTableWidget *tabelleAbgleich = nullptr; // in that window while it is open
    // The patient the plan goes to (found by name and birth date, or after
    // asking), and that patient's lines and the catalogue; false when the user cancelled.
    bool bmpAbgleichVorbereiten(BmpImport &import);
    void bmpAbgleichFenster();
    // Writes what the user accepted in one transaction: the one place the
    // import changes the file. A backup before it and history entries for
    // each change belong here.
    bool bmpUebernehmen(const QVector<bool> &uebernehmen, const QVector<int> &packungWahl,
                        const QVector<double> &bestand, const QVector<bool> &entfernen);

    // --- database file maintenance (maintenance/) ---
    bool kopieAnlegen(const QString &ziel);
    // Asks where the copy goes: an absolute path with the database ending, or "".
    QString kopieZielWaehlen();
    void dateiWechseln(const QString &pfad);
    // Puts the content of quelle in place of the file in use: copied beside
    // it and compared, then renamed over it in one step, so that the file
    // is always either the old one or the new one. Reports a failure.
    bool dateiErsetzen(const QString &quelle);

    // --- history (verlauf/) ---
    QAction *aktionVerlauf = nullptr;
    // Fields of the history window, made when it first opens: they outlive each window.
    std::unique_ptr<QComboBox> verlaufPatient;
    std::unique_ptr<QDateEdit> verlaufVon;
    std::unique_ptr<QDateEdit> verlaufBis;
    std::unique_ptr<QTableWidget> verlaufTabelle;
    // The intake line the open history window is about, and its medication
    // and package; "" for the patient chosen in verlaufPatient.
    QString verlaufZeile;
    QString verlaufZeileText;
    // The line naming what the window lists and when, for its PDF.
    QString verlaufKopf;
    void verlaufFelderBauen();
    void verlaufFensterZeigen(const QString &zeile, const QString &ueber);

    // --- backups (sicherung/) ---
    QAction *aktionSicherungWiederherstellen = nullptr;
    QAction *aktionSicherungEinstellen = nullptr;
    // The check after the start and what it found.
    QThread *startPruefung = nullptr;
    std::unique_ptr<Startbefund> startBefund;
    bool startPruefungOffen = true;
    // Fields of the backup windows, made when one first opens: they outlive each window.
    std::unique_ptr<QCheckBox> sicherungAktiv;
    std::unique_ptr<QLineEdit> sicherungOrdnerFeld;
    std::unique_ptr<QSpinBox> sicherungAnzahl;
    std::unique_ptr<QTableWidget> sicherungListe;
    void sicherungFelderBauen();
    QString konfigurationsDatei() const;
    // A copy of the file in use before a risky step. True when the step may
    // go on: the copy was written, backups are off, or the user wants to go
    // on without one.
    bool sicherungVorRiskantem(Sicherungsanlass anlass);
    // The copy's path, or "" with the reason in fehler.
    QString sicherungAnlegen(Sicherungsanlass anlass, QString *fehler);
    // Waits for the check after the start, which reads the file.
    void startPruefungAbwarten();
    // Replaces the file in use by the copy, after copying it in turn; the
    // history written since the copy was taken stays. True when replaced.
    bool sicherungEinspielen(const Sicherungskopie &kopie);
    // What the copies are named after: the file in use, or the server
    // database (serverQuelle).
    QString sicherungsQuelle() const;

    // --- copies between a file and the server database (server/) ---
    QAction *aktionAlsDateiSichern = nullptr;
    QAction *aktionDateiAufServer = nullptr;
};
