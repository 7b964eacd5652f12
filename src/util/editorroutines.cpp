#include "editorroutines.h"
