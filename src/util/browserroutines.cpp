#include "browserroutines.h"
