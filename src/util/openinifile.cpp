#include "openinifile.h"
