#include "modMain.h"
#include "modDeklarationen.h"
#include "frmHaupt.h"
#include "frmStart.h"

#include "registry/registry.h"
#include "registry/settings.h"
#include "runtime/doevents.h"
#include "runtime/msgbox.h"
#include "runtime/program.h"
#include "runtime/resources.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace modMain {

namespace {

// A setting's text as an unsigned 8-bit number: a whole decimal number from
// 0 to 255, blanks around it allowed; anything else is none.
std::optional<std::uint8_t> AlsByte(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 3)
        return std::nullopt;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int value = digits.toInt();
    if (value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::uint8_t Einstellung(const QString &key, std::uint8_t standard, int kleinster = 0, int groesster = 255)
{
    const auto value = AlsByte(GetSetting(App::EXEName(), QStringLiteral("Options"), key, QString::number(standard)));
    return value && *value >= kleinster && *value <= groesster ? *value : standard;
}

// The registry holds Pellwick's registration and the player's options: a
// registry that is there but cannot be read at all (no permission, a folder,
// a pipe, far too large) would make the game start without either. Say
// which file and why, and end with a failure status.
void PruefeRegistry()
{
    const QString grund = registry::unreadableReason();
    if (grund.isEmpty())
        return;
    const QString datei = registry::storePath();
    MsgBox(QStringLiteral("Die Registrierungsdatei „%1“ kann nicht gelesen werden (%2).").arg(datei, grund)
               + QStringLiteral("\r\n\r\nDas Programm wird beendet!"),
           vbCritical, QStringLiteral("Murvel: Registrierung unlesbar"));
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

QString DateiImOrdner(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

void BaueDateipfade()
{
    using namespace modDeklarationen;
    strScoreFile = DateiImOrdner(App::Path(), QStringLiteral("Score.hsc"));
    strComboFile = DateiImOrdner(App::Path(), QStringLiteral("Combo.txt"));
    strHelpFile = DateiImOrdner(App::Path(), QStringLiteral("Hilfe.chm"));
}

void LadeSounds()
{
    using namespace modDeklarationen;
    const QString sound = QStringLiteral("SOUND");
    strSnd101 = LoadResData(101, sound);
    strSnd102 = LoadResData(102, sound);
    strSnd103 = LoadResData(103, sound);
    strSnd104 = LoadResData(104, sound);
    strSnd105 = LoadResData(105, sound);
    strSnd106 = LoadResData(106, sound);
    strSnd107 = LoadResData(107, sound);
    strSnd108 = LoadResData(108, sound);
    strSnd109 = LoadResData(109, sound);
    strSnd111 = LoadResData(111, sound);
}

void LeseEinstellungen()
{
    using namespace modDeklarationen;
    bytSound = Einstellung(QStringLiteral("Sound"), 1);
    bytHelp = Einstellung(QStringLiteral("Help"), 1);
    bytStdSize = Einstellung(QStringLiteral("StdSize"), 2, 1, 3);
}

void Main()
{
    using namespace modDeklarationen;
    PruefeRegistry();
    // The splash first, painted before anything else is loaded.
    frmStart::Instance().Show();
    frmStart::Instance().Refresh();
    DoEvents();

    BaueDateipfade();
    LadeSounds();
    picMüll[0] = LoadResPicture(101, vbResIcon);
    picMüll[1] = LoadResPicture(102, vbResIcon);
    picBmp101 = LoadResPicture(101, vbResBitmap);
    picBmp102 = LoadResPicture(102, vbResBitmap);
    picBmp103 = LoadResPicture(103, vbResBitmap);
    picBmp104 = LoadResPicture(104, vbResBitmap);
    picBmp105 = LoadResPicture(105, vbResBitmap);
    LeseEinstellungen();
    LoadScore();

    // The main window's load uses everything above.
    frmHaupt &haupt = frmHaupt::Instance();
    haupt.Load();
    haupt.setModus(mdKeinSpiel);
    frmStart::Instance().Unload();
    haupt.Show();
}

} // namespace modMain
