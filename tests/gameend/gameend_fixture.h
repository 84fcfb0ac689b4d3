#pragma once
// What the tests of the game's end share: a top-ten file of their own, a
// main window with a field of the size a test asks for, the controls of a
// dialog by name, and steps that run while a dialog is shown modally.
#include "clsGrid.h"

#include "runtime/form.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <initializer_list>

namespace gameend {

constexpr COLORREF Schwarz = 0x00000000;
constexpr COLORREF Rot = 0x000000FF;

// A control of a loaded form's window, by its object name.
template <class T>
T &control(Form &form, const QString &name)
{
    EXPECT_TRUE(form.IsLoaded()) << name.toStdString();
    T *found = form.Window()->findChild<T *>(name);
    if (!found)
        throw std::runtime_error("no control " + name.toStdString());
    return *found;
}

// Each label's face, bold and italic, its size in pixels (points at 96
// dpi), its colour; every label of the two dialogs is transparent.
struct Face {
    const char *label;
    bool bold, italic;
    int pixels;
    COLORREF colour;
};
void expectFaces(Form &form, std::initializer_list<Face> faces);

// Runs step inside the event loop of the modal show that comes next, as
// soon as its window stands.
void duringModal(std::function<void()> step);

// Answers the open question of frmMeldung as a player would.
void answerMeldung(bool ja);

// How long a test waits for something the game does in its own time
// (QTest::qWaitFor): the wait ends when it comes, and a busy machine may be
// slow.
inline constexpr int Patience = 20000;

// Saves a grab of the form's window as <build>/<name>.png; the file's path.
QString grabToPng(Form &form, const QString &name);

class GameEnd : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window is loaded and its engine has a field of size class g.
    void useFieldSize(Byte g);
    // Size class s lists the given shots texts from place 1 on (name
    // "Spieler <place>"); the other places are empty.
    void fillList(int s, const QStringList &shots);

    QTemporaryDir folder;
    // Ends every dialog should a test leave one shown, so no test hangs.
    QTimer watchdog;
};

} // namespace gameend
