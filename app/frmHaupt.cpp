// The main window: its layout, its load and unload, the game states and the
// boat counts, and the wiring of every control to its handler.
#include "frmHaupt.h"
#include "ui_frmHaupt.h"

#include "frmSieg.h"
#include "modDeklarationen.h"
#include "modMain.h"

#include "TransTBWrapper.h"
#include "com/bstr.h"
#include "com/runtime.h"
#include "comctl/coolbar.h"
#include "comctl/imagelist.h"
#include "comctl/toolbar.h"
#include "runtime/buttonface.h"
#include "runtime/msgbox.h"
#include "runtime/program.h"
#include "runtime/strings.h"
#include "runtime/timer.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace modDeklarationen;

namespace {

// The toolbar's buttons, in their order, with the pictures of the image list.
struct Knopf {
    const char *key;
    const char *caption;
    const char *tooltip;
    const char *picture;
};
constexpr Knopf Knoepfe[] = {
    {"keyNew", "&Neues Spiel", "Neues Spiel beginnen.", ":/pictures/tb_neu.png"},
    {"keyOptionen", "&Optionen", "Spieleinstellungen ändern", ":/pictures/tb_optionen.png"},
    {"keyTop10", "&Top 10", "Zeigt die Bestenliste.", ":/pictures/tb_top10.png"},
    {"keyEnde", "&Ausgang", "Spiel verlassen", ":/pictures/tb_ende.png"},
    {"keyHilfe", "&Hilfe", "Einige Infos rund ums Spiel.", ":/pictures/tb_hilfe.png"},
};

// The first row of the face's picture below the fields' frames: the panel
// that holds the counts.
constexpr int PanelTop = 306;

// The pointer over the left field: a cross hair whose hot spot is its centre.
constexpr QPoint ZielkreuzHotSpot(15, 15);

// Without its tooltip component the game cannot run; say which component
// is missing and how to register it, then end with a failure status. The
// box's title is not the main window's, so that nothing takes the box for
// the game's window.
[[noreturn]] void PellwickFehlt(HRESULT hr)
{
    const QString folder = QDir(App::Path()).absolutePath();
    MsgBox(QStringLiteral("Die Komponente Pellwick (libpellwick.so) kann nicht erstellt werden (Fehler 0x%1).")
                   .arg(static_cast<quint32>(hr), 8, 16, QLatin1Char('0'))
               + vbCrLf + QStringLiteral("Sie ist nicht registriert, oder ihre Bibliothek fehlt.") + vbCrLf + vbCrLf
               + QStringLiteral("Registrieren mit:") + vbCrLf + folder + QStringLiteral("/regsvr ") + folder
               + QStringLiteral("/libpellwick.so") + vbCrLf + vbCrLf + QStringLiteral("Das Programm wird beendet!"),
           vbCritical, QStringLiteral("Murvel: Pellwick fehlt"));
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

frmHaupt::frmHaupt() = default;
frmHaupt::~frmHaupt() = default;

Label &frmHaupt::lblName(int index)
{
    ui();
    return m_lblName(index);
}

void frmHaupt::SetupWindow(QWidget *window)
{
    UiForm::SetupWindow(window);
    Ui::frmHaupt &u = *loadedUi();
    m_lblName.Collect(window, QStringLiteral("lblName"));
    m_lblBeschriftung.Collect(window, QStringLiteral("lblBeschriftung"));
    m_lblpBoote.Collect(window, QStringLiteral("lblpBoote"));
    m_lblcBoote.Collect(window, QStringLiteral("lblcBoote"));
    m_imgBoot.Collect(window, QStringLiteral("imgBoot"));

    // The bar's two bands, which the load step fills.
    u.Coolbar->setPicture(QImage(QStringLiteral(":/pictures/coolbar.bmp")));
    u.Coolbar->Bands().Add(QStringLiteral("NavBand"), 53, 694);
    CoolBarBand &picBand = u.Coolbar->Bands().Add(QStringLiteral("PicBand"), 29);
    picBand.setPicture(QImage(QStringLiteral(":/pictures/picband.bmp")));

    // ImageList1 and the toolbar's five buttons.
    auto *ImageList1 = new ImageList(window);
    ImageList1->setImageSize(49, 40);
    for (const Knopf &k : Knoepfe)
        ImageList1->Add(QImage(QString::fromLatin1(k.picture)));
    u.tbToolbar->setImageList(ImageList1);
    int image = 1;
    for (const Knopf &k : Knoepfe)
        u.tbToolbar->Buttons()
            .Add(QString::fromLatin1(k.key), QString::fromUtf8(k.caption), image++)
            .setToolTipText(QString::fromUtf8(k.tooltip));

    m_face = QRect();
    for (QWidget *w : u.picHinten->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w->y() >= PanelTop)
            w->setProperty("PanelTop", w->y());
    u.picpFeld->setMouseIcon(QImage(QStringLiteral(":/pictures/zielkreuz.ico")), ZielkreuzHotSpot);

    // Every control's events to their handlers.
    connect(u.tbToolbar, &Toolbar::ButtonClick, this, &frmHaupt::tbToolbar_ButtonClick);
    connect(u.tbToolbar, &Toolbar::MouseMove, this, &frmHaupt::tbToolbar_MouseMove);
    connect(u.picpFeld, &PictureBox::MouseDown, this, &frmHaupt::picpFeld_MouseDown);
    connect(u.picpFeld, &PictureBox::MouseMove, this, &frmHaupt::picpFeld_MouseMove);
    connect(u.piccFeld, &PictureBox::MouseDown, this, &frmHaupt::piccFeld_MouseDown);
    connect(u.picHinten, &PictureBox::MouseMove, this, &frmHaupt::picHinten_MouseMove);
    connect(u.imgMuell, &Image::Click, this, &frmHaupt::imgMüll_Click);
    connect(u.imgMuell, &Image::MouseDown, this, &frmHaupt::imgMüll_MouseDown);
    connect(u.timTTip, &Timer::Tick, this, &frmHaupt::timTTip_Timer);
    m_imgBoot.on(&Image::MouseMove, this, &frmHaupt::imgBoot_MouseMove);
    m_imgBoot.on(&Image::MouseDown, this, &frmHaupt::imgBoot_MouseDown);
    m_lblBeschriftung.on(&Label::MouseMove, this, &frmHaupt::lblBeschriftung_MouseMove);
    m_lblBeschriftung.on(&Label::MouseDown, this, &frmHaupt::lblBeschriftung_MouseDown);
    m_lblcBoote.on(&Label::MouseMove, this, &frmHaupt::lblcBoote_MouseMove);
    m_lblcBoote.on(&Label::MouseDown, this, &frmHaupt::lblcBoote_MouseDown);
    m_lblpBoote.on(&Label::MouseMove, this, &frmHaupt::lblpBoote_MouseMove);
    m_lblpBoote.on(&Label::MouseDown, this, &frmHaupt::lblpBoote_MouseDown);
    m_lblName.on(&Label::MouseMove, this, &frmHaupt::lblName_MouseMove);
    m_lblName.on(&Label::MouseDown, this, &frmHaupt::lblName_MouseDown);
}

void frmHaupt::Form_Load()
{
    Ui::frmHaupt &u = *loadedUi();

    // 1. The engine; its size changes re-centre the fields.
    Grid = std::make_unique<clsGrid>();
    connect(Grid.get(), &clsGrid::ChangePicSize, this, [this] { Grid_ChangePicSize(); });
    modMain::AktuelleGroesse = [this]() -> std::uint8_t { return Grid ? Grid->Groesse() : 0; };

    // 2. The wrapper into the bar, as the child of band "NavBand".
    u.usrWrapper->setParent(u.Coolbar);
    u.usrWrapper->show();
    u.Coolbar->Bands().Item(QStringLiteral("NavBand"))->setChild(u.usrWrapper);

    // 3. Band "PicBand" as wide as its picture. The bar does not take the
    // room from the first band by itself, so "NavBand" gets what is left.
    CoolBarBand &picBand = *u.Coolbar->Bands().Item(QStringLiteral("PicBand"));
    picBand.setWidth(90);
    u.Coolbar->Bands().Item(QStringLiteral("NavBand"))->setWidth(static_cast<float>(u.Coolbar->width() - 2 * CoolBar::Border - 90));

    // 4. The toolbar into the bar, flat and transparent through the wrapper.
    u.tbToolbar->setParent(u.Coolbar);
    u.usrWrapper->setTransparent(true);
    u.usrWrapper->setToolbar(u.tbToolbar);

    // 5. The face below the bar: the toolbar's height as it stands in its
    // band, which the wrapper fits to the whole bar, and 50 twips, in
    // pixels. The strip of the window's own face between bar and face is
    // where a pointer coming back from the toolbar shows the balloon again.
    const int toolbarTwips = u.Coolbar->height() * TwipsPerPixel;
    u.picHinten->setLeft(0);
    u.picHinten->setTop(qRound(static_cast<double>(toolbarTwips + 50) / TwipsPerPixel));

    // 6. The tooltip object, a balloon with its title.
    const HRESULT created = CoCreateInstance(Pellwick::CLSID_cToolTips, nullptr, CLSCTX_INPROC_SERVER,
                                             Pellwick::IID__cToolTips, TTip.putVoid());
    if (FAILED(created) || !TTip)
        PellwickFehlt(created);
    m_ttipSink = com::EventSink::create(Pellwick::DIID___cToolTips, [this](DISPID id, DISPPARAMS *params, VARIANT *) {
        if (id != Pellwick::dispid::NeedText)
            return S_OK;
        com::DispArgs args(params);
        LONG ID = 0;
        BSTR *text = nullptr;
        if (FAILED(args.getLong(0, &ID)) || FAILED(args.refString(1, &text)))
            return S_OK;
        QString TTText = com::fromBstr(*text);
        TTip_NeedText(ID, TTText);
        SysReAllocString(text, reinterpret_cast<LPCOLESTR>(TTText.utf16()));
        return S_OK;
    });
    com::advise(TTip.get(), Pellwick::DIID___cToolTips, m_ttipSink.get(), &m_ttipCookie);
    TTip->Init(Pellwick::TTS_BALLOON);
    {
        com::Bstr title(QStringLiteral("Spielhilfe"));
        Pellwick::TT_TITELICON icon = Pellwick::TTI_INFOICON;
        VARIANT_BOOL done = VARIANT_FALSE;
        TTip->SetTitle(title.ref(), &icon, &done);
    }

    // 7. to 10.
    ToolTip = false;
    Grid->setPicC(u.piccFeld);
    Grid->setPicP(u.picpFeld);
    Grid->setNameLabel(&m_lblName(0));
    intMitteP[0] = 177;
    intMitteP[1] = 165;
    intMitteC[0] = 521;
    intMitteC[1] = 165;
    bytBoot = 1;

    // 11. The field of the standard size; Grid_ChangePicSize runs inside.
    Grid->setGroesse(bytStdSize);

    // 12. Height, and centred on the screen.
    PlaceOnScreen();

    // 13. and 14.
    u.imgMuell->setPicture(picMüll[0]);
    {
        LONG hwnd = hWnd();
        LONG left = 0, top = 0, right = ScaleWidth(), bottom = ScaleHeight();
        VARIANT_BOOL added = VARIANT_FALSE;
        TTip->AddTTRectCB(&hwnd, &left, &top, &right, &bottom, static_cast<Pellwick::TT_Flags>(0), BalloonTool, &added);
    }

    // 15. The start-up balloon when help is on; its text comes through
    // NeedText.
    if (bytHelp == 1) {
        ToolTip = true;
        u.timTTip->setEnabled(true);
        BalloonTrack(false);
    } else {
        TTip->put_Enabled(VARIANT_FALSE);
    }
}

void frmHaupt::PlaceOnScreen()
{
    setHeight(7470);
    m_placedWidth = Width();
    CentreOnScreen();
    FitFace();
}

void frmHaupt::Form_Resize()
{
    // The frame is known only once the window is shown (a window manager
    // may add it later still). The runtime keeps the outer height; the face
    // follows the client area left inside, and the window is centred again
    // by its outer width.
    if (m_placedWidth < 0 || !loadedUi())
        return;
    FitFace();
    if (Width() != m_placedWidth) {
        m_placedWidth = Width();
        CentreOnScreen();
    }
}

void frmHaupt::FitFace()
{
    // The face reaches to the bottom of the client area, however much the
    // frame leaves. The picture's upper part with the fields' frames stays
    // where the fields' centres expect it; its lower part, the counts'
    // panel, stretches or shrinks to the rest, and the counts keep to the
    // middle of it.
    Ui::frmHaupt &u = *loadedUi();
    const QRect face(0, u.picHinten->Top(), ScaleWidth(), ScaleHeight() - u.picHinten->Top());
    if (face.height() <= PanelTop || face == m_face)
        return;
    // Its own setWidth and setHeight: they size the drawing area at once,
    // also while the window is not shown yet.
    u.picHinten->setLeft(face.left());
    u.picHinten->setWidth(face.width());
    u.picHinten->setHeight(face.height());
    // The picture as the layout gave it: the box's own until it is first
    // fitted; after that the file's, read again (a new frame is rare), so
    // that only the fitted picture stays in memory.
    const QImage hinten = m_face.isNull() ? u.picHinten->Picture() : LoadPicture(u.picHinten->PictureFile());
    m_face = face;
    if (hinten.isNull())
        return;
    // Made at the drawing area's size, in its format: the box shows it
    // without a copy of its own.
    const int width = u.picHinten->ScaleWidth();
    const int height = u.picHinten->ScaleHeight();
    QImage fitted(width, height, hinten.format());
    if (width > hinten.width())
        fitted.fill(ColorOf(u.picHinten->BackColor()));
    // The panel is scaled on its own and both parts copied in: drawn scaled
    // into the whole, it would be blended on Qt's worker threads.
    const int shown = std::min(width, hinten.width());
    const QImage panel = hinten.copy(0, PanelTop, shown, hinten.height() - PanelTop)
                             .scaled(shown, height - PanelTop, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&fitted);
    painter.drawImage(QPoint(0, 0), hinten, QRect(0, 0, shown, PanelTop));
    painter.drawImage(QPoint(0, PanelTop), panel);
    painter.end();
    u.picHinten->setPicture(fitted);
    const int shift = (height - hinten.height()) / 2;
    for (QWidget *w : u.picHinten->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QVariant top = w->property("PanelTop");
        if (top.isValid())
            w->move(w->x(), top.toInt() + shift);
    }
}

void frmHaupt::Form_Unload(std::int16_t &Cancel)
{
    (void)Cancel; // the main window never refuses to close
    m_placedWidth = -1;
    Grid.reset();
    modMain::AktuelleGroesse = nullptr;
    frmSieg::Instance().Unload();
    if (TTip) {
        VARIANT_BOOL deleted = VARIANT_FALSE;
        TTip->DeleteTT(BalloonTool, &deleted);
        if (m_ttipCookie)
            com::unadvise(TTip.get(), Pellwick::DIID___cToolTips, m_ttipCookie);
        m_ttipCookie = 0;
    }
    TTip.reset();
    m_ttipSink.reset();
    ToolTip = false;
    strSnd101 = QByteArray();
    modMain::SpieleSound(strSnd101, true);
}

void frmHaupt::setModus(Byte vNewValue)
{
    mvarModus = vNewValue;
    if (vNewValue <= mdSpielende) {
        ++m_modusWechsel;
        m_entschieden = vNewValue == mdSpielende;
    }
    Ui::frmHaupt &u = ui();
    switch (vNewValue) {
    case mdKeinSpiel:
        u.picpFeld->setEnabled(false);
        u.piccFeld->setEnabled(false);
        u.imgMuell->setVisible(false);
        UpdateBoatCounts();
        Grid->Treffer = 0;
        break;
    case mdSetzen:
        Grid->Treffer = 0;
        if (!Grid->ErstelleCFeld()) {
            MsgBox(QStringLiteral("Systemfehler") + vbCrLf + vbCrLf + QStringLiteral("Computer kann Spielfeld nicht erstellen!"),
                   vbCritical | vbOKOnly, QStringLiteral("Fehler!"));
            Unload();
            return;
        }
        bytBoot = 1;
        bytTeil = 0;
        u.picpFeld->setEnabled(true);
        u.imgMuell->setPicture(picMüll[0]);
        u.imgMuell->setVisible(true);
        u.imgMuell->setEnabled(false);
        UpdateBoatCounts();
        break;
    case mdGefecht:
        UpdateBoatCounts();
        intSchuss[seMensch] = 0;
        intSchuss[seComputer] = 0;
        break;
    case mdSpielende:
        u.picpFeld->setEnabled(false);
        u.piccFeld->setEnabled(false);
        Grid->Treffer = 0;
        break;
    default:
        break; // stored, nothing else
    }
}

Byte frmHaupt::UpdateBoatCounts()
{
    ui();
    Byte modus = mvarModus;
    const tRestBoote t = Grid->RestBoote(modus);
    for (int i = 0; i <= 5; ++i) {
        m_lblpBoote(i).setCaption(t[seMensch][i]);
        m_lblcBoote(i).setCaption(t[seComputer][i]);
    }
    if (mvarModus != mdGefecht)
        return 0;
    return Besiegt(t);
}

Byte Besiegt(const tRestBoote &t)
{
    // A side is beaten when none of its counts is above 0.
    auto beaten = [&t](int side) {
        for (const QString &count : t[side])
            if (count.toInt() > 0)
                return false;
        return true;
    };
    if (beaten(seComputer))
        return 1;
    if (beaten(seMensch))
        return 2;
    return 0;
}

void frmHaupt::Grid_ChangePicSize()
{
    Ui::frmHaupt &u = *loadedUi();
    PictureBox &p = *u.picpFeld;
    PictureBox &c = *u.piccFeld;
    Label &nameP = m_lblName(0);
    Label &nameC = m_lblName(1);

    p.setLeft(intMitteP[0] - p.ScaleWidth() / 2);
    p.setTop(intMitteP[1] - p.ScaleHeight() / 2);
    nameP.Move(p.Left(), p.Top() - nameP.Height(), p.Width(), nameP.Height());
    u.imgMuell->setLeft(p.Left() + p.Width() - u.imgMuell->Width());
    u.imgMuell->setTop(p.Top() + p.Height() + 2);

    c.setLeft(intMitteC[0] - c.ScaleWidth() / 2);
    c.setTop(intMitteC[1] - c.ScaleHeight() / 2);
    nameC.Move(c.Left(), c.Top() - nameC.Height(), c.Width(), nameC.Height());

    nameP.setCaption(Grid->SpielerName());
}
