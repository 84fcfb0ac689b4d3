// The per-user registry file and the runtime's settings on it.
#include "registry/registry.h"
#include "registry/settings.h"
#include "runtime/error.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using registry::Key;

namespace {

// Each test gets a registry of its own.
class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_saved); }
    QString file() const { return m_dir.path() + "/murvel/registry.reg"; }
    QByteArray fileBytes() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QByteArray &bytes) const
    {
        QDir().mkpath(m_dir.path() + "/murvel");
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Puts the file back as a new file, so this process reads it afresh
    // instead of trusting what it wrote.
    void rereadFromFile() const
    {
        const QByteArray bytes = fileBytes();
        QFile f(file() + ".new");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        ASSERT_EQ(::rename(QFile::encodeName(f.fileName()).constData(), QFile::encodeName(file()).constData()), 0);
    }
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

// A registry file that exists and cannot be read stays as it is.
class RegistryDeathTest : public Registry {};

} // namespace

TEST_F(Registry, KeysAndValuesRoundTripThroughTheFile)
{
    EXPECT_EQ(registry::storePath(), file());
    const Key k = Key::currentUser("Software\\Murvel Test\\Options");
    EXPECT_FALSE(k.exists());
    EXPECT_FALSE(k.value("Sound").has_value());

    ASSERT_TRUE(k.setValue("Sound", "1"));
    ASSERT_TRUE(k.setValue(QString(), "default text"));
    ASSERT_TRUE(k.setValue("Odd \"name\"\\", "line 1\r\nline 2 \"quoted\" \\ Größe"));
    EXPECT_TRUE(k.exists());
    EXPECT_TRUE(Key::currentUser("Software").exists());
    EXPECT_EQ(k.value("Sound"), "1");
    EXPECT_EQ(k.value(), "default text");
    EXPECT_EQ(k.value("Odd \"name\"\\"), "line 1\r\nline 2 \"quoted\" \\ Größe");
    EXPECT_TRUE(fileBytes().contains("[HKEY_CURRENT_USER\\Software\\Murvel Test\\Options]"));

    // Names compare without case but keep the case they were given.
    EXPECT_EQ(Key::currentUser("SOFTWARE\\murvel test\\OPTIONS").value("sound"), "1");
    EXPECT_EQ(Key::currentUser("Software").subKeyNames(), QStringList{"Murvel Test"});
    EXPECT_TRUE(k.valueNames().contains("Sound"));

    // A value set again replaces the old one.
    ASSERT_TRUE(k.setValue("SOUND", "0"));
    EXPECT_EQ(k.value("Sound"), "0");

    ASSERT_TRUE(k.removeValue("Sound"));
    EXPECT_FALSE(k.value("Sound").has_value());
    EXPECT_FALSE(k.removeValue("Sound"));

    // Empty keys exist too; removing a key takes everything beneath it.
    ASSERT_TRUE(Key::currentUser("Software\\Murvel Test\\Empty").create());
    EXPECT_TRUE(Key::currentUser("Software\\Murvel Test\\Empty").exists());
    ASSERT_TRUE(Key::currentUser("Software\\Murvel Test").remove());
    EXPECT_FALSE(k.exists());
    EXPECT_FALSE(Key::currentUser("Software\\Murvel Test").remove());
    EXPECT_TRUE(Key::currentUser("Software").exists());
}

TEST_F(Registry, ClassesRootIsSoftwareClassesOfTheUser)
{
    ASSERT_TRUE(Key::classesRoot("CLSID\\{1}").setValue(QString(), "x"));
    EXPECT_EQ(Key::currentUser("Software\\Classes\\CLSID\\{1}").value(), "x");
    EXPECT_EQ(Key::classesRoot("CLSID\\{1}").fullPath(), "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{1}");
}

