#include "files/USysMdlFileDirHandle.h"

#include "platform/PathText.h"
#include "platform/Utf8Text.h"

namespace kolvek::USysMdlFileDirHandle {

bool FileExists(Platform& platform, const std::string& path, bool quiet) {
    try {
        const std::string found = platform.files.FirstMatchingFile(path);
        if (found.empty())
            return false;
        // Only a file reported under the very name that ends the path counts:
        // a pattern, or a short name standing for a long one, does not.
        return platform.text.SameIgnoringCase(found, RightCharacters(path, CharacterCount(found)));
    } catch (const RuntimeError& error) {
        if (!quiet) {
            platform.ui.SetDefaultPointer();
            platform.ui.ShowMessage("Fehler " + std::to_string(error.Number()) +
                                        " beim Test auf Datei " + path + ". " + error.Description(),
                                    mb::Critical, "Varno SubSystem Error");
        }
        return false;
    }
}

std::string PathWithBackslash(const std::string& path) {
    // The three names pass unchanged because callers have always relied on
    // that; nothing in this program gives them a meaning.
    if (path == "Access" || path == "Work" || path == "Auto")
        return path;
    return WithClosingBackslash(path);
}

} // namespace kolvek::USysMdlFileDirHandle
