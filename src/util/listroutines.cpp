#include "listroutines.h"
