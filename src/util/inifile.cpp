#include "inifile.h"
