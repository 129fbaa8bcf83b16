#include "launcher/frmWorldEdit.h"

#include "config/LaunchDecision.h"
#include "config/ScriptNames.h"
#include "config/mdlKOLVEK.h"
#include "files/USysMdlFileDirHandle.h"
#include "launcher/MapName.h"
#include "platform/Utf8Text.h"

namespace kolvek {

using mdlKOLVEK::GameFolder;

namespace {
const char kProblemText[] =
    "Die vorliegende Installation von Armada kann nicht für den Edit-Modus benutzt werden.";
const char kBlankText[] = "Ich sagte doch: KEINE LEERSCHLÄGE IM DATEINAMEN!!!";
const char kForbiddenText[] =
    "Der Kartenname darf keines dieser Zeichen enthalten: \\ / : * ? \" < > |";
const char kDeviceText[] =
    "Diesen Namen reserviert Windows für ein Gerät. Wähle einen anderen Kartennamen.";
const char kConsoleText[] =
    "Der Kartenname enthält Zeichen, die die Konsole nicht darstellen kann; so lässt er sich "
    "nicht an Armada II übergeben. Wähle einen anderen Kartennamen.";
const char kUnreachableMapText[] =
    "Diese Karte lässt sich nicht an Armada II übergeben: Ihr Name enthält Zeichen, die die "
    "Konsole nicht darstellen kann, und das Laufwerk führt für sie keinen kurzen Namen (8.3). "
    "Benenne die Karte um.";
// "gelsöcht" is kept as the program has always spelt it.
const char kOverwriteText[] =
    "Es existiert bereits eine Karte mit diesem Namen. Sie wird gelsöcht, wenn Du weitermachst.";
const char kRefusalTitle[] = " :-(";
} // namespace

frmWorldEdit::frmWorldEdit(Platform& platform, DialogView& view)
    : platform_(platform), view_(view), bznList_(platform.files, platform.text, view, "*.bzn"),
      scriptCopies_(platform) {}

void frmWorldEdit::Form_Load() {
    if (!mdlKOLVEK::InitializeSettings(platform_))
        platform_.process.EndProgram();
    scriptCopies_.RemoveLeftovers();
    view_.SetText(Control::Armadapath,
                  platform_.text.UpperCase(USysMdlFileDirHandle::PathWithBackslash(GameFolder) +
                                           "armada2.exe"));
    editExisting_ = true;
    bznList_.Path(GameFolder + "bzn");
}

void frmWorldEdit::optNew_Click() {
    editExisting_ = false;
    view_.SetVisible(Control::bznList, false);
    view_.SetVisible(Control::newWorld, true);
    view_.SetVisible(Control::LabelnewWorld, true);
    SelectWholeName();
}

void frmWorldEdit::optEdit_Click() {
    editExisting_ = true;
    view_.SetVisible(Control::newWorld, false);
    view_.SetVisible(Control::LabelnewWorld, false);
    view_.SetVisible(Control::bznList, true);
    // Maps made since the dialog opened show up too.
    bznList_.Refresh();
}

void frmWorldEdit::OKButton_Click() {
    if (!mdlKOLVEK::PrepareEditMode(platform_)) {
        platform_.ui.ShowMessage(kProblemText, mb::Exclamation, "Problem");
        return;
    }
    std::string argument;
    if (editExisting_) {
        const std::string selected = bznList_.SelectedName();
        if (selected.empty()) {
            platform_.ui.Beep();
            return;
        }
        // The game gets the map's exact name, or its short name where the
        // script cannot carry the long one.
        const std::string name = MapNameForScript(platform_, bznList_.Path(), selected);
        if (name.empty()) {
            platform_.ui.Beep();
            platform_.ui.ShowMessage(kUnreachableMapText, mb::Exclamation, kRefusalTitle);
            return;
        }
        argument = "/edit " + name;
    } else {
        const std::string name = view_.Text(Control::newWorld);
        if (name.empty()) {
            platform_.ui.Beep();
            return;
        }
        if (name.find(' ') != std::string::npos) {
            RefuseName(kBlankText);
            return;
        }
        if (HasForbiddenCharacter(name)) {
            RefuseName(kForbiddenText);
            return;
        }
        if (IsReservedDeviceName(name)) {
            RefuseName(kDeviceText);
            return;
        }
        if (!ConsoleHolds(platform_.codec, name)) {
            RefuseName(kConsoleText);
            return;
        }
        if (!HasMapExtension(platform_.text, name))
            view_.SetText(Control::newWorld, name + ".bzn");
        argument = "/edit " + view_.Text(Control::newWorld);
    }

    // Decided before the old map is deleted: a launch that cannot happen
    // costs no map.
    const DecidedLaunch launch = DecideLaunch(platform_, GameFolder, argument);
    if (!editExisting_) {
        const std::string mapPath = bznList_.Path() + "\\" + view_.Text(Control::newWorld);
        if (USysMdlFileDirHandle::FileExists(platform_, mapPath, true)) {
            if (platform_.ui.ShowMessage(kOverwriteText, mb::OkCancel, "Karte zurücksetzen?") ==
                mb::ResultCancel) {
                SelectWholeName();
                return;
            }
            platform_.files.RemoveFile(bznList_.Path() + "\\" + view_.Text(Control::newWorld));
        }
    }
    launchArgument_ = argument;
    Launch(launch);
}

void frmWorldEdit::Image1_DblClick() {
    Launch(DecideLaunch(platform_, GameFolder, std::string()));
}

void frmWorldEdit::CancelButton_Click() {
    view_.Unload();
}

void frmWorldEdit::Launch(const DecidedLaunch& launch) {
    const std::string script = mdlKOLVEK::WriteLaunchScript(platform_, launch);
    scriptCopies_.Start(script, window_style::MinimizedFocus);
}

void frmWorldEdit::RefuseName(const std::string& message) {
    platform_.ui.Beep();
    platform_.ui.ShowMessage(message, mb::Exclamation, kRefusalTitle);
    SelectWholeName();
}

void frmWorldEdit::SelectWholeName() {
    view_.SetFocus(Control::newWorld);
    view_.SelectText(Control::newWorld, 0,
                     static_cast<int>(CharacterCount(view_.Text(Control::newWorld))));
}

} // namespace kolvek
