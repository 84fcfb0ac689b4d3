#include "gameend/gameend_fixture.h"

#include "frmHaupt.h"
#include "frmMeldung.h"
#include "frmScore.h"
#include "frmSieg.h"
#include "modDeklarationen.h"

#include "runtime/commandbutton.h"
#include "runtime/label.h"
#include "support/test_env.h"

#include <QApplication>
#include <QFontInfo>
#include <QPointer>
#include <QPixmap>
#include <QTest>

namespace gameend {

void duringModal(std::function<void()> step)
{
    // Not after a fixed time: on a busy machine the show may come later.
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    auto *look = new QTimer;
    look->setInterval(5);
    QObject::connect(look, &QTimer::timeout, [look, before, step = std::move(step)] {
        QWidget *now = QApplication::activeModalWidget();
        if (!now || now == before)
            return;
        look->stop();
        look->deleteLater();
        step();
    });
    look->start();
}

void answerMeldung(bool ja)
{
    frmMeldung &meldung = frmMeldung::Instance();
    ASSERT_TRUE(meldung.Visible());
    auto *button = meldung.Window()->findChild<CommandButton *>(ja ? QStringLiteral("cmdOK") : QStringLiteral("cmdAbbruch"));
    if (button)
        QTest::mouseClick(button, Qt::LeftButton);
    else
        meldung.setErgebnis(ja);
}

void expectFaces(Form &form, std::initializer_list<Face> faces)
{
    for (const Face &f : faces) {
        SCOPED_TRACE(f.label);
        auto &label = control<Label>(form, QLatin1String(f.label));
        EXPECT_EQ(label.font().bold(), f.bold);
        EXPECT_EQ(label.font().italic(), f.italic);
        EXPECT_EQ(label.font().pixelSize(), f.pixels);
        EXPECT_EQ(QFontInfo(label.font()).family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(label.ForeColor(), f.colour);
        EXPECT_EQ(label.BackStyle(), vbTransparent);
    }
}

QString grabToPng(Form &form, const QString &name)
{
    const QString path = testenv::buildDir() + QLatin1Char('/') + name + QStringLiteral(".png");
    EXPECT_TRUE(form.Window()->grab().save(path));
    return path;
}

void GameEnd::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    modDeklarationen::strScoreFile = folder.filePath(QStringLiteral("Score.hsc"));
    modDeklarationen::bytHelp = 0;
    for (int s = 1; s <= 3; ++s)
        fillList(s, {});
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "a dialog was still shown after 20 s";
        frmMeldung::Instance().Unload();
        frmScore::Instance().Unload();
        frmSieg::Instance().Unload();
    });
    watchdog.start(20000);
}

void GameEnd::TearDown()
{
    watchdog.stop();
    frmMeldung::Instance().Unload();
    frmScore::Instance().Unload();
    frmSieg::Instance().Unload();
}

void GameEnd::useFieldSize(Byte g)
{
    frmHaupt &haupt = frmHaupt::Instance();
    // The main window loads only with its tooltip component.
    ASSERT_TRUE(testenv::registerPellwick());
    haupt.Load();
    ASSERT_TRUE(haupt.Grid);
    haupt.Grid->setGroesse(g);
}

void GameEnd::fillList(int s, const QStringList &shots)
{
    for (int p = 1; p <= 10; ++p) {
        const bool filled = p <= shots.size();
        modDeklarationen::strScore(p, s, 1) = filled ? QStringLiteral("Spieler %1").arg(p) : QStringLiteral("unbekannt");
        modDeklarationen::strScore(p, s, 2) = filled ? shots[p - 1] : QStringLiteral("?");
    }
}

} // namespace gameend
