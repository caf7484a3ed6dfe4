#pragma once
// The picture type image controls show: the engine's picture (decoded graphic or JPEG data).
#include "engine/picture.h"

namespace forms {
using Picture = engine::Picture;
}
