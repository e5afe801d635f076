#pragma once

#include <cstdint>
#include <string>

#include "scene/module_state.h"
#include "scene/saver_screen.h"

namespace vortexa {

// One line of JSON describing the scene at virtual millisecond `ms`.
std::string sceneJson(int64_t ms, const SaverScreen& screen, const ModuleState& module);

} // namespace vortexa
