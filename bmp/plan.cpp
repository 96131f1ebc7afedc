// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/plan.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// Key tables of the KBV: section headings, dose units, dosage forms (IFA
// code and the short text printed for it).
const char *const abschnitte[][2] = {
    {"411", "Bedarfsmedikation"},
    {"412", "Dauermedikation"},
    {"413", "Intramuskul\u00E4re Anwendung"},
    {"414", "Besondere Anwendung"},
    {"415", "Intraven\u00F6se Anwendung"},
    {"416", "Anwendung unter die Haut"},
    {"417", "Fertigspritze"},
    {"418", "Selbstmedikation"},
    {"419", "Allergiehinweise"},
    {"421", "Wichtige Hinweise"},
    {"422", "Wichtige Angaben"},
    {"423", "zu besonderen Zeiten anzuwendende Medikamente"},
    {"424", "zeitlich befristet anzuwendende Medikamente"},
    {"425", "W\u00F6chentliche Anwendung"},
};

const char *const einheiten[][2] = {
    {"#", "Messl\u00F6ffel"},
    {"0", "Messbecher"},
    {"1", "St\u00FCck"},
    {"2", "Pkg."},
    {"3", "Flasche"},
    {"4", "Beutel"},
    {"5", "Hub"},
    {"6", "Tropfen"},
    {"7", "Teel\u00F6ffel"},
    {"8", "Essl\u00F6ffel"},
    {"9", "E"},
    {"a", "Tasse"},
    {"b", "Applikatorf\u00FCllung"},
    {"c", "Augenbadewanne"},
    {"d", "Dosierbriefchen"},
    {"e", "Dosierpipette"},
    {"f", "Dosierspritze"},
    {"g", "Einzeldosis"},
    {"h", "Glas"},
    {"i", "Lik\u00F6rglas"},
    {"j", "Messkappe"},
    {"k", "Messschale"},
    {"l", "Mio E"},
    {"m", "Mio IE"},
    {"n", "Pipettenteilstrich"},
    {"o", "Spr\u00FChsto\u00DF"},
    {"p", "IE"},
    {"q", "cm"},
    {"r", "l"},
    {"s", "ml"},
    {"t", "g"},
    {"u", "kg"},
    {"v", "mg"},
};

