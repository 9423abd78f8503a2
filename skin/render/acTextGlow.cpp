#include "skin/render/acTextGlow.h"
