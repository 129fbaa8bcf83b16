// The text helpers and the new-map name checks, then the whole OK button in
// new-map mode with the fuzzed name typed into the name box. A name that gets
// through to a launch never holds a character a file name cannot hold, and
// the script's game line never hands cmd.exe an unescaped & | < > or ^.

#include "FuzzChecks.h"

#include "config/ScriptNames.h"
#include "config/mdlKOLVEK.h"
#include "fake/FakeDialogView.h"
#include "fake/FakePlatform.h"
#include "files/FileNames.h"
#include "files/USysMdlFileDirHandle.h"
#include "launcher/EventBoundary.h"
#include "launcher/MapName.h"
#include "launcher/frmWorldEdit.h"
#include "platform/Utf8Text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace kolvek;
using fake::AsciiUpperCase;
using USysMdlFileDirHandle::PathWithBackslash;

const char kGame[] = "C:\\Spiele\\Armada2\\";
const char kMaps[] = "C:\\Spiele\\Armada2\\bzn";
const char kScript[] = "C:\\KOLVEK\\RunA2.bat";

bool IsFileNameCharacter(unsigned char c) {
    return c >= 32 && std::string("\\/:*?\"<>|").find(static_cast<char>(c)) == std::string::npos;
}

void CheckHelpers(const std::string& text) {
    const std::string withSlash = PathWithBackslash(text);
    const bool passThrough = text == "Access" || text == "Work" || text == "Auto";
    FUZZ_CHECK(withSlash.compare(0, text.size(), text) == 0, "PathWithBackslash lost the path");
    FUZZ_CHECK(passThrough || withSlash.back() == '\\', withSlash);
    FUZZ_CHECK(withSlash.size() - text.size() ==
                   (passThrough || (!text.empty() && text.back() == '\\') ? 0u : 1u),
               withSlash);
    FUZZ_CHECK(PathWithBackslash(withSlash) == withSlash, "PathWithBackslash is not idempotent");

    const std::string value = mdlKOLVEK::IniValue(text);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        FUZZ_CHECK(value.empty(), value);
    } else {
        // A suffix of what follows the first "=", with no blank in front.
        FUZZ_CHECK(value.size() <= text.size() - equals - 1 &&
                       text.compare(text.size() - value.size(), value.size(), value) == 0,
                   value);
        FUZZ_CHECK(value.empty() || value[0] != ' ', value);
        FUZZ_CHECK(text.find_first_not_of(' ', equals + 1) == std::string::npos || !value.empty(),
                   "a value with more than blanks came back empty");
    }

    bool anyBad = false;
    for (unsigned char c : text)
        anyBad = anyBad || !IsFileNameCharacter(c);
    FUZZ_CHECK(HasForbiddenCharacter(text) == anyBad, text);
    // Character counts mean something only for well-formed text, which is
    // all that the name box can hold.
    if (fuzz::WellFormedUtf8(text) != text)
        return;
    const fake::FakeTextRules rules;
    FUZZ_CHECK(IsReservedDeviceName(text) == IsReservedDeviceName(AsciiUpperCase(text)),
               "device names depend on letter case");
    FUZZ_CHECK(HasMapExtension(rules, text + ".bzn") && HasMapExtension(rules, text + ".BzN"),
               text);
    FUZZ_CHECK(HasMapExtension(rules, text) == (AsciiUpperCase(RightCharacters(text, 4)) == ".BZN"),
               text);
}

// Types `name` into the name box and presses OK in new-map mode, with a map
// of the same name on disk or not, and OK or Cancel on the overwrite question.
void CheckNewMap(const std::string& name, bool mapExists, bool confirm) {
    mdlKOLVEK::GameFolder.clear();
    fake::FakePlatform fp;
    fake::FakeDialogView view;
    fp.files.AddFile("C:\\KOLVEK\\kolvar.ini", std::string("ArmadaPath = ") + kGame + "\r\n");
    fp.files.AddFolder(kMaps);
    fp.files.AddFile(std::string(kGame) + "armada2.exe");
    const std::string withExtension = HasMapExtension(fp.text, name) ? name : name + ".bzn";
    const bool plainName = !HasForbiddenCharacter(name) && name.find(' ') == std::string::npos;
    if (mapExists && plainName && !name.empty())
        fp.files.AddFile(std::string(kMaps) + "\\" + withExtension, "alt");
    if (!confirm)
        fp.ui.answers.push_back(mb::ResultCancel);

    frmWorldEdit form(fp.platform, view);
    form.Form_Load();
    form.optNew_Click();
    view.SetText(Control::newWorld, name);
    try {
        RunEventHandler(fp.platform, [&] { form.OKButton_Click(); });
    } catch (const fake::ProgramEnded&) {
        FUZZ_CHECK(false, "OK in new-map mode ended the program: " + fp.ui.boxes.back().prompt);
    }

    if (fp.process.started.empty()) {
        FUZZ_CHECK(!fp.files.Exists(kScript), "a script was written but not started");
        return;
    }
    const std::string typed = view.Text(Control::newWorld);
    FUZZ_CHECK(fp.process.started.size() == 1 &&
                   fp.process.started[0].commandLine ==
                       "cmd.exe /d /e:on /v:off /c .\\RunA2-00000001.bat",
               "unexpected start");
    FUZZ_CHECK(fp.files.Bytes(fp.process.temporaryFolder + "\\KOLVEK\\RunA2-00000001.bat") ==
                   fp.files.Bytes(kScript),
               "the started copy differs from RunA2.bat");
    FUZZ_CHECK(!name.empty() && name.find(' ') == std::string::npos, "a blank name launched");
    FUZZ_CHECK(!HasForbiddenCharacter(typed) && !IsReservedDeviceName(typed), typed);
    FUZZ_CHECK(ConsoleHolds(fp.codec, typed), "the console cannot hold " + typed);
    for (unsigned char c : typed)
        FUZZ_CHECK(IsFileNameCharacter(c), typed);
    FUZZ_CHECK(typed == withExtension && HasMapExtension(fp.text, typed), typed);

    std::vector<std::string> lines;
    const std::string& bytes = fp.files.Bytes(kScript);
    FUZZ_CHECK(fuzz::SplitWrittenLines(bytes, lines) && lines.size() == 5, bytes);
    FUZZ_CHECK(lines[2].rfind("armada2 /edit ", 0) == 0, lines[2]);
    FUZZ_CHECK(!fuzz::HasUnescapedCommandCharacter(lines[2]), lines[2]);
    FUZZ_CHECK(!fuzz::HasLonePercent(lines[2]), lines[2]);
    // The name reached the game line whole: nothing was cut off.
    FUZZ_CHECK(lines[2].size() >= std::string("armada2 /edit ").size() + CharacterCount(typed),
               lines[2]);
    if (mapExists && plainName)
        FUZZ_CHECK(!fp.files.Exists(std::string(kMaps) + "\\" + withExtension),
                   "launched without deleting the old map");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string raw(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckHelpers(raw);
    // What the name box can hold: well-formed text, as the control gives it.
    const std::string name = fuzz::WellFormedUtf8(raw);
    CheckHelpers(name);
    CheckNewMap(name, (data[0] & 1) != 0, (data[0] & 2) == 0);
    mdlKOLVEK::GameFolder.clear();
    return 0;
}
