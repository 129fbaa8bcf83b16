#include "platform/RuntimeError.h"

namespace kolvek {

RuntimeError::RuntimeError(std::int32_t number)
    : RuntimeError(number, StandardDescription(number)) {}

RuntimeError::RuntimeError(std::int32_t number, std::string description)
    : number_(number), description_(std::move(description)) {}

std::string StandardDescription(std::int32_t number) {
    switch (number) {
    case err::InvalidArgument:
        return "Unzulässiger Prozeduraufruf oder ungültiges Argument";
    case err::Overflow:
        return "Überlauf";
    case err::OutOfMemory:
        return "Nicht genügend Speicher";
    case err::InternalError:
        return "Interner Fehler";
    case err::BadFileName:
        return "Dateiname oder -nummer falsch";
    case err::FileNotFound:
        return "Datei nicht gefunden";
    case err::DeviceIoError:
        return "Fehler beim Lesen/Schreiben auf dem Gerät";
    case err::DiskFull:
        return "Datenträger voll";
    case err::DeviceUnavailable:
        return "Gerät nicht verfügbar";
    case err::PermissionDenied:
        return "Zugriff verweigert";
    case err::DiskNotReady:
        return "Datenträger nicht bereit";
    case err::PathFileAccessError:
        return "Fehler beim Zugriff auf Pfad/Datei";
    case err::PathNotFound:
        return "Pfad nicht gefunden";
    default:
        return "Anwendungs- oder objektdefinierter Fehler (" + std::to_string(number) + ")";
    }
}

std::string NumberWithSignBlank(std::int32_t value) {
    if (value < 0)
        return std::to_string(value);
    return " " + std::to_string(value);
}

} // namespace kolvek
