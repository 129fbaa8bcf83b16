// Starting KOLVEK.EXE: where it finds the game folder (the registry on the
// first start, kolvar.ini afterwards) and how it ends when it cannot.

#include "E2ESupport.h"
#include "win32/RestrictedRegistryKey.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

const wchar_t kFirstStartText[] =
    L"Der Installationspfad von Armada II konnte nicht aus der Windows-Registry ausgelesen "
    L"werden. Die Konsole läuft nur auf einem System mit lokal installiertem Armada II. Falls "
    L"Armada II doch auf diesem System installiert ist, kannst Du die INI-Datei im "
    L"Programmverzeichnis von KOLVEK.EXE manuell erstellen. Hinweise dazu finden sich in der "
    L"Readme-Datei.";

// Starts the program on an installation with the one map alpha.bzn and no
// kolvar.ini: the dialog shows without a message, listing the map, and
// kolvar.ini holds the game folder.
void ExpectFirstStartShowsTheDialog(const Installation& installation) {
    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    EXPECT_FALSE(program.HasMessageBox());
    EXPECT_EQ(installation.SettingsBytes(installation.GameFolder()),
              ReadFileBytes(installation.ProgramFile(L"kolvar.ini")));
    EXPECT_EQ(std::vector<std::wstring>{L"alpha.bzn"}, program.MapListEntries());
}

TEST(KolvekStartup, FirstStartTakesTheFolderFromTheRegistryAndWritesKolvarIni) {
    Installation installation;
    installation.AddMap(L"alpha.bzn");
    // Stored without the trailing backslash: the program adds it.
    const std::wstring stored =
        installation.GameFolder().substr(0, installation.GameFolder().size() - 1);
    InstallPathValue registry = InstallPathValue::Set(stored);

    ExpectFirstStartShowsTheDialog(installation);
}

TEST(KolvekStartup, FirstStartAsAStandardUserReadsTheKeyItMayNotWrite) {
    // HKEY_LOCAL_MACHINE\SOFTWARE as a standard user meets it: readable, not
    // writable. The program's manifest turns registry virtualization off.
    Installation installation;
    installation.AddMap(L"alpha.bzn");
    InstallPathValue registry = InstallPathValue::Set(installation.GameFolder());
    kolvek::wintest::RestrictedRegistryKey readOnly(HKEY_LOCAL_MACHINE, kGameKey, kGameKeyView,
                                                    kolvek::wintest::kEveryoneMayRead);
    HKEY key = nullptr;
    const LONG readWrite =
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, 0x3F | kGameKeyView, &key);
    if (readWrite == ERROR_SUCCESS)
        ::RegCloseKey(key);
    ASSERT_EQ(ERROR_ACCESS_DENIED, readWrite) << "the key is writable after all";

    ExpectFirstStartShowsTheDialog(installation);
}

TEST(KolvekStartup, LaterStartReadsOnlyKolvarIniAndIgnoresTheRegistry) {
    Installation installation;
    installation.AddMap(L"beta.bzn");
    installation.WriteSettingsForGameFolder();
    const std::string settings = ReadFileBytes(installation.ProgramFile(L"kolvar.ini"));
    InstallPathValue registry = InstallPathValue::Absent();

    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    EXPECT_FALSE(program.HasMessageBox());
    EXPECT_EQ(std::vector<std::wstring>{L"beta.bzn"}, program.MapListEntries());
    EXPECT_EQ(settings, ReadFileBytes(installation.ProgramFile(L"kolvar.ini")));
}

TEST(KolvekStartup, KolvarIniAsTodaysNotepadSavesItIsRead) {
    // Notepad's default since Windows 10 is UTF-8 without a byte-order mark;
    // its "UTF-16 LE" writes one.
    for (const bool utf16 : {false, true}) {
        SCOPED_TRACE(utf16 ? "UTF-16 LE" : "UTF-8");
        Installation installation(L"KOLVEK", L"Spiele\\\u00DCbungen");
        installation.AddMap(L"\u00DCbungskarte.bzn");
        const std::wstring text =
            L"[General]\r\nArmadaPath = " + installation.GameFolder() + L"\r\n";
        installation.WriteSettings(
            utf16 ? "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()),
                                             text.size() * sizeof(wchar_t))
                  : Encode(text, CP_UTF8));

        Program program(installation);
        ASSERT_NE(nullptr, program.WaitForDialog());
        EXPECT_FALSE(program.HasMessageBox());
        EXPECT_EQ(std::vector<std::wstring>{L"\u00DCbungskarte.bzn"}, program.MapListEntries());
    }
}

