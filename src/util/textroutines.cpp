#include "textroutines.h"