const char *const formen =
    "AEO=\u00D6l;AMP=Amp;APA=Amp;ASN=Salbe;ASO=Salbe;ATO=Tropf;ATR=AuTropf;AUB=AuBad;AUC=AuCreme;"
    "AUG=AuGel;AUS=AuSalbe;BAD=Bad;BAL=Balsam;BAN=Bandage;BEU=Beutel;BIN=Binden;BON=Bonbons;BPL=Platte;"
    "BRE=Brei;BTA=BrTabl;CRE=Creme;DFL=Flasche;DIL=Dilut;DIS=DIS;DKA=Dragees;DOS=Spray;DRA=Dragees;"
    "DRM=Dragees;DSC=Schaum;DSS=Spray;EDP=Pipette;EIN=Einreib;ELE=Elektr;ELI=Elixier;EMU=Emul;ESS=Essenz;"
    "ESU=Supp;EXT=Extrakt;FBE=Beutel;FBW=Einreib;FDA=Drag;FER=Spritze;FET=Salbe;FLA=Flasche;"
    "FLE=Fl\u00FCss;FLU=Fl\u00FCss;FMR=Tabl;FOL=Folie;FRB=FRB;FSE=Seife;FTA=Tabl;GEL=Gel;GLI=GLI;"
    "GLO=Globuli;GMR=Gran;GPA=Platte;GRA=Gran;GSE=Saft;GUL=L\u00F6sung;HAS=Handsch;HKM=Kaps;HKP=Kaps;"
    "HPI=InhKaps;HVW=Kaps;IFA=Amp;IFB=Beutel;IFF=Flasche;IFK=L\u00F6sung;IFL=Flasche;IFS=Set;IHA=InhAmp;"
    "IHP=InhPulv;IIL=L\u00F6sung;IKA=InhKaps;ILO=L\u00F6sung;IMP=Impl;INF=L\u00F6sung;INH=Inhalat;"
    "INI=Flasche;INL=InhL\u00F6s;INS=Tee;IST=Instill;ISU=Susp;IUP=Spirale;KAN=Kan\u00FCle;KAP=Kaps;"
    "KAT=KAT;KDA=KauDrag;KEG=Kegel;KER=Kerne;KGU=Kaug;KII=Konz;KKS=Supp;KLI=Klist;KLT=KlisTbl;KMP=Kaps;"
    "KMR=Kaps;KOD=Kondom;KOM=Kompr;KON=Konz;KPG=KombiPg;KRI=KRI;KSS=Supp;KSU=Supp;KTA=KauTabl;LAN=Lanz;"
    "LII=L\u00F6sung;LIQ=Fl\u00FCss;LOE=L\u00F6sung;LOT=Lotion;LOV=LOV;LSE=L\u00F6sung;LTA=Tabl;LUP=LUP;"
    "LUT=LuTabl;MIL=Milch;MIX=Mixtur;MRG=RetGran;MRP=Pellets;MTA=Tabl;MUW=MUW;NAG=NasGel;NAO=Nas\u00D6l;"
    "NAS=NasSpr;NAW=NAW;NDS=NasSpr;NSA=NSalbe;NTR=NTropf;OCU=OCU;OEL=\u00D6l;OHT=OTropf;OVU=Ovula;"
    "PAS=Pastill;PEL=Pellets;PEN=Pen;PER=Perlen;PFL=Pflast;PFT=Pflast;PHI=Pulver;PIF=L\u00F6sung;"
    "PII=Pulver;PIJ=Pulver;PIK=Pulver;PIV=PIV;PLE=Pulver;PLF=PLF;PLG=PLG;PLH=PLH;PLI=PLI;PLK=PLK;PLV=PLV;"
    "PPL=L\u00F6sung;PRS=PRS;PSE=Saft;PST=Paste;PUD=Puder;PUL=Pulver;RED=RetDrag;REK=RetKaps;RET=RetTabl;"
    "RGR=RetGran;RKA=RekKaps;RSC=Schaum;RUT=RetTabl;SAF=Saft;SAL=Salbe;SAM=Salbe;SCH=Schaum;SEI=Seife;"
    "SHA=Shampoo;SIR=Sirup;SMF=SMF;SMT=SMT;SMU=Supp;SPA=Amp;SPF=Flasche;SPL=L\u00F6sung;SPR=Spray;"
    "SRI=Spritze;SSU=Supp;STA=Amp;STB=St\u00E4bch;STI=Stifte;STR=Streif;SUB=Subst;SUE=Susp;SUP=Supp;"
    "SUS=Susp;SUT=SubTabl;SUV=Susp;SWA=Schwamm;TAB=Tabl;TAE=Tafel;TAM=Amp;TEE=Tee;TEI=Tropfen;TES=Test;"
    "TIN=Tinktur;TKA=Tabl;TMR=Tabl;TON=Tonikum;TPN=Tampon;TPO=Tamp;TRA=TrAmp;TRI=TRI;TRO=Tropfen;TRS=TRS;"
    "TRT=TrTabl;TSA=Saft;TSD=TSD;TSS=TSS;TST=Test;TSY=TSY;TTR=Test;TUB=Tube;TUE=T\u00FCcher;TUP=Tupfer;"
    "UTA=Tabl;VAL=VagL\u00F6s;VAR=VagRing;VCR=VagCrem;VER=Verband;VGE=VagGel;VKA=VagKaps;VLI=Vlies;"
    "VOV=VagOvul;VST=VagSt\u00E4b;VSU=VagSupp;VTA=VagTabl;WAT=Watte;WGA=Gaze;WKA=Kaps;WKM=Kaps;"
    "WUE=W\u00FCrfel;XDG=Gel;XDS=Spray;XFE=Festig.;XGM=Maske;XHS=Sp\u00FCl.;XNC=Creme;XPK=Pflege;"
    "XTC=Creme;ZAM=Amp;ZBU=B\u00FCrste;ZCR=Zahncr.;ZGE=Zahngel;ZKA=ZerbKps;ZPA=Zahnp.;";

QString nachschlagen(const char *const tabelle[][2], int n, const QString &code)
{
    for (int i = 0; i < n; ++i) {
        if (code == QLatin1String(tabelle[i][0]))
            return QString::fromUtf8(tabelle[i][1]);
    }
    return QString();
}

