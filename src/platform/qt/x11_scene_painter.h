#pragma once
// The X11 painter lives with the show's own X client; the Qt show still draws with it.
#include "platform/x11/x11_scene_painter.h"