TEST(KolvekStartup, MissingRegistryValueShowsTwoMessagesInOrderAndEndsWithoutKolvarIni) {
    Installation installation;
    InstallPathValue registry = InstallPathValue::Absent();

    Program program(installation);
    MessageBoxView registryError = program.WaitForMessageBox();
    EXPECT_EQ(L"Fehler", registryError.title);
    EXPECT_EQ(L"Fehler beim Abfragen der Windows Registry. 2", registryError.text);
    EXPECT_EQ(BoxIcon::Critical, registryError.icon);
    EXPECT_TRUE(registryError.okButton);
    EXPECT_FALSE(registryError.cancelButton);
    program.Answer(registryError, IDOK);

    MessageBoxView firstStart = program.WaitForMessageBox();
    EXPECT_EQ(L"Erststart Initialisierungsfehler", firstStart.title);
    EXPECT_EQ(kFirstStartText, firstStart.text);
    EXPECT_EQ(BoxIcon::Exclamation, firstStart.icon);
    EXPECT_TRUE(firstStart.okButton);
    EXPECT_FALSE(firstStart.cancelButton);
    program.Answer(firstStart, IDOK);

    EXPECT_TRUE(program.WaitForExit());
    EXPECT_FALSE(IsFile(installation.ProgramFile(L"kolvar.ini")));
    EXPECT_FALSE(IsFile(installation.ProgramFile(L"RunA2.bat")));
}

TEST(KolvekStartup, MissingRegistryKeyReportsTheCodeOfTheFailedQueryAndEnds) {
    if (GameKeyExists())
        GTEST_SKIP() << "the game's registry key exists in this prefix";
    Installation installation;

    Program program(installation);
    MessageBoxView registryError = program.WaitForMessageBox();
    EXPECT_EQ(L"Fehler", registryError.title);
    // The value was queried on a key that could not be opened.
    EXPECT_EQ(L"Fehler beim Abfragen der Windows Registry. 6", registryError.text);
    program.Answer(registryError, IDOK);
    MessageBoxView firstStart = program.WaitForMessageBox();
    EXPECT_EQ(L"Erststart Initialisierungsfehler", firstStart.title);
    program.Answer(firstStart, IDOK);

    EXPECT_TRUE(program.WaitForExit());
    EXPECT_FALSE(IsFile(installation.ProgramFile(L"kolvar.ini")));
}

TEST(KolvekStartup, PathLineWithoutValueShowsTheBrokenFileMessageWithTheProgramFolderAndEnds) {
    Installation installation;
    installation.WriteSettings("[General]\r\nArmadaPath =   \r\n");

    Program program(installation);
    MessageBoxView broken = program.WaitForMessageBox();
    EXPECT_EQ(L"Fehler", broken.title);
    EXPECT_EQ(L"Die KOLVAR.INI-Datei im Pfad " + installation.ProgramFolder() +
                  L" ist fehlerhaft. Lösche die Datei und starte das Programm erneut.",
              broken.text);
    EXPECT_EQ(BoxIcon::Critical, broken.icon);
    EXPECT_FALSE(broken.cancelButton);
    EXPECT_FALSE(program.DialogShown());
    program.Answer(broken, IDOK);

    EXPECT_TRUE(program.WaitForExit());
    // The broken file is the user's to delete.
    EXPECT_EQ("[General]\r\nArmadaPath =   \r\n",
              ReadFileBytes(installation.ProgramFile(L"kolvar.ini")));
}

TEST(KolvekStartup, PathLineLongerThanTheLongestPathIsABrokenFileAndOneAsLongIsNoCrash) {
    Installation installation;
    // 32,767 characters, the longest path there is: a folder that cannot
    // exist, reported as any missing map folder is.
    installation.WriteSettings("ArmadaPath = C:\\" + std::string(32764, 'x') + "\r\n");
    {
        Program program(installation);
        MessageBoxView report = program.WaitForMessageBox();
        EXPECT_EQ(L"KOLVEK", report.title);
        EXPECT_EQ(0u, report.text.rfind(L"Laufzeitfehler ", 0))
            << ToUtf8(report.text.substr(0, 80));
        program.Answer(report, IDOK);
        EXPECT_TRUE(program.WaitForExit());
        EXPECT_EQ(0u, program.ExitCode());
    }
    // One more, and far more, count as a broken file.
    for (const std::size_t length : {std::size_t{32765}, std::size_t{1} << 20}) {
        installation.WriteSettings("ArmadaPath = C:\\" + std::string(length, 'x') + "\r\n");
        Program program(installation);
        MessageBoxView broken = program.WaitForMessageBox();
        EXPECT_EQ(L"Fehler", broken.title);
        EXPECT_NE(std::wstring::npos, broken.text.find(L" ist fehlerhaft."));
        program.Answer(broken, IDOK);
        EXPECT_TRUE(program.WaitForExit());
        EXPECT_EQ(0u, program.ExitCode());
    }
}

TEST(KolvekStartup, MissingMapFolderEndsTheProgramWithARuntimeErrorReport) {
    Installation installation;
    RemoveTree(installation.GameFile(L"bzn"));
    installation.WriteSettingsForGameFolder();

    Program program(installation);
    MessageBoxView report = program.WaitForMessageBox();
    EXPECT_EQ(L"KOLVEK", report.title);
    EXPECT_EQ(0u, report.text.rfind(L"Laufzeitfehler 76: ", 0)) << ToUtf8(report.text);
    EXPECT_EQ(BoxIcon::Critical, report.icon);
    program.Answer(report, IDOK);

    EXPECT_TRUE(program.WaitForExit());
}

} // namespace
} // namespace e2e