TEST_F(Registry, RefusesUnusableNames)
{
    EXPECT_FALSE(Key::currentUser("Software\\\\Gap").setValue("a", "b"));
    EXPECT_FALSE(Key::currentUser("Software\\Line\nBreak").create());
    EXPECT_FALSE(Key::currentUser().remove());
    // UTF-8 cannot carry a lone surrogate, so it would not read back.
    const QString lone(QChar(0xD800));
    EXPECT_FALSE(Key::currentUser("Software").setValue(lone, "b"));
    EXPECT_FALSE(Key::currentUser("Software").setValue("a", "x" + lone));
    EXPECT_FALSE(Key::currentUser("Software\\" + lone).create());
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(Registry, EveryValueWrittenReadsBackFromTheFileAsItWas)
{
    const QString bom(QChar(0xFEFF));
    ASSERT_TRUE(Key::currentUser().setValue("Wurzel", "am Stamm"));
    ASSERT_TRUE(Key::currentUser().setValue(QString(), "Standard der Wurzel"));
    ASSERT_TRUE(Key::currentUser("Software\\" + bom + "Ast").setValue(bom + "Name", bom + "Text"));
    ASSERT_TRUE(Key::currentUser("Software").setValue("leer", QString()));
    ASSERT_TRUE(Key::currentUser("Software\\Other").setValue("next", "write")); // the write after them

    rereadFromFile();
    EXPECT_EQ(Key::currentUser().value("Wurzel"), "am Stamm");
    EXPECT_EQ(Key::currentUser().value(), "Standard der Wurzel");
    EXPECT_EQ(Key::currentUser("Software\\" + bom + "Ast").value(bom + "Name"), bom + "Text");
    EXPECT_EQ(Key::currentUser("Software\\" + bom + "Ast").valueNames(), QStringList{bom + "Name"});
    EXPECT_EQ(Key::currentUser("Software").subKeyNames(), QStringList({"Other", bom + "Ast"}));
    EXPECT_EQ(Key::currentUser("Software").value("leer"), QString());
    EXPECT_TRUE(fileBytes().startsWith("MURVEL-REGISTRY 1\n\n[HKEY_CURRENT_USER]\n@=\"Standard der Wurzel\"\n"
                                       "\"Wurzel\"=\"am Stamm\"\n\n"));

    ASSERT_TRUE(Key::currentUser().removeValue("Wurzel"));
    ASSERT_TRUE(Key::currentUser().removeValue(QString()));
    EXPECT_FALSE(fileBytes().contains("[HKEY_CURRENT_USER]")) << "a root without values writes no section";
}

TEST_F(Registry, AFileThatIsThereButCannotBeReadIsNeverReplaced)
{
    QDir().mkpath(m_dir.path() + "/murvel");
    // A link to itself: opening it fails, for root too.
    ASSERT_EQ(::symlink("registry.reg", QFile::encodeName(file()).constData()), 0);
    EXPECT_FALSE(Key::currentUser("Software\\A").setValue("v", "1"));
    EXPECT_FALSE(Key::currentUser("Software\\A").create());
    EXPECT_FALSE(Key::currentUser("Software\\A").exists());
    EXPECT_EQ(QFileInfo(file()).symLinkTarget(), file()) << "the link is still there";
    QFile::remove(file());

    // A folder in the file's place.
    QDir().mkpath(file() + "/inside");
    EXPECT_FALSE(Key::currentUser("Software\\A").setValue("v", "1"));
    EXPECT_TRUE(QFileInfo(file() + "/inside").isDir());
}

// In the child process: tries to write and says whether it was written.
void writeAndReport()
{
    std::fprintf(stderr, "written=%d\n", Key::currentUser("Software\\A").setValue("v", "1"));
    std::exit(0);
}

TEST_F(RegistryDeathTest, AFileThePlayerMayNotReadIsNeverReplaced)
{
    const QByteArray before = "MURVEL-REGISTRY 1\n\n[HKEY_CURRENT_USER\\Software\\Old]\n\"a\"=\"1\"\n";
    writeFile(before);
    testenv::openToOthers(m_dir.path());
    QFile::setPermissions(m_dir.path() + "/murvel", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                      | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    QFile::setPermissions(file(), QFileDevice::WriteOwner | QFileDevice::WriteOther);
    // Permissions bind root too here: the write runs as an ordinary user.
    EXPECT_EXIT((testenv::withoutRootRights(), writeAndReport()), testing::ExitedWithCode(0),
                "cannot read .*registry.reg: Permission denied; nothing was written\n.*written=0");
    QFile::setPermissions(file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(fileBytes(), before);
}

// A pipe, a device or a file larger than any real registry is not read
// (without waiting for a writer) and never replaced.
TEST_F(Registry, APipeADeviceOrAHugeFileIsNotReadAndNeverReplaced)
{
    QDir().mkpath(m_dir.path() + "/murvel");
    ASSERT_EQ(::mkfifo(QFile::encodeName(file()).constData(), 0600), 0);
    EXPECT_EQ(registry::unreadableReason(), "it is not a plain file");
    EXPECT_FALSE(Key::currentUser("Software\\A").setValue("v", "1"));
    EXPECT_FALSE(Key::currentUser("Software\\A").exists());
    EXPECT_TRUE(QFileInfo(file()).exists() && !QFileInfo(file()).isFile());
    QFile::remove(file());

    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(file()).constData()), 0);
    EXPECT_EQ(registry::unreadableReason(), "it is not a plain file");
    EXPECT_FALSE(Key::currentUser("Software\\A").setValue("v", "1"));
    EXPECT_EQ(QFileInfo(file()).symLinkTarget(), "/dev/zero");
    QFile::remove(file());

    QByteArray huge = "MURVEL-REGISTRY 1\n\n[HKEY_CURRENT_USER\\Software\\Old]\n\"a\"=\"1\"\n";
    huge += QByteArray(5 * 1024 * 1024, '\n');
    writeFile(huge);
    EXPECT_EQ(registry::unreadableReason(), "it is larger than 4194304 bytes");
    EXPECT_FALSE(Key::currentUser("Software\\Old").exists());
    EXPECT_FALSE(Key::currentUser("Software\\A").setValue("v", "1"));
    EXPECT_EQ(fileBytes(), huge);

    writeFile("MURVEL-REGISTRY 1\n");
    EXPECT_EQ(registry::unreadableReason(), QString());
}

// The message names what really failed, not another program's lock.
TEST_F(Registry, AFailedWriteSaysWhatReallyFailed)
{
    QDir().mkpath(file() + ".lock"); // the lock file cannot be made
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Key::currentUser("Software\\A").setValue("v", "1"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot create the lock file"), std::string::npos) << said;
    EXPECT_NE(said.find("Is a directory; nothing was written"), std::string::npos) << said;
    EXPECT_EQ(said.find("locked by another program"), std::string::npos) << said;
}

TEST_F(RegistryDeathTest, AReadOnlyFolderIsNamedAsTheCause)
{
    ASSERT_TRUE(Key::currentUser("Software\\Old").setValue("a", "1"));
    QFile::remove(file() + ".lock");
    testenv::openToOthers(m_dir.path());
    QFile::setPermissions(file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    QFile::setPermissions(m_dir.path() + "/murvel", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                      | QFileDevice::ReadOther | QFileDevice::ExeOther);
    // Permissions bind root too here: the write runs as an ordinary user.
    EXPECT_EXIT((testenv::withoutRootRights(), writeAndReport()), testing::ExitedWithCode(0),
                "cannot create the lock file .*registry.reg.lock: Permission denied; nothing was written\n.*written=0");
    QFile::setPermissions(m_dir.path() + "/murvel", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(Registry, EachConfigFolderHoldsItsOwnRegistry)
{
    ASSERT_TRUE(Key::currentUser("Software\\A").setValue("v", "first"));
    QTemporaryDir other;
    qputenv("XDG_CONFIG_HOME", other.path().toLocal8Bit());
    EXPECT_FALSE(Key::currentUser("Software\\A").exists());
    ASSERT_TRUE(Key::currentUser("Software\\A").setValue("v", "second"));
    EXPECT_TRUE(QFile::exists(other.path() + "/murvel/registry.reg"));
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    EXPECT_EQ(Key::currentUser("Software\\A").value("v"), "first");
}

TEST_F(Registry, SeesWhatAnotherProcessWrote)
{
    ASSERT_TRUE(Key::currentUser("Software\\Mine").setValue("a", "1"));
    // Another writer replaces the file behind this process's back.
    writeFile("MURVEL-REGISTRY 1\n\n[HKEY_CURRENT_USER\\Software\\Theirs]\n\"b\"=\"2\"\n");
    EXPECT_EQ(Key::currentUser("Software\\Theirs").value("b"), "2");
    EXPECT_FALSE(Key::currentUser("Software\\Mine").exists());
    // A change is made to the file as it is now, not to a stale copy.
    ASSERT_TRUE(Key::currentUser("Software\\Mine").setValue("a", "3"));
    EXPECT_EQ(Key::currentUser("Software\\Theirs").value("b"), "2");
}

TEST_F(Registry, ADamagedLineCostsOnlyItselfAndTheFileIsKeptBeforeItIsReplaced)
{
    const QByteArray damaged = "MURVEL-REGISTRY 1\n\n[HKEY_CURRENT_USER\\Software\\Old]\n\"a\"=\"1\"\ngarbage line\n"
                               "\"b\"=\"2\"\n[HKEY_CURRENT_USER\\Software\\Later]\n@=\"3\"\n";
    writeFile(damaged);
    EXPECT_EQ(Key::currentUser("Software\\Old").value("a"), "1");
    EXPECT_EQ(Key::currentUser("Software\\Old").value("b"), "2");
    EXPECT_EQ(Key::currentUser("Software\\Later").value(), "3");
    EXPECT_EQ(GetSetting("murvel", "Options", "Sound", "1"), "1");
    EXPECT_EQ(fileBytes(), damaged); // reading changes nothing

    ASSERT_TRUE(Key::currentUser("Software\\New").setValue("b", "2"));
    EXPECT_EQ(Key::currentUser("Software\\New").value("b"), "2");
    EXPECT_EQ(Key::currentUser("Software\\Old").value("a"), "1");
    EXPECT_EQ(Key::currentUser("Software\\Later").value(), "3");
    EXPECT_FALSE(fileBytes().contains("garbage"));
    const QStringList kept = QDir(m_dir.path() + "/murvel").entryList({"registry.reg.damaged-*"});
    ASSERT_EQ(kept.size(), 1);
    QFile backup(m_dir.path() + "/murvel/" + kept[0]);
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), damaged);

    // Every other kind of damage costs only its own lines (a key's line
    // takes its values with it), and never crashes a reader.
    const QByteArray good = "[HKEY_CURRENT_USER\\Good]\n\"v\"=\"ok\"\n";
    for (const QByteArray &bad : {QByteArray("not a registry\n"), QByteArray("MURVEL-REGISTRY 1\n\"a\"=\"1\"\n"),
                                  QByteArray("MURVEL-REGISTRY 1\n[HKEY_CURRENT_USER\\X]\n\"a\"=\"unterminated\n"),
                                  QByteArray("MURVEL-REGISTRY 1\n[HKEY_CURRENT_USER\\X]\n\"a\"=\"\xff\xfe\"\n"),
                                  QByteArray("MURVEL-REGISTRY 1\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=\"1\"\n"),
                                  QByteArray("MURVEL-REGISTRY 1\n[HKEY_CURRENT_USER\\X\n\"a\"=\"1\"\n"),
                                  QByteArray("\0\0\0\0\n", 5)}) {
        writeFile(bad + good);
        EXPECT_EQ(Key::currentUser("X").value("a"), std::nullopt) << bad.constData();
        EXPECT_TRUE(Key::currentUser().subKeyNames().contains("Good")) << bad.constData();
        EXPECT_EQ(Key::currentUser("Good").value("v"), "ok") << bad.constData();
    }
}

TEST_F(Registry, SettingsLiveUnderTheProgramSettingsKey)
{
    EXPECT_EQ(GetSetting("murvel", "Options", "StdSize", "2"), "2");
    EXPECT_EQ(GetSetting("murvel", "Options", "StdSize"), QString());
    SaveSetting("murvel", "Options", "Sound", "0");
    SaveSetting("murvel", "Options", "StdSize", "3");
    EXPECT_EQ(GetSetting("murvel", "Options", "Sound", "1"), "0");
    EXPECT_EQ(GetSetting("MURVEL", "options", "stdsize", "2"), "3");
    EXPECT_EQ(Key::currentUser("Software\\VB and VBA Program Settings\\murvel\\Options").value("Sound"), "0");
    EXPECT_EQ(GetSetting("other", "Options", "Sound", "1"), "1");

    try {
        SaveSetting("murvel", "", "Sound", "1");
        FAIL() << "an empty section was accepted";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.Number(), 5);
    }
}

TEST_F(Registry, TwoWritingProcessesLoseNothing)
{
    // Two writer processes write 40 values each into this registry at once.
    QList<QProcess *> writers;
    for (const char *name : {"one", "two"}) {
        auto *p = new QProcess;
        p->start(testenv::buildDir() + "/tests/registry_writer", {m_dir.path(), name, "40"});
        writers.append(p);
    }
    for (QProcess *p : writers) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
        delete p;
    }
    for (const char *name : {"one", "two"})
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(Key::currentUser(QString("Software\\Writers\\%1").arg(name)).value(QString::number(i)),
                      QString::number(i * i))
                << name << " " << i;
}
