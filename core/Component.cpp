#include "core/Component.h"

bool Component::IsInstalled() {
    return true;
}

bool Component::FinalStage() {
    return true;
}

bool Component::MiddleStage() {
    return true;
}

bool Component::InitialStage() {
    return true;
}

bool Component::Remove() {
    if (!InitialStage()) return false;
    if (!MiddleStage()) return false;
    return FinalStage();
}

Component::~Component() = default;
