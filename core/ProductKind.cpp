#include "core/ProductKind.h"

namespace {
std::string Word(ProductKind kind) {
    switch (kind) {
        case ProductKind::Utility:
            return "utility";
        case ProductKind::Component:
            return "component";
        case ProductKind::Service:
            return "service";
        case ProductKind::Driver:
            return "driver";
    }
    return std::string();
}
}  // namespace

std::string DetectedText(ProductKind kind) {
    return "This " + Word(kind) + " has been detected.\n";
}

std::string RemovedText(ProductKind kind) {
    return "                 This " + Word(kind) + " has been removed.\n";
}

std::string NotRemovedText(ProductKind kind) {
    return "Warning:         This " + Word(kind) + " was not completely removed.\n";
}

std::string NotInstalledText(ProductKind kind) {
    return "This " + Word(kind) + " is not installed, so the Windows 2000 Oberin\n";
}
