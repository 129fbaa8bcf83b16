#include "config/ScriptNames.h"

#include "config/PathLimits.h"
#include "files/FileNames.h"
#include "platform/PathText.h"
#include "platform/Utf8Text.h"

namespace kolvek {

namespace {

const char kNotFullPathText[] =
    "Das Spielverzeichnis ist kein vollständiger Pfad mit Laufwerksbuchstaben und "
    "abschließendem \\ (wie C:\\Spiele\\Armada II\\). Trage es so in kolvar.ini ein.";
const char kBadCharacterText[] =
    "Der Pfad des Spielverzeichnisses enthält ein Zeichen, das in Ordnernamen nicht stehen darf "
    "(ein Steuerzeichen oder eines von / : * ? \" < > |), oder einen Ordnernamen, der auf einen "
    "Punkt oder ein Leerzeichen endet.";

[[noreturn]] void Refuse(const std::string& reason) {
    throw LaunchRefusal(err::InvalidArgument, reason);
}

// Each folder name must be one that Windows allows: cd would take * and ? as
// wildcards, a quote or a line end as the end of its argument. And cd drops
// blanks and dots at the end of a name: "Armada " would enter "Armada",
// another folder ("." and ".." are steps, not names). `folder` starts with
// a drive root.
bool HasNameCdCannotEnter(const std::string& folder) {
    for (const std::string& name : PathParts(BelowDriveRoot(folder))) {
        if (HasForbiddenCharacter(name))
            return true;
        if (!name.empty() && name != "." && name != ".." &&
            (name.back() == ' ' || name.back() == '.'))
            return true;
    }
    return false;
}

void CheckLength(const std::string& folder) {
    const std::size_t length = Utf16Length(folder);
    if (length > kLongestGameFolder)
        Refuse("Der Pfad des Spielverzeichnisses ist " + std::to_string(length) +
               " Zeichen lang; für den Start des Spiels dürfen es höchstens " +
               std::to_string(kLongestGameFolder) + " sein.");
}

void CheckExists(Platform& platform, const std::string& folder) {
    if (!platform.files.FolderExists(folder))
        throw LaunchRefusal(err::PathNotFound,
                            "Das Spielverzeichnis " + folder + " gibt es nicht.");
}

} // namespace

RuntimeError LaunchRefusal(std::int32_t number, const std::string& reason) {
    return RuntimeError(number, reason + " Das Spiel wird nicht gestartet.");
}

bool ConsoleHolds(const TextCodec& codec, const std::string& text) {
    return codec.ToUtf8(codec.FromUtf8(text, CodePage::Oem), CodePage::Oem) == text;
}

std::string EnterableGameFolder(Platform& platform, const std::string& gameFolder) {
    if (!StartsWithDriveRoot(gameFolder) || !HasClosingBackslash(gameFolder))
        Refuse(kNotFullPathText);
    const std::string folder = WithoutClosingBackslash(gameFolder);
    if (HasNameCdCannotEnter(folder))
        Refuse(kBadCharacterText);

    if (ConsoleHolds(platform.codec, folder)) {
        CheckLength(folder);
        CheckExists(platform, folder);
        return gameFolder;
    }
    CheckExists(platform, folder);
    const std::string shortFolder = platform.files.ShortPath(folder);
    if (!ConsoleHolds(platform.codec, shortFolder))
        Refuse("Der Pfad des Spielverzeichnisses " + folder +
               " enthält Zeichen, die die Konsole nicht darstellen kann, und das Laufwerk führt "
               "für ihn keinen kurzen Namen (8.3).");
    CheckLength(shortFolder);
    return WithClosingBackslash(shortFolder);
}

std::string MapNameForScript(Platform& platform, const std::string& folder,
                             const std::string& name) {
    if (ConsoleHolds(platform.codec, name))
        return name;
    const std::string shortName = NameOf(platform.files.ShortPath(JoinPath(folder, name)));
    return ConsoleHolds(platform.codec, shortName) ? shortName : std::string();
}

} // namespace kolvek
