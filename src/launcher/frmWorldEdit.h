#pragma once
// The launcher dialog's behaviour: its six events, against the view of its
// controls. Handlers trap nothing; errors pass to the event boundary.

#include "config/ScriptCopies.h"
#include "launcher/FileListBox.h"
#include "platform/DialogView.h"
#include "platform/Platform.h"

#include <string>

namespace kolvek {

class frmWorldEdit {
public:
    frmWorldEdit(Platform& platform, DialogView& view);

    // Runs the start-up configuration; ends the program when it fails.
    void Form_Load();
    void optNew_Click();
    void optEdit_Click();
    void OKButton_Click();
    void Image1_DblClick();
    void CancelButton_Click();

private:
    void RefuseName(const std::string& message);
    void SelectWholeName();

    Platform& platform_;
    DialogView& view_;
    FileListBox bznList_;
    // The launches' script copies; those whose cmd.exe has ended go at the
    // next launch and when the dialog goes.
    ScriptCopies scriptCopies_;
    bool editExisting_ = false;
};

} // namespace kolvek
