#pragma once
// The controls the program's windows are made of, every kind. Each is a thin owner of one
// standard window (or none, for labels and frames) with the events the program handles.
#include "forms/buttons.h"
#include "forms/edits.h"
#include "forms/image.h"
#include "forms/labels.h"
#include "forms/lists.h"
#include "forms/panels.h"
