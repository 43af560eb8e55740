// Umbrella header of the portable core: base and data library, display list and generators.
#pragma once

#include "version.h"
