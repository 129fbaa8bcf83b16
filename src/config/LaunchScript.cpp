#include "config/LaunchScript.h"

#include "platform/PathText.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8Text.h"

namespace kolvek {

namespace {

std::string DoublePercent(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '%')
            out += '%';
        out += c;
    }
    return out;
}

std::string EscapeCommandCharacters(const std::string& text) {
    std::string out;
    for (char c : DoublePercent(text)) {
        if (c == '^' || c == '&' || c == '|' || c == '<' || c == '>')
            out += '^';
        out += c;
    }
    return out;
}

} // namespace

std::string ScriptDriveLine(const std::string& gameFolder) {
    // Not DriveOf: the line is the folder's first two characters, whatever
    // they are, and DriveOf answers nothing for a folder without a drive.
    return LeftCharacters(gameFolder, 2);
}

std::string ScriptFolderLine(const std::string& gameFolder) {
    const std::size_t length = CharacterCount(gameFolder);
    if (length == 0)
        throw RuntimeError(err::InvalidArgument);
    // The last character goes, whatever it is; a closing backslash goes as
    // paths drop it, which keeps a drive root's: "cd "E:"" would stay in the
    // started cmd.exe's working folder when that lies on E:.
    const std::string folder = HasClosingBackslash(gameFolder)
                                   ? WithoutClosingBackslash(gameFolder)
                                   : LeftCharacters(gameFolder, length - 1);
    return "cd \"" + DoublePercent(folder) + "\"";
}

std::string ScriptGameLine(const std::string& argument) {
    if (argument.empty())
        return "armada2 /nointro";
    return EscapeCommandCharacters("armada2 " + argument);
}

} // namespace kolvek
