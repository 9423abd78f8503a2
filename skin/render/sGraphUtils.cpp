#include "skin/render/sGraphUtils.h"
