#include "skin/render/sGradient.h"
