#pragma once
// The drawing types live below the toolkit (draw/), so that the platform services can use them.
#include "draw/text_metrics.h"
