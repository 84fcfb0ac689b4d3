#pragma once
// The board engine: the two fields and fleets of one game, the placement
// rules, both sides' shots, the computer's play and all drawing of cells
// and grid lines into the two field picture boxes.
#include "Felder.h"
#include "base/wintypes.h"
#include "runtime/label.h"
#include "runtime/picturebox.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>

using Byte = std::uint8_t;
using Integer = std::int16_t;

// Field size class.
enum eGroesse : Byte { grSchnell = 1, grNormal = 2, grLang = 3 };
// Boat class k: a boat of 7 - k cells.
enum eBootsklasse : Byte { bk6er = 1, bk5er, bk4er, bk3er, bk2er, bk1er };
// Layers of a field.
enum eEbene : Byte { ebBoot = 1, ebBeschuss = 2, ebReserve = 3 };
// A cell's state under fire.
enum eZustand : Byte { zuUnberuehrt = 0, zuWasser = 1, zuGetroffen = 2, zuVersenkt = 3 };
// Growth directions of a computer boat; 0 = none.
enum eRichtung : Byte { riKeine = 0, riOben = 1, riRechts = 2, riUnten = 3, riLinks = 4 };
// Result of a shot.
enum eSchuss : Byte { scWasser = 0, scSchonBeschossen = 1, scTreffer = 2, scVersenkt = 3 };
// Sides of the remaining-boat table.
enum eSeite : Byte { seMensch = 0, seComputer = 1 };

// A boat: columns, rows and states of its cells 1..length.
struct tBoot {
    Feld1<Byte> X;
    Feld1<Byte> Y;
    Feld1<Byte> Z;
};

// Remaining boats as texts, indexed [side][class - 1].
using tRestBoote = std::array<std::array<QString, 6>, 2>;

class clsGrid : public QObject {
    Q_OBJECT
public:
    explicit clsGrid(QObject *parent = nullptr);

    // The player's boat the computer is hunting (hit, not sunk); 0 = none.
    Byte Treffer = 0;

    PictureBox *PicC() const { return mvarPicC; }
    void setPicC(PictureBox *pic) { mvarPicC = pic; }
    PictureBox *PicP() const { return mvarPicP; }
    void setPicP(PictureBox *pic) { mvarPicP = pic; }
    Label *NameLabel() const { return mvarLabel; }
    void setNameLabel(Label *label) { mvarLabel = label; }

    QString SpielerName();
    void setSpielerName(const QString &name);
    Byte Groesse();
    void setGroesse(Byte groesse);
    Byte ZellGroesse();

    Byte AnzahlBoote() const;
    Integer AnzahlBootsfelder(Byte s) const;
    Integer AnzahlFelder(Byte s) const;

    // Computer's fleet placement.
    bool ErstelleCFeld();

    // Player's boat placement.
    bool CreatePoint(Byte &BootID, Byte &X, Byte &Y);
    bool SetzePunkt(Byte &BootID, Byte &Teil, Byte &X, Byte &Y);

    // Drawing.
    void ZeichneFelder();
    bool ZeichneBoot(Byte &b);
    bool LoescheBoot(Byte &b);
    void UebertrageBoote();
    void ZeigeCBoote();

    tRestBoote RestBoote(Byte &Modus);

    // The battle.
    Byte SpielerSchuss(Byte &X, Byte &Y);
    // The computer's shot; scSchonBeschossen, with nothing marked or
    // drawn, when no cell of the player's field is left to shoot at.
    Byte ComputerSchuss();

signals:
    void ChangePicSize();

private:
    friend struct clsGridProbe; // the engine's tests look inside

    // Columns and rows of the current size class.
    int Spalten();
    int Zeilen();
    // Length of a boat: the upper index of its cell lists.
    static int Laenge(const tBoot &boot) { return boot.X.UBound(); }
    // Paints a whole cell picture, scaled to the cell, at cell (c, r).
    void ZeichneZelle(PictureBox *pic, const QImage &bild, int c, int r);
    // Boat number of a player's cell; beyond the field's edge, water.
    Byte pBootAn(int x, int y);
    bool imFeld(int x, int y);

    void NeueFelder();
    void ErstelleBootListen(Feld2<Byte> &A);

    bool PlaziereCBoote();
    bool PlaziereCBoot(Byte &n);
    bool ZufallsStart(Byte &Spalte, Byte &Zeile);
    Byte PruefeRichtung(Byte &Richtung, Byte &Spalte, Byte &Zeile);

    bool PunktFrei(Byte &BootID, Byte &X, Byte &Y);
    bool PunktAngrenzend(Byte &BootID, Byte &X, Byte &Y);
    bool KeinQuadrat(Byte &X, Byte &Y);

    void LoescheFelder();

    void MarkiereTreffer(tBoot &boot, Feld3<Byte> &feld, Byte x, Byte y);
    void Versenke(PictureBox *pic, tBoot &boot, Feld3<Byte> &feld);

    void SucheZiele();
    void JageZiele();
    void AlleFreienZiele();
    bool FreieNachbarn(Byte &X, Byte &Y, Byte &n);
    void SortiereListe(Feld2<Byte> &v);
    bool NurEinzelBoote();
    void MarkiereUmgebung(Byte &b);

    Feld2<Integer> mvarFeldMass;
    std::array<Byte, 18> mvarBootListe{};
    Feld2<Byte> mvarBootAnzahl;
    QPointer<PictureBox> mvarPicC;
    QPointer<PictureBox> mvarPicP;
    QString mvarName;
    QPointer<Label> mvarLabel;
    Byte mvarGroesse = 0;
    Byte mvarZellGroesse = 0;

    // Fields (column, row, layer) and fleets of both sides.
    Feld3<Byte> pFeld;
    Feld3<Byte> cFeld;
    Feld1<tBoot> pBoote;
    Feld1<tBoot> cBoote;
    // Scratch lists of the computer's targeting.
    Feld2<Byte> Ziele;
    Feld3<Byte> BlockZellen;
    Feld2<Byte> BlockWert;
};
