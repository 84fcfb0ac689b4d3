#include "clsGrid.h"

#include "Zellbilder.h"
#include "runtime/random.h"

#include <utility>
#include <vector>

using namespace modDeklarationen;

namespace {

constexpr COLORREF kSchwarz = 0x000000;
constexpr COLORREF kBlau = 0xFF0000; // a cell of the boat being built

// A picture box the engine was handed; without one, the runtime's error 91.
PictureBox &box(PictureBox *pic)
{
    if (!pic)
        throw RuntimeError(errObjectNotSet, QStringLiteral("Object variable not set"));
    return *pic;
}

struct Schritt {
    int dx, dy;
};

// The eight neighbours as the start search tests them.
constexpr Schritt kStartNachbarn[8] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
// The four side neighbours: up, right, down, left.
constexpr Schritt kSeiten[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
// The eight neighbours in the order the water around a sunk boat is marked.
constexpr Schritt kUmgebung[8] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
// For each direction 1..4: the new cell, its two side neighbours and the
// three cells beyond them, the 3 x 2 block that must lie free ahead.
constexpr Schritt kBlockVoraus[4][6] = {
    {{0, -1}, {-1, -1}, {1, -1}, {-1, -2}, {0, -2}, {1, -2}},
    {{1, 0}, {1, -1}, {1, 1}, {2, -1}, {2, 0}, {2, 1}},
    {{0, 1}, {-1, 1}, {1, 1}, {-1, 2}, {0, 2}, {1, 2}},
    {{-1, 0}, {-1, -1}, {-1, 1}, {-2, -1}, {-2, 0}, {-2, 1}},
};

} // namespace

clsGrid::clsGrid(QObject *parent)
    : QObject(parent)
{
    mvarFeldMass.ReDim(3, 2);
    mvarFeldMass(1, 1) = 10; mvarFeldMass(1, 2) = 8;
    mvarFeldMass(2, 1) = 15; mvarFeldMass(2, 2) = 12;
    mvarFeldMass(3, 1) = 20; mvarFeldMass(3, 2) = 16;
    mvarBootListe = {0, 0, 1, 2, 2, 3, 0, 1, 2, 2, 3, 4, 1, 2, 2, 2, 3, 4};
    mvarBootAnzahl.ReDim(3, 6);
    for (int s = 1; s <= 3; ++s)
        for (int k = 1; k <= 6; ++k)
            mvarBootAnzahl(s, k) = mvarBootListe[static_cast<std::size_t>((s - 1) * 6 + (k - 1))];
}

// ---- Board model and field sizes -------------------------------------------

QString clsGrid::SpielerName()
{
    if (mvarName.isEmpty())
        mvarName = QStringLiteral("Unbekannt");
    return mvarName;
}

void clsGrid::setSpielerName(const QString &name)
{
    mvarName = name;
    if (mvarLabel)
        mvarLabel->setCaption(name);
}

Byte clsGrid::Groesse()
{
    if (mvarGroesse == 0)
        mvarGroesse = 1;
    return mvarGroesse;
}

void clsGrid::setGroesse(Byte groesse)
{
    mvarGroesse = groesse;
    ZeichneFelder();
}

Byte clsGrid::ZellGroesse()
{
    switch (Groesse()) {
    case 1: mvarZellGroesse = 24; break;
    case 2: mvarZellGroesse = 18; break;
    case 3: mvarZellGroesse = 15; break;
    default: break;
    }
    return mvarZellGroesse;
}

int clsGrid::Spalten()
{
    return mvarFeldMass(Groesse(), 1);
}

int clsGrid::Zeilen()
{
    return mvarFeldMass(Groesse(), 2);
}

Byte clsGrid::AnzahlBoote() const
{
    return static_cast<Byte>(pBoote.UBound());
}

Integer clsGrid::AnzahlBootsfelder(Byte s) const
{
    if (s < 1 || s > 3)
        felder::subscriptOutOfRange();
    Integer summe = 0;
    Integer faktor = 6;
    for (int e = (s - 1) * 6; e <= (s - 1) * 6 + 5; ++e) {
        summe = static_cast<Integer>(summe + mvarBootListe[static_cast<std::size_t>(e)] * faktor);
        --faktor;
    }
    return summe;
}

Integer clsGrid::AnzahlFelder(Byte s) const
{
    return static_cast<Integer>(mvarFeldMass(s, 1) * mvarFeldMass(s, 2));
}

void clsGrid::ErstelleBootListen(Feld2<Byte> &A)
{
    const Byte s = Groesse();
    int n = 0;
    for (int k = 1; k <= 6; ++k)
        n += A(s, k);
    cBoote.ReDim(n);
    pBoote.ReDim(n);
    for (int i = 1; i <= n; ++i) {
        // Boats are numbered class by class, the longest first.
        int L = 1;
        int bis = 0;
        for (int k = 1; k <= 6; ++k) {
            bis += A(s, k);
            if (i <= bis) {
                L = 7 - k;
                break;
            }
        }
        for (tBoot *boot : {&cBoote(i), &pBoote(i)}) {
            boot->Z.ReDim(L);
            boot->X.ReDim(L);
            boot->Y.ReDim(L);
        }
    }
}

void clsGrid::NeueFelder()
{
    ErstelleBootListen(mvarBootAnzahl);
    cFeld.ReDim(Spalten(), Zeilen(), 3);
    pFeld.ReDim(Spalten(), Zeilen(), 3);
}

// ---- Computer's fleet placement --------------------------------------------

bool clsGrid::ErstelleCFeld()
{
    Byte durchgang = 0;
    for (;;) {
        ++durchgang;
        NeueFelder();
        const bool ok = PlaziereCBoote();
        if (durchgang == 100)
            return ok;
        if (ok)
            return true;
    }
}

bool clsGrid::PlaziereCBoote()
{
    const int N = cBoote.UBound();
    for (int i = 1; i <= N; ++i) {
        Byte n = static_cast<Byte>(i);
        Byte versuch = 0;
        bool ok = false;
        do {
            ++versuch;
            ok = PlaziereCBoot(n);
        } while (!ok && versuch != 100);
        if (!ok)
            return false;
    }
    return true;
}

bool clsGrid::PlaziereCBoot(Byte &n)
{
    tBoot &boot = cBoote(n);
    const int L = Laenge(boot);
    Byte c = 0, r = 0;
    if (!ZufallsStart(c, r))
        return false;

    // Every cell this try marks. Cells the chain abandons at a dead end stay
    // marked, and so blocked for further growth, until the try ends: then the
    // boat's number is left on exactly its own cells, or on none at all.
    std::vector<std::pair<Byte, Byte>> markiert;
    auto markiere = [&](Byte x, Byte y) {
        cFeld(x, y, ebBoot) = n;
        markiert.emplace_back(x, y);
    };

    markiere(c, r);
    boot.X(1) = c;
    boot.Y(1) = r;
    if (L == 1)
        return true;

    int i = 1;
    for (;;) {
        Byte d0 = static_cast<Byte>(RndDraw(4));
        const Byte d = PruefeRichtung(d0, boot.X(i), boot.Y(i));
        if (d != riKeine) {
            const Schritt s = kSeiten[d - 1];
            const Byte x = static_cast<Byte>(boot.X(i) + s.dx);
            const Byte y = static_cast<Byte>(boot.Y(i) + s.dy);
            markiere(x, y);
            boot.X(i + 1) = x;
            boot.Y(i + 1) = y;
            ++i;
        } else {
            --i;
        }
        if (i == L) {
            for (auto [x, y] : markiert) {
                bool eigen = false;
                for (int j = 1; j <= L && !eigen; ++j)
                    eigen = boot.X(j) == x && boot.Y(j) == y;
                if (!eigen)
                    cFeld(x, y, ebBoot) = 0;
            }
            return true;
        }
        if (i == 0) {
            for (auto [x, y] : markiert)
                cFeld(x, y, ebBoot) = 0;
            for (int j = 1; j <= L; ++j) {
                boot.X(j) = 0;
                boot.Y(j) = 0;
            }
            return false;
        }
    }
}

bool clsGrid::ZufallsStart(Byte &Spalte, Byte &Zeile)
{
    const int W = Spalten();
    const int H = Zeilen();
    Byte kandidat = 0;
    for (;;) {
        ++kandidat;
        Byte c = 0, r = 0;
        do {
            c = static_cast<Byte>(RndDraw(W));
            r = static_cast<Byte>(RndDraw(H));
        } while (cFeld(c, r, ebBoot) != 0);
        // Beyond the edge counts as free here.
        bool frei = true;
        for (const Schritt &s : kStartNachbarn) {
            const int x = c + s.dx, y = r + s.dy;
            if (imFeld(x, y) && cFeld(x, y, ebBoot) != 0)
                frei = false;
        }
        Spalte = c;
        Zeile = r;
        if (frei)
            return true;
        if (kandidat == 100)
            return false;
    }
}

Byte clsGrid::PruefeRichtung(Byte &Richtung, Byte &Spalte, Byte &Zeile)
{
    for (int t = 0; t < 4; ++t) {
        const int d = (Richtung - 1 + t) % 4 + 1;
        // Beyond the edge blocks a direction.
        bool frei = true;
        for (const Schritt &s : kBlockVoraus[d - 1]) {
            const int x = Spalte + s.dx, y = Zeile + s.dy;
            if (!imFeld(x, y) || cFeld(x, y, ebBoot) != 0) {
                frei = false;
                break;
            }
        }
        if (frei)
            return static_cast<Byte>(d);
    }
    return riKeine;
}

bool clsGrid::imFeld(int x, int y)
{
    return x >= 1 && x <= Spalten() && y >= 1 && y <= Zeilen();
}

// ---- Player's boat placement -----------------------------------------------

Byte clsGrid::pBootAn(int x, int y)
{
    return imFeld(x, y) ? pFeld(x, y, ebBoot) : 0;
}

bool clsGrid::CreatePoint(Byte &BootID, Byte &X, Byte &Y)
{
    if (!PunktFrei(BootID, X, Y))
        return false;
    if (!PunktAngrenzend(BootID, X, Y) && pBoote(BootID).X(1) != 0)
        return false;
    return KeinQuadrat(X, Y);
}

bool clsGrid::PunktFrei(Byte &BootID, Byte &X, Byte &Y)
{
    if (pBootAn(X, Y) > 0)
        return false;
    for (const Schritt &s : kStartNachbarn) {
        const Byte b = pBootAn(X + s.dx, Y + s.dy);
        if (b > 0 && b != BootID)
            return false;
    }
    return true;
}

bool clsGrid::PunktAngrenzend(Byte &BootID, Byte &X, Byte &Y)
{
    for (const Schritt &s : kSeiten)
        if (pBootAn(X + s.dx, Y + s.dy) == BootID)
            return true;
    return false;
}

bool clsGrid::KeinQuadrat(Byte &X, Byte &Y)
{
    auto besetzt = [&](int dx, int dy) { return pBootAn(X + dx, Y + dy) > 0; };
    const bool obenRechts = besetzt(0, -1) && besetzt(1, -1) && besetzt(1, 0);
    const bool untenRechts = besetzt(1, 0) && besetzt(1, 1) && besetzt(0, 1);
    const bool untenLinks = besetzt(0, 1) && besetzt(-1, 1) && besetzt(-1, 0);
    const bool obenLinks = besetzt(-1, 0) && besetzt(-1, -1) && besetzt(0, -1);
    return !(obenRechts || untenRechts || untenLinks || obenLinks);
}

bool clsGrid::SetzePunkt(Byte &BootID, Byte &Teil, Byte &X, Byte &Y)
{
    pFeld(X, Y, ebBoot) = BootID;
    tBoot &boot = pBoote(BootID);
    boot.X(Teil) = X;
    boot.Y(Teil) = Y;

    PictureBox &pic = box(PicP());
    const Integer cs = ZellGroesse();
    const Integer links = static_cast<Integer>((cs + 1) * (X - 1) + 1);
    const Integer oben = static_cast<Integer>((cs + 1) * (Y - 1) + 1);
    pic.setDrawWidth(1);
    pic.Line(links, oben, static_cast<Integer>((cs + 1) * (X - 1) + cs), static_cast<Integer>((cs + 1) * (Y - 1) + cs),
             kBlau, PictureBox::LineKind::BF);
    return Teil != Laenge(boot);
}

// ---- Field drawing ----------------------------------------------------------

void clsGrid::ZeichneZelle(PictureBox *pic, const QImage &bild, int c, int r)
{
    const Integer cs = ZellGroesse();
    const Integer links = static_cast<Integer>((cs + 1) * (c - 1) + 1);
    const Integer oben = static_cast<Integer>((cs + 1) * (r - 1) + 1);
    box(pic).PaintPicture(bild, links, oben, cs, cs);
}

void clsGrid::ZeichneFelder()
{
    const int W = Spalten();
    const int H = Zeilen();
    const int cs = ZellGroesse();
    PictureBox &picC = box(PicC());
    PictureBox &picP = box(PicP());

    picC.setWidth(W * cs + W + 3);
    picC.setHeight(H * cs + H + 3);
    picP.setWidth(W * cs + W + 3);
    picP.setHeight(H * cs + H + 3);
    emit ChangePicSize();

    picC.Cls();
    picP.Cls();
    picC.setDrawWidth(1);
    picP.setDrawWidth(1);
    for (int i = 0; i <= W; ++i) {
        const float x = static_cast<float>((cs + 1) * i);
        picC.Line(x, 0, x, static_cast<float>(picC.Height()), kSchwarz);
        picP.Line(x, 0, x, static_cast<float>(picP.Height()), kSchwarz);
    }
    for (int j = 0; j <= H; ++j) {
        const float y = static_cast<float>((cs + 1) * j);
        picC.Line(0, y, static_cast<float>(picC.Width()), y, kSchwarz);
        picP.Line(0, y, static_cast<float>(picP.Width()), y, kSchwarz);
    }
    picC.Refresh();
    picP.Refresh();
    LoescheFelder();
}

void clsGrid::LoescheFelder()
{
    const int W = Spalten();
    const int H = Zeilen();
    // Ring by ring from the edge inwards, both fields at once.
    for (int r = 1; r <= H / 2; ++r) {
        for (int i = r; i <= W - r + 1; ++i) {
            ZeichneZelle(PicP(), picBmp101, i, r);
            ZeichneZelle(PicP(), picBmp101, i, H - r + 1);
            ZeichneZelle(PicC(), picBmp101, i, r);
            ZeichneZelle(PicC(), picBmp101, i, H - r + 1);
        }
        for (int j = r; j <= H - r + 1; ++j) {
            ZeichneZelle(PicP(), picBmp101, r, j);
            ZeichneZelle(PicP(), picBmp101, W - r + 1, j);
            ZeichneZelle(PicC(), picBmp101, r, j);
            ZeichneZelle(PicC(), picBmp101, W - r + 1, j);
        }
        box(PicP()).Refresh();
        box(PicC()).Refresh();
    }
}

bool clsGrid::ZeichneBoot(Byte &b)
{
    const tBoot &boot = pBoote(b);
    for (int i = 1; i <= Laenge(boot); ++i)
        ZeichneZelle(PicP(), picBmp102, boot.X(i), boot.Y(i));
    return false;
}

bool clsGrid::LoescheBoot(Byte &b)
{
    tBoot &boot = pBoote(b);
    for (int i = 1; i <= Laenge(boot); ++i) {
        if (boot.X(i) == 0)
            continue;
        ZeichneZelle(PicP(), picBmp101, boot.X(i), boot.Y(i));
        pFeld(boot.X(i), boot.Y(i), ebBoot) = 0;
        boot.Z(i) = 0;
        boot.X(i) = 0;
        boot.Y(i) = 0;
    }
    return false;
}

void clsGrid::UebertrageBoote()
{
    for (int b = 1; b <= pBoote.UBound(); ++b) {
        const tBoot &boot = pBoote(b);
        for (int i = 1; i <= Laenge(boot); ++i) {
            ZeichneZelle(PicP(), picBmp101, boot.X(i), boot.Y(i));
            ZeichneZelle(PicC(), picBmp102, boot.X(i), boot.Y(i));
        }
    }
}

void clsGrid::ZeigeCBoote()
{
    for (int b = 1; b <= cBoote.UBound(); ++b) {
        const tBoot &boot = cBoote(b);
        for (int i = 1; i <= Laenge(boot); ++i)
            if (boot.Z(i) == zuUnberuehrt)
                ZeichneZelle(PicP(), picBmp102, boot.X(i), boot.Y(i));
    }
}

// ---- Remaining-boat table ---------------------------------------------------

tRestBoote clsGrid::RestBoote(Byte &Modus)
{
    tRestBoote tabelle;
    const Byte s = Groesse();
    auto einsWeniger = [](QString &eintrag) { eintrag = QString::number(eintrag.toInt() - 1); };

    switch (Modus) {
    case 0:
        for (auto &seite : tabelle)
            for (QString &eintrag : seite)
                eintrag = QStringLiteral("?");
        break;
    case 1:
    case 2: {
        for (int k = 1; k <= 6; ++k) {
            tabelle[seMensch][k - 1] = QString::number(mvarBootAnzahl(s, k));
            tabelle[seComputer][k - 1] = Modus == 1 ? QStringLiteral("0") : QString::number(mvarBootAnzahl(s, k));
        }
        int erstes = 1;
        for (int k = 1; k <= 6; ++k) {
            const int anzahl = mvarBootAnzahl(s, k);
            for (int b = erstes; b < erstes + anzahl; ++b) {
                if (Modus == 1) {
                    // Placed as soon as its first cell is set.
                    if (pBoote(b).X(1) != 0)
                        einsWeniger(tabelle[seMensch][k - 1]);
                } else {
                    if (cBoote(b).Z(1) == zuVersenkt)
                        einsWeniger(tabelle[seComputer][k - 1]);
                    if (pBoote(b).Z(1) == zuVersenkt)
                        einsWeniger(tabelle[seMensch][k - 1]);
                }
            }
            erstes += anzahl;
        }
        break;
    }
    default:
        break;
    }
    return tabelle;
}

// ---- Player's shot -----------------------------------------------------------

// Every cell of the boat at (x, y) is hit, in the boat and in its field.
void clsGrid::MarkiereTreffer(tBoot &boot, Feld3<Byte> &feld, Byte x, Byte y)
{
    for (int i = 1; i <= Laenge(boot); ++i) {
        if (boot.X(i) == x && boot.Y(i) == y) {
            boot.Z(i) = zuGetroffen;
            feld(x, y, ebBeschuss) = zuGetroffen;
        }
    }
}

// The boat sinks: every cell shows the sunk picture and is marked sunk, in cell order.
void clsGrid::Versenke(PictureBox *pic, tBoot &boot, Feld3<Byte> &feld)
{
    for (int i = 1; i <= Laenge(boot); ++i) {
        ZeichneZelle(pic, picBmp105, boot.X(i), boot.Y(i));
        boot.Z(i) = zuVersenkt;
        feld(boot.X(i), boot.Y(i), ebBeschuss) = zuVersenkt;
    }
}

Byte clsGrid::SpielerSchuss(Byte &X, Byte &Y)
{
    if (cFeld(X, Y, ebBeschuss) != zuUnberuehrt)
        return scSchonBeschossen;
    const Byte b = cFeld(X, Y, ebBoot);
    if (b == 0) {
        ZeichneZelle(PicP(), picBmp103, X, Y);
        cFeld(X, Y, ebBeschuss) = zuWasser;
        return scWasser;
    }
    tBoot &boot = cBoote(b);
    const int n = Laenge(boot);
    MarkiereTreffer(boot, cFeld, X, Y);
    for (int i = 1; i <= n; ++i) {
        if (boot.Z(i) == zuUnberuehrt) {
            ZeichneZelle(PicP(), picBmp104, X, Y);
            return scTreffer;
        }
    }
    Versenke(PicP(), boot, cFeld);
    return scVersenkt;
}

// ---- Computer's targeting and shot -------------------------------------------

Byte clsGrid::ComputerSchuss()
{
    // Each source leaves its candidates in Ziele, cut to their number.
    if (Treffer != 0)
        JageZiele();
    else
        SucheZiele();

    // With no cell left to shoot at (the fleet is sunk and the field shot
    // through) the computer does not shoot: nothing is marked or drawn.
    const int n = Ziele.UBound(2);
    if (n < 1)
        return scSchonBeschossen;

    // Shuffle, then pick one.
    for (int t = 1; t <= 2 * n; ++t) {
        const int p = RndDraw(n);
        const int q = RndDraw(n);
        std::swap(Ziele(1, p), Ziele(1, q));
        std::swap(Ziele(2, p), Ziele(2, q));
    }
    const int z = RndDraw(Ziele.UBound(2));
    const Byte x = Ziele(1, z);
    const Byte y = Ziele(2, z);

    if (pFeld(x, y, ebBoot) == 0) {
        ZeichneZelle(PicC(), picBmp103, x, y);
        pFeld(x, y, ebBeschuss) = zuWasser;
        return scWasser;
    }
    const Byte b = pFeld(x, y, ebBoot);
    tBoot &boot = pBoote(b);
    const int laenge = Laenge(boot);
    MarkiereTreffer(boot, pFeld, x, y);
    if (laenge > 1) {
        for (int k = 1; k <= laenge; ++k) {
            if (boot.Z(k) == zuUnberuehrt) {
                ZeichneZelle(PicC(), picBmp104, x, y);
                Treffer = b;
                return scTreffer;
            }
        }
    } else {
        Treffer = b;
    }
    MarkiereUmgebung(Treffer);
    Versenke(PicC(), boot, pFeld);
    Treffer = 0;
    return scVersenkt;
}

// Search: the block with the most cells that have the most unshot neighbours,
// or by a fair draw the runner-up; all unshot cells when that finds nothing.
void clsGrid::SucheZiele()
{
    const int W = Spalten();
    const int H = Zeilen();
    const int nB = (W / 5) * (H / 4);
    BlockWert.ReDim(2, nB);
    BlockZellen.ReDim(nB, 20, 3);

    Byte n = 4;
    do {
        int b = 1, c = 0;
        for (int y0 = 1; y0 <= H; y0 += 4)
            for (int x0 = 1; x0 <= W; x0 += 5)
                for (int y = y0; y <= y0 + 3; ++y)
                    for (int x = x0; x <= x0 + 4; ++x) {
                        if (++c > 20) {
                            c = 1;
                            ++b;
                        }
                        Byte bx = static_cast<Byte>(x), by = static_cast<Byte>(y);
                        BlockZellen(b, c, 1) = bx;
                        BlockZellen(b, c, 2) = by;
                        if (FreieNachbarn(bx, by, n)) {
                            BlockZellen(b, c, 3) = 1;
                            ++BlockWert(1, b);
                            BlockWert(2, b) = static_cast<Byte>(b);
                        } else {
                            BlockZellen(b, c, 3) = 0;
                        }
                    }
        SortiereListe(BlockWert);
        --n;
    } while (BlockWert(1, nB) == 0 && n != 0);

    if (NurEinzelBoote() || BlockWert(1, nB) == 0) {
        AlleFreienZiele();
        return;
    }

    Byte gewaehlt = BlockWert(2, nB);
    if (BlockWert(1, nB - 1) > 0 && RndDraw(2) == 2)
        gewaehlt = BlockWert(2, nB - 1);
    int k = 1;
    while (BlockWert(2, k) != gewaehlt)
        ++k;
    Ziele.ReDim(2, BlockWert(1, k));
    int i = 0;
    for (int c = 1; c <= 20; ++c) {
        if (BlockZellen(gewaehlt, c, 3) == 1) {
            ++i;
            Ziele(1, i) = BlockZellen(gewaehlt, c, 1);
            Ziele(2, i) = BlockZellen(gewaehlt, c, 2);
        }
    }
    Ziele.ReDimPreserve(i);
}

void clsGrid::AlleFreienZiele()
{
    const int W = Spalten();
    const int H = Zeilen();
    Ziele.ReDim(2, W * H);
    int i = 0;
    for (int y = 1; y <= H; ++y)
        for (int x = 1; x <= W; ++x)
            if (pFeld(x, y, ebBeschuss) == zuUnberuehrt) {
                ++i;
                Ziele(1, i) = static_cast<Byte>(x);
                Ziele(2, i) = static_cast<Byte>(y);
            }
    Ziele.ReDimPreserve(i);
}

// Hunt: the unshot side neighbours of the hunted boat's hit cells, repeats kept.
void clsGrid::JageZiele()
{
    const tBoot &boot = pBoote(Treffer);
    Ziele.ReDim(2, 1);
    int i = 0;
    for (int k = 1; k <= Laenge(boot); ++k) {
        if (boot.Z(k) != zuGetroffen)
            continue;
        Ziele.ReDimPreserve(i + 4);
        for (const Schritt &s : kSeiten) {
            const int x = boot.X(k) + s.dx, y = boot.Y(k) + s.dy;
            if (imFeld(x, y) && pFeld(x, y, ebBeschuss) == zuUnberuehrt) {
                ++i;
                Ziele(1, i) = static_cast<Byte>(x);
                Ziele(2, i) = static_cast<Byte>(y);
            }
        }
    }
    Ziele.ReDimPreserve(i);
}

bool clsGrid::FreieNachbarn(Byte &X, Byte &Y, Byte &n)
{
    if (pFeld(X, Y, ebBeschuss) != zuUnberuehrt)
        return false;
    int frei = 0;
    for (const Schritt &s : kSeiten) {
        const int x = X + s.dx, y = Y + s.dy;
        if (!imFeld(x, y) || pFeld(x, y, ebBeschuss) == zuUnberuehrt)
            ++frei;
    }
    return frei == n;
}

void clsGrid::SortiereListe(Feld2<Byte> &v)
{
    const int lo = 1;
    const int hi = v.UBound(2);
    for (int i = lo; i <= hi - 1; ++i) {
        int m = i;
        for (int j = i + 1; j <= hi; ++j)
            if (v(1, j) < v(1, m))
                m = j;
        std::swap(v(1, i), v(1, m));
        std::swap(v(2, i), v(2, m));
    }
}

bool clsGrid::NurEinzelBoote()
{
    const Byte s = Groesse();
    int rest = AnzahlBoote();
    const int einzel = mvarBootAnzahl(s, 6);
    int erstes = 1;
    for (int k = 1; k <= 5; ++k) {
        const int anzahl = mvarBootAnzahl(s, k);
        for (int b = erstes; b < erstes + anzahl; ++b)
            if (pBoote(b).Z(1) == zuVersenkt)
                --rest;
        erstes += anzahl;
    }
    return rest == einzel;
}

void clsGrid::MarkiereUmgebung(Byte &b)
{
    const tBoot &boot = pBoote(b);
    for (int i = 1; i <= Laenge(boot); ++i)
        for (const Schritt &s : kUmgebung) {
            const int x = boot.X(i) + s.dx, y = boot.Y(i) + s.dy;
            if (imFeld(x, y))
                pFeld(x, y, ebBeschuss) = zuWasser;
        }
}
