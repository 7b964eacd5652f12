#include "variantroutines.h"
