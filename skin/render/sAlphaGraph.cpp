#include "skin/render/sAlphaGraph.h"
