#include "launcher/frmWorldEdit.h"

#include "config/LaunchDecision.h"
#include "config/mdlKOLVEK.h"
#include "files/USysMdlFileDirHandle.h"
#include "launcher/MapName.h"
#include "platform/PathText.h"
#include "platform/Utf8Text.h"

namespace kolvek {

using mdlKOLVEK::GameFolder;

namespace {
const char kProblemText[] =
    "Die vorliegende Installation von Armada kann nicht für den Edit-Modus benutzt werden.";
const char kBlankText[] = "Ich sagte doch: KEINE LEERSCHLÄGE IM DATEINAMEN!!!";
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
    std::string name;
    std::string typed;
    if (editExisting_) {
        name = bznList_.SelectedName();
        if (name.empty()) {
            platform_.ui.Beep();
            return;
        }
    } else {
        typed = view_.Text(Control::newWorld);
        if (typed.empty()) {
            platform_.ui.Beep();
            return;
        }
        if (typed.find(' ') != std::string::npos) {
            RefuseName(kBlankText);
            return;
        }
        name = HasMapExtension(platform_.text, typed) ? typed : typed + ".bzn";
    }

    // Everything that can refuse the launch, before anything is deleted or
    // written for it: a launch that cannot happen costs no map.
    const LaunchDecision launch =
        DecideEditorStart(platform_, GameFolder, bznList_.Path(), name,
                          editExisting_ ? MapKind::Existing : MapKind::New);
    if (launch.Refused()) {
        if (editExisting_) {
            platform_.ui.Beep();
            platform_.ui.ShowMessage(launch.nameRefusal, mb::Exclamation, kRefusalTitle);
        } else {
            RefuseName(launch.nameRefusal);
        }
        return;
    }
    std::string replacedMap;
    if (!editExisting_) {
        if (name != typed)
            view_.SetText(Control::newWorld, name);
        const std::string mapPath = JoinPath(bznList_.Path(), view_.Text(Control::newWorld));
        if (USysMdlFileDirHandle::FileExists(platform_, mapPath, true)) {
            if (platform_.ui.ShowMessage(kOverwriteText, mb::OkCancel, "Karte zurücksetzen?") ==
                mb::ResultCancel) {
                SelectWholeName();
                return;
            }
            replacedMap = mapPath;
        }
    }
    // The map the user agreed to replace goes only with a launch that
    // happens: the script and its copy are written and cmd.exe is started
    // held before its first line; then the map goes to the Recycle Bin, and
    // only then does cmd.exe run on towards the game line. A fault on the
    // way, the shell's refusal included, starts nothing and leaves the map
    // as it was (but where a virtualized map hid one of the same name: see
    // Shell::RecycleFile). Should letting cmd.exe run fail after that, the
    // map is in the Recycle Bin, not lost; on a drive that keeps no Recycle
    // Bin the shell has deleted it outright, which is what the user agreed to.
    HeldStart start = scriptCopies_.Start(mdlKOLVEK::WriteLaunchScript(platform_, launch),
                                          window_style::MinimizedFocus);
    if (!replacedMap.empty())
        platform_.shell.RecycleFile(replacedMap);
    start.Run();
}

void frmWorldEdit::Image1_DblClick() {
    const LaunchDecision launch = DecideNormalStart(platform_, GameFolder);
    scriptCopies_
        .Start(mdlKOLVEK::WriteLaunchScript(platform_, launch), window_style::MinimizedFocus)
        .Run();
}

void frmWorldEdit::CancelButton_Click() {
    view_.Unload();
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