const QHash<QString, QString> &formTabelle()
{
    static const QHash<QString, QString> tabelle = [] {
        QHash<QString, QString> t;
        for (const QString &paar : QString::fromUtf8(formen).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const int gleich = paar.indexOf(QLatin1Char('='));
            t.insert(paar.left(gleich), paar.mid(gleich + 1));
        }
        return t;
    }();
    return tabelle;
}

} // namespace

bool BmpEintrag::hatDosen() const
{
    for (const QString &d : dosen) {
        if (!d.isEmpty())
            return true;
    }
    return false;
}

bool BmpParameter::leer() const
{
    return allergien.isEmpty() && gewicht.isEmpty() && groesse.isEmpty() && kreatinin.isEmpty() && text.isEmpty() &&
           !schwanger && !stillend;
}

bool bmpVersionBekannt(const QString &version)
{
    static const QStringList bekannt{"024", "025", "026", "027", "028"};
    return bekannt.contains(version);
}

std::optional<double> bmpDosisWert(const QString &dosis)
{
    static const QRegularExpression muster(
        QStringLiteral("^(?:([1-9]\\d{0,3})|([1-9]\\d,\\d)|(\\d,\\d{1,2})|(1/8|1/2|2/3|1/3|1/4|3/4))$"));
    const QRegularExpressionMatch m = muster.match(dosis);
    if (!m.hasMatch())
        return std::nullopt;
    if (!m.captured(4).isEmpty()) {
        const int strich = dosis.indexOf(QLatin1Char('/'));
        return dosis.left(strich).toDouble() / dosis.mid(strich + 1).toDouble();
    }
    QString zahl = dosis;
    return zahl.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

QString bmpAbschnittText(const QString &code)
{
    return nachschlagen(abschnitte, int(std::size(abschnitte)), code);
}

bool bmpAbschnittInVersion(const QString &code, const QString &version)
{
    if (bmpAbschnittText(code).isEmpty())
        return false;
    return code != QLatin1String("425") || version >= QLatin1String("028");
}

QString bmpEinheitText(const QString &code)
{
    return nachschlagen(einheiten, int(std::size(einheiten)), code);
}

QString bmpFormText(const QString &code)
{
    return formTabelle().value(code);
}

QString bmpUeberschrift(const BmpAbschnitt &abschnitt)
{
    if (!abschnitt.titel.isEmpty())
        return abschnitt.titel;
    const QString text = bmpAbschnittText(abschnitt.code);
    return text.isEmpty() ? abschnitt.code : text;
}

QString bmpEinheit(const BmpEintrag &eintrag)
{
    if (!eintrag.einheitText.isEmpty())
        return eintrag.einheitText;
    const QString text = bmpEinheitText(eintrag.einheitCode);
    return text.isEmpty() ? eintrag.einheitCode : text;
}

QString bmpForm(const BmpEintrag &eintrag)
{
    if (!eintrag.formText.isEmpty())
        return eintrag.formText;
    const QString text = bmpFormText(eintrag.formCode);
    return text.isEmpty() ? eintrag.formCode : text;
}

QString bmpDosisAnzeige(const BmpEintrag &eintrag)
{
    if (!eintrag.dosisText.isEmpty())
        return eintrag.dosisText;
    if (!eintrag.hatDosen())
        return QString();
    QStringList teile;
    for (const QString &d : eintrag.dosen)
        teile << (d.isEmpty() ? QStringLiteral("0") : d);
    return teile.join(QLatin1Char('-'));
}

QString bmpBezeichnung(const BmpEintrag &eintrag)
{
    if (!eintrag.handelsname.isEmpty())
        return eintrag.handelsname;
    QStringList namen;
    for (const BmpWirkstoff &w : eintrag.wirkstoffe)
        namen << w.name;
    if (!namen.isEmpty())
        return namen.join(QStringLiteral(" / "));
    return eintrag.pzn > 0 ? QStringLiteral("PZN %1").arg(eintrag.pzn, 8, 10, QLatin1Char('0')) : QString();
}

QString bmpGeburtAnzeige(const QString &geburt)
{
    if (geburt.size() != 8)
        return geburt;
    return geburt.mid(6, 2) + QLatin1Char('.') + geburt.mid(4, 2) + QLatin1Char('.') + geburt.left(4);
}
