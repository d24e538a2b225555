// The image's row of the widget dispatch table.
#pragma once

#include "../core/widget_kinds.h"

extern const WidgetKind ImageKind;
